#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// The editor's changes on their way to the host: the editor (main thread) puts them in, the
// next process or flush takes them out as output events, in order. One writer, one reader, no
// lock and no allocation. When it is full a change is dropped; the value still reaches the host
// through the comparison that follows every block, only its gesture frame is lost.
class EditorChangeQueue {
  public:
    enum class Kind : uint8_t { beginGesture, value, endGesture };
    struct Change {
        Kind kind;
        int index;
        float value;
    };

    bool push(const Change& change) {
        const uint32_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == kCapacity) return false;
        changes_[tail % kCapacity] = change;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // The oldest change without taking it out; false when there is none.
    bool peek(Change& change) const {
        const uint32_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        change = changes_[head % kCapacity];
        return true;
    }

    void pop() {
        head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

  private:
    static constexpr uint32_t kCapacity = 256; // a power of two, so the counters may wrap
    std::array<Change, kCapacity> changes_{};
    std::atomic<uint32_t> head_{0};
    std::atomic<uint32_t> tail_{0};
};
