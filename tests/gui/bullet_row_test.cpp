#include "recoil/arrow_step_button.h"
#include "recoil/bullet_row.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

// Rows 7 and 8 of a page's bullet list.
class BulletRowTest : public ::testing::Test {
protected:
    QWidget m_page;
    QVBoxLayout* m_layout = new QVBoxLayout(&m_page);
    BulletRow m_row{7, &m_page};
    BulletRow m_next{8, &m_page};
};

TEST_F(BulletRowTest, EveryControlSitsInItsRowUnderItsOwnName) {
    EXPECT_EQ("ver_zidan_num_7", m_row.row()->objectName());
    const auto own = [this](const char* name) {
        return m_row.row()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    };
    EXPECT_EQ(m_row.edit(BulletField::Delay), own("edit_zidan_delay_7"));
    EXPECT_EQ(m_row.edit(BulletField::X), own("edit_zidan_x_7"));
    EXPECT_EQ(m_row.edit(BulletField::Y), own("edit_zidan_y_7"));
    EXPECT_EQ(m_row.button(BulletButton::DelayUp), own("zidan_delay_up_btn_7"));
    EXPECT_EQ(m_row.button(BulletButton::DelayDown), own("zidan_delay_down_btn_7"));
    EXPECT_EQ(m_row.button(BulletButton::YUp), own("zidan_y_up_btn_7"));
    EXPECT_EQ(m_row.button(BulletButton::YDown), own("zidan_y_down_btn_7"));
    EXPECT_EQ(m_row.button(BulletButton::XDown), own("zidan_x_down_btn_7"));
    EXPECT_EQ(m_row.button(BulletButton::XUp), own("zidan_x_up_btn_7"));
    for (const BulletField field : kBulletFields) {
        EXPECT_NE(nullptr, m_row.edit(field));
    }
    for (const BulletButton button : kBulletButtons) {
        EXPECT_NE(nullptr, m_row.button(button));
    }

    // One of each name under the page: rows do not share controls.
    EXPECT_EQ(1, m_page.findChildren<QLineEdit*>("edit_zidan_x_7").size());
    EXPECT_EQ(m_next.edit(BulletField::X), m_page.findChild<QLineEdit*>("edit_zidan_x_8"));
    EXPECT_EQ(m_next.row(), m_page.findChild<QFrame*>("ver_zidan_num_8"));
}

TEST_F(BulletRowTest, ShowsEachValueInItsOwnEdit) {
    EXPECT_EQ("10", m_row.edit(BulletField::Delay)->text()) << "a new pattern's bullet";
    EXPECT_EQ("0", m_row.edit(BulletField::X)->text());
    EXPECT_EQ("0", m_row.edit(BulletField::Y)->text());

    m_row.show_bullet(Bullet{-5, 12, 65535});
    EXPECT_EQ("65535", m_row.edit(BulletField::Delay)->text()) << "a delay has no sign";
    EXPECT_EQ("-5", m_row.edit(BulletField::X)->text());
    EXPECT_EQ("12", m_row.edit(BulletField::Y)->text());
    EXPECT_EQ("0", m_next.edit(BulletField::X)->text());
}

TEST_F(BulletRowTest, ButtonsStepTheNumberTheEditShows) {
    m_row.show_bullet(Bullet{3, 4, 10});
    // What the bullet held before no longer counts: the edit's text is read.
    Bullet bullet{100, 200, 300};
    m_row.edit(BulletField::X)->setText("20");
    m_row.press(BulletButton::XDown, bullet);
    EXPECT_EQ((Bullet{21, 200, 300}), bullet);
    EXPECT_EQ("21", m_row.edit(BulletField::X)->text());
    m_row.press(BulletButton::XUp, bullet);
    m_row.press(BulletButton::XUp, bullet);
    EXPECT_EQ(19, bullet.x);
    EXPECT_EQ("19", m_row.edit(BulletField::X)->text());

    m_row.press(BulletButton::YUp, bullet);
    EXPECT_EQ((Bullet{19, 5, 300}), bullet);
    EXPECT_EQ("5", m_row.edit(BulletField::Y)->text());

    m_row.press(BulletButton::DelayDown, bullet);
    EXPECT_EQ(9, bullet.delay) << "below the typing minimum";
    EXPECT_EQ("9", m_row.edit(BulletField::Delay)->text());
    m_row.edit(BulletField::Delay)->setText("1");
    m_row.press(BulletButton::DelayDown, bullet);
    EXPECT_EQ(1, bullet.delay);
    EXPECT_EQ("1", m_row.edit(BulletField::Delay)->text());
    m_row.edit(BulletField::Y)->setText("127");
    m_row.press(BulletButton::YUp, bullet);
    EXPECT_EQ("128", m_row.edit(BulletField::Y)->text()) << "beyond the typing limit";
}

