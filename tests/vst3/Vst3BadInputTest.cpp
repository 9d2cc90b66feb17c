// What the VST 3 edition does with what a careless host may send: missing or short buffers,
// empty and oversized blocks, unknown IDs, NaN and out-of-range values, odd and nonsense rates,
// processing out of order, nonsense text, unknown views; and the valid orders of calls.
#include "Vst3TestSupport.h"

#include <limits>
#include <thread>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

std::unique_ptr<HostedVst3Plugin> activePlugin(double rateHz = 48000.0,
                                               int32 sampleSize = kSample32) {
    auto plugin = loadVst3();
    EXPECT_EQ(plugin->setup(rateHz, sampleSize), kResultOk);
    plugin->activate(true);
    return plugin;
}

bool allZero(const std::vector<float>& x) {
    return std::all_of(x.begin(), x.end(), [](float v) { return v == 0.0f; });
}

TEST(Vst3BadInput, MissingBuffersGiveSilenceWhereThereIsAnOutputAndStillTakeChanges) {
    auto plugin = activePlugin();
    std::vector<float> left(512, 1.0f), right(512, 1.0f);
    float* outputs[2] = {left.data(), right.data()};
    float* missing[2] = {nullptr, nullptr};
    AudioBusBuffers in{}, out{};
    out.numChannels = 2;
    out.channelBuffers32 = outputs;
    ParameterChanges changes({{3, 100, 0.125}});
    ProcessData data;
    data.numSamples = 512;
    data.numOutputs = 1;
    data.outputs = &out;
    data.inputParameterChanges = &changes;
    // No input bus, then an input bus with no channels, then one with null channel arrays.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt == 1) {
            data.numInputs = 1;
            data.inputs = &in;
        }
        if (attempt == 2) {
            in.numChannels = 2;
            in.channelBuffers32 = missing;
        }
        std::fill(left.begin(), left.end(), 1.0f);
        EXPECT_EQ(plugin->processData(data), kResultOk);
        EXPECT_TRUE(allZero(left)) << "attempt " << attempt;
        EXPECT_EQ(out.silenceFlags, 3u);
    }
    EXPECT_EQ(plugin->controller()->getParamNormalized(3), 0.125);

    // Nothing at all: no buses, no changes, even a null output array with samples asked.
    ProcessData empty;
    empty.numSamples = 64;
    empty.numOutputs = 1;
    EXPECT_EQ(plugin->processData(empty), kResultOk);
}

TEST(Vst3BadInput, AZeroLengthBlockOnlyAppliesItsChanges) {
    auto plugin = activePlugin();
    Stereo<float> in(1), out(1);
    EXPECT_EQ(processVst3(*plugin, in, out, 0, 0, {{5, 0, 0.75}, {kBypassId, 0, 1.0}}), kResultOk);
    EXPECT_EQ(plugin->controller()->getParamNormalized(5), 0.75);
    EXPECT_EQ(plugin->controller()->getParamNormalized(16), 1.0);
    ProcessData flush; // a flush with no buffers and no channels
    ParameterChanges changes({{5, 0, 0.5}});
    flush.inputParameterChanges = &changes;
    EXPECT_EQ(plugin->processData(flush), kResultOk);
    EXPECT_EQ(plugin->controller()->getParamNormalized(5), 0.5);
}

TEST(Vst3BadInput, BlocksLargerThanTheSetupAreProcessedWhole) {
    const Stereo<float> source = bursts<float>(30000, 48000.0);
    auto large = activePlugin(); // set up for 8192 frames at most
    auto small = activePlugin();
    Stereo<float> in1 = source, out1(30000), in2 = source, out2(30000);
    processVst3(*large, in1, out1, 0, 30000);
    for (std::size_t start = 0; start < 30000; start += 1000)
        processVst3(*small, in2, out2, start, 1000);
    EXPECT_TRUE(sameSamples(out1, out2));
}

TEST(Vst3BadInput, UnknownIdsNanAndOutOfRangeValues) {
    auto plugin = activePlugin();
    IEditController* c = plugin->controller();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (ParamID unknown : {19u, 20u, 99u, 100u, 500u, 0xFFFFFFFFu}) {
        EXPECT_EQ(c->setParamNormalized(unknown, 0.5), kInvalidArgument);
        EXPECT_EQ(c->getParamNormalized(unknown), 0.0);
        EXPECT_EQ(plugin->text(unknown, 0.5), "<refused>");
        EXPECT_EQ(c->normalizedParamToPlain(unknown, 0.5), 0.0);
    }
    const ParamValue threshold = c->getParamNormalized(3);
    EXPECT_EQ(c->setParamNormalized(3, nan), kInvalidArgument);
    EXPECT_EQ(c->getParamNormalized(3), threshold);
    EXPECT_EQ(plugin->text(3, nan), "<refused>");
    c->setParamNormalized(3, 2.0);
    EXPECT_EQ(c->getParamNormalized(3), 1.0);
    c->setParamNormalized(3, -1.0);
    EXPECT_EQ(c->getParamNormalized(3), 0.0);

    // The same through the processing queues, with offsets outside the block.
    Stereo<float> in = bursts<float>(256, 48000.0), out(256);
    EXPECT_EQ(processVst3(*plugin, in, out, 0, 256,
                          {{99, 10, 1.0}, {3, 20, nan}, {5, -40, 7.0}, {7, 9999, -3.0}}),
              kResultOk);
    EXPECT_EQ(c->getParamNormalized(3), 0.0);
    EXPECT_EQ(c->getParamNormalized(5), 1.0);
    EXPECT_EQ(c->getParamNormalized(7), 0.0);
    for (float x : out.left)
        EXPECT_TRUE(std::isfinite(x));
}

