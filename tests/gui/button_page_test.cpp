// The button page in the real main window: menus, refusals, dialogs and labels, driven as a
// person drives them, with libraries and profiles laid out as files.

#include "app/main_wnd.h"
#include "model/button_functions.h"
#include "pages/buttons/button_page.h"
#include "pages/buttons/mouse_picture.h"
#include "pages/buttons/select_gun_wnd.h"
#include "pages/buttons/select_macro_wnd.h"
#include "pages/buttons/shortcut_wnd.h"
#include "program_folder.h"
#include "test_support/temp_dir.h"
#include "ui/modal.h"
#include "ui/popup_menu.h"
#include "ui/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

constexpr std::uint8_t kOff = 0;
constexpr std::uint8_t kMenu = 2;
constexpr std::uint8_t kForward = 4;

template <class Record>
std::vector<std::uint8_t> image_of(std::initializer_list<Record> records) {
    std::vector<std::uint8_t> image;
    for (const Record& record : records) {
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    return image;
}

MacroRecord macro(std::u16string_view folder, std::u16string_view name, std::uint16_t actions) {
    MacroRecord record = MacroRecord::make_macro(folder, name);
    for (std::uint16_t i = 0; i < actions; ++i) {
        MacroAction action;
        action.set_code(static_cast<std::uint8_t>(0x04 + i));
        action.set_kind(MacroAction::Press);
        action.set_delay(20);
        record.set_action(i, action);
    }
    record.set_action_count(actions);
    return record;
}

// Runs `check` on the modal dialog open when the event loop next turns, then closes it with
// `code`.
void when_modal(std::function<void(QDialog&)> check, int code = ui::kDialogCancel) {
    QTimer::singleShot(0, [check = std::move(check), code] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        check(*dialog);
        dialog->done(code);
    });
}

class ButtonPageTest : public ::testing::Test {
protected:
    // A program folder with `profile` stored and the libraries as given, and the window.
    void start(const ConfigBlock& profile, const std::vector<std::uint8_t>& macros = {},
               const std::vector<std::uint8_t>& recoils = {}) {
        test::lay_out_program_folder(m_dir.path(), {profile});
        if (!macros.empty()) {
            test::write_bytes(m_dir / "Data" / kMacroFileName, macros);
        }
        if (!recoils.empty()) {
            test::write_bytes(m_dir / "Data" / kRecoilFileName, recoils);
        }
        m_window = test::start_main_window(m_dir.path());
    }
    void start() { start(test::profile_named(u"P")); }

    QPushButton* button(int number) {
        auto* found = m_window->findChild<QPushButton*>(QStringLiteral("button%1_btn").arg(number));
        EXPECT_NE(nullptr, found) << number;
        return found;
    }
    ConfigBlock& profile() { return *m_window->store().profiles().current(); }
    std::uint8_t code(int number) {
        return profile().button(static_cast<std::size_t>(number - 1)).function_code();
    }
    QString label(int number) { return button(number)->toolTip(); }
    QWidget* cover() { return m_window->findChild<QWidget*>("disable_window_ver"); }

    // Clicks button control `number` and chooses `item` in the menu that opens, as a person
    // does; the window runs the item once the menu has closed.
    void choose(int number, const QString& item) {
        button(number)->click();
        ui::PopupMenu* menu = ui::PopupMenu::open_menu();
        ASSERT_NE(nullptr, menu) << number;
        ASSERT_TRUE(menu->choose(item)) << item.toStdString();
        QApplication::processEvents();
    }
    // The same with a dialog to answer: `answer` runs on it once it is open.
    void choose(int number, const QString& item, std::function<void(QDialog&)> answer,
                int code = ui::kDialogOk) {
        button(number)->click();
        ui::PopupMenu* menu = ui::PopupMenu::open_menu();
        ASSERT_NE(nullptr, menu);
        ASSERT_TRUE(menu->choose(item));
        when_modal(std::move(answer), code); // after the item's own turn
        QApplication::processEvents();
    }

    TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
};

