#pragma once

#include "plugin/CompressorEffect.h"
#include "plugin/ListeningSwitches.h"
#include "plugin/ParameterTable.h"

#include <atomic>

// The values a host last sent or was told for the parameters it lists, and so the effect's own
// changes it has not heard of: the listening switches another switch turned off, every value a
// program set when the host chose it through its automation, and whatever else the effect
// changed without the host asking. Each edition whose host takes the plug-in's changes back
// (VST 3's output queues, CLAP's output events) reports through one of these; its adapter only
// translates index and value into what its format sends.
//
// An edition whose host never takes a change back (LV2's input ports) cannot tell it anything:
// it settles the listening switches its host holds with applyByPrecedence instead.
//
// Threads: heard and heardAll may come from any thread; report runs on the one thread that
// processes (or, in CLAP, flushes) at a time.
class HostValueMirror {
  public:
    // The host starts out knowing the effect's values as they are now.
    HostValueMirror(CompressorEffect& effect, ListedIn edition);
    HostValueMirror(const HostValueMirror&) = delete;
    HostValueMirror& operator=(const HostValueMirror&) = delete;

    // The host sent this value, or was told it another way (an edit from the editor).
    void heard(int index, float value);
    // The host reads every value anew (a restart of its controls).
    void heardAll();
    // A program the host chose set every value; it hears all of them, changed or not.
    void programChosen();

    // Calls tell(index, value) for each listed parameter, in the table's order, whose value
    // the host has not heard, and takes it as heard when tell returns true; a host that takes
    // nothing more now hears the rest at the next report.
    template <typename Tell> void report(Tell&& tell);

  private:
    CompressorEffect& effect_;
    const ListedIn edition_;
    std::atomic<float> heard_[kNumParameters];
    std::atomic<bool> programChosen_{false};
};

// The listening switches a host holds, where the plug-in cannot turn any of them off on the
// host's side: of those asked for, only the one with the highest precedence is heard, so the
// same host values always sound the same. Switches go off before the one going on, so it is
// not undone by them.
void applyByPrecedence(CompressorEffect& effect, const listening::Settled& asked);

template <typename Tell> void HostValueMirror::report(Tell&& tell) {
    const bool everyValue = programChosen_.exchange(false, std::memory_order_relaxed);
    for (int index = 0; index < kNumParameters; ++index) {
        if (!isListedIn(edition_, index)) continue;
        const float value = effect_.getParameter(index);
        if (!everyValue && value == heard_[index].load(std::memory_order_relaxed)) continue;
        if (tell(index, value)) heard_[index].store(value, std::memory_order_relaxed);
    }
}
