#include "TestSupport.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A view that records the input it gets and answers with a fixed result.
class ProbeView : public CView {
  public:
    ProbeView(const CRect& size, CMouseResult answer, std::vector<std::string>& log,
              std::string name)
        : CView(size), answer_(answer), log_(log), name_(std::move(name)) {}
    ~ProbeView() override { log_.push_back(name_ + " destroyed"); }

    CMouseResult onMouseDown(CPoint where, int32_t) override {
        log_.push_back(name_ + " down " + std::to_string(where.h) + "," + std::to_string(where.v));
        return answer_;
    }
    CMouseResult onMouseMoved(CPoint, int32_t) override {
        log_.push_back(name_ + " moved");
        return moveAnswer;
    }
    CMouseResult onMouseUp(CPoint, int32_t) override {
        log_.push_back(name_ + " up");
        return kMouseHandled;
    }
    bool onWheel(CPoint, float distance, int32_t) override {
        log_.push_back(name_ + " wheel " + std::to_string(int(distance)));
        return true;
    }
    int32_t onKeyDown(const CKeyCode& key) override {
        log_.push_back(name_ + " key " + std::to_string(key.virtualKey));
        return kKeyUsed;
    }
    void draw(CDrawSurface& surface) override {
        surface.setFillColor(color);
        surface.fillRect(size_);
        setDirty(false);
    }

    CMouseResult moveAnswer = kMouseHandled;
    CColor color = kColorRed;

  private:
    CMouseResult answer_;
    std::vector<std::string>& log_;
    std::string name_;
};

class FakeWindow : public FrameWindow {
  public:
    explicit FakeWindow(std::vector<CRect>& presented) : presented_(presented) {}
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect& area) override { presented_.push_back(area); }

  private:
    std::vector<CRect>& presented_;
};

struct FrameFixture : ::testing::Test {
    Recorder recorder;
    std::vector<std::string> log;
    CFrame frame{{0, 0, 200, 100}, &recorder};

    ProbeView* add(const CRect& r, CMouseResult answer, const std::string& name) {
        auto* view = new ProbeView(r, answer, log, name);
        frame.addView(view);
        return view;
    }
};

} // namespace

using MouseRoutingTest = FrameFixture;

TEST_F(MouseRoutingTest, LaterAddedViewGetsThePressEvenWhenItDoesNotHandleIt) {
    add({0, 0, 50, 50}, kMouseHandled, "first");
    add({20, 20, 70, 70}, kMouseNotHandled, "second");
    EXPECT_EQ(frame.onMouseDown({30, 30}, kButtonLeft), kMouseNotHandled);
    EXPECT_EQ(log, (std::vector<std::string>{"second down 30,30"}));
}

TEST_F(MouseRoutingTest, PressOutsideTheLaterViewReachesTheEarlierOne) {
    add({0, 0, 50, 50}, kMouseHandled, "first");
    add({20, 20, 70, 70}, kMouseHandled, "second");
    EXPECT_EQ(frame.onMouseDown({10, 10}, kButtonLeft), kMouseHandled);
    EXPECT_EQ(log, (std::vector<std::string>{"first down 10,10"}));
}

TEST_F(MouseRoutingTest, ClickAreaDecidesNotTheViewRectangle) {
    ProbeView* view = add({100, 50, 110, 60}, kMouseHandled, "widened");
    view->setClickArea({90, 24, 160, 70});
    frame.onMouseDown({150, 30}, kButtonLeft);
    frame.onMouseDown({160, 70}, kButtonLeft); // edges are inside
    frame.onMouseDown({161, 70}, kButtonLeft);
    EXPECT_EQ(log, (std::vector<std::string>{"widened down 150,30", "widened down 160,70"}));
}

TEST_F(MouseRoutingTest, NoViewUnderThePointMeansNotHandled) {
    add({0, 0, 10, 10}, kMouseHandled, "a");
    EXPECT_EQ(frame.onMouseDown({100, 90}, kButtonLeft), kMouseNotHandled);
    EXPECT_TRUE(log.empty());
}

