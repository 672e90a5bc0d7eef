#include "model/button_assignment.h"
#include "model/button_functions.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

constexpr std::uint8_t kOff = 0;
constexpr std::uint8_t kMenu = 2;
constexpr std::uint8_t kForward = 4;

ConfigBlock defaults() {
    ConfigBlock block;
    fill_defaults(block, kSensor3327);
    return block;
}

// Every record of the mode of `first` (0 or 16) off, then the given records set.
void set_mode(ConfigBlock& block, std::size_t first,
              std::initializer_list<std::pair<std::size_t, std::uint8_t>> codes) {
    for (std::size_t i = first; i < first + ConfigBlock::kButtonsPerMode; ++i) {
        block.button(i).set_function_code(kOff);
    }
    for (const auto& [record, code] : codes) {
        block.button(record).set_function_code(code);
    }
}

TEST(ButtonAssignment, TheOfficeLeftButtonIsFixedAndItsGameTwinIsNot) {
    const ConfigBlock block = defaults();
    EXPECT_EQ(AssignmentRefusal::fixed_button, check_assignment(block, 0, kClickFunction));
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 16, kClickFunction));
    // By default it is the game mode's only button that fires.
    EXPECT_EQ(AssignmentRefusal::no_left_click, check_assignment(block, 16, kMenu));
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 1, kOff));
    EXPECT_EQ("no_custom_text", refusal_text_key(AssignmentRefusal::fixed_button));
    EXPECT_EQ("one_left_click_text", refusal_text_key(AssignmentRefusal::no_left_click));
    EXPECT_EQ("", refusal_text_key(AssignmentRefusal::none));
}

TEST(ButtonAssignment, OfficeModeMustKeepAClickAmongItsFirstFourteenButtons) {
    ConfigBlock block = defaults();
    // A stored profile whose office left button was changed elsewhere; the wheel's records
    // 14 and 15 click, which does not keep the mode usable.
    set_mode(block, 0, {{0, kMenu}, {3, kClickFunction}, {14, kClickFunction}, {15, 25}});
    EXPECT_EQ(AssignmentRefusal::no_left_click, check_assignment(block, 3, kForward));
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 3, kSendGunFunction))
        << "fire counts as much as a click";
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 3, kClickFunction));
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 5, kForward));
    block.button(13).set_function_code(kSendGunFunction);
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 3, kForward));
    // The game mode is not the office mode's concern.
    set_mode(block, 16, {});
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 7, kOff));
}

TEST(ButtonAssignment, GameModeCountsAllSixteenButtons) {
    ConfigBlock block = defaults();
    set_mode(block, 16, {{31, kClickFunction}});
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 16, kMenu));
    EXPECT_EQ(AssignmentRefusal::no_left_click, check_assignment(block, 31, kForward));
    block.button(30).set_function_code(kSendGunFunction);
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 31, kForward));
    // The office mode is not the game mode's concern.
    set_mode(block, 0, {{0, kMenu}});
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 31, kForward));
}

TEST(ButtonAssignment, ModeSwitchOnAnOfficeButtonGoesOnItsGameTwinToo) {
    ConfigBlock block = defaults();
    block.button(20).set_macro_index(3);
    block.button(20).set_function_code(kMacroFunction);
    EXPECT_EQ(20u, store_function(block, 4, kModeSwitchFunction));
    EXPECT_EQ(kModeSwitchFunction, block.button(4).function_code());
    EXPECT_EQ(kModeSwitchFunction, block.button(20).function_code());
    EXPECT_EQ(-1, block.button(20).macro_index()) << "the twin no longer plays its macro";

    // On a game button it stays there.
    EXPECT_EQ(21u, store_function(block, 21, kModeSwitchFunction));
    EXPECT_EQ(default_function_code(5), block.button(5).function_code());
    EXPECT_EQ(22u, store_function(block, 22, kForward));

    // Nor may the twin take the game mode's last click.
    set_mode(block, 16, {{18, kSendGunFunction}});
    EXPECT_EQ(AssignmentRefusal::no_left_click, check_assignment(block, 2, kModeSwitchFunction));
    EXPECT_EQ(AssignmentRefusal::none, check_assignment(block, 3, kModeSwitchFunction));
}

