#include "model/text_table.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

TextTable load_text(const TempDir& dir, const std::string& xml) {
    const auto file = dir / "lan.xml";
    write_text(file, xml);
    return TextTable::load(file);
}

TEST(TextTable, LooksUpKeysExactly) {
    const TempDir dir;
    const TextTable table = load_text(dir, R"(<?xml version="1.0" encoding="UTF-8"?>
<Language>
    <Text key="profile_text" value="Profile"/>
    <Text key="key_Print Scr" value="Print Screen"/>
    <Text key="empty_text" value=""/>
    <Text key="no_value_text"/>
</Language>)");
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.text("profile_text"), "Profile");
    EXPECT_EQ(table.text("key_Print Scr"), "Print Screen");
    EXPECT_EQ(table.text("empty_text"), "");
    EXPECT_EQ(table.text("no_value_text"), "");
    // Neither letter case nor surrounding space is forgiven.
    EXPECT_EQ(table.text("Profile_text"), "");
    EXPECT_EQ(table.text("profile_text "), "");
    EXPECT_EQ(table.text("profile"), "");
    EXPECT_EQ(table.text(""), "");
}

TEST(TextTable, FirstOfRepeatedKeysWinsAndStrayElementsAreIgnored) {
    const TempDir dir;
    const TextTable table = load_text(dir, R"(<Language>
    <Text key="mute_text" value="Mute"/>
    <Text key="mute_text" value="Silence"/>
    <Text value="keyless"/>
    <Text key="" value="blank key"/>
    <Comment key="stray_text" value="not a text"/>
    <Group><Text key="nested_text" value="nested"/></Group>
</Language>)");
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table.text("mute_text"), "Mute");
    EXPECT_EQ(table.text("stray_text"), "");
    EXPECT_EQ(table.text("nested_text"), "");
}

TEST(TextTable, DecodesEntitiesAndKeepsUtf8) {
    const TempDir dir;
    const TextTable table = load_text(
        dir,
        "<Language>\n"
        "<Text key=\"amp_text\" value=\"Cut &amp; Paste &lt;b&gt; &quot;x&quot; &apos;y&apos;\"/>\n"
        "<Text key=\"numeric_text\" value=\"&#x4E2D;&#25991;&#10;next\"/>\n"
        "<Text key=\"german_text\" value=\"Tastenbelegung für Größe\"/>\n"
        "<Text key=\"chinese_text\" value=\"鼠标配置\"/>\n"
        "<Text key=\"￥\" value=\"¥\"/>\n"
        "</Language>\n");
    EXPECT_EQ(table.text("amp_text"), "Cut & Paste <b> \"x\" 'y'");
    EXPECT_EQ(table.text("numeric_text"), "中文\nnext");
    EXPECT_EQ(table.text("german_text"), "Tastenbelegung f\xC3\xBCr Gr\xC3\xB6\xC3\x9F"
                                         "e");
    EXPECT_EQ(table.text("chinese_text"), "\xE9\xBC\xA0\xE6\xA0\x87\xE9\x85\x8D\xE7\xBD\xAE");
    EXPECT_EQ(table.text("\xEF\xBF\xA5"), "\xC2\xA5");
}

TEST(TextTable, UnusableFilesGiveAnEmptyTable) {
    const TempDir dir;
    const auto expect_empty = [](const TextTable& table) {
        EXPECT_EQ(table.size(), 0u);
        EXPECT_EQ(table.text("profile_text"), "");
    };
    expect_empty(TextTable::load(dir / "missing.xml"));
    expect_empty(TextTable::load(dir.path()));
    expect_empty(load_text(dir, ""));
    // Broken after a good element: nothing of the file is used.
    expect_empty(load_text(dir, "<Language><Text key=\"profile_text\" value=\"Profile\"/><Text"));
    expect_empty(load_text(dir, "<Language><Text key=\"profile_text\" value=\"P\"/></Languag>"));
    expect_empty(
        load_text(dir, "<Strings><Text key=\"profile_text\" value=\"Profile\"/></Strings>"));
    expect_empty(
        load_text(dir, "<language><Text key=\"profile_text\" value=\"Profile\"/></language>"));
}

} // namespace
} // namespace zemrak
