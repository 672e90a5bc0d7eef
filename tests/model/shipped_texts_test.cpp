// Checks the shipped language files against the keys the program looks up: the English file,
// and every translation beside it against the English file.

#include "model/button_functions.h"
#include "model/key_tables.h"
#include "model/light_effects.h"
#include "model/text_table.h"
#include "test_support/temp_dir.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace zemrak {
namespace {

std::filesystem::path shipped_file() {
    return std::filesystem::path(ZEMRAK_SOURCE_DIR) / "res" / "Language" / "lan.xml";
}

// Language/<code>/lan.xml for each translation.
std::vector<std::filesystem::path> translation_files() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(shipped_file().parent_path())) {
        if (entry.is_directory()) {
            files.push_back(entry.path() / "lan.xml");
        }
    }
    std::ranges::sort(files);
    return files;
}

// The English file first, then every translation.
std::vector<std::filesystem::path> language_files() {
    std::vector<std::filesystem::path> files{shipped_file()};
    std::ranges::copy(translation_files(), std::back_inserter(files));
    return files;
}

// Every key of a language file and its value, as written.
std::map<std::string, std::string> entries_of(const std::filesystem::path& file) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_file(file.c_str())) << file;
    std::map<std::string, std::string> entries;
    for (const pugi::xml_node entry : document.document_element().children("Text")) {
        entries.emplace(entry.attribute("key").as_string(), entry.attribute("value").as_string());
    }
    return entries;
}

// What a translation must carry over from the English text unchanged, in any order: the
// numbered arguments (%1), printf conversions, named fields ({name}), markup tags and
// escapes such as \n.
std::multiset<std::string> placeholders(const std::string& text) {
    static const std::regex marker(R"re(%[0-9]+|%[a-z]|\{[^}]*\}|<[^>]*>|\\.)re");
    std::multiset<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), marker);
         match != std::sregex_iterator(); ++match) {
        found.insert(match->str());
    }
    return found;
}

// Every text key that the program's code, layouts and menus name, found where they name it,
// so that no key can be added without its text being checked. In the code a key is a string
// literal ending in _text or _action (outside comments); in a layout the value of a
// "textkey" property; in a menu a textkey attribute. The labels of the button functions and
// the texts of the light effects come from their tables and are checked below. Control names
// share the ending ("edit_macro_action"): the names the layouts give their controls are not
// keys.
std::set<std::string> keys_in_use() {
    namespace fs = std::filesystem;
    const fs::path source = ZEMRAK_SOURCE_DIR;
    const std::regex code_key(R"re("([a-z][a-z0-9_]*_(?:text|action))")re");
    const std::regex layout_key(R"re(<property name="textkey"[^>]*>\s*<string>([^<]*)</string>)re");
    const std::regex menu_key(R"re(textkey="([^"]*)")re");
    const std::regex control_name(R"re(<widget class="[^"]*" name="([^"]*)")re");
    std::set<std::string> keys;
    const auto collect = [&keys](const std::string& text, const std::regex& pattern) {
        for (auto match = std::sregex_iterator(text.begin(), text.end(), pattern);
             match != std::sregex_iterator(); ++match) {
            keys.insert((*match)[1].str());
        }
    };
    for (const char* folder : {"src", "tools"}) {
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            const fs::path& file = entry.path();
            if (file.extension() != ".cpp" && file.extension() != ".h") {
                continue;
            }
            std::istringstream lines(zemrak::test::read_text(file));
            for (std::string line; std::getline(lines, line);) {
                collect(line.substr(0, line.find("//")), code_key);
            }
        }
    }
    for (const auto& entry : fs::directory_iterator(source / "res" / "layouts")) {
        collect(zemrak::test::read_text(entry.path()), layout_key);
    }
    for (const auto& entry : fs::directory_iterator(source / "res" / "menus")) {
        collect(zemrak::test::read_text(entry.path()), menu_key);
    }
    std::set<std::string> controls;
    for (const auto& entry : fs::directory_iterator(source / "res" / "layouts")) {
        const std::string layout = zemrak::test::read_text(entry.path());
        for (auto match = std::sregex_iterator(layout.begin(), layout.end(), control_name);
             match != std::sregex_iterator(); ++match) {
            controls.insert((*match)[1].str());
        }
    }
    std::erase_if(keys, [&controls](const std::string& key) { return controls.contains(key); });
    return keys;
}

TEST(ShippedTexts, FilesAreWellFormedWithOneElementPerKey) {
    EXPECT_GE(translation_files().size(), 1u) << "the German texts are shipped";
    for (const std::filesystem::path& file : language_files()) {
        SCOPED_TRACE(file.string());
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_file(file.c_str());
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
}

TEST(ShippedTexts, EveryApplicationKeyHasATextInEveryLanguage) {
    const std::set<std::string> keys = keys_in_use();
    EXPECT_GT(keys.size(), 150u) << "the search finds the program's keys";
    for (const std::filesystem::path& file : language_files()) {
        SCOPED_TRACE(file.string());
        const TextTable table = TextTable::load(file);
        for (const std::string& key : keys) {
            // The logo's web address is empty on purpose.
            if (key != "website_text") {
                EXPECT_FALSE(table.text(key).empty()) << key;
            }
        }
        EXPECT_EQ(table.text("website_text"), "");
    }
    // New profiles are named after this text followed by a number.
    EXPECT_EQ(TextTable::load(shipped_file()).text("profile_text"), "Profile");
}

// A translation holds exactly the English keys, each with a text wherever English has one
// (the tables of button functions, effects and key names below are checked through this),
// and keeps the English text's placeholders, which the program fills in.
TEST(ShippedTexts, EveryTranslationHasTheEnglishKeysAndPlaceholders) {
    const std::map<std::string, std::string> english = entries_of(shipped_file());
    ASSERT_GT(english.size(), 400u);
    for (const std::filesystem::path& file : translation_files()) {
        SCOPED_TRACE(file.string());
        const std::map<std::string, std::string> translated = entries_of(file);
        for (const auto& [key, text] : english) {
            const auto found = translated.find(key);
            if (found == translated.end()) {
                ADD_FAILURE() << "missing key " << key;
                continue;
            }
            EXPECT_EQ(text.empty(), found->second.empty()) << key;
            EXPECT_EQ(placeholders(text), placeholders(found->second))
                << key << ": \"" << text << "\" / \"" << found->second << "\"";
        }
        for (const auto& entry : translated) {
            EXPECT_TRUE(english.contains(entry.first)) << "stray key " << entry.first;
        }
    }
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
