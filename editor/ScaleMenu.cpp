#include "editor/ScaleMenu.h"

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

} // namespace

ScaleMenu::ScaleMenu(const CRect& frameSize, CPoint where, Choice current, int32_t automaticPercent,
                     ChoiceHandler onChoice)
    : CView(frameSize), current_(current), automaticPercent_(automaticPercent),
      onChoice_(std::move(onChoice)) {
    for (int32_t percent : kEditorScalePercents)
        choices_.emplace_back(percent);
    choices_.emplace_back(std::nullopt);
    const int32_t height = int32_t(choices_.size()) * kRowHeightPx + 2;
    const int32_t left = std::clamp(where.h, frameSize.left, frameSize.right - kWidthPx);
    const int32_t top = std::clamp(where.v, frameSize.top, frameSize.bottom - height);
    menuRect_ = {left, top, left + kWidthPx, top + height};
}

std::string ScaleMenu::label(std::size_t index) const {
    const Choice& choice = choices_[index];
    return choice ? std::to_string(*choice) + " %"
                  : "Automatic (" + std::to_string(automaticPercent_) + " %)";
}

CRect ScaleMenu::rowRect(std::size_t index) const {
    const int32_t top = menuRect_.top + 1 + int32_t(index) * kRowHeightPx;
    return {menuRect_.left + 1, top, menuRect_.right - 1, top + kRowHeightPx};
}

void ScaleMenu::draw(CDrawSurface& surface) {
    surface.setFillColor(kMenuBack);
    surface.fillRect(menuRect_);
    surface.setLineWidth(1);
    surface.setFrameColor(kMenuFrame);
    surface.drawRect(menuRect_);
    surface.setFont(stockFont(StockFont::kNormal), 11);
    surface.setFontColor(kMenuText);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        const CRect row = rowRect(i);
        if (choices_[i] == current_) {
            surface.setFillColor(kMenuMark);
            surface.fillRect({row.left + 4, row.top + 6, row.left + 8, row.top + 10});
        }
        surface.drawString(label(i).c_str(),
                           {row.left + kTextInsetPx, row.top, row.right, row.bottom}, kLeftText);
    }
    setDirty(false);
}

CMouseResult ScaleMenu::onMouseDown(CPoint where, int32_t) {
    std::optional<Choice> chosen;
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (where.h >= rowRect(i).left && where.h < rowRect(i).right && where.v >= rowRect(i).top &&
            where.v < rowRect(i).bottom)
            chosen = choices_[i];
    // The handler may change the frame's scale; the menu leaves first.
    const ChoiceHandler handler = onChoice_;
    close();
    if (chosen && handler) handler(*chosen);
    return kMouseHandledNoTracking;
}

void ScaleMenu::close() {
    CFrame* frame = getFrame();
    if (frame && frame->getModalOverlay() == this) frame->setModalOverlay(nullptr);
}
