// The CLAP module's editor in a small host of our own: created through clap.gui, embedded in a
// parent X11 window, idled only by the host's timer. Its pixels must be the editor's headless
// snapshot (which the VST 2 editor shows pixel for pixel), and mouse input through XTest must
// come back to the host as output events inside gestures.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "ClapStateBytes.h"
#include "EditorMenuPicture.h"
#include "EditorPicture.h"
#include "HostedClapPlugin.h"
#include "ParentWindow.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"
#include "plugin/FactoryPrograms.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 690;
constexpr int kHeight = 270;
constexpr clap_id kRatio = 5, kDelta = 15, kBypass = 16;

class ClapGuiInAWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        display = openXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;
        clap = std::make_unique<HostedClapPlugin>(QVL_CLAP_MODULE_PATH);
        ASSERT_TRUE(clap->isLoaded()) << clap->error();
        gui = clap->extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
        ASSERT_NE(gui, nullptr);
        window = openParentWindow(display.get(), kWidth, kHeight);
    }

    void TearDown() override {
        if (gui) gui->destroy(clap->plugin());
        if (display && window) XDestroyWindow(display.get(), window);
        if (display) XSync(display.get(), False);
    }

    bool open(double scale = 0.0) {
        const clap_plugin_t* p = clap->plugin();
        const char* api = nullptr;
        bool floating = true;
        if (!gui->get_preferred_api(p, &api, &floating) || floating) return false;
        if (!gui->create(p, api, false)) return false;
        if (scale != 0.0) gui->set_scale(p, scale);
        clap_window_t parent{};
        parent.api = CLAP_WINDOW_API_X11;
        parent.x11 = window;
        const bool opened = gui->set_parent(p, &parent) && gui->show(p);
        idleFor(150);
        return opened;
    }

    // The host's main loop: its timer fires at the period the plug-in asked for.
    void idleFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(display.get(), False);
            clap->fireTimer();
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::max(clap->timerPeriodMs, 2u)));
        }
    }

    void pointerTo(int x, int y) {
        movePointer(display.get(), window, x, y);
        idleFor(20);
    }
    void button(bool down, unsigned which = 1) {
        pressButton(display.get(), which, down);
        idleFor(20);
    }
    void click(int x, int y, unsigned which = 1) {
        pointerTo(x, y);
        button(true, which);
        button(false, which);
        idleFor(60);
    }

    Picture screenshot() { return windowPicture(display.get(), window, kWidth, kHeight); }

    static Picture snapshot(int program) { return programPicture(program); }

    // The host's side of a drag: what the plug-in sent through process or flush.
    void collectEvents() {
        clap->flush({});
        idleFor(20);
    }

    XDisplayPtr display;
    Window window = 0;
    std::unique_ptr<HostedClapPlugin> clap;
    const clap_plugin_gui_t* gui = nullptr;
};

TEST_F(ClapGuiInAWindow, OpensInTheParentOnTheHostsTimerAndDrawsWhatTheEditorDraws) {
    ASSERT_TRUE(open());
    EXPECT_GT(clap->timerPeriodMs, 0u);
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->get_size(clap->plugin(), &w, &h));
    EXPECT_EQ(w, static_cast<uint32_t>(kWidth));
    EXPECT_EQ(h, static_cast<uint32_t>(kHeight));
    EXPECT_TRUE(gui->set_size(clap->plugin(), w, h));
    EXPECT_FALSE(gui->set_size(clap->plugin(), w + 1, h));
    EXPECT_EQ(differences(screenshot(), snapshot(0)), 0);

    // A saved state of another program shows as that program does in the other editions.
    std::vector<float> values;
    for (int i = 0; i < 21; ++i)
        values.push_back(factoryProgramValue(4, i));
    ASSERT_TRUE(clap->loadState(stateRecord(4, values)));
    idleFor(100);
    EXPECT_EQ(differences(screenshot(), snapshot(4)), 0);

    // Closed and opened again, as hosts do when the user closes the window.
    gui->destroy(clap->plugin());
    EXPECT_EQ(clap->timerPeriodMs, 0u);
    XClearWindow(display.get(), window);
    ASSERT_TRUE(open());
    EXPECT_EQ(differences(screenshot(), snapshot(4)), 0);
}

