#include "model/active_stage.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

ConfigBlock stages_enabled(std::initializer_list<bool> enabled) {
    ConfigBlock block;
    std::size_t stage = 0;
    for (const bool on : enabled) {
        block.set_stage_enabled(stage++, on);
    }
    return block;
}

TEST(ActiveStage, TheNearestEnabledShownStageTheLowerOfTwo) {
    const ConfigBlock block = stages_enabled({true, true, false, true, true, false, false, true});
    EXPECT_EQ(std::optional<std::size_t>(1), usable_stage_near(block, 1, 8)) << "usable as it is";
    EXPECT_EQ(std::optional<std::size_t>(1), usable_stage_near(block, 2, 8)) << "1 and 3: lower";
    EXPECT_EQ(std::optional<std::size_t>(4), usable_stage_near(block, 5, 8));
    EXPECT_EQ(std::optional<std::size_t>(7), usable_stage_near(block, 6, 8));
    EXPECT_EQ(std::optional<std::size_t>(4), usable_stage_near(block, 7, 5)) << "7 is hidden";
    EXPECT_EQ(std::optional<std::size_t>(1), usable_stage_near(block, 7, 3));
}

TEST(ActiveStage, NothingWhenNoShownStageIsEnabled) {
    const ConfigBlock block = stages_enabled({false, false, false, true});
    EXPECT_EQ(std::nullopt, usable_stage_near(block, 0, 3));
    EXPECT_EQ(std::nullopt, usable_stage_near(block, 3, 0));
    EXPECT_EQ(std::optional<std::size_t>(3), usable_stage_near(block, 0, 4));
}

} // namespace
} // namespace zemrak
