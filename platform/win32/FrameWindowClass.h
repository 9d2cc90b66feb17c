#pragma once

#include <windows.h>

#include <string>

// The window class of the frames' child windows: registered by the first holder in this module
// and removed again when the last one goes, so the library can unload without leaving a class
// that points into freed code. Named "Plugin%p" after the module handle, so that two plug-in
// libraries in one host never share a class.
class FrameWindowClass {
  public:
    explicit FrameWindowClass(WNDPROC windowProc);
    ~FrameWindowClass();
    FrameWindowClass(const FrameWindowClass&) = delete;
    FrameWindowClass& operator=(const FrameWindowClass&) = delete;

    // False when the system refused the registration: no window can be made.
    bool isRegistered() const { return registered_; }
    static const wchar_t* name();

  private:
    bool registered_;
};
