// The controls a host builds from the description alone, as jalv's and Ardour's generic views
// do: a slider over the declared range (spread logarithmically where the port says so) or a
// list of an enumeration's points. Each position is read back as such a host shows it and
// played through both editions: what the host shows is what the plug-in plays.
#include "HostedPlugin.h"
#include "Lv2TestSupport.h"

#include <gtest/gtest.h>
#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// The VST2 edition's parameter indices.
constexpr int kDetection = 0, kThreshold = 3, kRatio = 5, kAttack = 6, kRelease = 7,
              kReleaseSlow = 8;
// Program 0 with the threshold at -40 dB, so the detector and gain computer act on the tone.
constexpr float kThresholdDb = -40.0f;
constexpr float kThresholdKnob = 0.8f;

constexpr double kRateHz = 48000.0;
constexpr int kFrames = 19200;

// A 110 Hz tone jumping up and down between -1 and -40 dBFS every 1/15 s: a hundredth more or
// less of any of the controls tested here changes what comes out by more than 1e-4.
const std::vector<float>& steppedTone() {
    static const std::vector<float> tone = [] {
        constexpr double kLevelsDb[] = {-1.0, -30.0, -8.0, -40.0, -3.0, -25.0};
        std::vector<float> x(kFrames);
        for (int n = 0; n < kFrames; ++n) {
            const double level = std::pow(10.0, kLevelsDb[(n / 3200) % 6] / 20.0);
            x[static_cast<std::size_t>(n)] =
                static_cast<float>(level * std::sin(2.0 * 3.141592653589793 * 110.0 * n / kRateHz));
        }
        return x;
    }();
    return tone;
}

using Controls = std::vector<std::pair<std::string, float>>;

// Program 0 (the port defaults) with some ports set as a host sets them.
std::vector<float> renderLv2(const Controls& controls) {
    const auto plugin = loadLv2(kRateHz);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    plugin->setControl("threshold", kThresholdDb);
    for (const auto& [symbol, value] : controls) {
        EXPECT_GE(plugin->portIndex(symbol), 0) << symbol;
        plugin->setControl(symbol, value);
    }
    std::vector<float> left(kFrames), right(kFrames);
    const float* in[2] = {steppedTone().data(), steppedTone().data()};
    float* out[2] = {left.data(), right.data()};
    plugin->activate();
    plugin->run(in, out, kFrames);
    return left;
}

// The same with one parameter set to a normalized value.
std::vector<float> renderVst2(int parameter, float normalized) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    EXPECT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(static_cast<float>(kRateHz));
    plugin.setBlockSize(kFrames);
    plugin.setProgram(0);
    plugin.setParameter(kThreshold, kThresholdKnob);
    plugin.setParameter(parameter, normalized);
    plugin.resume();
    std::vector<float> input = steppedTone();
    std::vector<float> left(kFrames), right(kFrames);
    float* in[2] = {input.data(), input.data()};
    float* out[2] = {left.data(), right.data()};
    plugin.process(in, out, kFrames);
    return left;
}

float largestDifference(const std::vector<float>& a, const std::vector<float>& b) {
    float largest = 0.0f;
    for (std::size_t n = 0; n < a.size(); ++n)
        largest = std::max(largest, std::fabs(a[n] - b[n]));
    return largest;
}

// The first normalized value (in thousandths) at which the VST2 edition shows `text`, or -1.
float vst2ValueShowing(int parameter, const std::string& text) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    for (int step = 0; step <= 1000; ++step) {
        const float normalized = static_cast<float>(step) / 1000.0f;
        plugin.setParameter(parameter, normalized);
        if (plugin.parameterDisplay(parameter) == text) return normalized;
    }
    return -1.0f;
}

// What a generic view knows of a control input, from the description through lilv.
struct HostControl {
    float minimum = 0, maximum = 0;
    bool logarithmic = false, enumeration = false;
    std::vector<std::pair<float, std::string>> points;
    std::string unit;

    // The value at a fraction of the slider's travel, as jalv and Ardour spread it.
    float at(double travel) const {
        if (logarithmic)
            return static_cast<float>(minimum *
                                      std::pow(static_cast<double>(maximum) / minimum, travel));
        return static_cast<float>(minimum + travel * (static_cast<double>(maximum) - minimum));
    }
    double travelOf(double value) const {
        if (logarithmic) return std::log(value / minimum) / std::log(maximum / minimum);
        return (value - minimum) / (maximum - minimum);
    }
    // A scale point's label where the value is one, else the number and the unit's symbol.
    std::string shown(float value) const {
        for (const auto& [pointValue, label] : points)
            if (pointValue == value) return label;
        char text[48];
        std::snprintf(text, sizeof text, "%g %s", static_cast<double>(value), unit.c_str());
        return text;
    }
};

