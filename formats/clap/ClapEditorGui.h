#pragma once

#include <clap/ext/gui.h>
#include <clap/ext/timer-support.h>

class EffectEditor;

// The effect's editor embedded in a window of the host's, as clap.gui asks: embedded only
// (floating windows are declined), sized by the editor's scale rules, idled on the host's timer.
// Every call is made on the main thread; the plug-in checks that before it forwards one.
class ClapEditorGui {
  public:
    // The editor may be null: the plug-in then offers no GUI.
    ClapEditorGui(const clap_host_t* host, EffectEditor* editor) : host_(host), editor_(editor) {}
    ~ClapEditorGui() { destroy(); }
    ClapEditorGui(const ClapEditorGui&) = delete;
    ClapEditorGui& operator=(const ClapEditorGui&) = delete;

    // Reads the host's GUI and timer interfaces; called from the plug-in's init.
    void init();

    bool isApiSupported(const char* api, bool isFloating) const;
    static const char* preferredApi();
    // Needs the host's timer, which drives the editor's idle work.
    bool create(const char* api, bool isFloating);
    void destroy();
    bool setScale(double scale);
    bool getSize(uint32_t* width, uint32_t* height) const;
    // The editor's size depends only on its scale: a host may set exactly that size.
    bool setSize(uint32_t width, uint32_t height) const;
    bool setParent(const clap_window_t* window);
    void onTimer(clap_id timerId);

    // The open editor changed size; true when the host resized its window.
    bool requestResize(int width, int height);

  private:
    const clap_host_t* host_;
    EffectEditor* editor_;
    const clap_host_gui_t* hostGui_ = nullptr;
    const clap_host_timer_support_t* hostTimer_ = nullptr;
    bool created_ = false;
    bool open_ = false;
    bool timerRunning_ = false;
    clap_id timerId_ = CLAP_INVALID_ID;
};
