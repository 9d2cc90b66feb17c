#pragma once

// Who follows the effect's values, such as the editor its format adapter keeps. Each call
// comes on the thread that made the change, after the effect has stored it, so a listener
// that reads the effect back sees the new value.
class EffectListener {
  public:
    // Every stored change, the host's and the user's alike, and each switch that a listening
    // switch turned off, before the change that turned it off.
    virtual void parameterChanged(int index, float value) = 0;
    // Program `program` became the current one; its values came first as parameter changes.
    virtual void programChanged(int) {}

  protected:
    ~EffectListener() = default;
};
