#pragma once

#include <pluginterfaces/gui/iplugview.h>
#include <pluginterfaces/gui/iplugviewcontentscalesupport.h>

#include <atomic>
#include <memory>

#ifdef _WIN32
class WindowTimer;
#endif

class EffectEditor;
class Vst3Plugin;

// The editor in the host's window. It keeps the plug-in alive while it exists. On Linux the
// host's run loop calls it back to drive the editor's idle, which also takes the editor
// window's X events from its own connection; on Windows a timer on the host's window does.
class Vst3View final : public Steinberg::IPlugView,
                       public Steinberg::IPlugViewContentScaleSupport
#ifndef _WIN32
    ,
                       public Steinberg::Linux::ITimerHandler
#endif
{
  public:
    using tresult = Steinberg::tresult;

    Vst3View(Vst3Plugin& plugin, EffectEditor& editor);
    Vst3View(const Vst3View&) = delete;
    Vst3View& operator=(const Vst3View&) = delete;

    // The editor chose a new size; true when the host's frame took it.
    bool askFrameToResize(int width, int height);

    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

    tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    tresult PLUGIN_API removed() override;
    tresult PLUGIN_API onWheel(float) override {
        return Steinberg::kResultFalse;
    }
    tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                 Steinberg::int16 modifiers) override;
    tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                               Steinberg::int16 modifiers) override;
    tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    tresult PLUGIN_API onFocus(Steinberg::TBool) override {
        return Steinberg::kResultOk;
    }
    tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
    tresult PLUGIN_API canResize() override {
        return Steinberg::kResultFalse;
    }
    tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

    tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

#ifndef _WIN32
    void PLUGIN_API onTimer() override;
#endif

  private:
    ~Vst3View();
    void startIdle(void* parent);
    void stopIdle();

    std::atomic<Steinberg::uint32> references_{1};
    Vst3Plugin& plugin_;
    EffectEditor& editor_;
    Steinberg::IPlugFrame* frame_ = nullptr;
    bool open_ = false;
#ifdef _WIN32
    std::unique_ptr<WindowTimer> idleTimer_;
#else
    Steinberg::Linux::IRunLoop* runLoop_ = nullptr;
#endif
};