TEST_F(ButtonPageTest, AChosenItemGoesOnTheButtonAndAnUnknownNameIsAClick) {
    start();
    EXPECT_EQ("Left Click", button(1)->text());
    EXPECT_EQ("Fire (recoil)", label(17));
    choose(5, "forward");
    EXPECT_EQ(kForward, code(5));
    EXPECT_EQ("Forward", button(5)->text());
    EXPECT_EQ(5, m_window->button_page().current_button());

    // Items inside submenus are chosen like any other; names count whatever their case.
    choose(6, "volume_up");
    EXPECT_EQ(69, code(6));
    EXPECT_EQ("Volume Up", label(6));
    button(8)->click();
    m_window->dispatch_menu("Volume_Down");
    EXPECT_EQ(70, code(8));
    button(7)->click();
    m_window->dispatch_menu("frobnicate");
    EXPECT_EQ(kClickFunction, code(7));
    EXPECT_EQ("Left Click", label(7));
}

TEST_F(ButtonPageTest, TheOfficeLeftButtonIsRefusedWithItsMessageAndOpensNoMenu) {
    start();
    bool covered = false;
    QString message;
    when_modal([&](QDialog& box) {
        covered = cover()->isVisible();
        message = box.findChild<QLabel*>("label_string")->text();
    });
    button(1)->click();
    EXPECT_TRUE(covered);
    EXPECT_EQ(ui::Texts::text("no_custom_text"), message);
    EXPECT_FALSE(cover()->isVisible());
    EXPECT_EQ(nullptr, ui::PopupMenu::open_menu());

    // Its game twin has no such rule.
    button(17)->click();
    EXPECT_NE(nullptr, ui::PopupMenu::open_menu());
}

TEST_F(ButtonPageTest, TheLeftButtonRuleCountsFourteenOfficeButtonsAndAllSixteenGameButtons) {
    ConfigBlock stored = test::profile_named(u"P");
    for (std::size_t i = 0; i < ConfigBlock::kButtonCount; ++i) {
        stored.button(i).set_function_code(kOff);
    }
    stored.button(0).set_function_code(kMenu); // changed elsewhere
    stored.button(3).set_function_code(kClickFunction);
    stored.button(14).set_function_code(kClickFunction);
    stored.button(15).set_function_code(kSendGunFunction);
    stored.button(31).set_function_code(kClickFunction);
    start(stored);

    QString message;
    const auto read_message = [&](QDialog& box) {
        message = box.findChild<QLabel*>("label_string")->text();
    };
    choose(4, "forward", read_message, ui::kDialogOk);
    EXPECT_EQ(ui::Texts::text("one_left_click_text"), message);
    EXPECT_EQ(kClickFunction, code(4)) << "buttons 15 and 16 do not count";
    choose(4, "send_gun");
    EXPECT_EQ(kSendGunFunction, code(4));

    m_window->findChild<QPushButton*>("button_mode_option_2")->click();
    choose(20, "forward");
    EXPECT_EQ(kForward, code(20)) << "button 32 clicks in game mode";
    message.clear();
    choose(32, "menu", read_message, ui::kDialogOk);
    EXPECT_EQ(ui::Texts::text("one_left_click_text"), message);
    EXPECT_EQ(kClickFunction, code(32));
}

TEST_F(ButtonPageTest, ModeSwitchOnAnOfficeButtonShowsOnItsGameTwinAndTheModeOptionsSwap) {
    start();
    choose(5, "mode_switch");
    EXPECT_EQ("Mode Switch", label(5));
    EXPECT_EQ("Mode Switch", label(21));
    EXPECT_EQ(kModeSwitchFunction, code(21));

    EXPECT_TRUE(button(5)->isVisibleTo(m_window.get()));
    EXPECT_FALSE(button(21)->isVisibleTo(m_window.get()));
    m_window->findChild<QPushButton*>("button_mode_option_2")->click();
    EXPECT_EQ(1, profile().button_mode());
    EXPECT_FALSE(button(5)->isVisibleTo(m_window.get()));
    EXPECT_TRUE(button(21)->isVisibleTo(m_window.get()));
    for (const char* name : {"office_mode_left", "office_mode_right"}) {
        EXPECT_FALSE(m_window->findChild<QWidget*>(name)->isVisibleTo(m_window.get())) << name;
    }
    for (const char* name : {"game_mode_left", "game_mode_right"}) {
        EXPECT_TRUE(m_window->findChild<QWidget*>(name)->isVisibleTo(m_window.get())) << name;
    }

    // On a game button it stays there.
    choose(22, "mode_switch");
    EXPECT_EQ(default_function_code(5), code(6));
}

