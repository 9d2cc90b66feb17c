#include "editor/EditorHost.h"
#include "editor/EffectEditor.h"
#include "formats/common/ModuleEditor.h"
#include "formats/lv2/Lv2Ports.h"
#include "formats/lv2/Lv2Uris.h"
#include "platform/ChildWindow.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ListeningSwitches.h"
#include "plugin/ParameterTable.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <new>

namespace {

// The editor as an LV2 UI: it reads the values the host's port events brought, writes the
// user's changes through the host's write function, and frames drags with touch so hosts can
// record automation gestures. The meters read the DSP's control outputs.
class Lv2EditorHost final : public EditorHost {
  public:
    Lv2EditorHost(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch,
                  const LV2UI_Resize* resize)
        : write_(write), controller_(controller), touch_(touch), resize_(resize) {
        for (int i = 0; i < kNumParameters; ++i) {
            values_[i] = defaultValue(i);
            ports_[i] = lv2port::exactPlain(i, values_[i]);
        }
    }

    void attach(EffectEditor* editor) { editor_ = editor; }

    float getParameter(int index) override {
        return isParameterIndex(index) ? values_[index] : 0.0f;
    }

    // Nothing measured, as the editor shows it before processing starts, until the meter ports
    // hold what a run wrote.
    MeterSnapshot meters() override {
        return lv2port::metersFromARun(meters_.gain, meters_.processingActive) ? meters_
                                                                               : MeterSnapshot{};
    }

    void setParameterAutomated(int index, float value) override {
        if (!isParameterIndex(index)) return;
        change(index, value);
    }

    // A change of display scale while open asks the host for the new size.
    bool resizeEditorWindow(int width, int height) override {
        return resize_ && resize_->ui_resize(resize_->handle, width, height) == 0;
    }

    void beginEdit(int index) override { touch(index, true); }
    void endEdit(int index) override { touch(index, false); }

    // LV2 has no current program, so the menu checks the factory program the ports hold.
    int programCount() const override { return kNumPrograms; }
    const char* programName(int program) const override { return factoryProgramName(program); }
    int checkedProgram() override { return factoryProgramHolding(values_); }

    // The ports get the values the bundle's presets store, which read back as exactly the
    // program's, so the program stays checked when the host echoes them.
    void chooseProgram(int program) override {
        if (program < 0 || program >= kNumPrograms) return;
        for (int i = 0; i < kNumParameters; ++i) {
            const float value = factoryProgramValue(program, i);
            change(i, value, lv2port::exactPlain(i, value));
        }
    }

    // Events in an unknown format, of the wrong size or for a port the UI does not know are
    // ignored.
    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
        if (format != 0 || size != sizeof(float) || !buffer) return;
        float plain;
        std::memcpy(&plain, buffer, sizeof plain);
        const int zoned = lv2port::parameterOfZonePort(port);
        if (lv2port::isParameterPort(port) || zoned >= 0) {
            const int index = zoned >= 0 ? zoned : lv2port::parameterOf(port);
            lv2port::PortValues sent = ports_[index];
            (zoned >= 0 ? sent.zone : sent.value) = plain;
            ports_[index] = lv2port::accepted(index, sent, ports_[index]);
            values_[index] = lv2port::toNormalized(index, ports_[index]);
            if (editor_) editor_->setParameter(index, values_[index]);
            return;
        }
        if (port == lv2port::kMeterGain) meters_.gain = plain;
        if (port == lv2port::kMeterLevelA) meters_.levelA = plain;
        if (port == lv2port::kMeterLevelB) meters_.levelB = plain;
        if (port == lv2port::kMeterActive) meters_.processingActive = plain > 0.0f;
    }

