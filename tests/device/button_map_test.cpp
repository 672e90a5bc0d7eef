#include "device/button_map.h"
#include "model/button_functions.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

ConfigBlock default_profile() {
    ConfigBlock block;
    fill_defaults(block, kSensor3050);
    return block;
}

MacroAction make_action(std::uint8_t kind, std::uint16_t delay, std::uint8_t code = 0,
                        std::int32_t dx = 0, std::int32_t dy = 0) {
    MacroAction action;
    action.set_kind(kind);
    action.set_delay(delay);
    action.set_code(code);
    action.set_move_x(dx);
    action.set_move_y(dy);
    return action;
}

ButtonRecord macro_record(std::int32_t loops, const std::vector<MacroAction>& actions) {
    ButtonRecord record;
    record.set_function_code(kMacroFunction);
    record.set_loop_count(loops);
    record.set_action_count(static_cast<std::uint16_t>(actions.size()));
    for (std::size_t slot = 0; slot < actions.size(); ++slot) {
        record.set_action(slot, actions[slot]);
    }
    return record;
}

// A page whose first bytes are the given ones and the rest zero.
Payload page_of(std::initializer_list<std::uint8_t> bytes) {
    Payload page{};
    std::ranges::copy(bytes, page.begin());
    return page;
}

TEST(ButtonMap, DefaultProfileHasNoMacroPages) {
    const ButtonMapEncoding encoding = encode_button_map(default_profile());
    const ButtonMap expected = {
        0xF0, 0x00, 0xF1, 0x00, 0xF2, 0x00, 0xF4, 0x00, 0xF3, 0x00, 0x03,
        0x03, 0x04, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x00, 0xE9, 0x00,
    };
    EXPECT_EQ(expected, encoding.map);
    EXPECT_TRUE(encoding.macro_pages.empty());
}

TEST(ButtonMap, FunctionCodesTurnIntoKeyAndKindBytes) {
    // The last ones do nothing on the mouse: button off, recoil and mode functions, unknown
    // codes.
    const std::vector<std::pair<std::uint8_t, std::pair<std::uint8_t, std::uint8_t>>> cases = {
        {9, {0xF0, 0x82}},  {18, {0xF0, 0x83}},  {74, {0x00, 0x03}},  {113, {0x00, 0x07}},
        {0, {0x00, 0x00}},  {24, {0x00, 0x00}},  {25, {0x00, 0x00}},  {76, {0x00, 0x00}},
        {15, {0x00, 0x00}}, {121, {0x00, 0x00}}, {255, {0x00, 0x00}},
    };
    for (const auto& [code, bytes] : cases) {
        ConfigBlock block = default_profile();
        block.button(15).set_function_code(code);
        const ButtonMap map = encode_button_map(block).map;
        EXPECT_EQ(bytes.first, map[30]) << "key byte of code " << int{code};
        EXPECT_EQ(bytes.second, map[31]) << "kind byte of code " << int{code};
    }
}

TEST(ButtonMap, ShortcutSendsItsKey) {
    ConfigBlock block = default_profile();
    block.button(2).set_function_code(kShortcutFunction);
    block.button(2).set_shortcut_key(0x1D);
    block.button(2).set_shortcut_modifiers(ButtonRecord::kCtrl);
    const ButtonMap map = encode_button_map(block).map;
    EXPECT_EQ(0x1D, map[4]);
    EXPECT_EQ(0x00, map[5]);
}

TEST(ButtonMap, TwoMacroButtonsGetPagesInRecordOrder) {
    ConfigBlock block = default_profile();
    block.button(9) = macro_record(7, {make_action(MacroAction::Press, 10, 0x05)});
    block.button(9).set_repeat_mode(0x102);
    block.button(3) = macro_record(3, {make_action(MacroAction::Press, 10, 0x04)});
    block.button(3).set_repeat_mode(1);

    const ButtonMapEncoding encoding = encode_button_map(block);
    EXPECT_EQ(0x01, encoding.map[6]);
    EXPECT_EQ(kFirstMacroKind, encoding.map[7]);
    EXPECT_EQ(0x02, encoding.map[18]);
    EXPECT_EQ(kLaterMacroKind, encoding.map[19]);
    ASSERT_EQ(2u, encoding.macro_pages.size());
    EXPECT_EQ(page_of({0x00, 0x03, 0x05, 0x04}), encoding.macro_pages[0]);
    EXPECT_EQ(page_of({0x00, 0x07, 0x05, 0x05}), encoding.macro_pages[1]);
}