HostControl describe(HostedLv2Plugin& host, const char* symbol) {
    LilvWorld* world = host.world();
    const LilvPlugin* plugin = host.plugin();
    HostControl control;
    const int index = host.portIndex(symbol);
    if (index < 0) {
        ADD_FAILURE() << "no port " << symbol;
        return control;
    }
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, static_cast<uint32_t>(index));
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(plugin, port, &def, &min, &max);
    control.minimum = min ? lilv_node_as_float(min) : 0.0f;
    control.maximum = max ? lilv_node_as_float(max) : 0.0f;
    lilv_node_free(def);
    lilv_node_free(min);
    lilv_node_free(max);
    for (auto [property, flag] : {std::pair{LV2_PORT_PROPS__logarithmic, &control.logarithmic},
                                  std::pair{LV2_CORE__enumeration, &control.enumeration}}) {
        LilvNode* node = lilv_new_uri(world, property);
        *flag = lilv_port_has_property(plugin, port, node);
        lilv_node_free(node);
    }
    LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
    LILV_FOREACH(scale_points, i, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, i);
        control.points.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                    lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(points);
    std::sort(control.points.begin(), control.points.end());
    LilvNode* unitPredicate = lilv_new_uri(world, LV2_UNITS__unit);
    LilvNode* symbolPredicate = lilv_new_uri(world, LV2_UNITS__symbol);
    if (LilvNodes* units = lilv_port_get_value(plugin, port, unitPredicate)) {
        if (lilv_nodes_size(units) > 0)
            if (LilvNode* s =
                    lilv_world_get(world, lilv_nodes_get_first(units), symbolPredicate, nullptr)) {
                control.unit = lilv_node_as_string(s);
                lilv_node_free(s);
            }
        lilv_nodes_free(units);
    }
    lilv_node_free(unitPredicate);
    lilv_node_free(symbolPredicate);
    return control;
}

// The VST2 knob position that plays a value a user reads, written here apart from the plug-in's
// code (the VST2 text at that position confirms it in each use): the RMS window and the times
// grow as a cube of the knob from 0.1 ms, the variable ratio runs linearly from 1:1 to 3:1 over
// the first 0.8 of the knob. NaN where the value is no setting of that control.
float knobFor(int parameter, double value) {
    double knob = NAN;
    if (parameter == kDetection && value >= 0.1 && value <= 60.0)
        knob = 0.1 + std::cbrt((value - 0.1) / 59.9) * 0.8;
    if (parameter == kRatio && value >= 1.0 && value <= 3.0) knob = (value - 1.0) / 2.5;
    if (parameter == kAttack && value >= 0.1 && value <= 500.0)
        knob = std::cbrt((value - 0.1) / 499.9);
    if ((parameter == kRelease || parameter == kReleaseSlow) && value >= 0.1 && value <= 2000.0)
        knob = std::cbrt((value - 0.1) / 1999.9);
    return static_cast<float>(knob);
}

// The number in a VST2 text ("RMS 12", "2.3:1", "15.0 ms") and half a step of its last digit.
std::pair<double, double> numberIn(const std::string& text) {
    const std::size_t start = text.find_first_of("0123456789");
    if (start == std::string::npos) return {NAN, 0.0};
    char* end = nullptr;
    const double number = std::strtod(text.c_str() + start, &end);
    const std::string digits(text.c_str() + start, static_cast<const char*>(end));
    const std::size_t point = digits.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(digits.size() - point - 1);
    return {number, 0.5 * std::pow(10.0, -decimals)};
}

class Lv2GenericControls : public testing::Test {
  protected:
    std::unique_ptr<HostedLv2Plugin> host = loadLv2(kRateHz);
    void SetUp() override { ASSERT_TRUE(host->isLoaded()) << host->error(); }
};

// Each slider over the continuous part of a control: at every 1/16 of its travel the value
// shown is one the VST2 edition shows for a knob position, and it plays as that position.
TEST_F(Lv2GenericControls, EverySliderPositionPlaysTheValueTheHostShows) {
    for (const auto& [symbol, parameter] :
         {std::pair{"detection", kDetection}, std::pair{"ratio", kRatio},
          std::pair{"attack", kAttack}, std::pair{"release", kRelease},
          std::pair{"release_slow", kReleaseSlow}}) {
        const HostControl control = describe(*host, symbol);
        HostedPlugin vst2(QVL_MODULE_PATH);
        for (int step = 0; step <= 16; ++step) {
            const float value = control.at(step / 16.0);
            const std::string shown = control.shown(value);
            SCOPED_TRACE(testing::Message() << symbol << " at " << step << "/16 shows " << shown);
            const float knob = knobFor(parameter, std::strtod(shown.c_str(), nullptr));
            ASSERT_FALSE(std::isnan(knob)) << "no setting of the plug-in";
            vst2.setParameter(parameter, knob);
            const auto [number, halfStep] = numberIn(vst2.parameterDisplay(parameter));
            EXPECT_NEAR(number, value, halfStep + 1e-4 * value) << vst2.parameterDisplay(parameter);
            // The knob position is computed here in double precision, so it may lie a float
            // step away from the plug-in's; that is far below the least audible difference.
            EXPECT_LT(largestDifference(renderLv2({{symbol, value}}), renderVst2(parameter, knob)),
                      1e-5f);
        }
    }
}

