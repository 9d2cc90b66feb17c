#include "formats/vst3/Vst3Factory.h"

#include "ProductIdentity.h"
#include "formats/vst3/Vst3Plugin.h"
#include "formats/vst3/Vst3Text.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/vsttypes.h>

#include <cstring>
#include <new>

using namespace Steinberg;

namespace {

// The four words come from the build, which explains why they never change; the macro lets
// them expand before INLINE_UID counts its arguments.
#define QVL_INLINE_UID(...) INLINE_UID(__VA_ARGS__)
const TUID kClassId = QVL_INLINE_UID(QVL_VST3_CLASS_ID);

template <std::size_t N> void copyText(char8 (&target)[N], const char* text) {
    std::strncpy(target, text, N - 1);
    target[N - 1] = '\0';
}

template <std::size_t N> void copyText(char16 (&target)[N], const char* text) {
    copyToUtf16(text, target, static_cast<int>(N));
}

// The class description in each of the three shapes the factory versions ask for.
template <typename Info> void describeClass(Info& info) {
    std::memcpy(info.cid, kClassId, sizeof(TUID));
    info.cardinality = PClassInfo::kManyInstances;
    copyText(info.category, kVstAudioEffectClass);
    copyText(info.name, kProductName);
}

template <typename Info> void describeClassVersion(Info& info) {
    describeClass(info);
    info.classFlags = 0;
    copyText(info.subCategories, Vst::PlugType::kFxDynamics);
    copyText(info.vendor, kVendorName);
    copyText(info.version, QVL_VERSION_NUMBER);
    copyText(info.sdkVersion, kVstVersionString);
}

class Factory final : public IPluginFactory3 {
  public:
    tresult PLUGIN_API queryInterface(const TUID asked, void** obj) override {
        if (!obj) return kInvalidArgument;
        for (const TUID* known :
             {&FUnknown_iid, &IPluginFactory_iid, &IPluginFactory2_iid, &IPluginFactory3_iid}) {
            if (FUnknownPrivate::iidEqual(asked, *known)) {
                *obj = static_cast<IPluginFactory3*>(this);
                return kResultOk;
            }
        }
        *obj = nullptr;
        return kNoInterface;
    }
    // One factory lives as long as the module.
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override {
        if (!info) return kInvalidArgument;
        *info = PFactoryInfo{};
        copyText(info->vendor, kVendorName);
        copyText(info->url, kVendorUrl);
        info->flags = PFactoryInfo::kUnicode;
        return kResultOk;
    }

    int32 PLUGIN_API countClasses() override { return 1; }

    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override {
        if (index != 0 || !info) return kInvalidArgument;
        *info = PClassInfo{};
        describeClass(*info);
        return kResultOk;
    }

    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override {
        if (index != 0 || !info) return kInvalidArgument;
        *info = PClassInfo2{};
        describeClassVersion(*info);
        return kResultOk;
    }

    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override {
        if (index != 0 || !info) return kInvalidArgument;
        *info = PClassInfoW{};
        describeClassVersion(*info);
        return kResultOk;
    }

    tresult PLUGIN_API createInstance(FIDString cid, FIDString wanted, void** obj) override {
        if (!obj) return kInvalidArgument;
        *obj = nullptr;
        if (!cid || !wanted || !FUnknownPrivate::iidEqual(cid, kClassId)) return kInvalidArgument;
        Vst3Plugin* plugin = nullptr;
        try {
            plugin = new Vst3Plugin();
        } catch (const std::bad_alloc&) {
            return kOutOfMemory;
        }
        const tresult result = plugin->queryInterface(reinterpret_cast<const int8*>(wanted), obj);
        plugin->release();
        return result;
    }

    tresult PLUGIN_API setHostContext(FUnknown*) override { return kResultOk; }
};

Factory theFactory;

} // namespace

IPluginFactory* vst3Factory() {
    return &theFactory;
}
