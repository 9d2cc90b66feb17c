#include "plugin/ValueFromText.h"

#include "plugin/ParameterTable.h"
#include "plugin/SettingLabels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale>
#include <sstream>
#include <vector>

namespace {

// Case and blanks do not count: "Dyn RMS", "dynrms" and "DYN  RMS" name one setting.
std::string simplified(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool isDigit(std::string_view text, std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// A number and the words around it: "RMS 15 ms" is "RMS ", 15 and " ms".
struct NumberText {
    std::string_view before;
    double value;
    std::string_view after;
    bool finite;
};

// Decimal notation only (no hexadecimal, no "inf"), read in the C locale whatever locale a
// host has set. False when the text holds no number.
bool findNumber(std::string_view text, NumberText& out) {
    const auto startsNumber = [text](std::size_t i) {
        const std::size_t mantissa = (text[i] == '-' || text[i] == '+') ? i + 1 : i;
        return isDigit(text, mantissa) ||
               (mantissa < text.size() && text[mantissa] == '.' && isDigit(text, mantissa + 1));
    };
    std::size_t start = 0;
    while (start < text.size() && !startsNumber(start))
        ++start;
    if (start == text.size()) return false;
    std::size_t end = start + ((text[start] == '-' || text[start] == '+') ? 1 : 0);
    while (isDigit(text, end))
        ++end;
    if (end < text.size() && text[end] == '.')
        for (++end; isDigit(text, end);)
            ++end;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
        if (isDigit(text, exponent))
            for (end = exponent; isDigit(text, end);)
                ++end;
    }
    std::istringstream stream{std::string(text.substr(start, end - start))};
    stream.imbue(std::locale::classic());
    double value = 0.0;
    stream >> value;
    out = {text.substr(0, start), value, text.substr(end), !stream.fail() && std::isfinite(value)};
    return true;
}

std::string numberText(double plain, ParameterUnit unit) {
    char text[32];
    // Four digits are the most any setting's text shows; adding zero drops a negative zero.
    std::snprintf(text, sizeof text, "%.4g", plain + 0.0);
    const char* symbol = unitSymbol(unit);
    const bool joined = unit == ParameterUnit::ratio || unit == ParameterUnit::percent;
    return std::string(text) + (joined || !*symbol ? "" : " ") + symbol;
}

// "a, b or c"
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return text;
}

// Meter Scale's positions read as amounts ("24 dB"), so a typed number means one of those.
// Fills the amounts and their unit when every position's label is one.
bool labelAmounts(const PlainScale& scale, std::vector<double>& amounts, std::string& unit) {
    amounts.clear();
    for (int i = 0; i < scale.numPoints; ++i) {
        NumberText n{};
        const std::string_view label = scale.points[i].label;
        if (!findNumber(label, n) || !n.before.empty()) return false;
        if (i > 0 && simplified(n.after) != unit) return false;
        unit = simplified(n.after);
        amounts.push_back(n.value);
    }
    return !amounts.empty();
}

class Reader {
  public:
    Reader(const ParameterInfo& info, std::string_view text)
        : info_(info), scale_(info.plain), text_(trimmed(text)),
          tolerance_(1e-6 * (scale_.max - scale_.min)) {}

    ParsedValue read() const {
        if (text_.empty()) return refused("no value given; it takes " + whatItTakes());
        const std::string typed = simplified(text_);
        if (typed.compare(0, std::strlen(kNormalizedPrefix), kNormalizedPrefix) == 0) {
            ParsedValue value = normalizedFromText(text_);
            if (!value.ok) value.refusal = std::string(info_.name) + ": " + value.refusal;
            return value;
        }
        for (int i = 0; i < scale_.numPoints; ++i)
            if (typed == simplified(scale_.points[i].label) ||
                (info_.index == kScFilterType &&
                 typed == simplified(settingLabel::kScFilterCaptions[i])))
                return accepted(scale_.toNormalized(scale_.points[i].plain));
        NumberText number{};
        if (!findNumber(text_, number)) return unreadable();
        if (!number.finite) return refused(quoted() + " is not a finite number");
        return isStepped(scale_) ? position(number) : onCurve(number);
    }

