#pragma once

#include "views/CView.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The small menu of editor sizes that a right click on the background opens: one row per
// supported scale and "Automatic" last (with the size it gives now), the current choice marked. It
// is shown as the frame's popup and covers the whole frame, so a press anywhere in the editor
// reaches it: a press on a row reports that choice, any press closes the menu, and the frame
// closes it on a press outside the editor's window.
class ScaleMenu : public CView {
  public:
    // The choice: a percentage, or nothing for "Automatic".
    using Choice = std::optional<int32_t>;
    using ChoiceHandler = std::function<void(Choice)>;

    static constexpr int32_t kRowHeightPx = 16;
    static constexpr int32_t kWidthPx = 112;

    // `frameSize` is the frame's rectangle; the menu opens at `where`, moved inside it.
    // `automaticPercent` is the size "Automatic" gives at present.
    ScaleMenu(const CRect& frameSize, CPoint where, Choice current, int32_t automaticPercent,
              ChoiceHandler onChoice);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;

    const CRect& getMenuRect() const { return menuRect_; }
    // The rectangle of row `index` (in the order of choices()).
    CRect rowRect(std::size_t index) const;
    const std::vector<Choice>& choices() const { return choices_; }
    // The text of row `index`.
    std::string label(std::size_t index) const;

  private:
    void close();

    std::vector<Choice> choices_;
    Choice current_;
    int32_t automaticPercent_;
    ChoiceHandler onChoice_;
    CRect menuRect_;
};