TEST(ButtonMap, MacroButtonsAfterTheSecondGetTheirDefaultFunctionAndNoPage) {
    ConfigBlock block = default_profile();
    for (const std::size_t record : {1U, 3U, 5U, 9U}) {
        block.button(record) = macro_record(1, {make_action(MacroAction::Press, 10, 0x04)});
    }
    const ButtonMapEncoding encoding = encode_button_map(block);
    EXPECT_EQ(2u, encoding.macro_pages.size()) << "a third page would be announced as 0x04";
    EXPECT_EQ(kFirstMacroKind, encoding.map[3]);
    EXPECT_EQ(kLaterMacroKind, encoding.map[7]);
    // Record 5's default is "dpi_up", record 9's is no function at all.
    EXPECT_EQ(0x03, encoding.map[10]);
    EXPECT_EQ(0x03, encoding.map[11]);
    EXPECT_EQ(0x00, encoding.map[18]);
    EXPECT_EQ(0x00, encoding.map[19]);
}

TEST(ButtonMap, EmptyMacroStillGetsAZeroPage) {
    ConfigBlock block = default_profile();
    block.button(0) = macro_record(5, {});
    const ButtonMapEncoding encoding = encode_button_map(block);
    ASSERT_EQ(1u, encoding.macro_pages.size());
    EXPECT_EQ(Payload{}, encoding.macro_pages[0]);
}

TEST(ButtonMap, GameModeRecordsStayOffTheMouse) {
    ConfigBlock block = default_profile();
    const ButtonMap office_only = encode_button_map(block).map;
    block.button(16) = macro_record(1, {make_action(MacroAction::Press, 10, 0x04)});
    block.button(31).set_function_code(1);
    const ButtonMapEncoding encoding = encode_button_map(block);
    EXPECT_EQ(office_only, encoding.map);
    EXPECT_TRUE(encoding.macro_pages.empty());
}

TEST(MacroPage, ShortPressAndRelease) {
    const ButtonRecord record = macro_record(3, {make_action(MacroAction::Press, 10, 0x04),
                                                 make_action(MacroAction::Release, 10, 0x04)});
    EXPECT_EQ(page_of({0x00, 0x03, 0x05, 0x04, 0x85, 0x04}), encode_macro_page(record));
}

TEST(MacroPage, LoopCountGoesHighByteFirst) {
    const ButtonRecord record = macro_record(0x10203, {make_action(MacroAction::Press, 0, 0x04)});
    EXPECT_EQ(page_of({0x02, 0x03, 0x01, 0x04}), encode_macro_page(record));
}

TEST(MacroPage, ShortDelaysUpTo254) {
    const ButtonRecord record =
        macro_record(1, {make_action(MacroAction::Move, 254, 0, 5, -128),
                         make_action(MacroAction::Press, 254, 0x2C),
                         make_action(MacroAction::Release, 253, 0x2C), make_action(7, 41, 0x09)});
    EXPECT_EQ(page_of({0x00, 0x01, 0x7F, 0xFA, 0x05, 0x80, 0x7F, 0x2C, 0xFF, 0x2C, 0x14, 0x09}),
              encode_macro_page(record));
}

