#pragma once

#include "views/CView.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The menu that a right click on the background opens, in two columns split by a line: the
// editor sizes (one row per supported scale and "Automatic" last, with the size it gives now)
// and beside them the programs, each column with its current choice marked. The sizes column
// opens at the pointer, so a size is picked with the same movement whether or not programs are
// listed. It is shown as the frame's popup and covers the whole frame, so a press anywhere in
// the editor reaches it: a press on a row reports that choice, any press closes the menu, and
// the frame closes it on a press outside the editor's window. Escape closes it too.
class EditorMenu : public CView {
  public:
    // A size: a percentage, or nothing for "Automatic".
    using Choice = std::optional<int32_t>;
    using ChoiceHandler = std::function<void(Choice)>;
    using ProgramHandler = std::function<void(int program)>;

    // The programs column: the names in program order, the one marked (-1: none) and what
    // choosing one does. Without names the menu has the sizes alone.
    struct Programs {
        std::vector<std::string> names;
        int checked = -1;
        ProgramHandler onChoice;
    };

    static constexpr int32_t kRowHeightPx = 16;
    static constexpr int32_t kWidthPx = 112;
    static constexpr int32_t kProgramsWidthPx = 148;

    // `frameSize` is the frame's rectangle; the menu opens at `where`, moved inside it.
    // `automaticPercent` is the size "Automatic" gives at present.
    EditorMenu(const CRect& frameSize, CPoint where, Choice current, int32_t automaticPercent,
               ChoiceHandler onChoice, Programs programs);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;

    const CRect& getMenuRect() const { return menuRect_; }
    // The rectangle of size row `index` (in the order of choices()).
    CRect rowRect(std::size_t index) const;
    const std::vector<Choice>& choices() const { return choices_; }
    // The text of size row `index`.
    std::string label(std::size_t index) const;
    // The rectangle of the row of program `program`.
    CRect programRowRect(int program) const;
    const Programs& programs() const { return programs_; }

  private:
    void close();

    std::vector<Choice> choices_;
    Choice current_;
    int32_t automaticPercent_;
    ChoiceHandler onChoice_;
    Programs programs_;
    CRect menuRect_;
};
