#include "ui/colour_palette.h"
#include "ui/dialog_host.h"
#include "ui/modal.h"
#include "ui/select_color_wnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// The colour of the middle of a swatch as it is drawn.
QRgb drawn_colour(QWidget* swatch) {
    const QImage image = swatch->grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

// Runs `step` on the dialog once it is open and modal.
void when_open(std::function<void(CSelectColorWnd&)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        auto* dialog = qobject_cast<CSelectColorWnd*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        step(*dialog);
    });
}

template <typename T>
T* control(QWidget& root, const char* name) {
    T* found = root.findChild<T*>(name);
    EXPECT_NE(nullptr, found) << name;
    return found;
}

void type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(edit, text);
    }
}

class SelectColorWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ModalAnswers::clear();
        m_dialog.set_colour(qRgb(0x12, 0x34, 0x56));
        m_dialog.show();
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(m_dialog, name); }

    CSelectColorWnd m_dialog{nullptr};
};

TEST_F(SelectColorWndTest, StartingColourShowsInEditsPaletteAndSwatch) {
    EXPECT_EQ("18", edit("r_edit")->text());
    EXPECT_EQ("52", edit("g_edit")->text());
    EXPECT_EQ("86", edit("b_edit")->text());
    EXPECT_EQ(qRgb(0x12, 0x34, 0x56), control<ColourPalette>(m_dialog, "color_Pallet")->colour());
    EXPECT_EQ(qRgb(0x12, 0x34, 0x56),
              drawn_colour(control<QWidget>(m_dialog, "current_color_control")));
}

TEST_F(SelectColorWndTest, EditsClampRewriteOnlyWhenClampedAndKeepTheOtherChannels) {
    type(edit("r_edit"), "300");
    EXPECT_EQ("255", edit("r_edit")->text());
    EXPECT_EQ(qRgb(255, 0x34, 0x56), m_dialog.colour());

    type(edit("g_edit"), "-5");
    EXPECT_EQ("0", edit("g_edit")->text());
    EXPECT_EQ(qRgb(255, 0, 0x56), m_dialog.colour());

    type(edit("b_edit"), "");
    EXPECT_EQ("", edit("b_edit")->text()) << "an empty edit is not rewritten";
    EXPECT_EQ(qRgb(255, 0, 0), m_dialog.colour());

    type(edit("b_edit"), "77px");
    EXPECT_EQ("77px", edit("b_edit")->text());
    EXPECT_EQ(qRgb(255, 0, 77), m_dialog.colour());
    EXPECT_EQ(m_dialog.colour(), control<ColourPalette>(m_dialog, "color_Pallet")->colour());
    EXPECT_EQ(m_dialog.colour(), drawn_colour(control<QWidget>(m_dialog, "current_color_control")));
}

TEST(SelectColorText, SignDigitsAndTheRestIgnored) {
    struct Case {
        const char* typed;
        int value;
        const char* shown; // what the edit shows afterwards
    };
    for (const Case& c :
         {Case{"", 0, ""}, Case{"abc", 0, "abc"}, Case{"-", 0, "-"}, Case{"+7", 7, "+7"},
          Case{" 42", 42, " 42"}, Case{"12abc", 12, "12abc"}, Case{"255", 255, "255"},
          Case{"256", 255, "255"}, Case{"-0", 0, "-0"}, Case{"-1", 0, "0"},
          Case{"99999999999", 255, "255"}, Case{"1-2", 1, "1-2"}}) {
        const ChannelText read = read_channel_text(c.typed);
        EXPECT_EQ(c.value, read.value) << c.typed;
        const QString shown = read.rewrite ? read.text : QString(c.typed);
        EXPECT_EQ(c.shown, shown) << c.typed;
    }
}

TEST_F(SelectColorWndTest, EveryPaletteMoveChangesTheColourAtOnce) {
    auto* palette = control<ColourPalette>(m_dialog, "color_Pallet");
    const QRect field = palette->field_rect();
    QTest::mousePress(palette, Qt::LeftButton, {}, field.topLeft());
    EXPECT_EQ(palette->colour(), m_dialog.colour()) << "before the button is released";
    EXPECT_EQ(QString::number(qRed(palette->colour())), edit("r_edit")->text());
    QTest::mouseMove(palette, QPoint(field.center().x(), field.top()));
    EXPECT_EQ(palette->colour(), m_dialog.colour());
    EXPECT_EQ(QString::number(qGreen(palette->colour())), edit("g_edit")->text());
    EXPECT_EQ(QString::number(qBlue(palette->colour())), edit("b_edit")->text());
    QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(field.center().x(), field.top()));
    EXPECT_EQ(palette->colour(), m_dialog.colour());
    EXPECT_NE(qRgb(0x12, 0x34, 0x56), m_dialog.colour());
}

TEST_F(SelectColorWndTest, OnlyOkAnswersOne) {
    m_dialog.hide(); // a dialog already on the screen would not become modal
    when_open([](CSelectColorWnd& dialog) { control<QPushButton>(dialog, "ok_btn")->click(); });
    EXPECT_EQ(kDialogOk, m_dialog.show_modal());
    for (const char* button : {"cancel_btn", "exit_btn"}) {
        when_open(
            [button](CSelectColorWnd& dialog) { control<QPushButton>(dialog, button)->click(); });
        EXPECT_EQ(kDialogCancel, m_dialog.show_modal()) << button;
    }
    when_open([](CSelectColorWnd& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(kDialogCancel, m_dialog.show_modal());
    ModalAnswers::queue(7);
    EXPECT_EQ(kDialogCancel, m_dialog.show_modal()) << "an odd close code is no OK";
}

// A host that only counts its busy cover.
class CoverHost final : public DialogHost {
public:
    QWidget* host_window() override { return &m_window; }
    void show_busy_cover() override { ++m_shown; }
    void hide_busy_cover() override { ++m_hidden; }

    QWidget m_window;
    int m_shown = 0;
    int m_hidden = 0;
};

TEST(PickColour, OkGivesTheStoredFormAndEveryOtherEndGivesNothing) {
    ModalAnswers::clear();
    CoverHost host;
    host.m_window.show();
    when_open([&host](CSelectColorWnd& dialog) {
        EXPECT_EQ(1, host.m_shown - host.m_hidden) << "the cover is up while the dialog is open";
        EXPECT_EQ("18", control<QLineEdit>(dialog, "r_edit")->text());
        type(control<QLineEdit>(dialog, "b_edit"), "255");
        control<QPushButton>(dialog, "ok_btn")->click();
    });
    // Red 0x12, green 0x34, blue 0x56, stored red lowest.
    EXPECT_EQ(std::optional<Colour>(0x00FF3412u), pick_colour(host, 0x00563412u));
    EXPECT_EQ(host.m_shown, host.m_hidden);

    for (const char* button : {"cancel_btn", "exit_btn"}) {
        when_open([button](CSelectColorWnd& dialog) {
            type(control<QLineEdit>(dialog, "r_edit"), "1");
            control<QPushButton>(dialog, button)->click();
        });
        EXPECT_EQ(std::nullopt, pick_colour(host, 0x00563412u)) << button;
    }
    EXPECT_EQ(3, host.m_shown);
    EXPECT_EQ(3, host.m_hidden);
}

} // namespace
} // namespace zemrak::ui
