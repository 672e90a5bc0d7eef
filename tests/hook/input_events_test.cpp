#include "input_events.h"
#include "platform/evdev_keys.h"

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace zemrak::hook {
namespace {

TEST(WheelNotches, AHighResolutionWheelIsCountedFromItsOwnAxisOnly) {
    WheelNotches wheel(true);
    // The kernel reports one notch twice, on both axes: it is counted once.
    EXPECT_EQ(0U, wheel.add(REL_WHEEL, 1));
    EXPECT_EQ(1U, wheel.add(REL_WHEEL_HI_RES, 120));
    EXPECT_EQ(0U, wheel.add(REL_WHEEL, -3));
    EXPECT_EQ(3U, wheel.add(REL_WHEEL_HI_RES, -360));
    // A wheel of eight steps a notch: the notch completes with the eighth step.
    for (int step = 1; step < 8; ++step) {
        EXPECT_EQ(0U, wheel.add(REL_WHEEL_HI_RES, 15)) << "step " << step;
    }
    EXPECT_EQ(1U, wheel.add(REL_WHEEL_HI_RES, 15));
    // What is left over carries on in the same direction...
    EXPECT_EQ(0U, wheel.add(REL_WHEEL_HI_RES, 100));
    EXPECT_EQ(1U, wheel.add(REL_WHEEL_HI_RES, 100));
    // ...but a turn the other way starts from nothing.
    EXPECT_EQ(0U, wheel.add(REL_WHEEL_HI_RES, -60));
    EXPECT_EQ(1U, wheel.add(REL_WHEEL_HI_RES, -60));
    EXPECT_EQ(0U, wheel.add(REL_HWHEEL_HI_RES, 240)) << "the horizontal wheel is not counted";
}

TEST(WheelNotches, AWheelWithoutHighResolutionGivesOneNotchAUnit) {
    WheelNotches wheel(false);
    EXPECT_EQ(1U, wheel.add(REL_WHEEL, 1));
    EXPECT_EQ(2U, wheel.add(REL_WHEEL, -2));
    EXPECT_EQ(0U, wheel.add(REL_HWHEEL, 1));
    EXPECT_EQ(0U, wheel.add(REL_X, 5));
}

TEST(EventTranslator, RepeatsAreKeyDownsButNeverButtonPresses) {
    EventTranslator translator(true);
    std::vector<HookMessage> out;
    translator.translate(EV_KEY, KEY_A, 1, out);
    translator.translate(EV_KEY, KEY_A, 2, out);
    translator.translate(EV_KEY, KEY_A, 0, out);
    // A device with keys and buttons under the kernel's auto-repeat repeats buttons too.
    translator.translate(EV_KEY, BTN_EXTRA, 1, out);
    translator.translate(EV_KEY, BTN_EXTRA, 2, out);
    translator.translate(EV_KEY, BTN_EXTRA, 0, out);
    translator.translate(EV_KEY, BTN_TOUCH, 1, out); // no message of its own
    translator.translate(EV_REL, REL_WHEEL, 1, out);
    translator.translate(EV_REL, REL_WHEEL_HI_RES, 240, out);
    const std::vector<HookMessage> expected = {
        {kKeyboardMessage, 0x41, 0},
        {kKeyboardMessage, 0x41, 0},
        {kKeyboardMessage, 0x41, 1},
        {kMouseMessage, kSideDown, kForwardButton},
        {kMouseMessage, kSideUp, kForwardButton},
        {kMouseMessage, kWheel, 0},
        {kMouseMessage, kWheel, 0},
    };
    EXPECT_EQ(expected, out);
}

} // namespace
} // namespace zemrak::hook