TEST_F(MouseRoutingTest, HandledPressCapturesMovesAndRelease) {
    add({0, 0, 50, 50}, kMouseHandled, "knob");
    add({60, 0, 100, 50}, kMouseHandled, "other");
    frame.onMouseDown({10, 10}, kButtonLeft);
    frame.onMouseMoved({80, 10}, kButtonLeft); // outside the view: still captured
    frame.onMouseUp({80, 10}, 0);
    frame.onMouseMoved({80, 10}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"knob down 10,10", "knob moved", "knob up"}));
    EXPECT_EQ(frame.getMouseCaptureView(), nullptr);
}

TEST_F(MouseRoutingTest, CaptureEndsWhenAMoveIsNotHandled) {
    add({0, 0, 50, 50}, kMouseHandled, "knob")->moveAnswer = kMouseNotHandled;
    frame.onMouseDown({10, 10}, kButtonLeft);
    frame.onMouseMoved({11, 10}, kButtonLeft);
    frame.onMouseMoved({12, 10}, kButtonLeft);
    frame.onMouseUp({12, 10}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"knob down 10,10", "knob moved"}));
}

TEST_F(MouseRoutingTest, OnlyKMouseHandledCaptures) {
    for (const CMouseResult answer :
         {kMouseNotImplemented, kMouseNotHandled, kMouseHandledNoTracking}) {
        log.clear();
        ProbeView* view = add({0, 0, 50, 50}, answer, "button");
        frame.onMouseDown({10, 10}, kButtonLeft);
        frame.onMouseMoved({11, 11}, kButtonLeft);
        frame.onMouseUp({11, 11}, 0);
        EXPECT_EQ(log, (std::vector<std::string>{"button down 10,10"})) << answer;
        frame.removeView(view);
    }
}

TEST(MouseCaptureTest, ViewThatLeavesTheFrameInItsHandlerIsNotCaptured) {
    // Like a modal card that hides itself when clicked.
    class Vanishing : public CView {
      public:
        using CView::CView;
        CMouseResult onMouseDown(CPoint, int32_t) override {
            getFrame()->setModalOverlay(nullptr);
            return kMouseHandled;
        }
        CMouseResult onMouseMoved(CPoint, int32_t) override {
            ++moves;
            return kMouseHandled;
        }
        int moves = 0;
    };
    CFrame frame({0, 0, 100, 100}, nullptr);
    auto* card = new Vanishing({0, 0, 50, 50});
    ASSERT_TRUE(frame.setModalOverlay(card));
    EXPECT_EQ(frame.onMouseDown({5, 5}, kButtonLeft), kMouseHandled);
    EXPECT_EQ(frame.getMouseCaptureView(), nullptr);
    frame.onMouseMoved({6, 6}, kButtonLeft);
    EXPECT_EQ(card->moves, 0);
    card->releaseRef();
}

TEST_F(MouseRoutingTest, ListenerIsAskedFirstForRightButtonAndModifiers) {
    struct Case {
        int32_t buttons;
        bool asked;
    };
    const Case cases[] = {{kButtonLeft, false},
                          {kButtonRight, true},
                          {kButtonLeft | kModShift, true},
                          {kButtonLeft | kModControl, true},
                          {kButtonLeft | kModAlt, true},
                          {kButtonMiddle, false}};
    auto* control = new CControl({0, 0, 50, 50}, &recorder, 4);
    frame.addView(control);
    for (const Case& c : cases) {
        recorder.events.clear();
        frame.onMouseDown({5, 5}, c.buttons);
        EXPECT_EQ(recorder.count("modifierClicked"), c.asked ? 1 : 0) << c.buttons;
    }
}

