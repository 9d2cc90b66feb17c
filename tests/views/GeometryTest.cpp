#include "views/CGeometry.h"

#include <gtest/gtest.h>

TEST(CRectTest, SizeIsRightMinusLeftAndBottomMinusTop) {
    const CRect r{107, 48, 177, 118};
    EXPECT_EQ(r.width(), 70);
    EXPECT_EQ(r.height(), 70);
}

TEST(CRectTest, NormalizeSwapsReversedEdges) {
    CRect r{10, 20, 2, 5};
    r.normalize();
    EXPECT_EQ(r, (CRect{2, 5, 10, 20}));
}

TEST(CRectTest, OffsetMovesAllEdges) {
    CRect r{1, 2, 3, 4};
    r.offset(10, -2);
    EXPECT_EQ(r, (CRect{11, 0, 13, 2}));
}

TEST(CRectTest, IntersectKeepsCommonPartAndEmptiesDisjointRects) {
    CRect r{0, 0, 10, 10};
    r.intersect({5, -5, 20, 7});
    EXPECT_EQ(r, (CRect{5, 0, 10, 7}));
    CRect apart{0, 0, 10, 10};
    apart.intersect({20, 20, 30, 30});
    EXPECT_TRUE(apart.isEmpty());
}

TEST(CRectTest, PointInsideIncludesAllFourEdges) {
    const CRect r{10, 20, 30, 40};
    struct Case {
        CPoint p;
        bool inside;
    };
    const Case cases[] = {{{10, 20}, true},  {{30, 40}, true}, {{30, 20}, true},
                          {{20, 30}, true},  {{9, 20}, false}, {{31, 30}, false},
                          {{20, 19}, false}, {{20, 41}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(r.pointInside(c.p), c.inside) << c.p.h << "," << c.p.v;
}

TEST(CRectTest, OverlapNeedsACommonPixel) {
    const CRect r{0, 0, 10, 10};
    EXPECT_TRUE(r.overlaps({9, 9, 12, 12}));
    EXPECT_FALSE(r.overlaps({10, 0, 12, 10}));
}

TEST(CRectTest, UniteIgnoresEmptyRects) {
    CRect r;
    r.unite({2, 2, 4, 4}).unite({}).unite({0, 3, 1, 8});
    EXPECT_EQ(r, (CRect{0, 2, 4, 8}));
}
