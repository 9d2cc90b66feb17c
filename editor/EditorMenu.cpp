#include "editor/EditorMenu.h"

#include "editor/EditorScale.h"

#include "views/CDrawSurface.h"
#include "views/CFontSpec.h"
#include "views/CFrame.h"

#include <algorithm>
#include <string>

namespace {

constexpr CColor kMenuBack{34, 34, 34, 255};
constexpr CColor kMenuFrame{90, 90, 90, 255};
constexpr CColor kMenuMark{0, 204, 255, 255};
constexpr CColor kMenuText{250, 250, 250, 255};
constexpr int32_t kTextInsetPx = 14;

bool contains(const CRect& r, CPoint p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

void drawRow(CDrawSurface& surface, const CRect& row, const std::string& text, bool marked) {
    if (marked) {
        surface.setFillColor(kMenuMark);
        surface.fillRect({row.left + 4, row.top + 6, row.left + 8, row.top + 10});
    }
    surface.drawString(text.c_str(), {row.left + kTextInsetPx, row.top, row.right, row.bottom},
                       kLeftText);
}

} // namespace

EditorMenu::EditorMenu(const CRect& frameSize, CPoint where, Choice current,
                       int32_t automaticPercent, ChoiceHandler onChoice, Programs programs)
    : CView(frameSize), current_(current), automaticPercent_(automaticPercent),
      onChoice_(std::move(onChoice)), programs_(std::move(programs)) {
    for (int32_t percent : kEditorScalePercents)
        choices_.emplace_back(percent);
    choices_.emplace_back(std::nullopt);
    const std::size_t rows = std::max(choices_.size(), programs_.names.size());
    const int32_t width = kWidthPx + (programs_.names.empty() ? 0 : kProgramsWidthPx);
    const int32_t height = int32_t(rows) * kRowHeightPx + 2;
    const int32_t left = std::clamp(where.h, frameSize.left, frameSize.right - width);
    const int32_t top = std::clamp(where.v, frameSize.top, frameSize.bottom - height);
    menuRect_ = {left, top, left + width, top + height};
}

std::string EditorMenu::label(std::size_t index) const {
    const Choice& choice = choices_[index];
    return choice ? std::to_string(*choice) + " %"
                  : "Automatic (" + std::to_string(automaticPercent_) + " %)";
}

CRect EditorMenu::rowRect(std::size_t index) const {
    const int32_t top = menuRect_.top + 1 + int32_t(index) * kRowHeightPx;
    return {menuRect_.left + 1, top, menuRect_.left + kWidthPx - 1, top + kRowHeightPx};
}

CRect EditorMenu::programRowRect(int program) const {
    const int32_t left = menuRect_.left + kWidthPx;
    const int32_t top = menuRect_.top + 1 + program * kRowHeightPx;
    return {left + 1, top, left + kProgramsWidthPx - 1, top + kRowHeightPx};
}

void EditorMenu::draw(CDrawSurface& surface) {
    surface.setFillColor(kMenuBack);
    surface.fillRect(menuRect_);
    surface.setLineWidth(1);
    surface.setFrameColor(kMenuFrame);
    surface.drawRect(menuRect_);
    if (!programs_.names.empty()) {
        const int32_t x = menuRect_.left + kWidthPx;
        surface.setFillColor(kMenuFrame);
        surface.fillRect({x, menuRect_.top + 3, x + 1, menuRect_.bottom - 3});
    }
    surface.setFont(stockFont(StockFont::kNormal), 11);
    surface.setFontColor(kMenuText);
    for (std::size_t i = 0; i < choices_.size(); ++i)
        drawRow(surface, rowRect(i), label(i), choices_[i] == current_);
    for (std::size_t p = 0; p < programs_.names.size(); ++p)
        drawRow(surface, programRowRect(int(p)), programs_.names[p], int(p) == programs_.checked);
    setDirty(false);
}

CMouseResult EditorMenu::onMouseDown(CPoint where, int32_t) {
    std::optional<Choice> chosen;
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (contains(rowRect(i), where)) chosen = choices_[i];
    std::optional<int> chosenProgram;
    for (std::size_t p = 0; p < programs_.names.size(); ++p)
        if (contains(programRowRect(int(p)), where)) chosenProgram = int(p);
    // The handlers may change the frame's scale or the parameters; the menu leaves first.
    const ChoiceHandler handler = onChoice_;
    const ProgramHandler programHandler = programs_.onChoice;
    close();
    if (chosen && handler) handler(*chosen);
    if (chosenProgram && programHandler) programHandler(*chosenProgram);
    return kMouseHandledNoTracking;
}

int32_t EditorMenu::onKeyDown(const CKeyCode& key) {
    if (key.virtualKey != kKeyEscape) return kKeyNotUsed;
    close();
    return kKeyUsed;
}

void EditorMenu::close() {
    CFrame* frame = getFrame();
    if (frame && frame->getModalOverlay() == this) frame->setModalOverlay(nullptr);
}
