#pragma once

#include <string>

// Why the renderer must not write `outputPath`, or empty when it may. The input is never
// replaced unless `replaceAllowed`: the same file is recognised by device and inode, so links
// and other spellings of its name are caught. Any other existing file is replaced only when
// `replaceAllowed` too, so that no run destroys a file the user did not name for replacing.
// `inputPath` is empty when there is no input file.
std::string refusalToWrite(const std::string& outputPath, const std::string& inputPath,
                           bool replaceAllowed);
