// The built Windows module, loaded the way a host loads it: LoadLibrary, then the exported
// entry by name. Checks what a host relies on before it ever processes audio.
#include "formats/vst2/Vst2Interface.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <emmintrin.h>
#include <set>
#include <string>
#include <vector>

namespace {

int gVersionRequests = 0;
intptr_t gVersionAnswer = 2400;

intptr_t VST2_CALL testHost(vst2::AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr,
                            float) {
    if (opcode == vst2::audioMasterVersion) {
        ++gVersionRequests;
        // The version question comes before the effect exists.
        EXPECT_EQ(effect, nullptr);
        EXPECT_EQ(ptr, nullptr);
        return gVersionAnswer;
    }
    return 0;
}

class PluginModule : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryW(modulePath().c_str());
        ASSERT_NE(module_, nullptr) << "LoadLibrary failed, error " << GetLastError();
        entry_ = reinterpret_cast<vst2::PluginEntryProc>(
            reinterpret_cast<void*>(GetProcAddress(module_, "VSTPluginMain")));
        ASSERT_NE(entry_, nullptr);
        gVersionRequests = 0;
        gVersionAnswer = 2400;
    }

    void TearDown() override {
        if (effect_) effect_->dispatcher(effect_, vst2::effClose, 0, 0, nullptr, 0.0f);
        if (module_) FreeLibrary(module_);
    }

    vst2::AEffect* open() {
        effect_ = entry_(testHost);
        return effect_;
    }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }

    std::string text(int32_t opcode) {
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        buffer[sizeof buffer - 1] = '\0';
        EXPECT_EQ(dispatch(opcode, 0, 0, buffer), 1);
        return buffer;
    }

    // The module as it lies in memory: a PE image whose directories the loader has read. Its
    // headers are those of this program's architecture (the 64-bit optional header is longer).
    const unsigned char* image() const { return reinterpret_cast<const unsigned char*>(module_); }
    const IMAGE_DATA_DIRECTORY& directory(int entry) const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image() + dos->e_lfanew);
        return nt->OptionalHeader.DataDirectory[entry];
    }

    HMODULE module_ = nullptr;
    vst2::PluginEntryProc entry_ = nullptr;
    vst2::AEffect* effect_ = nullptr;
};

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST_F(PluginModule, ExportsExactlyTheEntryUnderBothNames) {
    const IMAGE_DATA_DIRECTORY& dir = directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(image() + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(image() + exports->AddressOfNames);
    std::set<std::string> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        exported.insert(reinterpret_cast<const char*>(image() + names[i]));
    EXPECT_EQ(exported, (std::set<std::string>{"VSTPluginMain", "main"}));
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module_, "main")),
              reinterpret_cast<void*>(entry_));
}

// The module must load on a bare Windows: no compiler runtime, zlib or libpng DLL beside it.
TEST_F(PluginModule, ImportsOnlySystemLibraries) {
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                          "gdiplus.dll",  "ole32.dll",  "shell32.dll",
                                          "advapi32.dll", "msvcrt.dll"};
    const IMAGE_DATA_DIRECTORY& dir = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    std::vector<std::string> imported;
    for (const auto* d =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image() + dir.VirtualAddress);
         d->Name != 0; ++d)
        imported.push_back(lowercase(reinterpret_cast<const char*>(image() + d->Name)));
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported)
        EXPECT_EQ(system.count(name), 1u) << name << " is not a system library";
}

TEST_F(PluginModule, HostThatAnswersVersionZeroGetsNothing) {
    gVersionAnswer = 0;
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(gVersionRequests, 1);
}

TEST_F(PluginModule, RecordShowsIdentityCountsAndFlags) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(gVersionRequests, 1);
    EXPECT_EQ(effect_->magic, 0x56737450); // 'VstP'
    EXPECT_EQ(effect_->numPrograms, 7);
    EXPECT_EQ(effect_->numParams, 21);
    EXPECT_EQ(effect_->numInputs, 2);
    EXPECT_EQ(effect_->numOutputs, 2);
    // Single- and double-precision replacing; no chunks, not a synth, no silence shortcut.
    EXPECT_EQ(effect_->flags & ~vst2::effFlagsHasEditor, (1 << 4) | (1 << 12));
    EXPECT_EQ(effect_->uniqueID, 0x734b6264); // 's' 'K' 'b' 'd'
    EXPECT_EQ(effect_->version, 1);
    EXPECT_EQ(effect_->ioRatio, 1.0f);
    EXPECT_EQ(effect_->initialDelay, 0);
    EXPECT_NE(effect_->object, nullptr);
}