TEST(Vst3BadInput, RatesFrom8To768KilohertzAndNonsenseRatesRefused) {
    for (double rate : {8000.0, 22050.0, 123456.78, 192000.0, 384000.0, 768000.0}) {
        auto plugin = activePlugin(rate, kSample64);
        Stereo<double> in = bursts<double>(4096, rate), out(4096);
        EXPECT_EQ(processVst3(*plugin, in, out, 0, 4096), kResultOk);
        double energy = 0.0;
        for (double x : out.left) {
            ASSERT_TRUE(std::isfinite(x)) << rate;
            energy += x * x;
        }
        EXPECT_GT(energy, 0.0) << rate;
    }
    auto plugin = loadVst3();
    for (double rate : {0.0, -44100.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(plugin->setup(rate, kSample32), kResultFalse) << rate;
    EXPECT_EQ(plugin->setup(48000.0, 3), kResultFalse) << "an unknown sample size";
}

TEST(Vst3BadInput, ProcessingBeforeSetupOrActivationGivesSilence) {
    auto plugin = loadVst3();
    Stereo<float> in = bursts<float>(512, 48000.0), out(512);
    std::fill(out.left.begin(), out.left.end(), 1.0f);
    EXPECT_EQ(processVst3(*plugin, in, out, 0, 512, {{3, 0, 0.5}}), kResultOk);
    EXPECT_TRUE(allZero(out.left));
    EXPECT_EQ(plugin->controller()->getParamNormalized(3), 0.5);
    plugin->setup(48000.0, kSample32);
    EXPECT_EQ(processVst3(*plugin, in, out, 0, 512), kResultOk);
    EXPECT_TRUE(allZero(out.left)) << "set up but not active";
}

TEST(Vst3BadInput, NonsenseTextUnknownViewsAndANullParent) {
    auto plugin = loadVst3();
    IEditController* c = plugin->controller();
    TChar text[] = {'b', 'a', 'n', 'a', 'n', 'a', 0};
    ParamValue value = 0.25;
    EXPECT_EQ(c->getParamValueByString(3, text, value), kResultFalse);
    EXPECT_EQ(value, 0.25);
    EXPECT_EQ(c->createView("no such view"), nullptr);
    EXPECT_EQ(c->createView(nullptr), nullptr);
    IPlugView* view = c->createView(ViewType::kEditor);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(c->createView(ViewType::kEditor), nullptr) << "one editor at a time";
#ifdef _WIN32
    const FIDString ours = kPlatformTypeHWND, foreign = kPlatformTypeX11EmbedWindowID;
#else
    const FIDString ours = kPlatformTypeX11EmbedWindowID, foreign = kPlatformTypeHWND;
#endif
    EXPECT_EQ(view->isPlatformTypeSupported(foreign), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
    EXPECT_EQ(view->attached(nullptr, ours), kInvalidArgument);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    EXPECT_EQ(view->removed(), kResultFalse) << "never attached";
    view->release();
    IPlugView* again = c->createView(ViewType::kEditor);
    EXPECT_NE(again, nullptr) << "the editor is free again once its view is gone";
    if (again) again->release();
}

TEST(Vst3BadInput, StateTransitionsAndProcessingOnAnotherThread) {
    const Stereo<float> source = bursts<float>(4800, 48000.0);
    auto reference = activePlugin();
    Stereo<float> in = source, expected(4800);
    processVst3(*reference, in, expected, 0, 4800);

    auto plugin = loadVst3();
    IComponent* component = plugin->component();
    EXPECT_EQ(component->setActive(false), kResultOk) << "inactive already";
    plugin->setup(48000.0, kSample32);
    EXPECT_EQ(component->setActive(true), kResultOk);
    EXPECT_EQ(component->setActive(true), kResultOk);
    Stereo<float> scratch = source, ignored(4800);
    processVst3(*plugin, scratch, ignored, 0, 4800);
    // Suspend, terminate, initialize and resume, then processing on a thread of its own: the
    // detector starts afresh, as in a fresh instance; only the engine's output noise runs on.
    EXPECT_EQ(component->setActive(false), kResultOk);
    EXPECT_EQ(component->terminate(), kResultOk);
    EXPECT_EQ(component->initialize(nullptr), kResultOk);
    plugin->setup(48000.0, kSample32);
    plugin->activate(true);
    Stereo<float> out(4800);
    std::thread audio([&] {
        Stereo<float> again = source;
        processVst3(*plugin, again, out, 0, 4800);
    });
    audio.join();
    for (std::size_t n = 0; n < 4800; ++n)
        ASSERT_NEAR(expected.left[n], out.left[n], 1e-6) << n;
}

} // namespace
