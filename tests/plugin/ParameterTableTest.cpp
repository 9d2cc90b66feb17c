// The parameter table itself: order, names and kinds as hosts and the editor see them.
#include "plugin/ParameterTable.h"

#include "ExpectedParameterNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ParameterTable, RowsAreInIndexOrderWithTheirFullNames) {
    ASSERT_EQ(kParameters.size(), 21u);
    for (int i = 0; i < kNumParameters; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kParameters[static_cast<std::size_t>(i)].index, i);
        EXPECT_EQ(std::string(kParameters[static_cast<std::size_t>(i)].name),
                  kExpectedParameterNames[i]);
    }
}

TEST(ParameterTable, KindsOfTheSwitchesAndUnusedSlots) {
    for (int i : {kHfHarmonics, kLfHarmonics, kDelta, kBypass, kScPreview})
        EXPECT_EQ(kParameters[static_cast<std::size_t>(i)].kind, ParameterKind::onOff) << i;
    EXPECT_EQ(kParameters[kScFilterType].kind, ParameterKind::threeWaySwitch);
    EXPECT_EQ(kParameters[kMeterScale].kind, ParameterKind::fourWaySwitch);
    EXPECT_EQ(kParameters[kUnused19].kind, ParameterKind::noFunction);
    EXPECT_EQ(kParameters[kUnused20].kind, ParameterKind::noFunction);
}

TEST(ParameterTable, IndexRange) {
    EXPECT_TRUE(isParameterIndex(0));
    EXPECT_TRUE(isParameterIndex(20));
    EXPECT_FALSE(isParameterIndex(21));
    EXPECT_FALSE(isParameterIndex(-1));
    EXPECT_FALSE(isParameterIndex(500));
}

} // namespace
