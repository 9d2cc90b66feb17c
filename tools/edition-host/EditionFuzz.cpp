#include "EditionFuzz.h"

#include "plugin/ParameterTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <vector>

namespace {

// splitmix64: the same numbers for a seed with every compiler and standard library, which the
// standard distributions do not promise.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int count) { return static_cast<int>(next() % static_cast<uint64_t>(count)); }
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> T pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

  private:
    uint64_t state_;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr float kFloatNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kFloatInfinity = std::numeric_limits<float>::infinity();

// A float one step past each end of 0 ... 1, as a rounding error would leave it.
const float kPastOne = std::nextafter(1.0f, 2.0f);
const float kPastZero = std::nextafter(0.0f, -1.0f);

const double kRatesHz[] = {8000,  11025, 16000,  22050,  32000,  44100,  48000, 50000,
                           88200, 96000, 176400, 192000, 352800, 384000, 768000};
const int kBlockSizes[] = {1, 2, 3, 7, 16, 32, 64, 100, 128, 256, 441, 511, 512, 1000, 1023, 4096};

std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

bool hasNoNumberWord(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// The first number a text shows ("-24.5 dB", "RMS 10", "8:1") and how many decimals it has.
bool numberIn(const std::string& text, double& value, int& decimals) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        const bool sign = (text[i] == '-' || text[i] == '+') && i + 1 < text.size() &&
                          std::isdigit(static_cast<unsigned char>(text[i + 1])) != 0;
        if (!digit && !sign) continue;
        const char* start = text.c_str() + i;
        char* end = nullptr;
        value = std::strtod(start, &end);
        const char* point = std::find(start, static_cast<const char*>(end), '.');
        decimals = point == end ? 0 : static_cast<int>(end - point - 1);
        return true;
    }
    return false;
}

// Where two saved states part: the size, or the first word of four bytes that differs.
std::string difference(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    if (before.size() != after.size())
        return std::to_string(before.size()) + " bytes, then " + std::to_string(after.size());
    std::size_t at = 0;
    while (at < before.size() && before[at] == after[at])
        ++at;
    at -= at % 4;
    const auto word = [&](const std::vector<uint8_t>& bytes) {
        uint32_t w = 0;
        std::memcpy(&w, &bytes[at], std::min<std::size_t>(4, bytes.size() - at));
        float f;
        std::memcpy(&f, &w, 4);
        char text[64];
        std::snprintf(text, sizeof text, "0x%08x (%.9g)", w, static_cast<double>(f));
        return std::string(text);
    };
    return "the word at byte " + std::to_string(at) + " " + word(before) + ", then " + word(after);
}

class Fuzz {
  public:
    Fuzz(LoadedEdition& edition, uint64_t seed)
        : edition_(edition), random_(seed), ours_(edition.isOurs()),
          indices_(edition.parameterIndices()) {}

    FuzzOutcome run(int steps) {
        FuzzOutcome outcome;
        for (int step = 1; step <= steps && problem_.empty(); ++step) {
            outcome.step = step;
            takeStep();
            if (problem_.empty()) checkReadings();
        }
        if (started_) edition_.stop();
        outcome.held = problem_.empty();
        if (!outcome.held) {
            outcome.problem = problem_ + "\nthe last calls, up to the one after which it failed:";
            for (const std::string& call : calls_)
                outcome.problem += "\n  " + call;
        }
        outcome.refusedStates = refusedStates_;
        outcome.takenDamagedStates = takenDamagedStates_;
        outcome.blocks = blocks_;
        return outcome;
    }

  private:
    void log(const std::string& call) {
        calls_.push_back(call);
        if (calls_.size() > 16) calls_.pop_front();
    }
    void fail(const std::string& problem) {
        if (problem_.empty()) problem_ = problem;
    }

    void takeStep() {
        const int roll = random_.below(100);
        if (roll < 22)
            setParameterNow();
        else if (roll < 25)
            typeText();
        else if (roll < 55)
            processBlock();
        else if (roll < 62)
            chooseProgram();
        else if (roll < 67)
            saveAndRestore();
        else if (roll < 87)
            restoreDamaged();
        else if (roll < 95)
            startAnew();
        else if (started_)
            stop();
    }

    int anyIndex() { return indices_.empty() ? 0 : indices_[random_.below(int(indices_.size()))]; }

