#pragma once

#include <string>
#include <utility>
#include <vector>

// What to show: a program, then single parameters over it, and the meter readings.
struct SnapshotOptions {
    bool help = false;
    bool version = false;
    bool overwrite = false; // an existing image may be replaced
    int program = 0;
    std::vector<std::pair<int, float>> parameters; // index, normalized value, in given order
    float gainReductionDb = 0.0f;
    float levelADb = -70.0f;
    float levelBDb = -70.0f;
    int scalePercent = 100; // one of the editor's display scales
    std::string outputPath = "qvl-snapshot.png";
};

struct ParsedSnapshotOptions {
    bool ok = false;
    SnapshotOptions options;
    std::string error; // set when !ok
};

ParsedSnapshotOptions parseSnapshotOptions(int argc, const char* const* argv);

const char* snapshotUsage();
