#include "formats/clap/ClapEditorGui.h"

#include "editor/EditorScale.h"
#include "editor/EffectEditor.h"

#include <cstdint>
#include <cstring>

namespace {

#ifdef _WIN32
constexpr const char* kWindowApi = CLAP_WINDOW_API_WIN32;
void* parentOf(const clap_window_t& window) {
    return window.win32;
}
#else
constexpr const char* kWindowApi = CLAP_WINDOW_API_X11;
void* parentOf(const clap_window_t& window) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
}
#endif

// The editor's idle work (its X events, redraws and meters) at about 30 frames a second, the
// rate VST 2 hosts idle it at.
constexpr uint32_t kIdlePeriodMs = 30;

} // namespace

void ClapEditorGui::init() {
    hostGui_ = static_cast<const clap_host_gui_t*>(host_->get_extension(host_, CLAP_EXT_GUI));
    hostTimer_ = static_cast<const clap_host_timer_support_t*>(
        host_->get_extension(host_, CLAP_EXT_TIMER_SUPPORT));
    if (hostTimer_ && (!hostTimer_->register_timer || !hostTimer_->unregister_timer))
        hostTimer_ = nullptr;
}

bool ClapEditorGui::isApiSupported(const char* api, bool isFloating) const {
    return editor_ && !isFloating && api && std::strcmp(api, kWindowApi) == 0;
}

const char* ClapEditorGui::preferredApi() {
    return kWindowApi;
}

bool ClapEditorGui::create(const char* api, bool isFloating) {
    // Without the host's timer nothing would idle the editor: it would never draw.
    if (created_ || !hostTimer_ || !isApiSupported(api, isFloating)) return false;
    if (!hostTimer_->register_timer(host_, kIdlePeriodMs, &timerId_)) return false;
    timerRunning_ = true;
    created_ = true;
    return true;
}

void ClapEditorGui::destroy() {
    if (!created_) return;
    if (open_) editor_->close();
    if (timerRunning_) hostTimer_->unregister_timer(host_, timerId_);
    open_ = timerRunning_ = created_ = false;
}

bool ClapEditorGui::setScale(double scale) {
    if (!editor_) return false;
    editor_->setHostScale(scale);
    // An unusable factor counts as no announcement; the editor then keeps its own choice.
    return nearestEditorScale(scale).has_value();
}

bool ClapEditorGui::getSize(uint32_t* width, uint32_t* height) const {
    if (!created_ || !width || !height) return false;
    *width = static_cast<uint32_t>(editor_->width());
    *height = static_cast<uint32_t>(editor_->height());
    return true;
}

bool ClapEditorGui::setSize(uint32_t width, uint32_t height) const {
    uint32_t w = 0, h = 0;
    return getSize(&w, &h) && w == width && h == height;
}

bool ClapEditorGui::setParent(const clap_window_t* window) {
    if (!created_ || !window || !window->api || std::strcmp(window->api, kWindowApi) != 0)
        return false;
    open_ = editor_->open(parentOf(*window));
    return open_;
}

void ClapEditorGui::onTimer(clap_id timerId) {
    if (open_ && timerRunning_ && timerId == timerId_) editor_->idle();
}

bool ClapEditorGui::requestResize(int width, int height) {
    return open_ && hostGui_ && hostGui_->request_resize && width > 0 && height > 0 &&
           hostGui_->request_resize(host_, static_cast<uint32_t>(width),
                                    static_cast<uint32_t>(height));
}