TEST(MacroPage, LongDelaysAddADelayItem) {
    const ButtonRecord record =
        macro_record(0, {make_action(MacroAction::Move, 300, 0x33, -1, 2),
                         make_action(MacroAction::Press, 1000, 0x1E),
                         make_action(MacroAction::Release, 1000, 0x1E), make_action(9, 255, 0x44)});
    // 255 ms: h = 127, and the coarse byte of other kinds is left zero.
    EXPECT_EQ(page_of({0x00, 0x00,                                     // loops
                       0x00, 0xFA, 0xFF, 0x02, 0x00, 0x01, 0x00, 0x96, // move, h = 150
                       0x32, 0x1E, 0x00, 0x01, 0x01, 0xF4,             // v = 50, h = 500
                       0xB2, 0x1E, 0x00, 0x01, 0x01, 0xF4,             //
                       0x00, 0x00, 0x00, 0x01, 0x00, 0x7F}),
              encode_macro_page(record));
}

TEST(MacroPage, LongestDelayKeepsOnlyTheLowByteOfTheCoarseTime) {
    const ButtonRecord record = macro_record(1, {make_action(MacroAction::Press, 65535, 0x04)});
    // h = 32767, v = (65535 - 32767 + 5) / 10 = 3277 = 0x0CCD.
    EXPECT_EQ(page_of({0x00, 0x01, 0xCD, 0x04, 0x00, 0x01, 0x7F, 0xFF}), encode_macro_page(record));
}

TEST(MacroPage, StopsAtTheLastWholeShortActionThatFits) {
    // Fifteen four-byte moves fill bytes 2..61; the sixteenth does not fit and the press
    // after it is not sent either, so the mouse never sees actions out of order.
    std::vector<MacroAction> actions(15, make_action(MacroAction::Move, 2, 0, 1, 1));
    actions.push_back(make_action(MacroAction::Move, 2, 0, 2, 2));
    actions.push_back(make_action(MacroAction::Press, 2, 0x04));
    const Payload page = encode_macro_page(macro_record(1, actions));
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x01, 0xFA, 0x01, 0x01}),
              (std::array<std::uint8_t, 4>{page[58], page[59], page[60], page[61]}));
    EXPECT_EQ(0x00, page[62]);
    EXPECT_EQ(0x00, page[63]);
}

TEST(MacroPage, LongActionsFillThePageExactlyOrNotAtAll) {
    // Seven eight-byte moves reach byte 58; a six-byte press then ends exactly at 64.
    std::vector<MacroAction> actions(7, make_action(MacroAction::Move, 300, 0, 1, 1));
    actions.push_back(make_action(MacroAction::Press, 1000, 0x04));
    actions.push_back(make_action(MacroAction::Press, 0, 0x05));
    const Payload page = encode_macro_page(macro_record(1, actions));
    EXPECT_EQ(
        (std::array<std::uint8_t, 6>{0x32, 0x04, 0x00, 0x01, 0x01, 0xF4}),
        (std::array<std::uint8_t, 6>{page[58], page[59], page[60], page[61], page[62], page[63]}));

    // An eighth long move would need bytes 58..65: it is left out whole.
    actions[7] = make_action(MacroAction::Move, 300, 0, 1, 1);
    const Payload cut = encode_macro_page(macro_record(1, actions));
    for (std::size_t i = 58; i < cut.size(); ++i) {
        EXPECT_EQ(0x00, cut[i]) << "byte " << i;
    }
}

TEST(MacroPage, ActionCountAboveThirtyReadsThirtyActions) {
    std::vector<MacroAction> actions;
    for (std::uint8_t code = 1; code <= ButtonRecord::kMaxActions; ++code) {
        actions.push_back(make_action(MacroAction::Press, 0, code));
    }
    ButtonRecord record = macro_record(2, actions);
    const Payload thirty = encode_macro_page(record);
    EXPECT_EQ(0x1E, thirty[61]);

    record.set_action_count(0xFFFF);
    EXPECT_EQ(thirty, encode_macro_page(record));
}

TEST(MacroPage, NoActionsMeansNoLoopCount) {
    EXPECT_EQ(Payload{}, encode_macro_page(macro_record(9, {})));
}

} // namespace
} // namespace zemrak
