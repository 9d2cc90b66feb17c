// The LV2 UI as jalv.gtk3 and Ardour show it: loaded through suil into a GTK window (built
// twice, with GTK 3 as jalv.gtk3 uses it and with GTK 2 as Ardour does; suil's X11 wrapper for
// each), the window non-resizable when the UI declares ui:noUserResize, the host's scale factor
// announced as an option. The user changes the size from the editor's menu with real clicks; the
// host's window must follow both ways and show what the editor draws at the new size, with
// nothing left of the old one.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "EditorPicture.h"
#include "HostedLv2Plugin.h"
#include "ProductIdentity.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <suil/suil.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr float kHostScaleFactor = 2.0f; // what "Automatic" follows here
// The kind of widget the host asks suil for.
constexpr const char* kContainer = QVL_SUIL_GTK == 2 ? LV2_UI__GtkUI : LV2_UI__Gtk3UI;

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};
std::ostream& operator<<(std::ostream& out, const Size& s) {
    return out << s.width << " x " << s.height;
}

// The editor's size at `percent`: its 690 x 270 pixels, rounded as a display would.
Size editorSize(int percent) {
    return {(690 * percent + 50) / 100, (270 * percent + 50) / 100};
}

void ignoreWrite(SuilController, uint32_t, uint32_t, uint32_t, const void*) {}

