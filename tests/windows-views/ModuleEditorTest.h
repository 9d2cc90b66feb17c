#pragma once

#include "WindowTestSupport.h"
#include "tests/windows/OpenedModule.h"

// The opened module with what its editor tests need from a host.
class ModuleEditorTest : public OpenedModuleTest {
  protected:
    // A few of the host's idle calls, far enough apart for the editor's meter tick.
    void idle() {
        for (int i = 0; i < 3; ++i) {
            pumpMessages();
            dispatch(vst2::effEditIdle);
            Sleep(25);
        }
        pumpMessages();
    }

    // One of the module's own "PNG" resources, decoded.
    SharedRef<CBitmap> moduleImage(int id) const {
        HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(id), L"PNG");
        const auto* bytes = static_cast<const unsigned char*>(
            resource ? LockResource(LoadResource(module_, resource)) : nullptr);
        const DWORD size = resource ? SizeofResource(module_, resource) : 0;
        return SharedRef<CBitmap>::adopt(CBitmap::fromPng(bytes, size));
    }
};
