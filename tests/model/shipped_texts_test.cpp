// Checks the shipped English language file against the keys the program looks up.

#include "model/button_functions.h"
#include "model/key_tables.h"
#include "model/light_effects.h"
#include "model/text_table.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace zemrak {
namespace {

std::filesystem::path shipped_file() {
    return std::filesystem::path(ZEMRAK_SOURCE_DIR) / "res" / "Language" / "lan.xml";
}

// Every text key the windows and dialogs look up; the labels of the button functions and the
// texts of the light effects come from their tables.
// clang-format off
constexpr std::array<std::string_view, 54> kApplicationKeys{
    "mouse_name_text", "warning_title_text", "no_connect_device_text", "profile_text",
    "delete_profile_text", "reset_profile_text", "no_custom_text", "one_left_click_text",
    "delete_macro_text", "delete_macro_dir_text", "delete_gun_text", "delete_gun_dir_text",
    "no_name_text", "same_macro_text", "same_macro_dir_text",
    "add_macro_dir_text", "input_macro_dir_text", "add_macro_text", "input_macro_text",
    "rename_macro_dir_text", "rename_macro_text", "add_gun_dir_text", "input_gun_dir_text",
    "add_gun_text", "input_gun_text", "rename_gun_dir_text", "rename_gun_text",
    "start_recording_text", "stop_recording_text", "recording_system_text",
    "recording_window_text", "mouse_move_text", "key_down_action",
    "key_up_action", "ctrl_text", "shift_text", "alt_text", "win_text", "set_macro_text",
    "set_gun_text", "simulated_mouse_state_text", "real_mouse_state_text",
    "no_write_access_state_text", "no_write_access_text", "explore_simulated_text",
    "unapplied_tip_text", "capture_system_text", "capture_window_text",
    "capture_permission_text", "import_profile_failed_text", "apply_write_failed_text",
    "apply_save_failed_text", "library_damaged_text", "file_unreadable_text"};
// clang-format on

TEST(ShippedTexts, FileIsWellFormedWithOneElementPerKey) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(shipped_file().c_str());
    ASSERT_TRUE(parsed) << parsed.description() << " at offset " << parsed.offset;
    const pugi::xml_node root = document.document_element();
    EXPECT_STREQ(root.name(), "Language");

    // A repeated key would silently hide its later text.
    std::set<std::string> keys;
    for (const pugi::xml_node entry : root.children()) {
        EXPECT_STREQ(entry.name(), "Text");
        const std::string key = entry.attribute("key").as_string();
        EXPECT_FALSE(key.empty());
        EXPECT_TRUE(keys.insert(key).second) << key;
        EXPECT_TRUE(entry.attribute("value")) << key;
    }

    // The logo opens no web address, but the key is there to be filled in.
    const pugi::xml_node website = root.find_child_by_attribute("Text", "key", "website_text");
    ASSERT_TRUE(website);
    EXPECT_STREQ(website.attribute("value").as_string(), "");
}

TEST(ShippedTexts, EveryApplicationKeyHasAText) {
    const TextTable table = TextTable::load(shipped_file());
    for (const std::string_view key : kApplicationKeys) {
        EXPECT_FALSE(table.text(key).empty()) << key;
    }
    EXPECT_EQ(table.text("website_text"), "");
    // New profiles are named after this text followed by a number.
    EXPECT_EQ(table.text("profile_text"), "Profile");
}

TEST(ShippedTexts, EveryButtonFunctionLabelHasAText) {
    const TextTable table = TextTable::load(shipped_file());
    int labelled = 0;
    for (const ButtonFunction& function : button_functions()) {
        const std::string_view key = function_label_key(function.code);
        if (!key.empty()) {
            ++labelled;
            EXPECT_FALSE(table.text(key).empty()) << int{function.code} << " " << key;
        }
    }
    EXPECT_EQ(labelled, 58) << "54 labels of their own, 4 codes shown as a click";
}

TEST(ShippedTexts, EveryLightEffectHasANameADescriptionAndItsColourHint) {
    const TextTable table = TextTable::load(shipped_file());
    for (const LightEffect& effect : light_effects()) {
        EXPECT_FALSE(table.text(effect.name_key).empty()) << effect.name_key;
        EXPECT_FALSE(table.text(effect.description_key).empty()) << effect.description_key;
        if (!effect.colour_hint_key.empty()) {
            EXPECT_FALSE(table.text(effect.colour_hint_key).empty()) << effect.colour_hint_key;
        }
    }
}

TEST(ShippedTexts, EveryNamedKeyCodeHasAText) {
    const TextTable table = TextTable::load(shipped_file());
    int named = 0;
    for (std::uint32_t usage = 0; usage <= 255; ++usage) {
        const std::string_view key = key_name_key(usage);
        if (!key.empty()) {
            ++named;
            EXPECT_FALSE(table.text(key).empty()) << usage << " " << key;
        }
    }
    EXPECT_EQ(named, 116);
    // Labels that are easy to get wrong when escaping.
    EXPECT_EQ(table.text(key_name_key(49)), "\\");
    EXPECT_EQ(table.text(key_name_key(52)), "'");
}

} // namespace
} // namespace zemrak
