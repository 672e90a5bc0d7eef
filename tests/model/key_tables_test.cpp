#include "model/key_tables.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zemrak {
namespace {

using ::testing::_;
using ::testing::Return;

class MockLayout : public KeyboardLayout {
public:
    MOCK_METHOD(std::uint32_t, scan_code, (std::uint32_t virtual_key), (const, override));
};

// A layout that moves some keys and otherwise behaves like the table's own.
class MovedKeysLayout final : public KeyboardLayout {
public:
    explicit MovedKeysLayout(std::map<std::uint32_t, std::uint32_t> moved)
        : m_moved(std::move(moved)) {}

    std::uint32_t scan_code(std::uint32_t virtual_key) const override {
        const auto found = m_moved.find(virtual_key);
        return found != m_moved.end() ? found->second
                                      : TableKeyboardLayout{}.scan_code(virtual_key);
    }

private:
    std::map<std::uint32_t, std::uint32_t> m_moved;
};

TEST(KeyTables, VirtualKeyTableHasNoShadowedRows) {
    const auto table = virtual_key_table();
    ASSERT_EQ(table.size(), 111u);
    std::set<std::uint32_t> virtual_keys;
    std::set<std::uint32_t> scan_codes;
    std::set<std::uint32_t> usages;
    for (const VirtualKeyRow& row : table) {
        EXPECT_TRUE(virtual_keys.insert(row.virtual_key).second) << std::hex << row.virtual_key;
        EXPECT_TRUE(usages.insert(row.usage).second) << row.usage;
        if (row.scan_code != 0) {
            EXPECT_TRUE(scan_codes.insert(row.scan_code).second) << std::hex << row.scan_code;
        }
        // Exactly the main block carries scan codes: the layout step relies on it.
        EXPECT_EQ(row.scan_code != 0, row.usage >= 4 && row.usage <= 69) << row.usage;
    }
}

TEST(KeyTables, MainBlockFollowsThePhysicalKeyPosition) {
    MockLayout layout;
    // On a French layout the A key sits where a US keyboard has Q.
    EXPECT_CALL(layout, scan_code(0x41)).WillOnce(Return(0x10));
    const UsageLookup a = usage_from_virtual_key(0x41, layout);
    EXPECT_TRUE(a.found);
    EXPECT_EQ(a.usage, 20);

    // The ends of the positional range: F12 (69) and A (4) themselves.
    const MovedKeysLayout swapped({{0x7B, 0x1E}, {0x5A, 0x58}});
    EXPECT_EQ(usage_from_virtual_key(0x7B, swapped).usage, 4);
    EXPECT_EQ(usage_from_virtual_key(0x5A, swapped).usage, 69);
}

TEST(KeyTables, KeyKeepsItsUsageWhenTheLayoutPositionIsUnknown) {
    MockLayout layout;
    // 0 is the layout having no scan code; it must not pick a row without one (Print Screen).
    EXPECT_CALL(layout, scan_code(0x41)).WillOnce(Return(0));
    // 0x56 is the ISO key beside the left Shift, which has no row.
    EXPECT_CALL(layout, scan_code(0x42)).WillOnce(Return(0x56));
    EXPECT_EQ(usage_from_virtual_key(0x41, layout).usage, 4);
    const UsageLookup b = usage_from_virtual_key(0x42, layout);
    EXPECT_TRUE(b.found);
    EXPECT_EQ(b.usage, 5);
}

TEST(KeyTables, KeysOutsideTheMainBlockNeverAskTheLayout) {
    MockLayout layout;
    EXPECT_CALL(layout, scan_code(_)).Times(0);
    const UsageLookup print_screen = usage_from_virtual_key(0x2C, layout);
    EXPECT_TRUE(print_screen.found);
    EXPECT_EQ(print_screen.usage, 70);
    EXPECT_EQ(usage_from_virtual_key(0x60, layout).usage, 98);
    EXPECT_EQ(usage_from_virtual_key(0x5C, layout).usage, 231);
    EXPECT_EQ(usage_from_virtual_key(0xF0, layout).usage, 240);
    EXPECT_EQ(usage_from_virtual_key(0xF8, layout).usage, 248);

    for (const std::uint32_t missing : {0x00u, 0x07u, 0xF9u, 0x141u}) {
        const UsageLookup none = usage_from_virtual_key(missing, layout);
        EXPECT_FALSE(none.found) << missing;
        EXPECT_EQ(none.usage, 0) << missing;
    }
}

TEST(KeyTables, EveryRowRoundTripsOnTheTableLayout) {
    const TableKeyboardLayout layout;
    for (const VirtualKeyRow& row : virtual_key_table()) {
        EXPECT_EQ(layout.scan_code(row.virtual_key), row.scan_code);
        const UsageLookup lookup = usage_from_virtual_key(row.virtual_key, layout);
        EXPECT_TRUE(lookup.found);
        EXPECT_EQ(lookup.usage, row.usage) << std::hex << row.virtual_key;
    }
    EXPECT_EQ(layout.scan_code(0x07), 0u);
}

TEST(KeyTables, NamesOfUsageCodes) {
    EXPECT_EQ(key_name_key(4), "key_A");
    EXPECT_EQ(key_name_key(29), "key_Z");
    EXPECT_EQ(key_name_key(30), "key_1");
    EXPECT_EQ(key_name_key(38), "key_9");
    EXPECT_EQ(key_name_key(39), "key_0");
    EXPECT_EQ(key_name_key(50), "\xEF\xBF\xA5");
    EXPECT_EQ(key_name_key(57), "key_Caplk");
    EXPECT_EQ(key_name_key(69), "key_F12");
    EXPECT_EQ(key_name_key(82), "key_Up");
    EXPECT_EQ(key_name_key(98), "key_Num_0");
    EXPECT_EQ(key_name_key(99), "key_Num_.");
    EXPECT_EQ(key_name_key(101), "key_App");
    EXPECT_EQ(key_name_key(136), "Kana/Roma");
    EXPECT_EQ(key_name_key(231), "key_RWin");
    EXPECT_EQ(key_name_key(244), "Forward_Button");
    EXPECT_EQ(key_name_key(249), "Scroll_Down");

    EXPECT_EQ(key_name_key(100), key_name_key(49));
    EXPECT_EQ(key_name_key(49), "key_Xiexian");
    for (const std::uint32_t nameless : {0u, 3u, 102u, 245u, 247u, 250u, 255u, 256u, 0xFFFFFFFFu}) {
        EXPECT_EQ(key_name_key(nameless), "") << nameless;
    }
}

TEST(KeyTables, EveryCapturedKeyHasAName) {
    for (const VirtualKeyRow& row : virtual_key_table()) {
        // 247 is a mouse code that is named nowhere.
        if (row.usage != 247) {
            EXPECT_FALSE(key_name_key(row.usage).empty()) << row.usage;
        }
    }
}

} // namespace
} // namespace zemrak