    // Mostly values inside the travel, often its ends and the switches' positions, now and then
    // a value a rounding step or far past an end, and rarely no number at all.
    double hostValue() {
        const double ends[] = {0.0, 1.0, -0.0};
        const double justPast[] = {kPastOne, kPastZero, 1.0 + 1e-12, -1e-12};
        const double farPast[] = {-1.0, 2.0, 5.5, -1e30, 1e30, 1e300};
        const double noNumber[] = {kNaN, kInfinity, -kInfinity};
        const int roll = random_.below(100);
        if (roll < 50) return random_.unit();
        if (roll < 62) return random_.below(5) / 4.0;
        if (roll < 74) return random_.pick(ends);
        if (roll < 88) return random_.pick(justPast);
        if (roll < 96) return random_.pick(farPast);
        return random_.pick(noNumber);
    }

    void setParameterNow() {
        const int index = anyIndex();
        const double value = hostValue();
        log("setParameter(" + std::to_string(index) + ", " + number(value) + ")");
        edition_.setParameter(index, value);
    }

    // What a user types into a host's field: values inside the ranges, at and past their ends,
    // named settings, normalized spellings and words that are no number. What the plug-in takes
    // must be inside 0 ... 1; the host then sets it.
    void typeText() {
        const char* const texts[] = {
            "0",      "-0",     "1",        "0.5",       "-24.5 dB", "-50 dB",  "-1000 dB",
            "0 dB",   "12 dB",  "12.1 dB",  "20 dB",     "20.0004",  "30 Hz",   "300 Hz",
            "301 Hz", "0.1 ms", "0.09 ms",  "500 ms",    "500.18",   "2000 ms", "2000.06 ms",
            "200 %",  "201%",   "1e30",     "-1e30",     "nan",      "inf",     "-inf",
            "norm:0", "norm:1", "norm:1.5", "norm:-0.1", "Peak",     "Dyn RMS", "RMS 60",
            "4:1",    "8:1",    "9:1",      "Out",       "on",       "off",     "3 dB/oct",
            "",       "   ",    "dB"};
        const int index = anyIndex();
        const std::string text = random_.pick(texts);
        log("valueFromText(" + std::to_string(index) + ", \"" + text + "\")");
        double normalized = 0.0;
        if (!edition_.valueFromText(index, text, normalized)) return;
        if (!(normalized >= 0.0 && normalized <= 1.0))
            return fail("\"" + text + "\" reads as " + number(normalized) + ", outside 0 ... 1");
        log("setParameter(" + std::to_string(index) + ", " + number(normalized) + ")");
        edition_.setParameter(index, normalized);
    }

    void chooseProgram() {
        const int program = random_.below(9) - 1;
        log("selectProgram(" + std::to_string(program) + ")");
        edition_.selectProgram(program);
    }

    void saveAndRestore() {
        const std::vector<uint8_t> saved = edition_.saveState();
        std::vector<std::string> texts;
        for (const int index : indices_)
            texts.push_back(edition_.parameter(index).text);
        log("loadState(the state just saved, " + std::to_string(saved.size()) + " bytes)");
        if (!edition_.loadState(saved)) return fail("the state just saved was refused");
        // What a host shows comes back; a value may not, where the host restores values one by
        // one and a switch that listens turns off another's value on the way.
        for (std::size_t i = 0; i < indices_.size(); ++i) {
            const std::string text = edition_.parameter(indices_[i]).text;
            if (text != texts[i])
                return fail("the state just saved, restored, shows index " +
                            std::to_string(indices_[i]) + " as \"" + text + "\", not \"" +
                            texts[i] + "\"");
        }
    }

