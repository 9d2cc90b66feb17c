#pragma once

// Bypass, SC Preview and Delta each replace what is heard, so at most one may be on. A host
// may send any combination of the three ports (and its own bypass), and LV2 lets no plug-in
// change its input ports, so the combination is settled by a fixed order: bypass wins over the
// preview, the preview over delta.
struct ListeningSwitches {
    bool bypass = false;
    bool scPreview = false;
    bool delta = false;
};

constexpr ListeningSwitches settleSwitches(bool bypass, bool scPreview, bool delta) {
    if (bypass) return {true, false, false};
    if (scPreview) return {false, true, false};
    return {false, false, delta};
}