// The zone lists: each entry plays what the VST2 edition plays where it shows that name; the
// continuous zone's entry plays its slider's value.
TEST_F(Lv2GenericControls, EveryZoneListEntryPlaysWhatItIsNamed) {
    for (const auto& [symbol, parameter] :
         {std::pair{"detection_zone", kDetection}, std::pair{"ratio_zone", kRatio}}) {
        const HostControl list = describe(*host, symbol);
        EXPECT_TRUE(list.enumeration) << symbol;
        ASSERT_EQ(list.points.size(), 3u) << symbol;
        HostedPlugin vst2(QVL_MODULE_PATH);
        vst2.setProgram(0);
        const float programKnob = vst2.getParameter(parameter);
        for (const auto& [value, label] : list.points) {
            SCOPED_TRACE(testing::Message() << symbol << " " << label);
            const float named = vst2ValueShowing(parameter, label);
            const float knob = named >= 0.0f ? named : programKnob;
            EXPECT_EQ(largestDifference(renderLv2({{symbol, value}}), renderVst2(parameter, knob)),
                      0.0f);
        }
    }
}

// A zone named on the list plays that zone wherever the slider beside it stands.
TEST_F(Lv2GenericControls, ANamedZoneIgnoresTheSliderBesideIt) {
    const HostControl window = describe(*host, "detection");
    const std::vector<float> peak = renderVst2(kDetection, vst2ValueShowing(kDetection, "Peak"));
    for (double travel : {0.0, 0.5, 1.0})
        EXPECT_EQ(
            largestDifference(
                renderLv2({{"detection_zone", 0.0f}, {"detection", window.at(travel)}}), peak),
            0.0f);
    const std::vector<float> eight = renderVst2(kRatio, vst2ValueShowing(kRatio, "8:1"));
    EXPECT_EQ(largestDifference(renderLv2({{"ratio_zone", 2.0f}, {"ratio", 1.0f}}), eight), 0.0f);
}

// A linear slider over 0.1 ... 500 ms put 3 ms at its far left; the short times need travel.
TEST_F(Lv2GenericControls, ShortTimesGetAQuarterOfTheTravelAndMore) {
    for (const char* symbol : {"detection", "attack", "release", "release_slow"}) {
        const HostControl control = describe(*host, symbol);
        EXPECT_EQ(control.unit, "ms") << symbol;
        EXPECT_GT(control.travelOf(3.0), 0.25) << symbol;
        EXPECT_GT(control.travelOf(1.0), 0.15) << symbol;
    }
}

// Ardour and jalv store control values by symbol; a session saved before the zone lists held
// Detection as 0 ("Peak") ... 600 ms ("Dyn RMS") and Ratio as 1 ... 8. Restored into this
// version with the lists at their defaults, each plays as it did; another entry picked on the
// list then plays that entry.
TEST_F(Lv2GenericControls, SessionsSavedBeforeTheZoneListsKeepTheirSound) {
    const float peak = vst2ValueShowing(kDetection, "Peak");
    const float dynRms = vst2ValueShowing(kDetection, "Dyn RMS");
    const float rms60 = knobFor(kDetection, 60.0);
    const float fourToOne = vst2ValueShowing(kRatio, "4:1");
    const float eightToOne = vst2ValueShowing(kRatio, "8:1");
    const std::tuple<Controls, int, float> saved[] = {
        {{{"detection", 0.0f}}, kDetection, peak},
        {{{"detection", 600.0f}}, kDetection, dynRms},
        {{{"detection", 450.0f}}, kDetection, dynRms},
        {{{"detection", 278.35f}}, kDetection, rms60},
        {{{"ratio", 4.0f}}, kRatio, fourToOne},
        {{{"ratio", 5.5f}}, kRatio, fourToOne},
        {{{"ratio", 8.0f}}, kRatio, eightToOne},
        {{{"detection", 0.0f}, {"detection_zone", 2.0f}}, kDetection, dynRms},
        {{{"ratio", 8.0f}, {"ratio_zone", 1.0f}}, kRatio, fourToOne},
    };
    for (const auto& [controls, parameter, knob] : saved) {
        SCOPED_TRACE(testing::Message() << controls.front().first << " " << controls.front().second
                                        << " with " << controls.size() - 1 << " list entry");
        EXPECT_EQ(largestDifference(renderLv2(controls), renderVst2(parameter, knob)), 0.0f);
    }
}

} // namespace