  private:
    ParsedValue accepted(float normalized) const {
        ParsedValue value;
        value.ok = true;
        // Adding zero stores the plain zero the programs hold, never a negative one.
        value.normalized = normalized + 0.0f;
        return value;
    }

    ParsedValue refused(const std::string& reason) const {
        ParsedValue value;
        value.refusal = std::string(info_.name) + ": " + reason;
        return value;
    }

    std::string quoted() const { return '"' + std::string(text_) + '"'; }

    ParsedValue unreadable() const {
        return refused("cannot read the value " + quoted() + "; it takes " + whatItTakes() +
                       ", or a normalized value as " + kNormalizedPrefix + "0.5");
    }

    std::string whatItTakes() const {
        std::vector<std::string> choices;
        if (isStepped(scale_)) {
            std::vector<double> amounts;
            std::string unit;
            // Positions typed as numbers are named beside the labels: "off (0)".
            const bool byPosition = !labelAmounts(scale_, amounts, unit);
            for (int i = 0; i < scale_.numPoints; ++i)
                choices.push_back(
                    scale_.points[i].label +
                    (byPosition
                         ? " (" + numberText(scale_.points[i].plain, ParameterUnit::none) + ")"
                         : std::string()));
            return listed(choices);
        }
        const char* symbol = unitSymbol(scale_.unit);
        choices.push_back(scale_.unit == ParameterUnit::ratio          ? "a ratio such as 2:1"
                          : scale_.unit == ParameterUnit::milliseconds ? "a time in ms or s"
                          : scale_.unit == ParameterUnit::hertz        ? "a frequency in Hz or kHz"
                          : *symbol ? std::string("a number in ") + symbol
                                    : "a number");
        for (int i = 0; i < scale_.numPoints; ++i)
            choices.push_back(scale_.points[i].label);
        return listed(choices);
    }

    std::string settingText(double plain) const {
        for (int i = 0; i < scale_.numPoints; ++i)
            if (std::fabs(scale_.points[i].plain - plain) <= tolerance_)
                return scale_.points[i].label;
        return numberText(plain, scale_.unit);
    }

    ParsedValue between(const std::string& lower, const std::string& upper) const {
        return refused(quoted() + " lies between the settings " + lower + " and " + upper +
                       "; choose one of them");
    }

    // A switch: its positions' amounts where its labels are amounts, else the positions.
    ParsedValue position(const NumberText& number) const {
        std::vector<double> keys;
        std::string unit;
        const bool amounts = labelAmounts(scale_, keys, unit);
        if (!amounts)
            for (int i = 0; i < scale_.numPoints; ++i)
                keys.push_back(scale_.points[i].plain);
        const std::string after = simplified(number.after);
        if (!number.before.empty() || !(after.empty() || (amounts && after == unit)))
            return unreadable();
        int below = -1, above = -1;
        for (int i = 0; i < scale_.numPoints; ++i) {
            if (keys[i] == number.value)
                return accepted(scale_.toNormalized(scale_.points[i].plain));
            if (keys[i] < number.value && (below < 0 || keys[i] > keys[below])) below = i;
            if (keys[i] > number.value && (above < 0 || keys[i] < keys[above])) above = i;
        }
        if (below >= 0 && above >= 0)
            return between(scale_.points[below].label, scale_.points[above].label);
        return refused(quoted() + " is none of the settings; it takes " + whatItTakes());
    }

