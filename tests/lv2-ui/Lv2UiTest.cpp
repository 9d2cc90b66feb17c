// The LV2 UI binary in a small host of our own: found through lilv as a host finds it, loaded
// with dlopen, embedded in a parent X11 window, fed port events and idled. Its pixels are
// checked against the editor's headless snapshot (which the VST2 editor shows pixel for
// pixel), and mouse input through XTest must come back as port writes inside touch.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "EditorMenuPicture.h"
#include "EditorPicture.h"
#include "HostedLv2Plugin.h"
#include "ParentWindow.h"
#include "ProductIdentity.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"
#include "plugin/FactoryPrograms.h"

#include <X11/keysym.h>
#include <dlfcn.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 690;
constexpr int kHeight = 270;
constexpr uint32_t kFirstParameterPort = 4;

// What the UI asked of its host, in order.
struct UiCall {
    enum Kind { kWrite, kTouchOn, kTouchOff } kind;
    uint32_t port;
    float value;
};

struct RecordingHost {
    std::vector<UiCall> calls;
    int resizedWidth = 0, resizedHeight = 0;

    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        auto* self = static_cast<RecordingHost*>(controller);
        if (format == 0 && size == sizeof(float))
            self->calls.push_back({UiCall::kWrite, port, *static_cast<const float*>(buffer)});
    }
    static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
        static_cast<RecordingHost*>(handle)->calls.push_back(
            {grabbed ? UiCall::kTouchOn : UiCall::kTouchOff, port, 0.0f});
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height) {
        auto* self = static_cast<RecordingHost*>(handle);
        self->resizedWidth = width;
        self->resizedHeight = height;
        return 0;
    }
};

