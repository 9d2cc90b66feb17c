#pragma once

// The editor as a format adapter sees it: the host's editor requests, forwarded one to one,
// and the notification that a parameter changed.
class EffectEditor {
  public:
    virtual ~EffectEditor() = default;

    // The editor's size in device pixels at its display scale.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // parentWindow is the host's window: an X11 Window id on Linux, an HWND on Windows.
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    virtual bool onKeyDown(int character, int virtualKey, int modifiers) = 0;
    virtual bool onKeyUp(int character, int virtualKey, int modifiers) = 0;
    virtual void setKnobMode(int mode) = 0;
    // The display scale the host announces (1.0 = 100 %); 0 withdraws it. Unusable factors
    // count as no announcement. An open editor changes size at once.
    virtual void setHostScale(double factor) = 0;
    // Called after every change of parameter `index`, on whatever thread made the change.
    virtual void setParameter(int index, float value) = 0;
};
