#include "recoil/bullet_rules.h"

#include <cstdint>
#include <limits>
#include <set>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(BulletRules, EachButtonStepsItsOwnValueOneWay) {
    EXPECT_EQ(11, press_bullet_button(BulletButton::DelayUp, 10));
    EXPECT_EQ(9, press_bullet_button(BulletButton::DelayDown, 10))
        << "buttons go below the typing minimum";
    EXPECT_EQ(6, press_bullet_button(BulletButton::YUp, 5));
    EXPECT_EQ(4, press_bullet_button(BulletButton::YDown, 5));
    // The x buttons are named the other way round from what they do.
    EXPECT_EQ(6, press_bullet_button(BulletButton::XDown, 5));
    EXPECT_EQ(4, press_bullet_button(BulletButton::XUp, 5));

    EXPECT_EQ(BulletField::Delay, button_field(BulletButton::DelayUp));
    EXPECT_EQ(BulletField::Delay, button_field(BulletButton::DelayDown));
    EXPECT_EQ(BulletField::X, button_field(BulletButton::XUp));
    EXPECT_EQ(BulletField::X, button_field(BulletButton::XDown));
    EXPECT_EQ(BulletField::Y, button_field(BulletButton::YUp));
    EXPECT_EQ(BulletField::Y, button_field(BulletButton::YDown));

    // Every value has one button that adds and one that takes away.
    for (const BulletField field : kBulletFields) {
        std::multiset<int> steps;
        for (const BulletButton button : kBulletButtons) {
            if (button_field(button) == field) {
                steps.insert(button_step(button));
            }
        }
        EXPECT_EQ((std::multiset<int>{-1, 1}), steps);
    }
}

TEST(BulletRules, ButtonsIgnoreTheTypingLimitsButKeepADelayStorable) {
    EXPECT_EQ(128, press_bullet_button(BulletButton::XDown, 127));
    EXPECT_EQ(-128, press_bullet_button(BulletButton::YDown, -127));
    EXPECT_EQ(1271, press_bullet_button(BulletButton::DelayUp, 1270));

    EXPECT_EQ(1, press_bullet_button(BulletButton::DelayDown, 1)) << "never below 1";
    EXPECT_EQ(1, press_bullet_button(BulletButton::DelayDown, 0));
    EXPECT_EQ(1, press_bullet_button(BulletButton::DelayDown, -40));
    EXPECT_EQ(65535, press_bullet_button(BulletButton::DelayUp, 65535)) << "16 bits";
    EXPECT_EQ(65535, press_bullet_button(BulletButton::DelayDown, 70000));

    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(kMax, press_bullet_button(BulletButton::XDown, kMax));
    EXPECT_EQ(kMin, press_bullet_button(BulletButton::YDown, kMin));
    EXPECT_EQ(kMax - 1, press_bullet_button(BulletButton::XUp, kMax));
}

TEST(BulletRules, TypingHoldsMovementsAndDelaysWithinTheirOwnLimits) {
    for (const BulletField move : {BulletField::X, BulletField::Y}) {
        const HeldNumber far = hold_number_text(u"300", typed_limits(move));
        EXPECT_EQ(127, far.value);
        EXPECT_EQ(u"127", far.rewrite);
        EXPECT_EQ(u"-127", hold_number_text(u"-128", typed_limits(move)).rewrite);
        EXPECT_FALSE(hold_number_text(u"-127", typed_limits(move)).rewrite.has_value());
    }
    const NumberLimits delay = typed_limits(BulletField::Delay);
    const HeldNumber short_delay = hold_number_text(u"5", delay);
    EXPECT_EQ(10, short_delay.value);
    EXPECT_EQ(u"10", short_delay.rewrite);
    const HeldNumber long_delay = hold_number_text(u"2000", delay);
    EXPECT_EQ(1270, long_delay.value);
    EXPECT_EQ(u"1270", long_delay.rewrite);
    EXPECT_FALSE(hold_number_text(u"100", delay).rewrite.has_value());
}

TEST(BulletRules, ValuesGoToTheirOwnFieldOfTheBullet) {
    Bullet bullet{1, 2, 3};
    set_bullet_value(bullet, BulletField::X, -128);
    EXPECT_EQ((Bullet{-128, 2, 3}), bullet);
    set_bullet_value(bullet, BulletField::Y, 500);
    EXPECT_EQ((Bullet{-128, 500, 3}), bullet);
    set_bullet_value(bullet, BulletField::Delay, 1271);
    EXPECT_EQ((Bullet{-128, 500, 1271}), bullet);
    EXPECT_EQ(-128, bullet_value(bullet, BulletField::X));
    EXPECT_EQ(500, bullet_value(bullet, BulletField::Y));
    EXPECT_EQ(1271, bullet_value(bullet, BulletField::Delay));

    // A delay is 16 bits: what does not fit is held at the nearer end, not wrapped.
    set_bullet_value(bullet, BulletField::Delay, 65536);
    EXPECT_EQ(65535, bullet.delay);
    set_bullet_value(bullet, BulletField::Delay, -1);
    EXPECT_EQ(0, bullet.delay);
}

} // namespace
} // namespace zemrak