class Lv2UiInAWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        display = sharedXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;

        setenv("LV2_PATH", QVL_LV2_FOLDER ":/usr/lib/lv2", 1);
        dsp = std::make_unique<HostedLv2Plugin>(kLv2Uri, 48000.0);
        ASSERT_TRUE(dsp->isLoaded()) << dsp->error();
        LilvUIs* uis = lilv_plugin_get_uis(dsp->plugin());
        ASSERT_EQ(lilv_uis_size(uis), 1u);
        const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
        char* path = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
        uiUri = lilv_node_as_uri(lilv_ui_get_uri(ui));
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        lilv_free(path);
        lilv_uis_free(uis);
        ASSERT_NE(library, nullptr) << dlerror();
        auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        descriptor = entry(0);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(entry(1), nullptr);
        ASSERT_EQ(uiUri, descriptor->URI);
        idle = static_cast<const LV2UI_Idle_Interface*>(
            descriptor->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);

        window = openParentWindow(display, kWidth, kHeight);
        ASSERT_TRUE(open());
    }

    void TearDown() override {
        if (handle) descriptor->cleanup(handle);
        if (display && window) XDestroyWindow(display, window);
        dsp.reset();
        // The UI binary stays loaded (it asks to), so it is not closed here either.
        if (display) XSync(display, False);
    }

    // With a scale factor, the host announces it as ui:scaleFactor among its options.
    bool open(float scaleFactor = 0.0f) {
        parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(window))};
        touchFeature = {LV2_UI__touch, &touch};
        resizeFeature = {LV2_UI__resize, &resize};
        LV2_URID_Map* map = dsp->uridMap();
        mapFeature = {LV2_URID__map, map};
        const LV2_Options_Option options[] = {
            {LV2_OPTIONS_INSTANCE, 0, map->map(map->handle, LV2_UI__scaleFactor), sizeof(float),
             map->map(map->handle, LV2_ATOM__Float), &scaleFactor},
            {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        optionsFeature = {LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
        const LV2_Feature* features[] = {&parentFeature, &touchFeature,   &resizeFeature,
                                         &mapFeature,    &optionsFeature, nullptr};
        handle = descriptor->instantiate(descriptor, kLv2Uri, QVL_LV2_FOLDER, RecordingHost::write,
                                         &host, &widget, features);
        idleFor(150);
        return handle != nullptr;
    }

    void idleFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(display, False);
            if (handle) idle->idle(handle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    void portEvent(uint32_t port, float value) {
        descriptor->port_event(handle, port, sizeof value, 0, &value);
    }
    // Every control input as the DSP holds it now (its defaults or a preset), as a host
    // sends them when the UI opens.
    void sendControls() {
        for (uint32_t p = 0; p < dsp->numPorts(); ++p)
            if (dsp->isControlInput(p)) portEvent(p, dsp->control(p));
        idleFor(60);
    }

    void pointerTo(int x, int y) {
        movePointer(display, window, x, y);
        idleFor(20);
    }
    void button(bool down, unsigned which = 1) {
        pressButton(display, which, down);
        idleFor(20);
    }
    void click(int x, int y, unsigned which = 1) {
        pointerTo(x, y);
        button(true, which);
        button(false, which);
        idleFor(60);
    }

    Picture screenshot() { return windowPicture(display, window, kWidth, kHeight); }

    static Picture snapshot(int program) { return programPicture(program); }

    std::vector<UiCall> writesTo(uint32_t port) const {
        std::vector<UiCall> out;
        for (const UiCall& c : host.calls)
            if (c.kind == UiCall::kWrite && c.port == port) out.push_back(c);
        return out;
    }

    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<HostedLv2Plugin> dsp;
    void* library = nullptr;
    std::string uiUri;
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    RecordingHost host;
    LV2UI_Touch touch{&host, RecordingHost::touch};
    LV2UI_Resize resize{&host, RecordingHost::resize};
    LV2_Feature parentFeature{}, touchFeature{}, resizeFeature{}, mapFeature{}, optionsFeature{};
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
};

TEST_F(Lv2UiInAWindow, OpensInTheParentAtEditorSizeAndDrawsWhatTheEditorDraws) {
    EXPECT_EQ(host.resizedWidth, kWidth);
    EXPECT_EQ(host.resizedHeight, kHeight);
    // The widget is the UI's own window inside the parent.
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(display, static_cast<Window>(reinterpret_cast<uintptr_t>(widget)), &root,
                           &parent, &children, &count));
    if (children) XFree(children);
    EXPECT_EQ(parent, window);

    sendControls();
    EXPECT_EQ(differences(screenshot(), snapshot(0)), 0);
    EXPECT_TRUE(host.calls.empty()) << "port events must not be written back";

    // A preset's port values show as the program does in the other edition.
    ASSERT_TRUE(dsp->applyPreset("Mastering: Aggressive"));
    sendControls();
    EXPECT_EQ(differences(screenshot(), snapshot(4)), 0);
    // Dyn RMS comes from Detection's zone list, after the RMS window's port.
    ASSERT_TRUE(dsp->applyPreset("Mastering: Tight"));
    sendControls();
    EXPECT_EQ(differences(screenshot(), snapshot(3)), 0);
}

TEST_F(Lv2UiInAWindow, OpensAtTheScaleTheHostAnnouncesAndIgnoresAnUnusableOne) {
    for (const auto& [factor, width, height] :
         {std::tuple{2.0f, 2 * kWidth, 2 * kHeight}, std::tuple{1.5f, 1035, 405},
          std::tuple{std::nanf(""), kWidth, kHeight}, std::tuple{50.0f, kWidth, kHeight}}) {
        descriptor->cleanup(handle);
        handle = nullptr;
        host.resizedWidth = host.resizedHeight = 0;
        ASSERT_TRUE(open(factor));
        EXPECT_EQ(host.resizedWidth, width) << "scale factor " << factor;
        EXPECT_EQ(host.resizedHeight, height) << "scale factor " << factor;
    }
}

TEST_F(Lv2UiInAWindow, DraggingTheRatioKnobWritesRatioInsideOneTouch) {
    const uint32_t ratio = kFirstParameterPort + 5;
    const uint32_t ratioZone = static_cast<uint32_t>(dsp->portIndex("ratio_zone"));
    sendControls();
    portEvent(ratio, 1.75f); // 0.3 of the knob
    idleFor(40);
    host.calls.clear();
    pointerTo(296, 83);
    button(true);
    for (int i = 1; i <= 8; ++i)
        pointerTo(296, 83 - 10 * i); // 80 of the knob's 800 pixels
    button(false);
    idleFor(60);

    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front().kind, UiCall::kTouchOn);
    EXPECT_EQ(host.calls.back().kind, UiCall::kTouchOff);
    // The zone list is touched and written with the ratio: the knob stays in its variable zone.
    for (const UiCall& c : host.calls)
        EXPECT_TRUE(c.port == ratio || c.port == ratioZone) << c.port;
    const std::vector<UiCall> writes = writesTo(ratio);
    ASSERT_FALSE(writes.empty());
    EXPECT_NEAR(writes.back().value, 2.0f, 0.01f); // 0.4 of the knob is 2.0:1
    const std::vector<UiCall> zoneWrites = writesTo(ratioZone);
    ASSERT_FALSE(zoneWrites.empty());
    EXPECT_EQ(zoneWrites.back().value, 0.0f); // "Variable"
}