TEST(ButtonAssignment, AButtonKeepsALibraryPositionOnlyWhileItPlaysThatLibrarysItem) {
    ConfigBlock block = defaults();
    ButtonRecord& button = block.button(6);
    button.set_macro_index(2);
    button.set_recoil_index(5);
    button.set_function_code(kMacroFunction);
    settle_references(button);
    EXPECT_EQ(2, button.macro_index());
    EXPECT_EQ(-1, button.recoil_index());

    store_function(block, 6, kForward);
    EXPECT_EQ(-1, button.macro_index());

    button.set_recoil_index(1);
    button.set_function_code(kRecoilFunction);
    assign_shortcut(block, 6, ButtonRecord::kCtrl | ButtonRecord::kAlt, 0x04);
    EXPECT_EQ(kShortcutFunction, button.function_code());
    EXPECT_EQ(ButtonRecord::kCtrl | ButtonRecord::kAlt, button.shortcut_modifiers());
    EXPECT_EQ(0x04, button.shortcut_key());
    EXPECT_EQ(-1, button.recoil_index());
}

TEST(ButtonAssignment, AShortcutStartsEmptyUnlessTheButtonHasOne) {
    ConfigBlock block = defaults();
    ButtonRecord& button = block.button(3);
    button.set_shortcut_modifiers(ButtonRecord::kShift);
    button.set_shortcut_key(0x1D);
    prepare_shortcut(block, 3);
    EXPECT_EQ(0, button.shortcut_modifiers());
    EXPECT_EQ(0, button.shortcut_key());

    assign_shortcut(block, 3, ButtonRecord::kWin, 0x2C);
    prepare_shortcut(block, 3);
    EXPECT_EQ(ButtonRecord::kWin, button.shortcut_modifiers());
    EXPECT_EQ(0x2C, button.shortcut_key());
}

TEST(ButtonAssignment, AtMostTwoMacroButtonsOverBothModesAndARepickIsNotCounted) {
    ConfigBlock block = defaults();
    for (const std::size_t record : {5u, 25u}) {
        block.button(record).set_function_code(kMacroFunction);
        block.button(record).set_macro_index(static_cast<std::int32_t>(record));
        block.button(record).set_repeat_mode(2);
    }
    ButtonRecord& third = block.button(7);
    third.set_macro_index(9);
    third.set_repeat_mode(1);
    EXPECT_FALSE(prepare_macro(block, 7));
    // What the record held for a macro it does not play is reset all the same.
    EXPECT_EQ(-1, third.macro_index());
    EXPECT_EQ(0, third.repeat_mode());
    EXPECT_EQ(default_function_code(7), third.function_code());

    // A macro button picking again keeps its macro and its repeat mode as the start.
    EXPECT_TRUE(prepare_macro(block, 25));
    EXPECT_EQ(25, block.button(25).macro_index());
    EXPECT_EQ(2, block.button(25).repeat_mode());

    block.button(5).set_function_code(kForward);
    EXPECT_EQ(1u, count_function(block, kMacroFunction));
    EXPECT_TRUE(prepare_macro(block, 7));
}

TEST(ButtonAssignment, AtMostThreeRecoilButtonsAndANewOneStartsRed) {
    ConfigBlock block = defaults();
    for (const std::size_t record : {1u, 17u, 30u}) {
        ButtonRecord& button = block.button(record);
        button.set_function_code(kRecoilFunction);
        button.set_recoil_index(4);
        button.set_recoil_colour(0x00123456u);
        button.set_repeat_mode(1);
    }
    ButtonRecord& fourth = block.button(2);
    fourth.set_recoil_index(3);
    fourth.set_recoil_colour(0x00FFFFFFu);
    fourth.set_repeat_mode(2);
    EXPECT_FALSE(prepare_recoil(block, 2));
    EXPECT_EQ(-1, fourth.recoil_index());
    EXPECT_EQ(0, fourth.repeat_mode());
    EXPECT_EQ(kNewRecoilColour, fourth.recoil_colour());

    EXPECT_TRUE(prepare_recoil(block, 17));
    EXPECT_EQ(4, block.button(17).recoil_index());
    EXPECT_EQ(0x00123456u, block.button(17).recoil_colour());
    EXPECT_EQ(1, block.button(17).repeat_mode());

    block.button(30).set_function_code(kOff);
    EXPECT_TRUE(prepare_recoil(block, 2));
}

} // namespace
} // namespace zemrak