TEST_F(PluginModule, NamesTheEffectAndItsVendor) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(vst2::effGetEffectName), "QVL Feedback Compressor");
    EXPECT_EQ(text(vst2::effGetProductString), "QVL Feedback Compressor");
    EXPECT_EQ(text(vst2::effGetVendorString), "Velmorinth Labs");
    EXPECT_EQ(dispatch(vst2::effGetVendorVersion), 1000);
    EXPECT_EQ(dispatch(vst2::effGetVstVersion), 2400);
}

// A build without an editor must not announce one: the host would open an empty window.
TEST_F(PluginModule, AnnouncesAnEditorExactlyWhenItHasOne) {
    ASSERT_NE(open(), nullptr);
    vst2::ERect* rect = nullptr;
    const bool answersRect = dispatch(vst2::effEditGetRect, 0, 0, &rect) != 0 && rect != nullptr;
    EXPECT_EQ((effect_->flags & vst2::effFlagsHasEditor) != 0, answersRect);
    if (answersRect) {
        EXPECT_EQ(rect->right - rect->left, 690);
        EXPECT_EQ(rect->bottom - rect->top, 270);
    }
}

TEST_F(PluginModule, ReportsItsLatencyFromTheFirstResume) {
    ASSERT_NE(open(), nullptr);
    dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(vst2::effMainsChanged, 0, 1);
    EXPECT_EQ(effect_->initialDelay, 151);
}

// Values cross the calling convention both ways; a float result comes back in a register (x87
// on 32-bit, SSE on 64-bit) that a wrong declaration on either side would garble.
TEST_F(PluginModule, ParameterValuesRoundTripThroughTheEntryFunctions) {
    ASSERT_NE(open(), nullptr);
    effect_->setParameter(effect_, 3, 0.375f);
    EXPECT_EQ(effect_->getParameter(effect_, 3), 0.375f);
    EXPECT_EQ(effect_->getParameter(effect_, 503), -70.0f); // level A before any audio
    EXPECT_EQ(effect_->getParameter(effect_, 506), 0.0f);   // not yet resumed
    dispatch(vst2::effMainsChanged, 0, 1);
    EXPECT_EQ(effect_->getParameter(effect_, 506), 1.0f);
}

// A block through either processing entry: finite output, and the host's floating-point mode
// (the block loop switches flush-to-zero and denormals-are-zero on) is given back unchanged.
template <typename Sample, typename Entry>
void processSineBlock(vst2::AEffect* effect, Entry entry) {
    constexpr int kFrames = 511;
    std::vector<Sample> left(kFrames), right(kFrames);
    std::vector<Sample> outLeft(kFrames, Sample(NAN)), outRight(kFrames, Sample(NAN));
    for (int i = 0; i < kFrames; ++i) {
        left[i] = Sample(0.5 * std::sin(0.05 * i));
        right[i] = -left[i];
    }
    Sample* inputs[] = {left.data(), right.data()};
    Sample* outputs[] = {outLeft.data(), outRight.data()};

    // The six low bits are sticky exception flags, not modes: arithmetic may set them.
    constexpr unsigned int kModeBits = ~0x3Fu;
    const unsigned int hostMode = _mm_getcsr() & kModeBits;
    entry(effect, inputs, outputs, kFrames);
    EXPECT_EQ(_mm_getcsr() & kModeBits, hostMode);
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_TRUE(std::isfinite(outLeft[i])) << "frame " << i;
        ASSERT_TRUE(std::isfinite(outRight[i])) << "frame " << i;
    }
}

TEST_F(PluginModule, ProcessingGivesFiniteOutputAndKeepsTheHostsFloatingPointMode) {
    ASSERT_NE(open(), nullptr);
    dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(vst2::effMainsChanged, 0, 1);
    {
        SCOPED_TRACE("single precision");
        processSineBlock<float>(effect_, effect_->processReplacing);
    }
    {
        SCOPED_TRACE("double precision");
        processSineBlock<double>(effect_, effect_->processDoubleReplacing);
    }
}

} // namespace
