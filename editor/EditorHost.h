#pragma once

#include "plugin/MeterSnapshot.h"

// What the editor needs of whoever runs it: reading parameters and the meters, changing a
// parameter on the user's behalf, framing a drag gesture, fitting its window to the editor's
// size, and the programs its menu offers.
class EditorHost {
  public:
    virtual float getParameter(int index) = 0;
    // The meters as the audio last left them.
    virtual MeterSnapshot meters() = 0;
    virtual void setParameterAutomated(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;
    // The open editor's window changed to width x height device pixels; true when the host
    // resized its own window to match.
    virtual bool resizeEditorWindow(int, int) { return false; }

    // The programs the menu lists, in order; a host without programs lists none.
    virtual int programCount() const { return 0; }
    // The name of program 0 .. programCount() - 1.
    virtual const char* programName(int) const { return ""; }
    // The program the menu shows checked; -1 for none.
    virtual int checkedProgram() { return -1; }
    // The user chose program 0 .. programCount() - 1 in the menu: the host applies it and
    // tells its own host as the format allows. Other numbers are ignored.
    virtual void chooseProgram(int) {}

  protected:
    ~EditorHost() = default;
};