TEST_F(ClapGuiInAWindow, TheHostsScaleSetsTheSizeAndAnUnusableOneIsIgnored) {
    ASSERT_TRUE(gui->create(clap->plugin(), CLAP_WINDOW_API_X11, false));
    uint32_t w = 0, h = 0;
    EXPECT_TRUE(gui->set_scale(clap->plugin(), 2.0));
    ASSERT_TRUE(gui->get_size(clap->plugin(), &w, &h));
    EXPECT_EQ(w, 2u * kWidth);
    EXPECT_EQ(h, 2u * kHeight);
    EXPECT_TRUE(gui->set_scale(clap->plugin(), 1.5));
    gui->get_size(clap->plugin(), &w, &h);
    EXPECT_EQ(w, 1035u);
    EXPECT_EQ(h, 405u);
    EXPECT_FALSE(gui->set_scale(clap->plugin(), std::nan("")));
    EXPECT_FALSE(gui->set_scale(clap->plugin(), 50.0));
    gui->get_size(clap->plugin(), &w, &h);
    EXPECT_EQ(w, static_cast<uint32_t>(kWidth)) << "no announcement: the editor's own size";

    // Open, a new scale asks the host for the new size.
    clap_window_t parent{};
    parent.api = CLAP_WINDOW_API_X11;
    parent.x11 = window;
    ASSERT_TRUE(gui->set_parent(clap->plugin(), &parent));
    idleFor(60);
    EXPECT_TRUE(gui->set_scale(clap->plugin(), 2.0));
    idleFor(60);
    EXPECT_EQ(clap->resizedWidth, 2u * kWidth);
    EXPECT_EQ(clap->resizedHeight, 2u * kHeight);
}

TEST_F(ClapGuiInAWindow, DraggingTheRatioKnobSendsValuesInsideOneGesture) {
    ASSERT_TRUE(open());
    clap->flush({{0, kRatio, 1.75}}); // 0.3 of the knob
    idleFor(40);
    clap->outputEvents.clear();
    clap->flushRequests = 0;
    pointerTo(296, 83);
    button(true);
    for (int i = 1; i <= 8; ++i)
        pointerTo(296, 83 - 10 * i); // 80 of the knob's 800 pixels
    button(false);
    idleFor(60);
    EXPECT_GT(clap->flushRequests, 0) << "the host is asked to collect the changes";
    collectEvents();

    const std::vector<ClapOutputEvent>& events = clap->outputEvents;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
    for (const ClapOutputEvent& e : events)
        EXPECT_EQ(e.id, kRatio);
    EXPECT_EQ(events[events.size() - 2].type, CLAP_EVENT_PARAM_VALUE);
    EXPECT_NEAR(events[events.size() - 2].value, 2.0, 0.01); // 0.4 of the knob is 2.0:1
    EXPECT_NEAR(clap->paramValue(kRatio), 2.0, 0.01);
}

TEST_F(ClapGuiInAWindow, ClickingBypassTellsTheHostThatDeltaWentOff) {
    ASSERT_TRUE(open());
    clap->flush({{0, kDelta, 1.0}});
    idleFor(40);
    clap->outputEvents.clear();
    click(567, 240); // Bypass
    collectEvents();
    std::vector<ClapOutputEvent> values;
    for (const ClapOutputEvent& e : clap->outputEvents)
        if (e.type == CLAP_EVENT_PARAM_VALUE) values.push_back(e);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(clap->paramValue(kBypass), 1.0);
    EXPECT_EQ(clap->paramValue(kDelta), 0.0);
    bool bypassOn = false, deltaOff = false;
    for (const ClapOutputEvent& e : values) {
        bypassOn |= e.id == kBypass && e.value == 1.0;
        deltaOff |= e.id == kDelta && e.value == 0.0;
    }
    EXPECT_TRUE(bypassOn);
    EXPECT_TRUE(deltaOff);
}