TEST_F(MouseRoutingTest, NonZeroModifierAnswerConsumesThePress) {
    ProbeView* below = add({0, 0, 50, 50}, kMouseHandled, "below");
    (void)below;
    auto* control = new CControl({0, 0, 50, 50}, &recorder, 4);
    frame.addView(control);
    recorder.modifierAnswer = 1;
    EXPECT_EQ(frame.onMouseDown({5, 5}, kButtonRight), kMouseHandled);
    EXPECT_TRUE(log.empty()); // nobody below gets it either
    recorder.modifierAnswer = 0;
    EXPECT_EQ(frame.onMouseDown({5, 5}, kButtonRight), kMouseNotImplemented);
}

TEST_F(MouseRoutingTest, WheelGoesToTheViewUnderTheMouse) {
    add({0, 0, 50, 50}, kMouseHandled, "a");
    add({60, 0, 100, 50}, kMouseHandled, "b");
    EXPECT_TRUE(frame.onWheel({70, 5}, -1.0f, 0));
    EXPECT_FALSE(frame.onWheel({55, 5}, 1.0f, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"b wheel -1"}));
}

TEST_F(MouseRoutingTest, KeysGoToTheFocusView) {
    ProbeView* a = add({0, 0, 50, 50}, kMouseHandled, "a");
    EXPECT_EQ(frame.onKeyDown({0, kKeyUp, 0}), kKeyNotUsed);
    frame.setFocusView(a);
    EXPECT_EQ(frame.onKeyDown({0, kKeyUp, 0}), kKeyUsed);
    EXPECT_EQ(log, (std::vector<std::string>{"a key 12"}));
}

using ModalOverlayTest = FrameFixture;

TEST_F(ModalOverlayTest, WhileSetOnlyTheModalViewGetsPresses) {
    add({0, 0, 200, 100}, kMouseHandled, "knob");
    auto* card = new ProbeView({50, 20, 150, 80}, kMouseHandledNoTracking, log, "card");
    ASSERT_TRUE(frame.setModalOverlay(card));
    EXPECT_EQ(frame.getModalOverlay(), card);
    EXPECT_EQ(frame.onMouseDown({10, 10}, kButtonLeft), kMouseNotHandled);
    frame.onMouseDown({60, 30}, kButtonLeft);
    EXPECT_EQ(log, (std::vector<std::string>{"card down 60,30"}));

    ASSERT_TRUE(frame.setModalOverlay(nullptr));
    EXPECT_EQ(card->getNbReference(), 1); // removed without releasing
    frame.onMouseDown({10, 10}, kButtonLeft);
    EXPECT_EQ(log.back(), "knob down 10,10");
    card->releaseRef();
}

TEST_F(ModalOverlayTest, RefusesASecondModalViewOrOneAlreadyPlaced) {
    auto* card = new ProbeView({0, 0, 10, 10}, kMouseHandled, log, "card");
    auto* other = new ProbeView({0, 0, 10, 10}, kMouseHandled, log, "other");
    ProbeView* placed = add({0, 0, 10, 10}, kMouseHandled, "placed");
    EXPECT_FALSE(frame.setModalOverlay(placed));
    ASSERT_TRUE(frame.setModalOverlay(card));
    EXPECT_FALSE(frame.setModalOverlay(other));
    EXPECT_EQ(frame.getModalOverlay(), card);
    frame.setModalOverlay(nullptr);
    card->releaseRef();
    other->releaseRef();
}

// A window that records when the frame asks it to capture presses outside it.
class CapturingWindow : public FrameWindow {
  public:
    explicit CapturingWindow(std::vector<bool>& requests) : requests_(requests) {}
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect&) override {}
    void captureOutsidePresses(bool capture) override { requests_.push_back(capture); }

  private:
    std::vector<bool>& requests_;
};

