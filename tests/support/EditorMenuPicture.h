#pragma once

#include "Picture.h"

#include <cstddef>
#include <vector>

// Where the editor's right-click menu shows the factory programs at 100 %, for tests that click
// them and read the mark. Opened on the background at (300, 150), the menu is kept inside the
// editor, its top at 140; beside its 112 pixels of sizes, the programs' rows of 16 pixels start
// at (413, 141), each with its mark at 4 ... 7 pixels in, 6 ... 9 down.
constexpr int kMenuProgramRowX = 470;
constexpr int menuProgramRowY(int program) {
    return 149 + 16 * program;
}

// Whether the program's row carries the mark, in a picture of the editor `width` pixels wide.
inline bool menuMarksProgram(const Picture& p, int width, int program) {
    return p[std::size_t((147 + 16 * program) * width + 418)] == 0x00CCFFu;
}

// The marked rows among the first `count`.
inline std::vector<int> menuMarkedPrograms(const Picture& p, int width, int count) {
    std::vector<int> marked;
    for (int program = 0; program < count; ++program)
        if (menuMarksProgram(p, width, program)) marked.push_back(program);
    return marked;
}