TEST_F(Lv2UiInAWindow, SwitchesKeepTheOtherListeningSwitchesOffOnThePorts) {
    const uint32_t delta = kFirstParameterPort + 15;
    const uint32_t bypass = kFirstParameterPort + 16;
    sendControls();
    portEvent(delta, 1.0f);
    idleFor(40);
    host.calls.clear();
    click(567, 240); // Bypass
    const std::vector<UiCall> deltaWrites = writesTo(delta);
    const std::vector<UiCall> bypassWrites = writesTo(bypass);
    ASSERT_EQ(deltaWrites.size(), 1u);
    EXPECT_EQ(deltaWrites[0].value, 0.0f);
    ASSERT_EQ(bypassWrites.size(), 1u);
    EXPECT_EQ(bypassWrites[0].value, 1.0f);

    // The meter scale strip steps one position up from the default 12 dB to 24 dB, the third
    // of the four positions, inside one touch (the unchanged value may go out first, as in the
    // other edition).
    host.calls.clear();
    click(532, 100);
    const std::vector<UiCall> scale = writesTo(kFirstParameterPort + 18);
    ASSERT_FALSE(scale.empty());
    EXPECT_EQ(scale.back().value, 2.0f);
    EXPECT_EQ(host.calls.front().kind, UiCall::kTouchOn);
    EXPECT_EQ(host.calls.back().kind, UiCall::kTouchOff);
}

TEST_F(Lv2UiInAWindow, TheSizeMenuClosesOnAClickOutsideThePluginsWindow) {
    sendControls();
    const Picture closed = screenshot();
    click(300, 150, 3); // the background
    ASSERT_GT(differences(screenshot(), closed), 100) << "the size menu did not open";

    click(kWidth + 200, kHeight + 100); // the desktop beside the host's window
    EXPECT_EQ(differences(screenshot(), closed), 0);
    EXPECT_EQ(host.resizedWidth, kWidth);
    EXPECT_TRUE(host.calls.empty());

    // The pointer is free again: the next click inside reaches a control.
    click(567, 240); // Bypass
    ASSERT_EQ(writesTo(kFirstParameterPort + 16).size(), 1u);
}