  private:
    // The switches that replace what is heard turn one another off on the ports too, so the
    // host stores what the plug-in does; the editor hears of those changes first, as it does
    // inside the effect.
    void change(int index, float value) { change(index, value, lv2port::toPlain(index, value)); }
    void change(int index, float value, lv2port::PortValues ports) {
        values_[index] = value;
        listening::lastChangeWins(index, value, [this](int other) {
            if (values_[other] != 0.0f) change(other, 0.0f);
        });
        ports_[index] = ports;
        // A zoned parameter sets its list and its value port; hosts pass both to the next run.
        const uint32_t zonePort = lv2port::zonePortOf(index);
        if (zonePort != lv2port::kNoPort)
            write_(controller_, zonePort, sizeof(float), 0, &ports_[index].zone);
        write_(controller_, lv2port::portOf(index), sizeof(float), 0, &ports_[index].value);
        if (editor_) editor_->setParameter(index, value);
    }

    void touch(int index, bool grabbed) {
        if (!touch_ || !isParameterIndex(index)) return;
        touch_->touch(touch_->handle, lv2port::portOf(index), grabbed);
        const uint32_t zonePort = lv2port::zonePortOf(index);
        if (zonePort != lv2port::kNoPort) touch_->touch(touch_->handle, zonePort, grabbed);
    }

    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_;
    const LV2UI_Resize* resize_;
    EffectEditor* editor_ = nullptr;
    float values_[kNumParameters] = {};
    lv2port::PortValues ports_[kNumParameters] = {}; // as last written or heard
    MeterSnapshot meters_;                           // as the ports last held them
};

struct Lv2EditorUi {
    Lv2EditorHost host;
    std::unique_ptr<EffectEditor> editor;
};

const void* findFeature(const LV2_Feature* const* features, const char* uri) {
    for (const LV2_Feature* const* f = features; f && *f; ++f)
        if (std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
    return nullptr;
}

// The display scale the host announces through ui:scaleFactor; 0 when it announces none. The
// editor weighs it against the user's own choice and refuses factors it cannot use.
double hostScaleFactor(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(findFeature(features, LV2_URID__map));
    const auto* options =
        static_cast<const LV2_Options_Option*>(findFeature(features, LV2_OPTIONS__options));
    if (!map || !options) return 0.0;
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID atomFloat = map->map(map->handle, LV2_ATOM__Float);
    const LV2_URID atomDouble = map->map(map->handle, LV2_ATOM__Double);
    for (const LV2_Options_Option* o = options; o->key != 0 || o->value != nullptr; ++o) {
        if (o->key != scaleFactor || o->value == nullptr) continue;
        if (o->type == atomFloat && o->size == sizeof(float))
            return *static_cast<const float*>(o->value);
        if (o->type == atomDouble && o->size == sizeof(double))
            return *static_cast<const double*>(o->value);
    }
    return 0.0;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (!pluginUri || std::strcmp(pluginUri, lv2uri::kPlugin) != 0 || !write || !widget)
        return nullptr;
    void* parent = const_cast<void*>(findFeature(features, LV2_UI__parent));
    if (!parent) return nullptr;
    const auto* touch = static_cast<const LV2UI_Touch*>(findFeature(features, LV2_UI__touch));
    const auto* resize = static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));

    const ModuleEditorFactory makeEditor = moduleEditorFactory();
    if (!makeEditor) return nullptr;

    std::unique_ptr<Lv2EditorUi> ui;
    try {
        ui.reset(new Lv2EditorUi{Lv2EditorHost(write, controller, touch, resize), nullptr});
        ui->editor = makeEditor(ui->host);
        ui->editor->setHostScale(hostScaleFactor(features));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    ui->host.attach(ui->editor.get());
    if (!ui->editor->open(parent)) return nullptr;
    if (resize) resize->ui_resize(resize->handle, ui->editor->width(), ui->editor->height());
    *widget =
        reinterpret_cast<LV2UI_Widget>(newestChildWindow(reinterpret_cast<uintptr_t>(parent)));
    return ui.release();
}

void cleanup(LV2UI_Handle handle) {
    auto* ui = static_cast<Lv2EditorUi*>(handle);
    ui->editor->close();
    delete ui;
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    static_cast<Lv2EditorUi*>(handle)->host.portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) {
    static_cast<Lv2EditorUi*>(handle)->editor->idle();
    return 0;
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
    return uri && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2uri::kUi, instantiate, cleanup, portEvent, extensionData};

} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
