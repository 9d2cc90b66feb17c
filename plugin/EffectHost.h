#pragma once

// What the effect tells whoever runs it, whatever the plug-in format: a change the user made
// in the editor, for the host to record as automation, and the start and end of the drag that
// made it, so a host can group the recorded values into one gesture.
class EffectHost {
  public:
    virtual void automate(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;

  protected:
    ~EffectHost() = default;
};
