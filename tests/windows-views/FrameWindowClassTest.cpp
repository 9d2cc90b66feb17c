// The frame's child window as the host sees it: its class, styles, place and life.
#include "WindowTestSupport.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// "Plugin%p" with the handle of the module that carries the code: this test program.
std::wstring expectedClassName() {
    wchar_t name[32];
    std::swprintf(name, 32, L"Plugin%p", static_cast<void*>(GetModuleHandleW(nullptr)));
    return name;
}

bool classRegistered() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return GetClassInfoExW(GetModuleHandleW(nullptr), expectedClassName().c_str(), &info) != 0;
}

std::wstring classNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace

TEST(FrameWindowClassTest, ChildWindowFillsTheFrameAtTheParentsCorner) {
    HostWindow host(300, 200);
    CFrame frame({0, 0, 240, 120}, nullptr);
    ASSERT_TRUE(frame.open(host.handle()));
    HWND child = host.child();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), host.handle());
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, host.handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 240);
    EXPECT_EQ(rect.bottom, 120);
    wchar_t title[16] = {};
    GetWindowTextW(child, title, 16);
    EXPECT_STREQ(title, L"Window");
}

TEST(FrameWindowClassTest, StylesAreAVisibleClippingChildComposited) {
    HostWindow host(300, 200);
    CFrame frame({0, 0, 100, 50}, nullptr);
    ASSERT_TRUE(frame.open(host.handle()));
    HWND child = host.child();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted);
    // Every Windows from 6.0 on (and Wine, which reports 6.1) gets the composited style.
    const auto extended = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
    EXPECT_TRUE(extended & WS_EX_COMPOSITED);
}

TEST(FrameWindowClassTest, ClassIsNamedAfterTheModuleWithDoubleClicksArrowAndNoBrush) {
    HostWindow host(300, 200);
    CFrame frame({0, 0, 100, 50}, nullptr);
    ASSERT_TRUE(frame.open(host.handle()));
    HWND child = host.child();
    EXPECT_EQ(classNameOf(child), expectedClassName());
    EXPECT_TRUE(GetClassLongPtrW(child, GCL_STYLE) & CS_DBLCLKS);
    EXPECT_EQ(GetClassLongPtrW(child, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(child, GCLP_HCURSOR)),
              LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

TEST(FrameWindowClassTest, ClassLivesWhileAnyFrameWindowIsOpen) {
    HostWindow hostA(300, 200);
    HostWindow hostB(300, 200);
    CFrame frameA({0, 0, 100, 50}, nullptr);
    CFrame frameB({0, 0, 100, 50}, nullptr);
    EXPECT_FALSE(classRegistered());
    ASSERT_TRUE(frameA.open(hostA.handle()));
    ASSERT_TRUE(frameB.open(hostB.handle()));
    EXPECT_EQ(classNameOf(hostA.child()), classNameOf(hostB.child()));
    frameA.close();
    EXPECT_EQ(hostA.child(), nullptr);
    EXPECT_TRUE(classRegistered());
    frameB.close();
    EXPECT_FALSE(classRegistered());
    // And it comes back for the next editor.
    ASSERT_TRUE(frameA.open(hostA.handle()));
    EXPECT_TRUE(classRegistered());
}

TEST(FrameWindowClassTest, NoWindowWithoutAUsableParent) {
    CFrame frame({0, 0, 100, 50}, nullptr);
    EXPECT_FALSE(frame.open(nullptr));
    EXPECT_FALSE(frame.isOpen());
    // A handle that names no window (a destroyed one).
    HWND gone = nullptr;
    {
        HostWindow host(10, 10);
        gone = host.handle();
    }
    EXPECT_FALSE(frame.open(gone));
    EXPECT_FALSE(frame.isOpen());
    EXPECT_FALSE(classRegistered());
}

TEST(FrameWindowClassTest, SecondOpenIsRefusedAndKeepsTheFirstWindow) {
    HostWindow host(300, 200);
    HostWindow other(300, 200);
    CFrame frame({0, 0, 100, 50}, nullptr);
    ASSERT_TRUE(frame.open(host.handle()));
    HWND first = host.child();
    EXPECT_FALSE(frame.open(other.handle()));
    EXPECT_EQ(other.child(), nullptr);
    EXPECT_EQ(host.child(), first);
    EXPECT_TRUE(IsWindow(first));
}

TEST(FrameWindowClassTest, ClosingTheFrameDestroysTheChildWindow) {
    HostWindow host(300, 200);
    CFrame frame({0, 0, 100, 50}, nullptr);
    ASSERT_TRUE(frame.open(host.handle()));
    HWND child = host.child();
    frame.close();
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(frame.isOpen());
}

TEST(FrameWindowClassTest, HostWindowDestroyedBeforeTheEditorClosesIsHarmless) {
    CFrame frame({0, 0, 100, 50}, nullptr);
    auto* probe = new ProbeView({0, 0, 50, 50}, kColorRed);
    frame.addView(probe);
    {
        HostWindow host(300, 200);
        ASSERT_TRUE(frame.open(host.handle()));
        frame.idle();
    }
    probe->setDirty(true);
    frame.idle(); // paints into the back buffer; there is no window to show it
    frame.close();
    EXPECT_FALSE(frame.isOpen());
    EXPECT_FALSE(classRegistered());
}
