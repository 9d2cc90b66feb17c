#pragma once

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/gui/iplugview.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivsthostapplication.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The objects a VST 3 host hands to a plug-in, each as small as the tests need. They live on
// the host's side of the stack or in the host object, so their reference counts are ignored.
template <typename Interface> class HostOwned : public Interface {
  public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID asked, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

  protected:
    virtual bool offers(const Steinberg::TUID asked, void** obj);
};

class HostApplication final : public HostOwned<Steinberg::Vst::IHostApplication> {
  public:
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID,
                                                 void** obj) override;
};

// A state as the plug-in wrote it, to read back; or any bytes a test makes up.
class MemoryStream final : public HostOwned<Steinberg::IBStream> {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                       Steinberg::int32* numBytesRead) override;
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                        Steinberg::int32* numBytesWritten) override;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                       Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

  private:
    std::vector<uint8_t> bytes_;
    std::size_t position_ = 0;
};

struct ParameterPoint {
    Steinberg::Vst::ParamID id;
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
};

class ParameterQueue final : public HostOwned<Steinberg::Vst::IParamValueQueue> {
  public:
    explicit ParameterQueue(Steinberg::Vst::ParamID id) : id_(id) {}
    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override;
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                           Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

  private:
    Steinberg::Vst::ParamID id_;
    std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> points_;
};

// One block's changes, grouped into a queue per parameter in the order they were added.
class ParameterChanges final : public HostOwned<Steinberg::Vst::IParameterChanges> {
  public:
    ParameterChanges() = default;
    explicit ParameterChanges(const std::vector<ParameterPoint>& points);
    std::vector<ParameterPoint> points();

    Steinberg::int32 PLUGIN_API getParameterCount() override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

  private:
    std::vector<ParameterQueue> queues_;
};

// What the plug-in told its host, in order: "begin 3", "perform 3 0.5", "end 3", "restart 4".
class ComponentHandler final : public HostOwned<Steinberg::Vst::IComponentHandler> {
  public:
    std::vector<std::string> calls() const;
    void clear();

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  private:
    void record(std::string call);
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// The host's window frame, on Linux with its run loop: timers fire when the test runs them.
// Windows has no run loop interface; there the host's message loop is the test's to pump.
class PlugFrame final : public HostOwned<Steinberg::IPlugFrame>
#ifndef _WIN32
    ,
                        public Steinberg::Linux::IRunLoop
#endif
{
  public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID asked, void** obj) override {
        return HostOwned<Steinberg::IPlugFrame>::queryInterface(asked, obj);
    }
    Steinberg::uint32 PLUGIN_API addRef() override {
        return 1;
    }
    Steinberg::uint32 PLUGIN_API release() override {
        return 1;
    }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) override;
    const std::vector<Steinberg::ViewRect>& resizes() const {
        return resizes_;
    }

#ifndef _WIN32
    Steinberg::tresult PLUGIN_API registerEventHandler(
        Steinberg::Linux::IEventHandler* handler, Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API
    unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval ms) override;
    Steinberg::tresult PLUGIN_API
    unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    // Calls every registered timer once.
    void runTimers();
    std::size_t timerCount() const {
        return timers_.size();
    }

  protected:
    bool offers(const Steinberg::TUID asked, void** obj) override;

  private:
    std::vector<Steinberg::Linux::ITimerHandler*> timers_;
#endif

  private:
    std::vector<Steinberg::ViewRect> resizes_;
};
