#include "CustomViewsTestSupport.h"
#include "views/CFrame.h"
#include "views/FrameSnapshot.h"
#include "widgets/CCompMeter.h"
#include "widgets/CScala.h"
#include "widgets/CTransferFunction.h"
#include "widgets/LevelMeter.h"

#include <gtest/gtest.h>

namespace {

// The graph area as the editor lays it out, in the editor's order.
const CRect kGrMeter{544, 57, 574, 187};
const CRect kScMeter{509, 57, 519, 187};
const CRect kScale{521, 52, 544, 187};
const CRect kGraph{374, 57, 504, 187};
constexpr CColor kBorder{66, 66, 66, 255};

struct MeterBlock {
    MeterBlock() : frame({0, 0, 690, 270}, &recorder) {
        grMeter = new CCompMeter(kGrMeter, &recorder, 502);
        scMeter = new LevelMeter(kScMeter, &recorder, 502);
        scale = new CScala(&recorder, kScale, 18);
        graph = new CTransferFunction(kGraph, &recorder, 18);
        grMeter->setValue(0.0f);
        scMeter->setValue(0.0f);
        for (CView* view : {static_cast<CView*>(grMeter), static_cast<CView*>(scMeter),
                            static_cast<CView*>(scale), static_cast<CView*>(graph)})
            frame.addView(view);
    }
    bool inAnyView(int32_t x, int32_t y) const {
        for (const CRect& r : {kGrMeter, kScMeter, kScale, kGraph})
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    }

    Recorder recorder;
    CFrame frame;
    CCompMeter* grMeter;
    LevelMeter* scMeter;
    CScala* scale;
    CTransferFunction* graph;
};

} // namespace

TEST(MeterBlockTest, EachViewDrawsInsideItsOwnRectangle) {
    MeterBlock block;
    block.grMeter->setValue(3.0f);
    block.scMeter->secondLevelDb = -20.0f;
    const SharedRef<CBitmap> image = renderFrame(block.frame);
    for (int32_t y = 40; y < 200; ++y)
        for (int32_t x = 360; x < 590; ++x)
            if (!block.inAnyView(x, y)) {
                ASSERT_TRUE(pixelIs(*image, x, y, kColorBlack)) << x << "," << y;
            }
    // Neighbours meet without covering each other: the scale's ticks stop at x = 543, the
    // gain-reduction meter's ring starts at x = 544.
    EXPECT_TRUE(pixelIs(*image, 543, 52 + 7, kBorder));
    EXPECT_TRUE(pixelIs(*image, 544, 52 + 7, kBorder));
    EXPECT_TRUE(pixelIs(*image, 548, 57 + 20, {0, 204, 255, 255})); // 3 units: rows 2..31
    EXPECT_TRUE(pixelIs(*image, 548, 57 + 40, kColorBlack));
    EXPECT_TRUE(pixelIs(*image, 513, 57 + 50, {51, 215, 255, 255})); // level B from row 40
    EXPECT_TRUE(pixelIs(*image, 374 + 60, 57, kBorder));
}

TEST(MeterBlockTest, PaintCleansTheViewsAndMarkingDirtyAsksForAnother) {
    MeterBlock block;
    EXPECT_TRUE(block.frame.isDirty()); // new controls count as changed
    renderFrame(block.frame);
    EXPECT_FALSE(block.frame.isDirty());
    block.grMeter->holdValue = 2.0; // a field alone does not ask for a redraw...
    EXPECT_FALSE(block.grMeter->isDirty());
    block.grMeter->setDirty(true); // ...the editor marks the meter on every tick
    EXPECT_TRUE(block.grMeter->isDirty());
    block.scMeter->setValue(-12.0f); // a value change does by itself
    EXPECT_TRUE(block.scMeter->isDirty());
    renderFrame(block.frame);
    EXPECT_FALSE(block.frame.isDirty());
}

TEST(MeterBlockTest, ClickOverTheGainReductionMeterStepsTheScale) {
    MeterBlock block;
    EXPECT_EQ(block.frame.onMouseDown({560, 100}, kButtonLeft), kMouseHandled);
    EXPECT_FLOAT_EQ(block.scale->getValue(), 0.25f);
    // The meters and the graph take no input.
    EXPECT_EQ(block.frame.onMouseDown({400, 100}, kButtonLeft), kMouseNotImplemented);
    EXPECT_FLOAT_EQ(block.scale->getValue(), 0.25f);
}
