#include "PluginSettings.h"

#include "HostedPlugin.h"
#include "SimplifiedName.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

bool parseWhole(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(out);
}

// The first number in a display text ("-24.5 dB", "RMS  10", "4:1"); false when there is none.
bool displayedNumber(const std::string& text, double& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool starts =
            std::isdigit(static_cast<unsigned char>(c)) ||
            ((c == '-' || c == '+' || c == '.') && i + 1 < text.size() &&
             (std::isdigit(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '.'));
        if (!starts) continue;
        char* end = nullptr;
        out = std::strtod(text.c_str() + i, &end);
        return end != text.c_str() + i && std::isfinite(out);
    }
    return false;
}

std::string displayAt(HostedPlugin& plugin, int index, float v) {
    plugin.setParameter(index, v);
    return plugin.parameterDisplay(index);
}

class DisplayProbe {
  public:
    DisplayProbe(HostedPlugin& plugin, int index) : plugin_(plugin), index_(index) {}
    // The displayed number at normalized value v; NaN when the text shows none.
    double at(double v) {
        double number;
        return displayedNumber(displayAt(plugin_, index_, static_cast<float>(v)), number) ? number
                                                                                          : NAN;
    }

  private:
    HostedPlugin& plugin_;
    int index_;
};

// Normalized value whose display shows `target`. The display is rounded, so the value is the
// middle of the stretch of normalized values that print the target (exact for a linear curve
// when the target is printable), or the point where the printed number passes it; a stretch
// that reaches an end of the range gives that end.
bool findDisplayedValue(DisplayProbe& probe, double target, double& found) {
    constexpr int kGrid = 200;
    for (const double end : {0.0, 1.0})
        if (probe.at(end) == target) {
            found = end;
            return true;
        }
    const auto point = [](int i) { return i / double(kGrid); };
    // The boundary in [a, b] where `passed` turns true, by bisection.
    const auto edge = [&probe](double a, double b, auto passed) {
        for (int step = 0; step < 48; ++step) {
            const double mid = 0.5 * (a + b);
            (passed(probe.at(mid)) ? b : a) = mid;
        }
        return b;
    };
    double previous = probe.at(0.0);
    for (int i = 1; i <= kGrid; ++i) {
        const double current = probe.at(point(i));
        const bool bracketed = std::isfinite(previous) && std::isfinite(current) &&
                               std::fmin(previous, current) <= target &&
                               target <= std::fmax(previous, current);
        if (!bracketed) {
            previous = current;
            continue;
        }
        const bool rising = current >= previous;
        const auto reached = [=](double x) {
            return !std::isfinite(x) || (rising ? x >= target : x <= target);
        };
        const auto passed = [=](double x) {
            return !std::isfinite(x) || (rising ? x > target : x < target);
        };
        const double first = edge(point(i - 1), point(i), reached);
        for (int j = i; j <= kGrid; ++j)
            if (passed(probe.at(point(j)))) {
                found = 0.5 * (first + edge(point(j - 1), point(j), passed));
                return true;
            }
        found = 1.0;
        return true;
    }
    return false;
}

int findParameter(HostedPlugin& plugin, const std::string& name) {
    const std::string wanted = simplifiedName(name);
    for (int i = 0; i < plugin.effect().numParams; ++i)
        if (simplifiedName(plugin.parameterName(i)) == wanted) return i;
    return -1;
}

} // namespace

bool selectProgram(HostedPlugin& plugin, const std::string& programText, std::string& error) {
    const int count = plugin.effect().numPrograms;
    double number;
    if (parseWhole(programText, number)) {
        if (number != std::floor(number) || number < 0 || number >= count) {
            error = "program " + programText + " does not exist; the plug-in has programs 0 to " +
                    std::to_string(count - 1);
            return false;
        }
        plugin.setProgram(static_cast<int>(number));
        return true;
    }
    std::string names;
    for (int i = 0; i < count; ++i) {
        const std::string name = plugin.programNameIndexed(i);
        if (simplifiedName(name) == simplifiedName(programText)) {
            plugin.setProgram(i);
            return true;
        }
        names += "\n  " + std::to_string(i) + "  " + name;
    }
    error = "no program named \"" + programText + "\"; the plug-in offers:" + names;
    return false;
}

bool applyParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error) {
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string valueText = assignment.substr(equals + 1);
    const int index = findParameter(plugin, name);
    if (index < 0) {
        error = "no parameter named \"" + name + "\"; see qvl-render --info";
        return false;
    }
    double value;
    if (parseWhole(valueText, value)) {
        if (value < 0.0 || value > 1.0) {
            error = "value " + valueText + " of " + name +
                    " is out of range: a plain number is normalized, 0 to 1; add the unit for a "
                    "displayed value";
            return false;
        }
        plugin.setParameter(index, static_cast<float>(value));
        return true;
    }
    double target;
    if (!displayedNumber(valueText, target)) {
        error = "cannot read the value \"" + valueText + "\" of " + name;
        return false;
    }
    const float before = plugin.getParameter(index);
    DisplayProbe probe(plugin, index);
    double found;
    if (!findDisplayedValue(probe, target, found)) {
        const std::string lowest = displayAt(plugin, index, 0.0f),
                          highest = displayAt(plugin, index, 1.0f);
        plugin.setParameter(index, before);
        error = "value " + valueText + " of " + name +
                " is out of range or not shown by the plug-in (it shows \"" + lowest + "\" to \"" +
                highest + "\")";
        return false;
    }
    plugin.setParameter(index, static_cast<float>(found));
    return true;
}

bool applyIndexedParameter(HostedPlugin& plugin, const std::string& assignment,
                           std::string& error) {
    const auto equals = assignment.find('=');
    double index, value;
    if (!parseWhole(assignment.substr(0, equals), index) || index != std::floor(index) ||
        index < 0 || index >= plugin.effect().numParams) {
        error = "no parameter with index " + assignment.substr(0, equals);
        return false;
    }
    if (!parseWhole(assignment.substr(equals + 1), value) || value < 0.0 || value > 1.0) {
        error =
            "value of parameter " + assignment.substr(0, equals) + " must be normalized, 0 to 1";
        return false;
    }
    plugin.setParameter(static_cast<int>(index), static_cast<float>(value));
    return true;
}
