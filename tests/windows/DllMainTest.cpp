#include "platform/win32/ModuleInstance.h"

#include <gtest/gtest.h>

#include <cstdint>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

// Stand-ins for handles: only their identity matters here.
HINSTANCE fakeInstance(std::uintptr_t value) {
    return reinterpret_cast<HINSTANCE>(value);
}

// In a test program nobody calls DllMain, so each case starts with no handle stored (every test
// runs in a process of its own under ctest; run directly, the first test still comes first).
TEST(DllMain, NoHandleBeforeTheLibraryIsAttached) {
    EXPECT_EQ(moduleInstance(), nullptr);
}

TEST(DllMain, ProcessAttachStoresTheHandleAndSucceeds) {
    EXPECT_EQ(DllMain(fakeInstance(0x10000000), DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(moduleInstance(), fakeInstance(0x10000000));
}

// Later calls all succeed and never replace the handle stored at process attach.
TEST(DllMain, LaterCallsSucceedAndKeepTheHandle) {
    const struct {
        DWORD reason;
        const char* name;
    } laterCalls[] = {{DLL_THREAD_ATTACH, "thread attach"},
                      {DLL_THREAD_DETACH, "thread detach"},
                      {DLL_PROCESS_DETACH, "process detach"}};
    ASSERT_EQ(DllMain(fakeInstance(0x10000000), DLL_PROCESS_ATTACH, nullptr), TRUE);
    for (const auto& call : laterCalls) {
        SCOPED_TRACE(call.name);
        EXPECT_EQ(DllMain(fakeInstance(0x20000000), call.reason, nullptr), TRUE);
        EXPECT_EQ(moduleInstance(), fakeInstance(0x10000000));
    }
}

} // namespace