TEST_F(ModalOverlayTest, APopupClosesOnAPressOutsideTheWindowOrWhenTheCaptureIsLost) {
    std::vector<bool> captures;
    ASSERT_TRUE(frame.attachWindow(std::make_unique<CapturingWindow>(captures)));
    add({0, 0, 200, 100}, kMouseHandled, "knob");
    auto* menu = new ProbeView({0, 0, 200, 100}, kMouseHandledNoTracking, log, "menu");

    EXPECT_FALSE(frame.setPopupOverlay(nullptr));
    EXPECT_TRUE(captures.empty());
    ASSERT_TRUE(frame.setPopupOverlay(menu));
    EXPECT_EQ(captures, std::vector<bool>{true});
    frame.onMouseDown({60, 30}, kButtonLeft); // inside: the popup decides
    EXPECT_EQ(frame.getModalOverlay(), menu);
    frame.setModalOverlay(nullptr);
    // The frame's pixels end before its right and bottom edges.
    for (const CPoint outside : {CPoint{-1, 30}, CPoint{60, 100}, CPoint{200, 0}}) {
        ASSERT_TRUE(frame.setPopupOverlay(menu));
        frame.idle();
        EXPECT_EQ(frame.onMouseDown(outside, kButtonLeft), kMouseHandledNoTracking);
        EXPECT_EQ(frame.getModalOverlay(), nullptr) << outside.h << "," << outside.v;
        // What the popup covered is drawn again.
        EXPECT_EQ(frame.getInvalidArea(), menu->getViewSize());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"menu down 60,30"}));
    EXPECT_EQ(captures.back(), false);

    ASSERT_TRUE(frame.setPopupOverlay(menu));
    frame.popupCaptureLost();
    EXPECT_EQ(frame.getModalOverlay(), nullptr);
    EXPECT_EQ(captures,
              (std::vector<bool>{true, false, true, false, true, false, true, false, true, false}));

    // A plain modal view neither captures nor closes on a press outside.
    ASSERT_TRUE(frame.setModalOverlay(menu));
    frame.onMouseDown({-5, -5}, kButtonLeft);
    frame.popupCaptureLost();
    EXPECT_EQ(frame.getModalOverlay(), menu);
    EXPECT_EQ(captures.size(), 10u);
    frame.setModalOverlay(nullptr);
    EXPECT_EQ(captures.size(), 10u);
    EXPECT_EQ(menu->getNbReference(), 1);
    menu->releaseRef();
}

TEST(ModalOverlayLifetimeTest, DestroyingTheFrameLeavesTheModalViewToItsOwner) {
    std::vector<std::string> log;
    auto* card = new ProbeView({0, 0, 10, 10}, kMouseHandled, log, "card");
    {
        CFrame frame({0, 0, 100, 100}, nullptr);
        frame.addView(new ProbeView({0, 0, 10, 10}, kMouseHandled, log, "child"));
        ASSERT_TRUE(frame.setModalOverlay(card));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"child destroyed"}));
    EXPECT_EQ(card->getNbReference(), 1);
    card->releaseRef();
}

TEST(FrameOwnershipTest, FrameReleasesItsViewsWhenDestroyed) {
    std::vector<std::string> log;
    {
        CFrame frame({0, 0, 100, 100}, nullptr);
        auto* view = new ProbeView({0, 0, 10, 10}, kMouseHandled, log, "v");
        EXPECT_TRUE(frame.addView(view));
        EXPECT_FALSE(frame.addView(view)); // already placed
        EXPECT_EQ(view->getFrame(), &frame);
        EXPECT_EQ(frame.getNbViews(), 1);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"v destroyed"}));
}

using FrameRedrawTest = FrameFixture;

TEST_F(FrameRedrawTest, IdleWithoutAWindowDoesNothing) {
    auto* control = new CControl({0, 0, 10, 10});
    frame.addView(control);
    frame.idle();
    EXPECT_TRUE(control->isDirty());
}