class Lv2UiInSuil : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (DISPLAY is not set)";
        if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "GTK cannot open the display";
        std::string whyNot;
        display = openXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;

        config = fs::temp_directory_path() / ("qvl-suil-test-" + std::to_string(getpid()));
        fs::create_directories(config / "qvl-feedback-compressor");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("LV2_PATH", QVL_LV2_FOLDER ":/usr/lib/lv2", 1);
        dsp = std::make_unique<HostedLv2Plugin>(kLv2Uri, 48000.0);
        ASSERT_TRUE(dsp->isLoaded()) << dsp->error();
    }

    void TearDown() override {
        if (instance) suil_instance_free(instance);
        if (window) gtk_widget_destroy(window);
        if (host) suil_host_free(host);
        pump(50);
        dsp.reset();
        display.reset();
        std::error_code ignored;
        if (!config.empty()) fs::remove_all(config, ignored);
    }

    // Opens the UI in a new GTK window as jalv.gtk3 does, with the user's stored choice.
    void open(const std::string& storedScale) {
        std::ofstream(config / "qvl-feedback-compressor" / "editor.conf")
            << "scale=" << storedScale << "\n";

        LilvWorld* world = dsp->world();
        LilvUIs* uis = lilv_plugin_get_uis(dsp->plugin());
        const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
        const std::string uiUri = lilv_node_as_uri(lilv_ui_get_uri(ui));
        char* bundle = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_bundle_uri(ui)), nullptr);
        char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
        LilvNode* optional = lilv_new_uri(world, LV2_CORE__optionalFeature);
        LilvNode* noUserResize = lilv_new_uri(world, LV2_UI__noUserResize);
        resizable = !lilv_world_ask(world, lilv_ui_get_uri(ui), optional, noUserResize);
        lilv_node_free(noUserResize);
        lilv_node_free(optional);

        LV2_URID_Map* map = dsp->uridMap();
        const LV2_Options_Option options[] = {
            {LV2_OPTIONS_INSTANCE, 0, map->map(map->handle, LV2_UI__scaleFactor), sizeof(float),
             map->map(map->handle, LV2_ATOM__Float), &kHostScaleFactor},
            {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        LV2_Feature mapFeature{LV2_URID__map, map};
        LV2_Feature optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
        const LV2_Feature* features[] = {&mapFeature, &optionsFeature, nullptr};

        window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_resizable(GTK_WINDOW(window), resizable);
        host = suil_host_new(ignoreWrite, nullptr, nullptr, nullptr);
        instance = suil_instance_new(host, nullptr, kContainer, kLv2Uri, uiUri.c_str(),
                                     LV2_UI__X11UI, bundle, binary, features);
        lilv_free(bundle);
        lilv_free(binary);
        lilv_uis_free(uis);
        ASSERT_NE(instance, nullptr);
        gtk_container_add(GTK_CONTAINER(window),
                          static_cast<GtkWidget*>(suil_instance_get_widget(instance)));
        gtk_widget_show_all(window);
        // The values a host sends when the UI opens: the plug-in's defaults.
        for (uint32_t p = 0; p < dsp->numPorts(); ++p)
            if (dsp->isControlInput(p))
                suil_instance_port_event(instance, p, sizeof(float), 0, &dsp->control(p));
        pump(400);
    }

    // Runs GTK's main loop (and with it suil's idle calls into the UI) for `ms`.
    static void pump(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            while (gtk_events_pending())
                gtk_main_iteration_do(FALSE);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    Window toplevel() const { return GDK_WINDOW_XID(gtk_widget_get_window(window)); }

    Size windowSize() const {
        XWindowAttributes a;
        XSync(display.get(), False);
        if (!XGetWindowAttributes(display.get(), toplevel(), &a)) return {};
        return {a.width, a.height};
    }

    // Waits for the host's window to take `size` (a window system answers when it answers).
    Size settleAt(Size size) {
        for (int i = 0; i < 100 && !(windowSize() == size); ++i)
            pump(20);
        pump(200); // and for the editor's next paint
        return windowSize();
    }

    // A click at (x, y) of the editor's own 690 x 270 pixels, drawn at `percent`.
    void click(int x, int y, int percent, unsigned button) {
        movePointer(display.get(), toplevel(), x * percent / 100, y * percent / 100);
        pressButton(display.get(), button, true);
        pressButton(display.get(), button, false);
        pump(150);
    }

    // The size menu opened on the background at (300, 150) is kept inside the editor: its
    // eight rows of 16 pixels start at 141 (100 %, 125 %, ... 300 %, then "Automatic").
    void chooseFromMenu(int row, int currentPercent) {
        click(300, 150, currentPercent, 3);
        click(330, 149 + 16 * row, currentPercent, 1);
    }

    Picture screenshot(Size size) const {
        return windowPicture(display.get(), toplevel(), size.width, size.height);
    }

    static Picture snapshot(int percent) {
        SnapshotOptions options;
        options.scalePercent = percent;
        return editorPicture(options);
    }

    XDisplayPtr display;
    fs::path config;
    std::unique_ptr<HostedLv2Plugin> dsp;
    SuilHost* host = nullptr;
    SuilInstance* instance = nullptr;
    GtkWidget* window = nullptr;
    bool resizable = true;
};

TEST_F(Lv2UiInSuil, TheHostsWindowShrinksAndGrowsWithTheEditorAndShowsItWhole) {
    open("200");
    EXPECT_FALSE(resizable) << "the UI must tell hosts that only it changes its size";
    ASSERT_EQ(settleAt(editorSize(200)), editorSize(200));
    EXPECT_EQ(differences(screenshot(editorSize(200)), snapshot(200)), 0);

    chooseFromMenu(0, 200); // 100 %
    ASSERT_EQ(settleAt(editorSize(100)), editorSize(100));
    EXPECT_EQ(differences(screenshot(editorSize(100)), snapshot(100)), 0);

    chooseFromMenu(4, 100); // 200 %
    ASSERT_EQ(settleAt(editorSize(200)), editorSize(200));
    EXPECT_EQ(differences(screenshot(editorSize(200)), snapshot(200)), 0);
}

TEST_F(Lv2UiInSuil, FromTheUsersThreeHundredPercentBackToAutomatic) {
    open("300"); // wider than the test's screen: the user's choice all the same
    ASSERT_EQ(settleAt(editorSize(300)), editorSize(300));

    chooseFromMenu(7, 300); // "Automatic": the host's factor of 2
    ASSERT_EQ(settleAt(editorSize(200)), editorSize(200));
    EXPECT_EQ(differences(screenshot(editorSize(200)), snapshot(200)), 0);
}

// Until the plug-in has run, a host hands the UI values of its own for the meter outputs: jalv,
// Qtractor and Ardour hold 0 in them before the first run (Qtractor opens the UI on them when it
// is not processing the track, and keeps them there while it stays so); another host might start
// each port at its minimum or maximum. Whichever they are, the meters and lamps show nothing
// measured until a run's values arrive, and then what the run measured.
TEST_F(Lv2UiInSuil, TheMetersShowNothingMeasuredUntilTheDspHasRun) {
    open("100");
    ASSERT_EQ(settleAt(editorSize(100)), editorSize(100));
    const Picture nothingMeasured = snapshot(100);
    const uint32_t ports = dsp->numPorts();
    std::vector<float> minimum(ports), maximum(ports), zero(ports, 0.0f);
    lilv_plugin_get_port_ranges_float(dsp->plugin(), minimum.data(), maximum.data(), nullptr);
    const auto sendOutputs = [&](const std::vector<float>& values) {
        for (uint32_t p = 0; p < ports; ++p)
            if (dsp->isControlOutput(p))
                suil_instance_port_event(instance, p, sizeof(float), 0, &values[p]);
        pump(300);
    };
    for (const auto& [hostValues, values] :
         {std::pair{"jalv, Qtractor, Ardour: 0", zero}, std::pair{"each port's minimum", minimum},
          std::pair{"each port's maximum", maximum}}) {
        sendOutputs(values);
        EXPECT_EQ(differences(screenshot(editorSize(100)), nothingMeasured), 0) << hostValues;
    }

    // A loud tone far above the threshold: the run's gain reduction and levels show.
    dsp->setControl("threshold", -40.0f);
    std::vector<float> tone(4800), left(tone.size()), right(tone.size());
    for (std::size_t n = 0; n < tone.size(); ++n)
        tone[n] = static_cast<float>(std::sin(0.13 * static_cast<double>(n)));
    const float* in[2] = {tone.data(), tone.data()};
    float* out[2] = {left.data(), right.data()};
    dsp->activate();
    dsp->run(in, out, static_cast<uint32_t>(tone.size()));
    ASSERT_LT(dsp->control("meter_gain"), 0.5f);
    std::vector<float> measured(ports);
    for (uint32_t p = 0; p < ports; ++p)
        measured[p] = dsp->control(p);
    sendOutputs(measured);
    EXPECT_GT(differences(screenshot(editorSize(100)), nothingMeasured), 100);
}

} // namespace
