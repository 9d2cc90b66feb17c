#pragma once

// What the editor needs of the effect that owns it: reading values (parameters 0..20 and the
// readouts 500..506), changing a parameter on the user's behalf, framing a drag gesture, and
// fitting its window to the editor's size.
class EditorHost {
  public:
    virtual float getParameter(int index) = 0;
    virtual void setParameterAutomated(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;
    // The open editor's window changed to width x height device pixels; true when the host
    // resized its own window to match.
    virtual bool resizeEditorWindow(int, int) { return false; }

  protected:
    ~EditorHost() = default;
};