    // A continuous control, perhaps with zones beside its range (Detection, Ratio).
    ParsedValue onCurve(const NumberText& number) const {
        const std::string after = simplified(number.after);
        const bool wordsOnly = std::all_of(number.before.begin(), number.before.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) ||
                   std::isspace(static_cast<unsigned char>(c));
        });
        double scale = 1.0;
        if (!wordsOnly || !readsUnit(after, scale)) return unreadable();
        const double x = number.value * scale;
        if (x < scale_.min || x > scale_.max)
            return refused(quoted() + " is out of range, " + numberText(scale_.min, scale_.unit) +
                           " to " + numberText(scale_.max, scale_.unit));
        const auto [lower, upper] = settingsAround(x);
        if (x - lower > tolerance_ && upper - x > tolerance_)
            return between(settingText(lower), settingText(upper));
        const ParsedValue value = accepted(scale_.toNormalized(x));
        // Words before the number are taken as the host text shows them ("RMS 15").
        const std::string shown = simplified(info_.hostText(value.normalized).text);
        if (shown.compare(0, simplified(number.before).size(), simplified(number.before)) != 0)
            return unreadable();
        return value;
    }

    // The unit typed after a number, and what it multiplies the number by: the control's own
    // unit or none, or the larger unit that the editor shows for long times ("1.5 s") and that
    // users write for frequencies ("0.1 kHz").
    bool readsUnit(const std::string& typed, double& scale) const {
        scale = 1.0;
        if (typed.empty() || typed == simplified(unitSymbol(scale_.unit))) return true;
        const char* larger = scale_.unit == ParameterUnit::milliseconds ? "s"
                             : scale_.unit == ParameterUnit::hertz      ? "khz"
                                                                        : nullptr;
        if (!larger || typed != larger) return false;
        scale = 1000.0;
        return true;
    }

    // The plain values of two neighbouring normalized floats with x between them. The curves
    // are monotonic and non-negative floats are ordered as their bit patterns, so a bisection
    // over the patterns finds them. Inside a range the two lie a float step apart, far closer
    // than the tolerance; at a zone's edge they are the settings on either side of the gap.
    std::pair<double, double> settingsAround(double x) const {
        const bool rising = scale_.toPlain(1.0f) >= scale_.toPlain(0.0f);
        const auto plainAt = [this](uint32_t bits) {
            float v;
            std::memcpy(&v, &bits, sizeof v);
            return scale_.toPlain(v);
        };
        const auto reaches = [&](uint32_t bits) {
            return rising ? plainAt(bits) >= x : plainAt(bits) <= x;
        };
        const float ends[] = {0.0f, 1.0f};
        uint32_t below, above;
        std::memcpy(&below, &ends[0], sizeof below);
        std::memcpy(&above, &ends[1], sizeof above);
        if (reaches(below)) above = below;
        while (above - below > 1) {
            const uint32_t middle = below + (above - below) / 2;
            (reaches(middle) ? above : below) = middle;
        }
        const double a = plainAt(below), b = plainAt(above);
        return {std::min(a, b), std::max(a, b)};
    }

    const ParameterInfo& info_;
    const PlainScale& scale_;
    std::string_view text_;
    double tolerance_; // far above a float step of any curve, far below any zone's gap
};

} // namespace

ParsedValue valueFromText(int index, std::string_view text) {
    if (!isParameterIndex(index)) {
        ParsedValue value;
        value.refusal = "no parameter with index " + std::to_string(index);
        return value;
    }
    return Reader(kParameters[index], text).read();
}

ParsedValue normalizedFromText(std::string_view text) {
    ParsedValue value;
    const std::string typed = simplified(text);
    const std::size_t prefixLength = std::strlen(kNormalizedPrefix);
    NumberText number{};
    const std::string_view rest =
        std::string_view(typed).substr(std::min(prefixLength, typed.size()));
    const bool readable = typed.compare(0, prefixLength, kNormalizedPrefix) == 0 &&
                          findNumber(rest, number) && number.before.empty() &&
                          number.after.empty() && number.finite;
    const std::string range = std::string(kNormalizedPrefix) + "0 to " + kNormalizedPrefix + "1";
    const std::string quoted = '"' + std::string(trimmed(text)) + '"';
    if (!readable) {
        value.refusal = "cannot read the normalized value " + quoted + "; write " + range;
        return value;
    }
    if (number.value < 0.0 || number.value > 1.0) {
        value.refusal = quoted + " is out of range, " + range;
        return value;
    }
    value.ok = true;
    value.normalized = static_cast<float>(number.value) + 0.0f;
    return value;
}
