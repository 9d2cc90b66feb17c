#pragma once

#include "SnapshotOptions.h"

#include <string>

// Builds the effect and its editor with the options' settings and meter readings, lets one
// meter tick pass, and writes the window content as a PNG. Empty on success, else the reason.
std::string writeEditorSnapshot(const SnapshotOptions& options);