    // A saved state with one thing changed, as a damaged session file or a bad copy hands it
    // back; most records are words of four bytes, so words are changed whole too.
    void restoreDamaged() {
        const std::vector<uint8_t> before = edition_.saveState();
        std::vector<uint8_t> bytes = before;
        std::string what;
        const std::size_t words = bytes.size() / 4;
        const int roll = random_.below(100);
        if (bytes.empty() || roll < 10) {
            const int extra = 1 + random_.below(8);
            for (int i = 0; i < extra; ++i)
                bytes.push_back(static_cast<uint8_t>(random_.next()));
            what = std::to_string(extra) + " bytes appended";
        } else if (roll < 20) {
            bytes.resize(static_cast<std::size_t>(random_.below(int(bytes.size()))));
            what = "cut to " + std::to_string(bytes.size()) + " bytes";
        } else if (roll < 35) {
            const std::size_t at = static_cast<std::size_t>(random_.below(int(bytes.size())));
            const int bit = random_.below(8);
            bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1u << bit));
            what = "bit " + std::to_string(bit) + " of byte " + std::to_string(at) + " flipped";
        } else if (roll < 45) {
            const std::size_t at = static_cast<std::size_t>(random_.below(int(bytes.size())));
            bytes[at] = static_cast<uint8_t>(random_.next());
            what = "byte " + std::to_string(at) + " set to " + std::to_string(bytes[at]);
        } else if (roll < 60 && words > 0) {
            const std::size_t at = 4 * static_cast<std::size_t>(random_.below(int(words)));
            uint32_t word = 0;
            std::memcpy(&word, &bytes[at], 4);
            const uint32_t chosen[] = {0u,          1u,          2u,       7u,
                                       0xFFFFFFFFu, 0x80000000u, word + 1, word - 1};
            word = random_.pick(chosen);
            std::memcpy(&bytes[at], &word, 4);
            what = "word at byte " + std::to_string(at) + " set to " + std::to_string(word);
        } else if (words > 0) {
            const std::size_t at = 4 * static_cast<std::size_t>(random_.below(int(words)));
            const float floats[] = {
                0.0f,           -0.0f,           1.0f,
                0.5f,           kPastOne,        kPastZero,
                1.00002f,       -1e-30f,         2.0f,
                -1.0f,          20.0f,           2000.0f,
                1e30f,          -1e30f,          kFloatNaN,
                kFloatInfinity, -kFloatInfinity, std::numeric_limits<float>::denorm_min()};
            const float value = random_.pick(floats);
            std::memcpy(&bytes[at], &value, 4);
            what = "float at byte " + std::to_string(at) + " set to " + number(value);
        }
        log("loadState(the state saved, " + what + ")");
        if (edition_.loadState(bytes)) {
            ++takenDamagedStates_;
            return;
        }
        ++refusedStates_;
        const std::vector<uint8_t> after = edition_.saveState();
        if (after != before)
            fail("a refused state changed what the edition saves: " + difference(before, after));
    }

    void startAnew() {
        if (started_) stop();
        // Hosts restart mostly at the rate they had, for a new block size or precision.
        if (random_.chance(30)) rateHz_ = random_.pick(kRatesHz);
        maxBlock_ = random_.pick(kBlockSizes);
        doubles_ = edition_.processesDouble() && random_.chance(50);
        log("start(" + number(rateHz_) + " Hz, blocks of " + std::to_string(maxBlock_) +
            (doubles_ ? ", 64 bits)" : ", 32 bits)"));
        edition_.start(rateHz_, maxBlock_, doubles_);
        started_ = true;
    }

    void stop() {
        log("stop()");
        edition_.stop();
        started_ = false;
    }

    // A block of any length up to the largest announced, with changes at samples inside it (and
    // now and then past its end, which a careless host sends).
    void processBlock() {
        if (!started_) startAnew();
        const int frames = random_.chance(8) ? 0 : 1 + random_.below(maxBlock_);
        const int changes = random_.below(4);
        for (int i = 0; i < changes; ++i) {
            const int index = anyIndex();
            const double value = hostValue();
            const int frame =
                random_.chance(90) ? random_.below(std::max(frames, 1)) : frames + random_.below(8);
            log("setParameterAt(" + std::to_string(index) + ", " + number(value) + ", frame " +
                std::to_string(frame) + ")");
            edition_.setParameterAt(index, value, frame);
        }
        if (doubles_)
            processIn<double>(frames, doubleBuffers_);
        else
            processIn<float>(frames, floatBuffers_);
        ++blocks_;
    }

    template <typename Sample> struct Buffers { std::vector<Sample> channels[4]; };

    template <typename Sample> void processIn(int frames, Buffers<Sample>& buffers) {
        const auto size = static_cast<std::size_t>(std::max(frames, 1));
        for (std::vector<Sample>& channel : buffers.channels)
            channel.assign(size, Sample(0));
        const double levels[] = {0.0, 1e-30, 1e-6, 0.01, 0.5, 1.0, 4.0};
        const double level = random_.pick(levels);
        for (int c = 0; c < 2; ++c)
            for (std::size_t n = 0; n < size; ++n)
                buffers.channels[c][n] = static_cast<Sample>(level * (2.0 * random_.unit() - 1.0));
        // What the edition does not write stays not a number, and is found.
        for (int c = 2; c < 4; ++c)
            std::fill(buffers.channels[c].begin(), buffers.channels[c].end(),
                      std::numeric_limits<Sample>::quiet_NaN());
        const bool inPlace = random_.chance(25);
        Sample* inputs[2] = {buffers.channels[0].data(), buffers.channels[1].data()};
        Sample* outputs[2] = {inPlace ? inputs[0] : buffers.channels[2].data(),
                              inPlace ? inputs[1] : buffers.channels[3].data()};
        Sample* const* in = inputs;
        Sample* const* out = outputs;
        std::string missing;
        switch (random_.chance(6) ? random_.below(4) : -1) {
        case 0:
            in = nullptr;
            missing = ", no inputs";
            break;
        case 1:
            out = nullptr;
            missing = ", no outputs";
            break;
        case 2:
            inputs[1] = nullptr;
            missing = ", no right input";
            break;
        case 3:
            outputs[0] = nullptr;
            missing = ", no left output";
            break;
        default:
            break;
        }
        log("process(" + std::to_string(frames) + " frames" + (inPlace ? ", in place" : "") +
            missing + ", level " + number(level) + ")");
        edition_.process(in, out, frames);
        if (!missing.empty()) return;
        for (int c = 0; c < 2; ++c)
            for (int n = 0; n < frames; ++n)
                if (!std::isfinite(static_cast<double>(outputs[c][n])))
                    return fail("output channel " + std::to_string(c) + " holds " +
                                number(static_cast<double>(outputs[c][n])) + " at frame " +
                                std::to_string(n));
    }

    void checkReadings() {
        for (const int index : indices_) {
            const ParameterReading r = edition_.parameter(index);
            const std::string reading =
                r.name + " (index " + std::to_string(index) + ") reads back normalized " +
                number(r.normalized) + ", plain " + number(r.plain) + " (declared " +
                number(r.minimum) + " ... " + number(r.maximum) + "), text \"" + r.text + "\"";
            if (!(r.normalized >= 0.0 && r.normalized <= 1.0))
                return fail(reading + ": the normalized value is outside 0 ... 1");
            if (!(r.minimum <= r.maximum) || !(r.plain >= r.minimum && r.plain <= r.maximum))
                return fail(reading + ": the plain value is outside its range");
            if (r.text.empty() || hasNoNumberWord(r.text))
                return fail(reading + ": the text shows no value");
            if (!textInRange(index, r.text)) return fail(reading + ": the text is out of range");
        }
    }

    // Our continuous controls print a number in the unit of their plain range; it lies in that
    // range up to the rounding of its last printed digit. A switch's text names its position.
    bool textInRange(int index, const std::string& text) const {
        if (!ours_ || !isParameterIndex(index)) return true;
        const PlainScale& scale = kParameters[static_cast<std::size_t>(index)].plain;
        double value = 0.0;
        int decimals = 0;
        if (isStepped(scale) || !numberIn(text, value, decimals)) return true;
        const double rounding = 0.5 * std::pow(10.0, -decimals) * (1.0 + 1e-9);
        return value >= scale.min - rounding && value <= scale.max + rounding;
    }

    LoadedEdition& edition_;
    Random random_;
    const bool ours_;
    const std::vector<int> indices_;
    std::deque<std::string> calls_;
    std::string problem_;
    bool started_ = false;
    bool doubles_ = false;
    double rateHz_ = 48000.0;
    int maxBlock_ = 512;
    int refusedStates_ = 0, takenDamagedStates_ = 0, blocks_ = 0;
    Buffers<float> floatBuffers_;
    Buffers<double> doubleBuffers_;
};

} // namespace

FuzzOutcome fuzzEdition(LoadedEdition& edition, uint64_t seed, int steps) {
    return Fuzz(edition, seed).run(steps);
}