TEST_F(ButtonPageTest, AShortcutTakesTheDialogsFlagsAndShowsTheKeyAloneWithoutModifiers) {
    ConfigBlock stored = test::profile_named(u"P");
    stored.button(4).set_function_code(kShortcutFunction);
    stored.button(4).set_shortcut_key(0x04);
    stored.button(4).set_shortcut_modifiers(0);
    start(stored);
    EXPECT_EQ("A", label(5));

    choose(5, "shortcut", [](QDialog& dialog) {
        EXPECT_NE(nullptr, qobject_cast<CShortcutWnd*>(&dialog));
        EXPECT_EQ("A", dialog.findChild<QLineEdit*>("edit_key")->text());
        dialog.findChild<QCheckBox*>("check_flag_1")->click();
        dialog.findChild<QCheckBox*>("check_flag_4")->click();
    });
    EXPECT_EQ(ButtonRecord::kCtrl | ButtonRecord::kWin, profile().button(4).shortcut_modifiers());
    EXPECT_EQ("Ctrl+Super+A", label(5));

    // A button without one starts from nothing, and cancel changes nothing more.
    choose(
        6, "shortcut",
        [](QDialog& dialog) {
            EXPECT_TRUE(dialog.findChild<QLineEdit*>("edit_key")->text().isEmpty());
            dialog.findChild<QCheckBox*>("check_flag_2")->click();
        },
        ui::kDialogCancel);
    EXPECT_EQ(default_function_code(5), code(6));
    EXPECT_EQ(0, profile().button(5).shortcut_modifiers());
    EXPECT_FALSE(cover()->isVisible());
}

TEST_F(ButtonPageTest, AMacroIsPickedAtMostTwiceAndARepickStartsFromTheButtonsMacro) {
    ConfigBlock stored = test::profile_named(u"P");
    stored.button(2).set_function_code(kMacroFunction);
    stored.button(2).set_macro_index(3);
    stored.button(2).set_repeat_mode(2);
    stored.button(2).set_folder_name(u"Moba");
    stored.button(2).set_item_name(u"Combo");
    start(stored,
          image_of<MacroRecord>({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 2),
                                 MacroRecord::make_folder(u"Moba"), macro(u"Moba", u"Combo", 3),
                                 macro(u"Fps", u"Silent", 0)}));
    EXPECT_EQ("Macro: Moba-Combo", label(3));

    // A second macro button.
    choose(20, "select_macro", [](QDialog& dialog) {
        auto* picker = qobject_cast<CSelectMacroWnd*>(&dialog);
        ASSERT_NE(nullptr, picker);
        EXPECT_EQ((LibraryPick{-1, 0, 0}), picker->pick());
        dialog.findChild<QListWidget*>("macro_list")->setCurrentRow(0);
        dialog.findChild<QRadioButton*>("repeat_2")->click();
    });
    EXPECT_EQ(kMacroFunction, code(20));
    EXPECT_EQ(1, profile().button(19).macro_index());
    EXPECT_EQ(1, profile().button(19).repeat_mode());
    EXPECT_EQ(2, profile().button(19).action_count());
    EXPECT_EQ("Macro: Fps-Burst", label(20));

    // A third is refused without a word: no dialog opens.
    ui::ModalAnswers::queue(ui::kDialogOk);
    choose(4, "select_macro");
    EXPECT_TRUE(ui::ModalAnswers::pending());
    ui::ModalAnswers::clear();
    EXPECT_EQ(default_function_code(3), code(4));

    // The first one picks again from its own macro, within the limit.
    LibraryPick start_values;
    choose(3, "select_macro", [&](QDialog& dialog) {
        start_values = static_cast<CSelectMacroWnd&>(dialog).pick();
        EXPECT_EQ(0, dialog.findChild<QListWidget*>("macro_list")->currentRow());
        // A macro without actions counts as a cancel.
        dialog.findChild<QComboBox*>("macro_combo")->setCurrentIndex(0);
        dialog.findChild<QListWidget*>("macro_list")->setCurrentRow(1);
    });
    EXPECT_EQ((LibraryPick{3, 2, 0}), start_values);
    EXPECT_EQ(3, profile().button(2).macro_index());
    EXPECT_EQ("Macro: Moba-Combo", label(3));
}

TEST_F(ButtonPageTest, OkWithoutAMacroGivesTheDefaultFunction) {
    start();
    choose(6, "forward");
    choose(6, "select_macro", [](QDialog& dialog) {
        EXPECT_EQ(0, dialog.findChild<QComboBox*>("macro_combo")->count());
    });
    EXPECT_EQ(default_function_code(5), code(6));
    EXPECT_EQ("DPI Up", label(6));
}

