#include "macros/macro_action_row.h"

#include <QLabel>
#include <QListWidget>
#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

MacroAction key_action(std::uint8_t code, std::uint8_t kind, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(kind);
    action.set_delay(delay);
    return action;
}

MacroAction move_action(std::int32_t x, std::int32_t y, std::uint16_t delay) {
    MacroAction action = key_action(246, MacroAction::Move, delay);
    action.set_move_x(x);
    action.set_move_y(y);
    return action;
}

QString kind_of(const MacroActionRow& row) {
    return row.key()->property("kind").toString();
}

QString mark_of(const MacroActionRow& row) {
    return row.mark()->property("mark").toString();
}

TEST(MacroActionRow, KeyActionsShowTheKeyNameAndWhetherItGoesDownOrUp) {
    MacroActionRow row;
    EXPECT_EQ("key", row.key()->objectName());
    EXPECT_EQ("action", row.action()->objectName());
    EXPECT_EQ("delay", row.delay()->objectName());

    row.show_action(key_action(4, MacroAction::Press, 25));
    EXPECT_EQ("A", row.key()->text());
    EXPECT_EQ("key", kind_of(row));
    EXPECT_EQ("Press", row.action()->text());
    EXPECT_EQ("press", mark_of(row));
    EXPECT_FALSE(row.mark()->text().isEmpty());
    EXPECT_EQ("25", row.delay()->text());
    const QString press_mark = row.mark()->text();

    row.show_action(key_action(224, MacroAction::Release, 1000));
    EXPECT_EQ("Left Ctrl", row.key()->text());
    EXPECT_EQ("Release", row.action()->text());
    EXPECT_EQ("release", mark_of(row));
    EXPECT_NE(press_mark, row.mark()->text());
    EXPECT_EQ("1000", row.delay()->text());

    // The wheel is pressed like a key and drawn like one.
    row.show_action(key_action(248, MacroAction::Press, 3));
    EXPECT_EQ("Wheel Up", row.key()->text());
    EXPECT_EQ("key", kind_of(row));
}

TEST(MacroActionRow, MouseButtonsShowTheirNamesInTheirOwnLook) {
    const std::array<const char*, 5> names{"Left Button", "Right Button", "Middle Button",
                                           "Back Button", "Forward Button"};
    MacroActionRow row;
    for (std::uint8_t code = 240; code <= 244; ++code) {
        row.show_action(key_action(code, MacroAction::Release, 65535));
        EXPECT_EQ(names.at(code - 240u), row.key()->text()) << int{code};
        EXPECT_EQ("mouse", kind_of(row)) << int{code};
        EXPECT_EQ("Release", row.action()->text());
        EXPECT_EQ("65535", row.delay()->text());
    }
}

TEST(MacroActionRow, MovesShowTheDistanceAndNoMark) {
    MacroActionRow row;
    row.show_action(key_action(4, MacroAction::Press, 25));
    row.show_action(move_action(5, -3, 2));
    EXPECT_EQ("Move", row.key()->text());
    EXPECT_EQ("move", kind_of(row));
    EXPECT_EQ("X: 5 Y: -3", row.action()->text());
    EXPECT_EQ("none", mark_of(row));
    EXPECT_TRUE(row.mark()->text().isEmpty());
    EXPECT_EQ("2", row.delay()->text());
}

TEST(MacroActionRow, ActionsOfUnknownKindLeaveTheRowEmpty) {
    MacroActionRow row;
    EXPECT_TRUE(row.key()->text().isEmpty()) << "a new row";
    EXPECT_EQ("none", kind_of(row));
    EXPECT_EQ("none", mark_of(row));

    row.show_action(key_action(4, MacroAction::Press, 25));
    row.show_action(key_action(4, 7, 25));
    for (const QLabel* label : {row.key(), row.mark(), row.action(), row.delay()}) {
        EXPECT_TRUE(label->text().isEmpty()) << label->text().toStdString();
    }
    EXPECT_EQ("none", kind_of(row));
    EXPECT_EQ("none", mark_of(row));
}

// The page's action list with three rows: A down, A up, a move.
class MacroActionListTest : public ::testing::Test {
protected:
    MacroActionListTest() {
        m_list.setObjectName("macro_action_list");
        MacroActionRow::append_to(&m_list)->show_action(key_action(4, MacroAction::Press, 10));
        MacroActionRow::append_to(&m_list)->show_action(key_action(4, MacroAction::Release, 20));
        MacroActionRow::append_to(&m_list)->show_action(move_action(1, 2, 30));
        m_list.resize(400, 200);
        m_list.show();
    }

    bool selected(int index) {
        MacroActionRow* row = MacroActionRow::at(&m_list, index);
        const bool flag = row->property("selected").toBool();
        for (const QLabel* label : {row->key(), row->mark(), row->action(), row->delay()}) {
            EXPECT_EQ(flag, label->property("selected").toBool()) << "row " << index;
        }
        return flag;
    }

    QListWidget m_list;
};

TEST_F(MacroActionListTest, RowsAreFoundByIndexAndStandThirtyPixelsHigh) {
    ASSERT_EQ(3, m_list.count());
    EXPECT_EQ("20", MacroActionRow::at(&m_list, 1)->delay()->text());
    EXPECT_EQ("X: 1 Y: 2", MacroActionRow::at(&m_list, 2)->action()->text());
    EXPECT_EQ(nullptr, MacroActionRow::at(&m_list, 3));
    EXPECT_EQ(nullptr, MacroActionRow::at(&m_list, -1));
    for (int i = 0; i < m_list.count(); ++i) {
        EXPECT_EQ(MacroActionRow::kHeight, m_list.visualItemRect(m_list.item(i)).height());
    }
}

TEST_F(MacroActionListTest, SelectedLookFollowsTheListsSelection) {
    EXPECT_FALSE(selected(0) || selected(1) || selected(2));
    m_list.setCurrentRow(1);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_FALSE(selected(2));
    m_list.setCurrentRow(2);
    EXPECT_FALSE(selected(1));
    EXPECT_TRUE(selected(2));

    // A row taken out leaves the others following the selection by their new places.
    delete m_list.takeItem(0);
    m_list.setCurrentRow(0);
    EXPECT_TRUE(selected(0));
    EXPECT_FALSE(selected(1));
    m_list.clearSelection();
    EXPECT_FALSE(selected(0) || selected(1));
}

} // namespace
} // namespace zemrak::pages
