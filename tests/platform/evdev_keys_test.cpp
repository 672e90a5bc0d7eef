#include "model/key_tables.h"
#include "platform/evdev_keys.h"

#include <linux/input-event-codes.h>
#include <set>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(EvdevKeys, PhysicalKeysGiveTheVirtualKeysOfAUsKeyboard) {
    const std::pair<std::uint16_t, std::uint32_t> expected[] = {
        {KEY_A, 0x41},         {KEY_Q, 0x51},         {KEY_1, 0x31},          {KEY_F5, 0x74},
        {KEY_ENTER, 0x0D},     {KEY_LEFTSHIFT, 0xA0}, {KEY_RIGHTSHIFT, 0xA1}, {KEY_LEFTCTRL, 0xA2},
        {KEY_RIGHTCTRL, 0xA3}, {KEY_LEFTALT, 0xA4},   {KEY_RIGHTALT, 0xA5},   {KEY_LEFTMETA, 0x5B},
        {KEY_RIGHTMETA, 0x5C}, {KEY_COMPOSE, 0x5D},   {KEY_UP, 0x26},         {KEY_KP1, 0x61},
        {KEY_KPENTER, 0x0D},   {KEY_SYSRQ, 0x2C},     {KEY_102ND, 0xE2},
    };
    for (const auto& [code, virtual_key] : expected) {
        EXPECT_EQ(virtual_key, virtual_key_from_evdev(code)) << "evdev code " << code;
    }
    EXPECT_FALSE(virtual_key_from_evdev(KEY_RESERVED).has_value());
    EXPECT_FALSE(virtual_key_from_evdev(BTN_LEFT).has_value()) << "buttons are not keys";
}

TEST(EvdevKeys, EveryKeyboardRowOfTheKeyTableIsReachedAndStoresItsOwnPosition) {
    std::set<std::uint32_t> reached;
    for (std::uint16_t code = 0; code <= KEY_MAX; ++code) {
        if (const auto virtual_key = virtual_key_from_evdev(code)) {
            reached.insert(*virtual_key);
        }
    }
    const TableKeyboardLayout us;
    for (const VirtualKeyRow& row : virtual_key_table()) {
        // F0..F8 stand for the mouse; they come from the mouse messages, not from a key.
        if (row.virtual_key >= 0xF0 && row.virtual_key <= 0xF8) {
            continue;
        }
        EXPECT_TRUE(reached.contains(row.virtual_key))
            << std::hex << "virtual key " << row.virtual_key;
    }
    // Through the US layout a key is stored as its physical position: Q stays Q.
    EXPECT_EQ(20, usage_from_virtual_key(*virtual_key_from_evdev(KEY_Q), us).usage);
    EXPECT_EQ(89, usage_from_virtual_key(*virtual_key_from_evdev(KEY_KP1), us).usage);
}

TEST(EvdevKeys, MouseButtonsGiveTheirMessagesAndSideButtonsTheirNumber) {
    const auto message = [](std::uint16_t code, bool pressed) {
        const auto m = mouse_button_message(code, pressed);
        return m ? std::pair(m->message, m->detail) : std::pair(0UL, -1L);
    };
    EXPECT_EQ(std::pair(513UL, 0L), message(BTN_LEFT, true));
    EXPECT_EQ(std::pair(514UL, 0L), message(BTN_LEFT, false));
    EXPECT_EQ(std::pair(516UL, 0L), message(BTN_RIGHT, true));
    EXPECT_EQ(std::pair(517UL, 0L), message(BTN_RIGHT, false));
    EXPECT_EQ(std::pair(519UL, 0L), message(BTN_MIDDLE, true));
    EXPECT_EQ(std::pair(520UL, 0L), message(BTN_MIDDLE, false));
    EXPECT_EQ(std::pair(523UL, 1L), message(BTN_SIDE, true));
    EXPECT_EQ(std::pair(524UL, 1L), message(BTN_SIDE, false));
    EXPECT_EQ(std::pair(523UL, 2L), message(BTN_EXTRA, true));
    EXPECT_EQ(std::pair(524UL, 2L), message(BTN_EXTRA, false));
    EXPECT_EQ(std::pair(0UL, -1L), message(BTN_TASK, true));
}

} // namespace
} // namespace zemrak
