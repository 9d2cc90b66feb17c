#pragma once

#include "engine/BlockLoop.h"

#include <cstdint>

// The key channels a host handed over for a block, as the effect takes them for a span of it
// that starts at a later frame: one channel is a mono key, two a stereo key. Any other count or
// no channel list at all is no key (silence); a null channel stays null, which the effect hears
// as silence on that side. The pointers live in this object, so it must outlive the call it
// serves.
template <typename Sample> class HostKeySpan {
  public:
    HostKeySpan() = default;
    HostKeySpan(Sample* const* channels, int64_t channelCount, int32_t start) {
        if (channels == nullptr || channelCount < 1 || channelCount > 2) return;
        count_ = static_cast<int32_t>(channelCount);
        for (int32_t c = 0; c < count_; ++c)
            at_[c] = channels[c] != nullptr ? channels[c] + start : nullptr;
    }
    HostKey<Sample> key() const { return {count_ > 0 ? at_ : nullptr, count_}; }

  private:
    const Sample* at_[2] = {};
    int32_t count_ = 0;
};
