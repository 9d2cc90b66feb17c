#include "platform/win32/GdiplusSession.h"

#include <windows.h>

#include <gdiplus.h>

#include <mutex>

namespace {

// Two plug-in instances may run their editors on different host threads.
std::mutex sessionMutex;
int sessionCount = 0;
ULONG_PTR gdiplusToken = 0;

bool acquire() {
    std::lock_guard<std::mutex> lock(sessionMutex);
    if (sessionCount == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) != Gdiplus::Ok) return false;
    }
    ++sessionCount;
    return true;
}

void release() {
    std::lock_guard<std::mutex> lock(sessionMutex);
    if (--sessionCount == 0) Gdiplus::GdiplusShutdown(gdiplusToken);
}

} // namespace

GdiplusSession::GdiplusSession() : active_(acquire()) {}

GdiplusSession::~GdiplusSession() {
    if (active_) release();
}