TEST_F(FrameRedrawTest, IdleInvalidatesDirtyViewsAndPaintsTheirArea) {
    std::vector<CRect> presented;
    ASSERT_TRUE(frame.attachWindow(std::make_unique<FakeWindow>(presented)));
    frame.idle(); // first paint covers the whole frame
    ASSERT_EQ(presented, (std::vector<CRect>{{0, 0, 200, 100}}));

    auto* clean = new CControl({0, 0, 10, 10});
    auto* moved = new CControl({50, 20, 60, 30});
    frame.addView(clean);
    frame.addView(moved);
    clean->setDirty(false);
    moved->setDirty(false);
    moved->setValue(0.5f);
    presented.clear();
    frame.idle();
    EXPECT_FALSE(moved->isDirty());
    EXPECT_EQ(presented, (std::vector<CRect>{{50, 20, 60, 30}}));
    presented.clear();
    frame.idle();
    EXPECT_TRUE(presented.empty());
}

TEST_F(FrameRedrawTest, InvalidateSchedulesAPaintWithoutIdleMarking) {
    std::vector<CRect> presented;
    frame.attachWindow(std::make_unique<FakeWindow>(presented));
    frame.idle();
    auto* view = add({10, 10, 20, 20}, kMouseHandled, "v");
    view->setDirty(true);
    view->invalidate();
    EXPECT_FALSE(view->isDirty());
    EXPECT_EQ(frame.getInvalidArea(), (CRect{10, 10, 20, 20}));
}

TEST_F(FrameRedrawTest, PaintDrawsBackgroundThenViewsInAddOrder) {
    auto* background = new CBitmap(200, 100);
    background->fill(kColorBlue);
    frame.setBackground(background);
    background->releaseRef();
    add({0, 0, 30, 30}, kMouseHandled, "under")->color = kColorRed;
    add({20, 20, 40, 40}, kMouseHandled, "over")->color = kColorGreen;
    COffscreenSurface surface(nullptr, 200, 100, kColorBlack);
    frame.paint(surface, frame.getViewSize());
    const CBitmap& out = *surface.getBitmap();
    EXPECT_TRUE(pixelIs(out, 5, 5, kColorRed));
    EXPECT_TRUE(pixelIs(out, 25, 25, kColorGreen));
    EXPECT_TRUE(pixelIs(out, 100, 50, kColorBlue));
}

TEST_F(FrameRedrawTest, PaintTouchesOnlyTheRequestedArea) {
    add({0, 0, 200, 100}, kMouseHandled, "all")->color = kColorRed;
    COffscreenSurface surface(nullptr, 200, 100, kColorBlack);
    frame.paint(surface, {10, 10, 20, 20});
    const CBitmap& out = *surface.getBitmap();
    EXPECT_TRUE(pixelIs(out, 10, 10, kColorRed));
    EXPECT_TRUE(pixelIs(out, 19, 19, kColorRed));
    EXPECT_TRUE(pixelIs(out, 20, 20, kColorBlack));
    EXPECT_TRUE(pixelIs(out, 9, 9, kColorBlack));
}

TEST_F(FrameRedrawTest, FrameClipsViewsReachingBeyondIt) {
    add({190, 0, 212, 10}, kMouseHandled, "wide")->color = kColorRed;
    COffscreenSurface surface(nullptr, 220, 100, kColorBlack);
    frame.paint(surface, {0, 0, 220, 100});
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 199, 5, kColorRed));
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 200, 5, kColorBlack));
}

TEST(FrameOpenTest, NullParentFailsCleanly) {
    CFrame frame({0, 0, 10, 10}, nullptr);
    EXPECT_FALSE(frame.open(nullptr));
    EXPECT_FALSE(frame.isOpen());
    frame.idle();
}

TEST(FrameEditorTest, KnobModeAndEditsComeFromTheEditor) {
    Recorder recorder;
    recorder.knobMode = kCircularMode;
    CFrame frame({0, 0, 10, 10}, &recorder);
    EXPECT_EQ(frame.getKnobMode(), kCircularMode);
    frame.beginEdit(3);
    frame.endEdit(3);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"frameBegin 3", "frameEnd 3"}));
    CFrame alone({0, 0, 10, 10}, nullptr);
    EXPECT_EQ(alone.getKnobMode(), kLinearMode);
}
