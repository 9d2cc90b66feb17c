// The shell link and the OLE set-up that the editor window holds. Opening a real web address would
// start a browser, so only the refusals are checked here.
#include "platform/OpenUrl.h"
#include "platform/win32/OleSession.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <thread>

namespace {

// Whether OLE's apartment is set up on this thread, without changing it.
bool oleInitialisedOnThisThread() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return CoGetApartmentType(&type, &qualifier) == S_OK;
}

} // namespace

TEST(OpenUrlTest, NoAddressOpensNothing) {
    EXPECT_FALSE(openUrlInBrowser(nullptr));
    EXPECT_FALSE(openUrlInBrowser(""));
}

TEST(OpenUrlTest, AnAddressWithoutAHandlerIsReportedAsNotOpened) {
    OleSession ole;
    EXPECT_FALSE(openUrlInBrowser("qvl-no-such-scheme-7f3a:check"));
}

// Each case runs on a thread of its own: a thread that ever had a window may carry Wine's own
// COM set-up, and a test program runs many cases on its main thread.
TEST(OleSessionTest, SessionsNestAndTheLastOneEndsOle) {
    std::thread([] {
        ASSERT_FALSE(oleInitialisedOnThisThread());
        {
            OleSession outer;
            ASSERT_TRUE(outer.isActive());
            {
                OleSession inner; // already initialised: still a success that must be paired
                EXPECT_TRUE(inner.isActive());
            }
            EXPECT_TRUE(oleInitialisedOnThisThread());
        }
        EXPECT_FALSE(oleInitialisedOnThisThread());
    }).join();
}

TEST(OleSessionTest, AThreadInTheOtherConcurrencyModelIsLeftAsItIs) {
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            OleSession ole;
            EXPECT_FALSE(ole.isActive());
        }
        APTTYPE type;
        APTTYPEQUALIFIER qualifier;
        ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        EXPECT_EQ(type, APTTYPE_MTA);
        CoUninitialize();
    }).join();
}
