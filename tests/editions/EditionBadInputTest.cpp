// What a careless host may hand any edition: missing buffers and samples that are no numbers.
// Nothing crashes, and the sound afterwards is finite and as it would be.
#include "EditionTestSupport.h"

#include <cmath>
#include <limits>

namespace {

class EditionBadInput : public EachEdition {};

bool allFinite(const Stereo<float>& s) {
    for (const auto* channel : {&s.left, &s.right})
        for (const float x : *channel)
            if (!std::isfinite(x)) return false;
    return true;
}

TEST_P(EditionBadInput, MissingBuffersAreSurvivedAndProcessingGoesOn) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    ASSERT_TRUE(edition->selectProgram(2));
    edition->start(48000.0, 512, false);
    Stereo<float> in = bursts<float>(4096, 48000.0), out(4096);
    float* none[2] = {nullptr, nullptr};
    edition->process(static_cast<float* const*>(nullptr), nullptr, 256);
    edition->process(none, none, 256);
    edition->process(in.from(0).data(), none, 256);
    for (std::size_t start = 0; start < 4096; start += 512)
        edition->process(in.from(start).data(), out.from(start).data(), 512);
    edition->stop();
    EXPECT_TRUE(allFinite(out));
}

TEST_P(EditionBadInput, NonFiniteSamplesLeaveTheOutputFiniteOnceTheyHavePassed) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    ASSERT_TRUE(edition->selectProgram(2));
    edition->start(48000.0, 512, false);
    Stereo<float> in = bursts<float>(48000, 48000.0), out(48000);
    in.left[1000] = std::numeric_limits<float>::quiet_NaN();
    in.right[1001] = std::numeric_limits<float>::infinity();
    in.left[1002] = -std::numeric_limits<float>::infinity();
    for (std::size_t start = 0; start < 48000; start += 500)
        edition->process(in.from(start).data(), out.from(start).data(), 500);
    edition->stop();
    // Half a second later the detector and the delay lines hold numbers again.
    Stereo<float> tail(std::vector<float>(out.left.begin() + 24000, out.left.end()),
                       std::vector<float>(out.right.begin() + 24000, out.right.end()));
    EXPECT_TRUE(allFinite(tail));
}

QVL_FOR_EACH_EDITION(EditionBadInput);

} // namespace