// Escape closes the menu wherever the keyboard focus and the pointer are, the host's own window
// included, and changes nothing; other keys leave it open. Once it is closed the keyboard is the
// host's again.
TEST_F(Lv2UiInAWindow, EscapeClosesTheSizeMenuWhereverTheFocusIs) {
    sendControls();
    const Picture closed = screenshot();
    for (const Window focus : {window, Window{PointerRoot}}) {
        click(300, 150, 3); // the background
        ASSERT_GT(differences(screenshot(), closed), 100) << "the size menu did not open";
        XSetInputFocus(display, focus, RevertToParent, CurrentTime);
        pointerTo(kWidth + 200, kHeight + 100); // beside the host's window
        typeKey(display, XK_a);
        idleFor(60);
        ASSERT_GT(differences(screenshot(), closed), 100) << "another key closed the menu";
        typeKey(display, XK_Escape);
        idleFor(60);
        EXPECT_EQ(differences(screenshot(), closed), 0) << "focus " << focus;
    }
    EXPECT_EQ(host.resizedWidth, kWidth);
    EXPECT_TRUE(host.calls.empty());

    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSelectInput(display, window, StructureNotifyMask | KeyPressMask);
    typeKey(display, XK_a);
    XEvent event;
    EXPECT_TRUE(XCheckTypedWindowEvent(display, window, KeyPress, &event));
    XSelectInput(display, window, StructureNotifyMask);
}

TEST_F(Lv2UiInAWindow, MetersFollowTheOutputPortsAndStrangeEventsAreIgnored) {
    sendControls();
    const Picture idleMeters = screenshot();
    const uint32_t gain = static_cast<uint32_t>(dsp->portIndex("meter_gain"));
    const uint32_t active = static_cast<uint32_t>(dsp->portIndex("meter_active"));
    float value = 0.25f;
    // Unknown ports, formats and sizes change nothing.
    descriptor->port_event(handle, 9999, sizeof value, 0, &value);
    descriptor->port_event(handle, gain, sizeof value, 77, &value);
    descriptor->port_event(handle, gain, 2, 0, &value);
    descriptor->port_event(handle, gain, sizeof value, 0, nullptr);
    const float nan = NAN;
    descriptor->port_event(handle, kFirstParameterPort + 3, sizeof nan, 0, &nan);
    idleFor(100);
    EXPECT_EQ(differences(screenshot(), idleMeters), 0);

    portEvent(gain, 0.25f);
    portEvent(active, 1.0f);
    idleFor(300);
    EXPECT_GT(differences(screenshot(), idleMeters), 100);
    EXPECT_TRUE(host.calls.empty());
}

} // namespace

TEST_F(Lv2UiInAWindow, AProgramFromTheMenuWritesThePortsOfItsPreset) {
    sendControls(); // the defaults: the first program
    click(300, 150, 3);
    EXPECT_EQ(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms), std::vector<int>{0});
    host.calls.clear();
    click(kMenuProgramRowX, menuProgramRowY(6));

    // Every control input the preset of the same name sets is written with its value, the zone
    // lists included; the ports are the DSP's, so a host that runs it plays the program.
    ASSERT_TRUE(dsp->applyPreset("Leveller"));
    int written = 0;
    const auto enabled = static_cast<uint32_t>(dsp->portIndex("enabled"));
    for (uint32_t port = 0; port < dsp->numPorts(); ++port) {
        if (!dsp->isControlInput(port) || port == enabled) continue;
        const std::vector<UiCall> writes = writesTo(port);
        ASSERT_FALSE(writes.empty()) << port;
        EXPECT_EQ(writes.back().value, dsp->control(port)) << port;
        ++written;
    }
    EXPECT_EQ(written, 22 + 2); // every parameter and the two zone lists
    idleFor(60);
    EXPECT_EQ(differences(screenshot(), snapshot(6)), 0);

    // Hosts send the written values back; the program stays marked.
    for (const UiCall& c : host.calls)
        if (c.kind == UiCall::kWrite) portEvent(c.port, c.value);
    click(300, 150, 3);
    EXPECT_EQ(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms), std::vector<int>{6});
    click(kWidth + 200, kHeight + 100); // closes the menu

    // A value away from every program marks none.
    portEvent(kFirstParameterPort + 3, -20.5f); // Threshold
    click(300, 150, 3);
    EXPECT_TRUE(menuMarkedPrograms(screenshot(), kWidth, kNumPrograms).empty());
    click(kWidth + 200, kHeight + 100);
}