TEST_F(ButtonPageTest, ARecoilPatternStartsRedAndAFourthIsRefusedWithoutAWord) {
    ConfigBlock stored = test::profile_named(u"P");
    for (const std::size_t record : {3u, 19u}) {
        stored.button(record).set_function_code(kRecoilFunction);
        stored.button(record).set_recoil_index(1);
    }
    RecoilRecord ak = RecoilRecord::make_pattern(u"Rifles", u"Ak");
    ak.set_bullet_count(9);
    start(stored, {}, image_of<RecoilRecord>({RecoilRecord::make_folder(u"Rifles"), ak}));

    LibraryPick start_values;
    choose(6, "select_gun", [&](QDialog& dialog) {
        auto* picker = qobject_cast<CSelectGunWnd*>(&dialog);
        ASSERT_NE(nullptr, picker);
        start_values = picker->pick();
        dialog.findChild<QListWidget*>("gun_list")->setCurrentRow(0);
    });
    EXPECT_EQ((LibraryPick{-1, 0, 0x000000FFu}), start_values);
    EXPECT_EQ(kRecoilFunction, code(6));
    EXPECT_EQ(0x000000FFu, profile().button(5).recoil_colour());
    EXPECT_EQ(9, profile().button(5).action_count());
    EXPECT_EQ("Recoil: Rifles-Ak", label(6));

    ui::ModalAnswers::queue(ui::kDialogOk);
    choose(7, "select_gun");
    EXPECT_TRUE(ui::ModalAnswers::pending()) << "no picker opened for a fourth";
    ui::ModalAnswers::clear();
    EXPECT_EQ(default_function_code(6), code(7));
}

TEST_F(ButtonPageTest, TheLabelsFollowProfileSwitchesAndLibraryChanges) {
    ConfigBlock stored = test::profile_named(u"P");
    stored.button(2).set_function_code(kMacroFunction);
    stored.button(2).set_macro_index(1);
    stored.button(2).set_folder_name(u"Fps");
    stored.button(2).set_item_name(u"Burst");
    stored.set_button_mode(1);
    start(stored,
          image_of<MacroRecord>({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 2)}));
    EXPECT_TRUE(m_window->findChild<QPushButton*>("button_mode_option_2")->isChecked());
    EXPECT_TRUE(button(21)->isVisibleTo(m_window.get()));

    const LibraryResult renamed =
        m_window->model().change_macros([](MacroLibrary& library, ProfileList& profiles) {
            return library.rename_item(1, u"Spray", profiles);
        });
    ASSERT_TRUE(renamed.ok());
    EXPECT_EQ("Macro: Fps-Spray", label(3));

    // The same profile changed behind the page's back shows once the window says so.
    profile().button(4).set_function_code(kForward);
    profile().set_button_mode(0);
    m_window->refresh_pages();
    EXPECT_EQ("Forward", label(5));
    EXPECT_TRUE(m_window->findChild<QPushButton*>("button_mode_option_1")->isChecked());
    EXPECT_TRUE(button(5)->isVisibleTo(m_window.get()));
    EXPECT_EQ(0, profile().button_mode()) << "showing the mode writes nothing";
}

TEST_F(ButtonPageTest, ThePointerOverAButtonMarksItsPhysicalButtonInThePicture) {
    start();
    auto* picture = m_window->findChild<MousePicture*>("ver_mouse_pic");
    ASSERT_NE(nullptr, picture);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button(21), &enter);
    EXPECT_EQ(5, picture->highlighted());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button(21), &leave);
    EXPECT_EQ(0, picture->highlighted());
    // The pointer over the picture itself marks the button under it.
    emit picture->hovered(7);
    EXPECT_EQ(7, picture->highlighted());
}

TEST(ButtonPageMenu, OpensBelowTheButtonOrAboveItWhereBelowRunsOffTheScreen) {
    const QRect screen(0, 0, 1000, 800);
    EXPECT_EQ(QPoint(10, 131), CButtonPage::menu_anchor(QRect(10, 100, 200, 31), 300, screen));
    EXPECT_EQ(QPoint(10, 300), CButtonPage::menu_anchor(QRect(10, 600, 200, 31), 300, screen));
    // Exactly reaching the bottom still fits.
    EXPECT_EQ(QPoint(10, 500), CButtonPage::menu_anchor(QRect(10, 469, 200, 31), 300, screen));
}

} // namespace
} // namespace zemrak::pages
