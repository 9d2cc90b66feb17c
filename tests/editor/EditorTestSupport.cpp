#include "EditorTestSupport.h"

FakeEditorHost::FakeEditorHost() {
    for (auto& p : parameters_)
        p.store(0.0f);
}

float FakeEditorHost::getParameter(int index) {
    return index >= 0 && index < int(parameters_.size()) ? parameters_[std::size_t(index)].load()
                                                         : 0.0f;
}

MeterSnapshot FakeEditorHost::meters() {
    MeterSnapshot snapshot;
    snapshot.gain = gain_.load();
    snapshot.levelA = levelA_.load();
    snapshot.levelB = levelB_.load();
    snapshot.processingActive = processingActive_.load();
    return snapshot;
}

void FakeEditorHost::set(int index, float value) {
    parameters_[std::size_t(index)].store(value);
    if (editor) editor->setParameter(index, value);
}

void FakeEditorHost::setMeterLevels(float gain, float levelADb, float levelBDb) {
    gain_.store(gain);
    levelA_.store(levelADb);
    levelB_.store(levelBDb);
}

void FakeEditorHost::setProcessingActive(bool active) {
    processingActive_.store(active);
}

void FakeEditorHost::setParameterAutomated(int index, float value) {
    set(index, value);
    calls.push_back({HostCallRecord::kAutomate, index, value});
}

void FakeEditorHost::beginEdit(int index) {
    calls.push_back({HostCallRecord::kBeginEdit, index, 0.0f});
}

void FakeEditorHost::endEdit(int index) {
    calls.push_back({HostCallRecord::kEndEdit, index, 0.0f});
}

int FakeEditorHost::automationCount(int index) const {
    int n = 0;
    for (const HostCallRecord& c : calls)
        n += c.kind == HostCallRecord::kAutomate && c.index == index;
    return n;
}

EditorFixture::EditorFixture() {
    EditorServices services;
    services.tickMs = [this] { return nowMs; };
    services.openUrl = [this](const char* url) { openedUrls.emplace_back(url); };
    services.openWindow = [this](CFrame& frame, void* parent) {
        return parent && frame.attachWindow(std::make_unique<FakeFrameWindow>(&presents));
    };
    editor = std::make_unique<CompressorEditor>(host, std::move(services));
    host.editor = editor.get();
}

bool EditorFixture::open() {
    return editor->open(fakeParentWindow());
}

void EditorFixture::idleAfter(uint32_t ms) {
    nowMs += ms;
    editor->idle();
}

CMouseResult EditorFixture::click(CPoint where, int32_t buttons) {
    const CMouseResult result = frame().onMouseDown(where, buttons);
    frame().onMouseUp(where, buttons);
    return result;
}

void EditorFixture::drag(CPoint from, int32_t dx, int32_t dy, int32_t buttons) {
    frame().onMouseDown(from, buttons);
    const CPoint to{from.h + dx, from.v + dy};
    frame().onMouseMoved(to, buttons);
    frame().onMouseUp(to, buttons);
}

void* fakeParentWindow() {
    static int parent;
    return &parent;
}

std::string textOf(void (*function)(float, char*), float value) {
    char text[256] = {};
    function(value, text);
    return text;
}
