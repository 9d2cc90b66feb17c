// The module's version resource as Explorer and hosts read it from the file: who made it,
// what it is and which release, in the text fields and in the numeric file version.
#include "ProductIdentity.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class VersionResource : public testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = modulePath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block_.data()));
    }

    // A text field of the U.S. English, Unicode table; empty when missing.
    std::string text(const wchar_t* field) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), query.c_str(), reinterpret_cast<void**>(&value),
                            &length) ||
            value == nullptr)
            return {};
        std::string narrow;
        for (const wchar_t* c = value; *c != L'\0'; ++c)
            narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
        return narrow;
    }

    std::vector<unsigned char> block_;
};

TEST_F(VersionResource, NamesTheMakerTheProductAndTheRelease) {
    EXPECT_EQ(text(L"CompanyName"), "Velmorinth Labs");
    EXPECT_EQ(text(L"ProductName"), "QVL Feedback Compressor");
    EXPECT_EQ(text(L"FileVersion"), QVL_VERSION_TEXT);
    EXPECT_EQ(text(L"ProductVersion"), QVL_VERSION_TEXT);
    EXPECT_EQ(text(L"OriginalFilename"), QVL_PLUGIN_FILE_NAME);
    const std::string description = text(L"FileDescription");
    EXPECT_NE(description.find(sizeof(void*) == 8 ? "64-bit" : "32-bit"), std::string::npos)
        << description;
    // Each edition's file says which format it is, as a user sees two files of one name.
    EXPECT_NE(description.find(QVL_PLUGIN_FORMAT " plug-in"), std::string::npos) << description;
}

// Explorer's version column and installers compare the numbers, not the text: they must be
// the same release, and a pre-release must say so.
TEST_F(VersionResource, NumericVersionIsTheSameRelease) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    char number[32];
    std::snprintf(number, sizeof number, "%u.%u.%02u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(std::string(number), QVL_VERSION_NUMBER);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    const bool labelled = std::string(QVL_VERSION_TEXT) != QVL_VERSION_NUMBER;
    EXPECT_EQ((fixed->dwFileFlags & VS_FF_PRERELEASE) != 0, labelled);
}

} // namespace
