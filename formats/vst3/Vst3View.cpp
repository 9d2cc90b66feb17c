#include "formats/vst3/Vst3View.h"

#include "editor/EffectEditor.h"
#include "formats/vst3/Vst3Plugin.h"

#ifdef _WIN32
#include "platform/WindowTimer.h"
#endif

#include <cstdint>
#include <cstring>

using namespace Steinberg;

namespace {

#ifdef _WIN32
const FIDString kOurPlatform = kPlatformTypeHWND;
#else
const FIDString kOurPlatform = kPlatformTypeX11EmbedWindowID;
#endif
// Meters (and on Linux the editor window's X events) are served 50 times a second.
constexpr unsigned kIdleIntervalMs = 20;

ViewRect editorRect(const EffectEditor& editor) {
    return ViewRect{0, 0, editor.width(), editor.height()};
}

} // namespace

Vst3View::Vst3View(Vst3Plugin& plugin, EffectEditor& editor) : plugin_(plugin), editor_(editor) {
    plugin_.addRef();
    plugin_.viewOpened(this);
}

Vst3View::~Vst3View() {
    removed();
    plugin_.viewClosed(this);
    plugin_.release();
}

tresult PLUGIN_API Vst3View::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown_iid) ||
        FUnknownPrivate::iidEqual(iid, IPlugView_iid))
        *obj = static_cast<IPlugView*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IPlugViewContentScaleSupport_iid))
        *obj = static_cast<IPlugViewContentScaleSupport*>(this);
#ifndef _WIN32
    else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler_iid))
        *obj = static_cast<Linux::ITimerHandler*>(this);
#endif
    else {
        *obj = nullptr;
        return kNoInterface;
    }
    addRef();
    return kResultOk;
}

uint32 PLUGIN_API Vst3View::addRef() {
    return ++references_;
}

uint32 PLUGIN_API Vst3View::release() {
    const uint32 left = --references_;
    if (left == 0) delete this;
    return left;
}

tresult PLUGIN_API Vst3View::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, kOurPlatform) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Vst3View::attached(void* parent, FIDString type) {
    if (!parent) return kInvalidArgument;
    if (isPlatformTypeSupported(type) != kResultTrue || open_) return kResultFalse;
    if (!editor_.open(parent)) return kResultFalse;
    open_ = true;
    startIdle(parent);
    return kResultOk;
}

#ifdef _WIN32
void Vst3View::startIdle(void* parent) {
    idleTimer_ = startWindowTimer(
        parent, kIdleIntervalMs, [](void* view) { static_cast<Vst3View*>(view)->editor_.idle(); },
        this);
}

void Vst3View::stopIdle() {
    idleTimer_.reset();
}
#else
void Vst3View::startIdle(void*) {
    if (frame_ && frame_->queryInterface(Linux::IRunLoop_iid,
                                         reinterpret_cast<void**>(&runLoop_)) == kResultOk) {
        if (runLoop_->registerTimer(this, kIdleIntervalMs) != kResultOk) {
            runLoop_->release();
            runLoop_ = nullptr;
        }
    } else {
        runLoop_ = nullptr;
    }
}

void Vst3View::stopIdle() {
    if (!runLoop_) return;
    runLoop_->unregisterTimer(this);
    runLoop_->release();
    runLoop_ = nullptr;
}
#endif

tresult PLUGIN_API Vst3View::removed() {
    if (!open_) return kResultFalse;
    stopIdle();
    editor_.close();
    open_ = false;
    return kResultOk;
}

tresult PLUGIN_API Vst3View::onKeyDown(char16 key, int16 keyCode, int16 modifiers) {
    return editor_.onKeyDown(key, keyCode, modifiers) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Vst3View::onKeyUp(char16 key, int16 keyCode, int16 modifiers) {
    return editor_.onKeyUp(key, keyCode, modifiers) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Vst3View::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    *size = editorRect(editor_);
    return kResultOk;
}

// The size follows the display scale alone; whatever the host offers, the editor keeps its own.
tresult PLUGIN_API Vst3View::onSize(ViewRect* newSize) {
    return newSize ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3View::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    *rect = editorRect(editor_);
    return kResultOk;
}

tresult PLUGIN_API Vst3View::setFrame(IPlugFrame* frame) {
    frame_ = frame;
    return kResultOk;
}

tresult PLUGIN_API Vst3View::setContentScaleFactor(ScaleFactor factor) {
    editor_.setHostScale(static_cast<double>(factor));
    return kResultOk;
}

bool Vst3View::askFrameToResize(int width, int height) {
    if (!frame_) return false;
    ViewRect rect{0, 0, width, height};
    return frame_->resizeView(this, &rect) == kResultOk;
}

#ifndef _WIN32
void PLUGIN_API Vst3View::onTimer() {
    editor_.idle();
}
#endif