TEST_F(ClapGuiInAWindow, TheMetersMoveWhileAudioRuns) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(clap->activate(48000.0));
    idleFor(100);
    const Picture before = screenshot();
    std::vector<float> l(4800), r(4800);
    for (std::size_t n = 0; n < l.size(); ++n)
        l[n] = r[n] = 0.9f * static_cast<float>(std::sin(0.05 * static_cast<double>(n)));
    float* io[2] = {l.data(), r.data()};
    for (int block = 0; block < 10; ++block) {
        clap->process(io, io, 4800);
        idleFor(30);
    }
    EXPECT_GT(differences(screenshot(), before), 100);
}

} // namespace

namespace {

// The normalized values a saved state holds, read from the record's layout: "QVLS", version,
// program, then 21 little-endian floats.
std::vector<float> stateValues(const std::vector<uint8_t>& state) {
    std::vector<float> values;
    for (std::size_t at = 12; at + 4 <= state.size(); at += 4) {
        const uint32_t bits = uint32_t(state[at]) | uint32_t(state[at + 1]) << 8 |
                              uint32_t(state[at + 2]) << 16 | uint32_t(state[at + 3]) << 24;
        float v;
        std::memcpy(&v, &bits, sizeof v);
        values.push_back(v);
    }
    return values;
}

} // namespace

TEST_F(ClapGuiInAWindow, AProgramFromTheMenuReachesTheHostInsideOneGesture) {
    ASSERT_TRUE(open());
    click(300, 150, 3);
    EXPECT_EQ(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms), std::vector<int>{0});
    clap->outputEvents.clear();
    click(kMenuProgramRowX, menuProgramRowY(3)); // Mastering: Tight
    collectEvents();

    // Each shown parameter's gesture opens before the first value and closes after the last,
    // and the values the host hears are the ones the plug-in now reports.
    const std::vector<ClapOutputEvent>& events = clap->outputEvents;
    std::size_t firstValue = events.size(), lastValue = 0;
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].type == CLAP_EVENT_PARAM_VALUE) {
            firstValue = std::min(firstValue, i);
            lastValue = i;
            EXPECT_EQ(events[i].value, clap->paramValue(events[i].id)) << events[i].id;
        }
    ASSERT_LT(firstValue, events.size());
    for (clap_id id = 0; id < 19; ++id) {
        int begins = 0, ends = 0, values = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i].id != id) continue;
            begins += events[i].type == CLAP_EVENT_PARAM_GESTURE_BEGIN && i < firstValue;
            ends += events[i].type == CLAP_EVENT_PARAM_GESTURE_END && i > lastValue;
            values += events[i].type == CLAP_EVENT_PARAM_VALUE;
        }
        EXPECT_EQ(begins, 1) << id;
        EXPECT_EQ(ends, 1) << id;
        EXPECT_EQ(values, 1) << id;
    }

    // The plug-in holds the program's values exactly, as the factory table writes them, and
    // the window shows that program.
    const std::vector<float> saved = stateValues(clap->saveState());
    ASSERT_EQ(saved.size(), 22u);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(saved[std::size_t(i)], factoryProgramValue(3, i)) << i;
    idleFor(60);
    EXPECT_EQ(differences(screenshot(), snapshot(3)), 0);
    click(300, 150, 3);
    EXPECT_EQ(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms), std::vector<int>{3});
    click(kWidth - 5, 5);

    // Moved away from the program by the host, the menu marks none.
    clap->flush({{0, 5, 2.5}}); // Ratio
    idleFor(40);
    click(300, 150, 3);
    EXPECT_TRUE(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms).empty());
    click(kWidth - 5, 5);
}
