// The browser launch: the opener runs detached with the address as its only argument and
// leaves no child process behind. A stand-in opener on PATH records what it was given.

#include "platform/OpenUrl.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

class UrlOpener : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/qvl-url-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const std::string opener = dir + "/xdg-open";
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" << dir << "/opened.tmp\"\n"
               << "mv \"" << dir << "/opened.tmp\" \"" << dir << "/opened\"\n";
        script.close();
        chmod(opener.c_str(), 0755);
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
        setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        std::remove((dir + "/opened").c_str());
        std::remove((dir + "/xdg-open").c_str());
        rmdir(dir.c_str());
    }
    // What the stand-in recorded, once it has run (it runs detached, so it is waited for).
    std::string recorded() {
        for (int i = 0; i < 500; ++i) {
            std::ifstream in(dir + "/opened");
            if (in) {
                std::stringstream text;
                text << in.rdbuf();
                return text.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }
    std::string dir;
    std::string savedPath;
};

} // namespace

TEST_F(UrlOpener, TheAddressIsPassedAsOneArgumentWithoutAShell) {
    const char* url = "http://example.invalid/a b?x=1&y=$HOME;true";
    EXPECT_TRUE(openUrlInBrowser(url));
    EXPECT_EQ(recorded(), std::string("1|") + url);
}

TEST_F(UrlOpener, NoChildIsLeftToReap) {
    ASSERT_TRUE(openUrlInBrowser("http://example.invalid/"));
    EXPECT_FALSE(recorded().empty());
    // The launcher's own child was reaped at once; the opener belongs to init.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(UrlOpener, NullOrEmptyAddressesStartNothing) {
    EXPECT_FALSE(openUrlInBrowser(nullptr));
    EXPECT_FALSE(openUrlInBrowser(""));
}
