#pragma once

// What the effect and its editor tell whoever runs them, whatever the plug-in format: a change
// the user made in the editor, for the host to record as automation, and the start and end of
// the drag that made it, so a host can group the recorded values into one gesture; a new size
// of the editor's window; and a program chosen in the editor.
class EffectHost {
  public:
    virtual void automate(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;
    // The open editor changed its size (a new display scale) to width x height pixels; true
    // when the host resized the window that holds it.
    virtual bool resizeEditorWindow(int, int) { return false; }

    // Whether the host keeps a list of the effect's programs and shows the current one. Then
    // a program the user chooses in the editor becomes the current program, as when the host
    // chooses it, and programChanged tells the host so; otherwise the factory program's values
    // go over the parameters as the user's changes, framed as one gesture.
    virtual bool listsPrograms() const { return false; }
    virtual void programChanged() {}

  protected:
    ~EffectHost() = default;
};
