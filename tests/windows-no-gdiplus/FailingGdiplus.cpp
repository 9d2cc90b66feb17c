// A gdiplus.dll whose start-up fails, as on a system where GDI+ is missing or broken. Every
// other function ends the process with a message: nothing may call GDI+ once its start-up
// failed, and a test that did would otherwise pass by luck.
#include <windows.h>

#include <cstdio>

extern "C" {

// GpStatus GenericError.
int WINAPI GdiplusStartup(ULONG_PTR* token, const void*, void*) {
    if (token != nullptr) *token = 0;
    return 1;
}

void qvlGdiplusCalledWithoutStartup() {
    std::fputs("GDI+ was called although GdiplusStartup failed\n", stderr);
    std::fflush(stderr);
    ExitProcess(86);
}

} // extern "C"