TEST_F(BulletRowTest, EveryButtonShowsWhatItDoesAndWhereItDoesIt) {
    m_page.resize(700, 200);
    m_page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    for (const BulletButton which : kBulletButtons) {
        QPushButton* button = m_row.button(which);
        QLineEdit* edit = m_row.edit(button_field(which));
        edit->setText("50");
        Bullet bullet;
        m_row.press(which, bullet);
        const bool adds = bullet_value(bullet, button_field(which)) == 51;
        EXPECT_EQ(adds ? "+" : "\u2212", button->text()) << button->objectName().toStdString();
        // The button that adds sits right of its value, the one that takes away left of it.
        EXPECT_EQ(adds, button->geometry().left() > edit->geometry().right())
            << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
    EXPECT_EQ("+", m_row.button(BulletButton::XDown)->text());
    EXPECT_EQ("\u2212", m_row.button(BulletButton::XUp)->text());
    for (const BulletField field : kBulletFields) {
        EXPECT_FALSE(m_row.edit(field)->toolTip().isEmpty());
    }
}

TEST_F(BulletRowTest, MovementButtonsPointWhereAPressMovesThePointer) {
    using Direction = ArrowStepButton::Direction;
    // x grows to the right and y downwards, as the pointer moves.
    const auto expected = [](BulletField field, bool adds) {
        if (field == BulletField::X) {
            return adds ? Direction::right : Direction::left;
        }
        return adds ? Direction::down : Direction::up;
    };
    for (const BulletButton which : kBulletButtons) {
        const BulletField field = button_field(which);
        auto* arrow = qobject_cast<ArrowStepButton*>(m_row.button(which));
        if (field == BulletField::Delay) {
            EXPECT_EQ(nullptr, arrow) << "a delay has no direction";
            continue;
        }
        ASSERT_NE(nullptr, arrow) << m_row.button(which)->objectName().toStdString();
        m_row.edit(field)->setText("0");
        Bullet bullet;
        m_row.press(which, bullet);
        EXPECT_EQ(expected(field, bullet_value(bullet, field) > 0), arrow->direction())
            << arrow->objectName().toStdString();
    }
    EXPECT_EQ(Direction::right,
              qobject_cast<ArrowStepButton*>(m_row.button(BulletButton::XDown))->direction());
    EXPECT_EQ(Direction::left,
              qobject_cast<ArrowStepButton*>(m_row.button(BulletButton::XUp))->direction());
}

TEST_F(BulletRowTest, LeavingAnEditHoldsItsNumberWithinTheTypingLimits) {
    Bullet bullet{1, 2, 30};
    m_row.edit(BulletField::X)->setText("300");
    m_row.take_typed(BulletField::X, bullet);
    EXPECT_EQ((Bullet{127, 2, 30}), bullet);
    EXPECT_EQ("127", m_row.edit(BulletField::X)->text());

    m_row.edit(BulletField::Y)->setText("-1000");
    m_row.take_typed(BulletField::Y, bullet);
    EXPECT_EQ(-127, bullet.y);
    EXPECT_EQ("-127", m_row.edit(BulletField::Y)->text());

    m_row.edit(BulletField::Delay)->setText("5");
    m_row.take_typed(BulletField::Delay, bullet);
    EXPECT_EQ(10, bullet.delay);
    EXPECT_EQ("10", m_row.edit(BulletField::Delay)->text());
    m_row.edit(BulletField::Delay)->setText("2000");
    m_row.take_typed(BulletField::Delay, bullet);
    EXPECT_EQ(1270, bullet.delay);
    EXPECT_EQ("1270", m_row.edit(BulletField::Delay)->text());

    // A number within the limits is taken as typed and the text left alone.
    m_row.edit(BulletField::Delay)->setText("250ms");
    m_row.take_typed(BulletField::Delay, bullet);
    EXPECT_EQ((Bullet{127, -127, 250}), bullet);
    EXPECT_EQ("250ms", m_row.edit(BulletField::Delay)->text());
}

TEST_F(BulletRowTest, TypingKeepsDigitsAndMinusAndMovesTheCaretOnlyWhenItTookSomething) {
    QLineEdit* y = m_row.edit(BulletField::Y);
    QObject::connect(y, &QLineEdit::textEdited, [this] { m_row.filter_typing(BulletField::Y); });
    y->clear();
    QTest::keyClicks(y, "1a2");
    EXPECT_EQ("12", y->text());
    EXPECT_EQ(2, y->cursorPosition());

    // A minus typed in the middle stays, and so does the caret after it.
    y->setCursorPosition(1);
    QTest::keyClicks(y, "-");
    EXPECT_EQ("1-2", y->text());
    EXPECT_EQ(2, y->cursorPosition());

    // Pasted text with letters in the middle: the caret goes to the end.
    y->setText("1a2b3");
    y->setCursorPosition(1);
    m_row.filter_typing(BulletField::Y);
    EXPECT_EQ("123", y->text());
    EXPECT_EQ(3, y->cursorPosition());
}

} // namespace
} // namespace zemrak::pages
