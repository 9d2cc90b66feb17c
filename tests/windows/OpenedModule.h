#pragma once

#include "formats/vst2/Vst2Interface.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

// A host callback that answers only the version request, as a VST 2.4 host does.
inline intptr_t VST2_CALL versionOnlyHost(vst2::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                          float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

// The plug-in module beside the test program, loaded and opened through its entry point as a
// host does it; closed and unloaded after each test.
class OpenedModuleTest : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryW(modulePath().c_str());
        ASSERT_NE(module_, nullptr) << "LoadLibrary failed, error " << GetLastError();
        auto entry = reinterpret_cast<vst2::PluginEntryProc>(
            reinterpret_cast<void*>(GetProcAddress(module_, "VSTPluginMain")));
        ASSERT_NE(entry, nullptr);
        effect_ = entry(versionOnlyHost);
        ASSERT_NE(effect_, nullptr);
    }

    void TearDown() override {
        if (effect_) dispatch(vst2::effClose);
        if (module_) FreeLibrary(module_);
    }

    intptr_t dispatch(int32_t opcode, void* ptr = nullptr, float opt = 0.0f, intptr_t value = 0) {
        return effect_->dispatcher(effect_, opcode, 0, value, ptr, opt);
    }

    HMODULE module_ = nullptr;
    vst2::AEffect* effect_ = nullptr;
};
