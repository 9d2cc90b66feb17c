#pragma once

// What the editor needs of the effect that owns it: reading values (parameters 0..20 and the
// readouts 500..506), changing a parameter on the user's behalf, and framing a drag gesture.
class EditorHost {
  public:
    virtual float getParameter(int index) = 0;
    virtual void setParameterAutomated(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;

  protected:
    ~EditorHost() = default;
};
