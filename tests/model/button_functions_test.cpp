#include "model/button_functions.h"

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using Codes = std::initializer_list<std::uint8_t>;

std::vector<const ButtonFunction*> offered_functions() {
    std::vector<const ButtonFunction*> offered;
    for (const ButtonFunction& function : button_functions()) {
        if (!function.item.empty()) {
            offered.push_back(&function);
        }
    }
    return offered;
}

TEST(ButtonFunctions, EveryMenuItemAssignsItsOwnCodeAndIsLabelledAfterItsName) {
    const std::vector<const ButtonFunction*> offered = offered_functions();
    ASSERT_EQ(57u, offered.size()) << "the items the button menu may offer";
    std::set<std::uint8_t> codes;
    std::set<std::string> items;
    for (const ButtonFunction* function : offered) {
        const std::string item(function->item);
        EXPECT_TRUE(codes.insert(function->code).second) << "code " << int{function->code};
        EXPECT_TRUE(items.insert(item).second) << item;
        EXPECT_EQ(function->code, function_code_of(item)) << item;
        EXPECT_EQ(function, find_button_function(function->code)) << item;
        if (function->composed) {
            EXPECT_EQ("", function_label_key(function->code)) << item;
        } else {
            EXPECT_EQ(item + "_text", function_label_key(function->code)) << item;
        }
    }
}

TEST(ButtonFunctions, SpecialCodesAreTheOnesTheirItemsAssign) {
    EXPECT_EQ(kClickFunction, function_code_of("click"));
    EXPECT_EQ(kShortcutFunction, function_code_of("shortcut"));
    EXPECT_EQ(kMacroFunction, function_code_of("select_macro"));
    EXPECT_EQ(kSendGunFunction, function_code_of("send_gun"));
    EXPECT_EQ(kModeSwitchFunction, function_code_of("mode_switch"));
    EXPECT_EQ(kRecoilFunction, function_code_of("select_gun"));
    EXPECT_EQ(0, function_code_of("button_off"));
    EXPECT_EQ(112, function_code_of("prate_cycle"));

    std::vector<int> composed;
    for (const ButtonFunction& function : button_functions()) {
        if (function.composed) {
            composed.push_back(function.code);
        }
    }
    EXPECT_EQ((std::vector<int>{21, 22, 121}), composed)
        << "labels made from the record: shortcut, macro, recoil";
}

TEST(ButtonFunctions, ItemNamesIgnoreLetterCaseAndUnknownNamesAssignAClick) {
    EXPECT_EQ(7, function_code_of("DPI_Up"));
    EXPECT_EQ(kMacroFunction, function_code_of("SELECT_MACRO"));
    EXPECT_EQ(81, function_code_of("My_Computer"));
    for (const char* unknown : {"", "dpi up", "dpi_up_text", "button", "select_gun_", "\xC3\xA9"}) {
        EXPECT_EQ(kClickFunction, function_code_of(unknown)) << '"' << unknown << '"';
    }
}

TEST(ButtonFunctions, CodesWithoutAnItemAreShownAsAClick) {
    // 10, 13, 14 and 113 reach the mouse but no menu offers them; the rest are not known.
    for (const std::uint8_t code : Codes{10, 13, 14, 113, 15, 24, 104, 105, 116, 122, 255}) {
        EXPECT_EQ("click_text", function_label_key(code)) << int{code};
    }
    for (const std::uint8_t code : Codes{10, 13, 14, 113}) {
        ASSERT_NE(nullptr, find_button_function(code)) << int{code};
        EXPECT_TRUE(find_button_function(code)->item.empty()) << int{code};
    }
    EXPECT_EQ(nullptr, find_button_function(24));
}

TEST(ButtonFunctions, MapBytesOfPlainAndProgramOnlyFunctions) {
    EXPECT_EQ((ButtonMapBytes{0xF0, 0x00}), function_map_bytes(kClickFunction));
    EXPECT_EQ((ButtonMapBytes{0xF3, 0x00}), function_map_bytes(5)) << "backward";
    EXPECT_EQ((ButtonMapBytes{0xF4, 0x00}), function_map_bytes(4)) << "forward";
    EXPECT_EQ((ButtonMapBytes{0xF0, 0x80}), function_map_bytes(10));
    EXPECT_EQ((ButtonMapBytes{0x09, 0x03}), function_map_bytes(50)) << "light mode switch";
    EXPECT_EQ((ButtonMapBytes{0x00, 0x07}), function_map_bytes(113));
    // Nothing the mouse could act on: they live in the program only.
    for (const std::uint8_t code : Codes{0, 25, 26, 76, 121, 24, 200}) {
        EXPECT_EQ(ButtonMapBytes{}, function_map_bytes(code)) << int{code};
    }
}

// The codes themselves are checked where fill_defaults() writes them into a profile.
TEST(ButtonFunctions, EveryDefaultCodeIsOfferedByTheMenus) {
    for (std::size_t n = 0; n < 32; ++n) {
        for (const std::uint8_t code : {default_function_code(n), default_function_code_b(n)}) {
            const ButtonFunction* function = find_button_function(code);
            ASSERT_NE(nullptr, function) << "record " << n;
            EXPECT_FALSE(function->item.empty()) << "record " << n;
        }
    }
    EXPECT_EQ(0, default_function_code(32)) << "no record 32";
    EXPECT_EQ(0, default_function_code_b(32));
}

} // namespace
} // namespace zemrak
