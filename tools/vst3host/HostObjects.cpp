#include "HostObjects.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The interface ID each host object answers to besides FUnknown.
template <typename Interface> const TUID& interfaceId();
template <> const TUID& interfaceId<IHostApplication>() {
    return IHostApplication_iid;
}
template <> const TUID& interfaceId<IBStream>() {
    return IBStream_iid;
}
template <> const TUID& interfaceId<IParamValueQueue>() {
    return IParamValueQueue_iid;
}
template <> const TUID& interfaceId<IParameterChanges>() {
    return IParameterChanges_iid;
}
template <> const TUID& interfaceId<IComponentHandler>() {
    return IComponentHandler_iid;
}
template <> const TUID& interfaceId<IPlugFrame>() {
    return IPlugFrame_iid;
}

} // namespace

template <typename Interface>
tresult PLUGIN_API HostOwned<Interface>::queryInterface(const TUID asked, void** obj) {
    if (!obj) return kInvalidArgument;
    if (offers(asked, obj)) return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

template <typename Interface> bool HostOwned<Interface>::offers(const TUID asked, void** obj) {
    if (!FUnknownPrivate::iidEqual(asked, FUnknown_iid) &&
        !FUnknownPrivate::iidEqual(asked, interfaceId<Interface>()))
        return false;
    *obj = static_cast<Interface*>(this);
    return true;
}

template class HostOwned<IHostApplication>;
template class HostOwned<IBStream>;
template class HostOwned<IParamValueQueue>;
template class HostOwned<IParameterChanges>;
template class HostOwned<IComponentHandler>;
template class HostOwned<IPlugFrame>;

tresult PLUGIN_API HostApplication::getName(String128 name) {
    const char* ours = "qvl test host";
    std::size_t n = 0;
    for (; ours[n]; ++n)
        name[n] = static_cast<TChar>(ours[n]);
    name[n] = 0;
    return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj) {
    if (obj) *obj = nullptr;
    return kNotImplemented;
}

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const std::size_t count =
        std::min(static_cast<std::size_t>(numBytes), bytes_.size() - position_);
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (numBytesRead) *numBytesRead = static_cast<int32>(count);
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    bytes_.resize(std::max(bytes_.size(), position_ + static_cast<std::size_t>(numBytes)));
    std::copy(bytes, bytes + numBytes, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
    position_ += static_cast<std::size_t>(numBytes);
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::seek(int64 pos, int32 mode, int64* result) {
    const int64 base = mode == kIBSeekCur   ? static_cast<int64>(position_)
                       : mode == kIBSeekEnd ? static_cast<int64>(bytes_.size())
                                            : 0;
    const int64 target = base + pos;
    if (target < 0 || target > static_cast<int64>(bytes_.size())) return kInvalidArgument;
    position_ = static_cast<std::size_t>(target);
    if (result) *result = target;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = static_cast<int64>(position_);
    return kResultOk;
}

int32 PLUGIN_API ParameterQueue::getPointCount() {
    return static_cast<int32>(points_.size());
}

tresult PLUGIN_API ParameterQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
    if (index < 0 || index >= getPointCount()) return kInvalidArgument;
    sampleOffset = points_[static_cast<std::size_t>(index)].first;
    value = points_[static_cast<std::size_t>(index)].second;
    return kResultOk;
}

tresult PLUGIN_API ParameterQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
    index = getPointCount();
    points_.emplace_back(sampleOffset, value);
    return kResultOk;
}

ParameterChanges::ParameterChanges(const std::vector<ParameterPoint>& points) {
    for (const ParameterPoint& p : points) {
        int32 queue = 0, point = 0;
        addParameterData(p.id, queue)->addPoint(p.offset, p.value, point);
    }
}

std::vector<ParameterPoint> ParameterChanges::points() {
    std::vector<ParameterPoint> all;
    for (ParameterQueue& queue : queues_)
        for (int32 i = 0; i < queue.getPointCount(); ++i) {
            ParameterPoint p{queue.getParameterId(), 0, 0.0};
            queue.getPoint(i, p.offset, p.value);
            all.push_back(p);
        }
    return all;
}

int32 PLUGIN_API ParameterChanges::getParameterCount() {
    return static_cast<int32>(queues_.size());
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
    if (index < 0 || index >= getParameterCount()) return nullptr;
    return &queues_[static_cast<std::size_t>(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
    for (std::size_t q = 0; q < queues_.size(); ++q)
        if (queues_[q].getParameterId() == id) {
            index = static_cast<int32>(q);
            return &queues_[q];
        }
    index = getParameterCount();
    queues_.emplace_back(id);
    return &queues_.back();
}

std::vector<std::string> ComponentHandler::calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void ComponentHandler::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

void ComponentHandler::record(std::string call) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(std::move(call));
}

tresult PLUGIN_API ComponentHandler::beginEdit(ParamID id) {
    record("begin " + std::to_string(id));
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(ParamID id, ParamValue value) {
    record("perform " + std::to_string(id) + " " + std::to_string(value));
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(ParamID id) {
    record("end " + std::to_string(id));
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags) {
    record("restart " + std::to_string(flags));
    return kResultOk;
}

tresult PLUGIN_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || !newSize) return kInvalidArgument;
    resizes_.push_back(*newSize);
    return view->onSize(newSize);
}

#ifndef _WIN32
bool PlugFrame::offers(const TUID asked, void** obj) {
    if (FUnknownPrivate::iidEqual(asked, Linux::IRunLoop_iid)) {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return true;
    }
    return HostOwned<IPlugFrame>::offers(asked, obj);
}

tresult PLUGIN_API PlugFrame::registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) {
    return kResultOk;
}

tresult PLUGIN_API PlugFrame::unregisterEventHandler(Linux::IEventHandler*) {
    return kResultOk;
}

tresult PLUGIN_API PlugFrame::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval) {
    if (!handler) return kInvalidArgument;
    timers_.push_back(handler);
    return kResultOk;
}

tresult PLUGIN_API PlugFrame::unregisterTimer(Linux::ITimerHandler* handler) {
    const auto found = std::find(timers_.begin(), timers_.end(), handler);
    if (found == timers_.end()) return kInvalidArgument;
    timers_.erase(found);
    return kResultOk;
}

void PlugFrame::runTimers() {
    for (Linux::ITimerHandler* timer : std::vector<Linux::ITimerHandler*>(timers_))
        timer->onTimer();
}
#endif
