// The macro page in the real main window: macros laid out in macro.bin, edited through the
// page's own controls, and read back from the file the page saves at once.

#include "app/main_wnd.h"
#include "macros/macro_action_row.h"
#include "macros/macro_library.h"
#include "macros/macro_page.h"
#include "model/button_functions.h"
#include "platform/file_io.h"
#include "platform/hook_library.h"
#include "program_folder.h"
#include "test_support/temp_dir.h"
#include "ui/file_dialogs.h"
#include "ui/modal.h"
#include "ui/popup_menu.h"
#include "ui/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

MacroAction key(std::uint8_t code, std::uint8_t kind, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(kind);
    action.set_delay(delay);
    return action;
}

MacroAction move(std::int32_t x, std::int32_t y) {
    MacroAction action = key(246, MacroAction::Move, 2);
    action.set_move_x(x);
    action.set_move_y(y);
    return action;
}

// A macro of `count` key actions (A, B, C, ... pressed, 20 ms each) unless given its actions.
MacroRecord macro(std::u16string_view folder, std::u16string_view name, std::uint16_t count,
                  std::initializer_list<MacroAction> actions = {}) {
    MacroRecord record = MacroRecord::make_macro(folder, name);
    std::size_t slot = 0;
    for (const MacroAction& action : actions) {
        record.set_action(slot++, action);
    }
    for (; slot < count; ++slot) {
        record.set_action(slot,
                          key(static_cast<std::uint8_t>(0x04 + slot), MacroAction::Press, 20));
    }
    record.set_action_count(count);
    return record;
}

MacroRecord locked(MacroRecord record) {
    record.set_locked(true);
    return record;
}

// Runs `answer` on the modal dialog open when the event loop next turns.
void when_modal(std::function<void(QDialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        answer(*dialog);
    });
}

class MacroPageTest : public ::testing::Test {
protected:
    void start(std::initializer_list<MacroRecord> records,
               const ConfigBlock& profile = test::profile_named(u"P")) {
        test::lay_out_program_folder(m_dir.path(), {profile});
        std::vector<std::uint8_t> image;
        for (const MacroRecord& record : records) {
            image.insert(image.end(), record.bytes().begin(), record.bytes().end());
        }
        test::write_bytes(m_dir / "Data" / kMacroFileName, image);
        m_window = test::start_main_window(m_dir.path());
        m_window->findChild<QPushButton*>("macro_btn")->click();
    }

    template <typename T>
    T* control(const char* name) {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name;
        return found;
    }
    CMacroPage& page() { return m_window->macro_page(); }
    QListWidget* actions() { return control<QListWidget>("macro_action_list"); }
    QListWidget* macros() { return control<QListWidget>("macro_list"); }
    QComboBox* folders() { return control<QComboBox>("macro_combo"); }
    QString text(const char* name) { return control<QLineEdit>(name)->text(); }

    // The records of macro.bin as the page left it.
    std::vector<MacroRecord> stored() {
        MacroLibrary library(m_dir / "Data");
        static_cast<void>(library.load());
        std::vector<MacroRecord> records;
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(library.size()); ++i) {
            records.push_back(*library.record_at(i));
        }
        return records;
    }
    QStringList rows(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }
    QStringList folder_rows() {
        QStringList texts;
        for (int i = 0; i < folders()->count(); ++i) {
            texts << folders()->itemText(i);
        }
        return texts;
    }

    void show_macro(int row) { macros()->setCurrentRow(row); }
    void select_action(int row) { actions()->setCurrentRow(row); }
    // Types `typed` into the field and leaves it, as a person does.
    void type(const char* name, const QString& typed) {
        QLineEdit* edit = control<QLineEdit>(name);
        edit->setText(typed);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &leave);
    }
    void click(const char* name) { control<QPushButton>(name)->click(); }
    // Chooses `item` of the menu that the button `name` opens; `answer`, when given, runs on
    // the modal dialog the item opens.
    void choose(const char* name, const QString& item,
                std::function<void(QDialog&)> answer = nullptr) {
        click(name);
        ui::PopupMenu* menu = ui::PopupMenu::open_menu();
        ASSERT_NE(nullptr, menu) << name;
        ASSERT_TRUE(menu->choose(item)) << item.toStdString();
        if (answer) {
            when_modal(std::move(answer)); // after the item's own turn
        }
        QApplication::processEvents();
    }
    QString path(const char* file) { return QString::fromStdString((m_dir / file).string()); }

    TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
};

TEST_F(MacroPageTest, TypedValuesAreHeldToTheirLimitsShownAsHeldAndSavedAtOnce) {
    start({MacroRecord::make_folder(u"Fps"),
           macro(u"Fps", u"Burst", 3, {key(0x04, 1, 20), move(5, -3)})});
    EXPECT_EQ((QStringList{"Fps"}), folder_rows());
    EXPECT_EQ((QStringList{"Burst"}), rows(macros()));
    show_macro(0);
    ASSERT_EQ(3, actions()->count());
    EXPECT_EQ(2, page().selected_action()) << "a macro opens on its last action";

    select_action(0);
    type("edit_macro_delay", "5");
    EXPECT_EQ("10", text("edit_macro_delay"));
    EXPECT_EQ(10, stored().at(1).action(0).delay());
    type("edit_macro_delay", "70000");
    EXPECT_EQ("65535", text("edit_macro_delay"));
    EXPECT_EQ(65535, stored().at(1).action(0).delay());
    type("edit_macro_delay", "250");
    EXPECT_EQ("250", text("edit_macro_delay")) << "a value within the limits stays as typed";
    EXPECT_EQ("250", MacroActionRow::at(actions(), 0)->delay()->text());

    type("edit_loop_time", "0");
    EXPECT_EQ("1", text("edit_loop_time"));
    type("edit_loop_time", "300");
    EXPECT_EQ("255", text("edit_loop_time"));
    EXPECT_EQ(255, stored().at(1).loop_count());

    select_action(1);
    EXPECT_TRUE(control<QWidget>("macro_mouse_move_hor")->isVisibleTo(m_window.get()));
    EXPECT_FALSE(control<QWidget>("macro_key_hor")->isVisibleTo(m_window.get()));
    EXPECT_EQ("5", text("edit_macro_action_x"));
    type("edit_macro_action_x", "-200");
    EXPECT_EQ("-127", text("edit_macro_action_x"));
    type("edit_macro_action_y", "128");
    EXPECT_EQ("127", text("edit_macro_action_y"));
    EXPECT_EQ("X: -127 Y: 127", MacroActionRow::at(actions(), 1)->action()->text());
    const MacroAction moved = stored().at(1).action(1);
    EXPECT_EQ(-127, moved.move_x());
    EXPECT_EQ(127, moved.move_y());

    // Each field shows the total a play takes: 250 + 2 + 20 ms, 255 times.
    EXPECT_NE(-1, control<QLabel>("macro_duration_label")->text().indexOf("272"));
}

TEST_F(MacroPageTest, MovementFieldsKeepOnlyDigitsAndMinusWithTheCaretAtTheEnd) {
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1)});
    for (const char* name : {"edit_insert_x", "edit_insert_y"}) {
        QLineEdit* edit = control<QLineEdit>(name);
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, "1a2");
        EXPECT_EQ("12", edit->text()) << name;
        EXPECT_EQ(2, edit->cursorPosition()) << name;
        QTest::keyClicks(edit, "-");
        edit->setCursorPosition(1);
        QTest::keyClicks(edit, "3");
        EXPECT_EQ("132-", edit->text()) << name;
        EXPECT_EQ(2, edit->cursorPosition()) << "nothing removed: the caret stays";
    }
}

TEST_F(MacroPageTest, AMoveGoesInAfterTheSelectedActionWhileTheMacroHoldsFewerThan26) {
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Long", 25)});
    show_macro(0);
    select_action(2);
    type("edit_insert_x", "-200");
    type("edit_insert_y", "7");
    click("btn_insert_move");
    MacroRecord saved = stored().at(1);
    ASSERT_EQ(26, saved.action_count());
    EXPECT_EQ(246, saved.action(3).code());
    EXPECT_EQ(MacroAction::Move, saved.action(3).kind());
    EXPECT_EQ(-127, saved.action(3).move_x()) << "a move holds -127..127";
    EXPECT_EQ(7, saved.action(3).move_y());
    EXPECT_EQ(2, saved.action(3).delay());
    EXPECT_EQ(0x04 + 3, saved.action(4).code()) << "later actions move up";
    EXPECT_EQ(3, page().selected_action());
    EXPECT_EQ("X: -127 Y: 7", MacroActionRow::at(actions(), 3)->action()->text());

    click("btn_insert_move");
    EXPECT_EQ(26, stored().at(1).action_count()) << "26 actions take no further move";
    EXPECT_EQ(26, actions()->count());
}

TEST_F(MacroPageTest, ActionsMoveDeleteAndClearAndTheLastDeletionLeavesNothingSelected) {
    start({MacroRecord::make_folder(u"Fps"),
           macro(u"Fps", u"Two", 2, {key(0x04, 1, 30), key(240, 2, 40)}),
           macro(u"Fps", u"One", 1)});
    show_macro(0);
    select_action(1);
    EXPECT_TRUE(control<QComboBox>("macro_mouse_action_combo")->isVisibleTo(m_window.get()));
    EXPECT_FALSE(control<QLineEdit>("edit_macro_action")->isVisibleTo(m_window.get()));
    control<QComboBox>("macro_mouse_action_combo")->setCurrentIndex(3);
    EXPECT_EQ(243, stored().at(1).action(1).code());
    EXPECT_EQ(ui::Texts::text("Backward_Button"), MacroActionRow::at(actions(), 1)->key()->text());

    click("btn_macro_move_up");
    EXPECT_EQ(243, stored().at(1).action(0).code());
    EXPECT_EQ(0x04, stored().at(1).action(1).code());
    EXPECT_EQ(0, page().selected_action());
    click("btn_macro_move_up");
    EXPECT_EQ(243, stored().at(1).action(0).code()) << "the first row goes no higher";
    click("btn_macro_action_delete");
    EXPECT_EQ(1, stored().at(1).action_count());
    EXPECT_EQ(0x04, stored().at(1).action(0).code());
    EXPECT_EQ(MacroAction{}, stored().at(1).action(1)) << "the freed slot is zero";
    click("btn_macro_clear_all");
    EXPECT_EQ(0, stored().at(1).action_count());

    show_macro(1);
    EXPECT_EQ(0, page().selected_action());
    click("btn_macro_action_delete");
    EXPECT_EQ(0, actions()->count());
    EXPECT_EQ(-1, page().selected_action());
    EXPECT_EQ("", text("edit_macro_delay"));
    EXPECT_FALSE(control<QWidget>("macro_delay_hor")->isVisibleTo(m_window.get()));
    EXPECT_EQ(0, stored().at(2).action_count());
    auto* hint = control<QLabel>("macro_action_empty_label");
    EXPECT_TRUE(hint->isVisibleTo(m_window.get()));
    EXPECT_EQ(ui::Texts::text("macro_no_actions_text"), hint->text());
}

TEST_F(MacroPageTest, ALockedMacroShowsNoActionsALoopOfOneAndTakesNoChange) {
    MacroRecord secret = locked(macro(u"Fps", u"Secret", 3));
    secret.set_loop_count(5);
    start({MacroRecord::make_folder(u"Fps"), secret});
    ASSERT_FALSE(macros()->item(0)->toolTip().isEmpty()) << "the row carries the lock";
    show_macro(0);
    EXPECT_EQ(0, actions()->count());
    EXPECT_EQ("1", text("edit_loop_time"));
    EXPECT_EQ(nullptr, page().editing_macro()) << "the recorder gets nothing to record into";
    type("edit_insert_x", "3");
    click("btn_insert_move");
    click("btn_macro_clear_all");
    type("edit_loop_time", "9");
    EXPECT_EQ(secret, stored().at(1));
    EXPECT_EQ(ui::Texts::text("macro_locked_text"),
              control<QLabel>("macro_action_empty_label")->text());
}

TEST_F(MacroPageTest, EditsReachTheButtonsThatUseTheMacroAndTheButtonPageShowsThem) {
    ConfigBlock profile = test::profile_named(u"P");
    ButtonRecord& button = profile.button(6);
    button.set_function_code(kMacroFunction);
    button.set_macro_index(1);
    button.set_action_count(2);
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 2)}, profile);
    show_macro(0);
    select_action(0);
    type("edit_macro_delay", "900");
    const ButtonRecord& now = m_window->store().profiles().current()->button(6);
    EXPECT_EQ(900, now.action(0).delay());
    type("edit_macro_name", "Rapid");
    EXPECT_EQ(u"Rapid", m_window->store().profiles().current()->button(6).item_name());
    EXPECT_EQ(u"Rapid", stored().at(1).item_name());
    EXPECT_EQ((QStringList{"Rapid"}), rows(macros()));
    EXPECT_NE(-1, m_window->findChild<QPushButton*>("button7_btn")->toolTip().indexOf("Rapid"))
        << "the button page was refreshed";
}

TEST_F(MacroPageTest, ImportsTakeFreeNamesAndALockedFolderComesBackLocked) {
    start({MacroRecord::make_folder(u"Games"), macro(u"Games", u"Combo", 2),
           macro(u"Games", u"Combo_1", 1)});
    // A file named Combo into a folder with Combo and Combo_1.
    test::write_bytes(m_dir / "Combo.mbin", [] {
        const MacroRecord record = macro(u"Elsewhere", u"Stored name", 4);
        return std::vector<std::uint8_t>(record.bytes().begin(), record.bytes().end());
    }());
    ui::FileDialogAnswers::queue(path("Combo.mbin"));
    choose("btn_menu_macro", "import_macro");
    EXPECT_EQ((QStringList{"Combo", "Combo_1", "Combo_2"}), rows(macros()));
    EXPECT_EQ(u"Games", stored().at(3).folder_name());
    EXPECT_EQ(4, page().working()->action_count()) << "the imported macro is shown";

    // The folder exported locked and imported back: a folder of its own, every macro locked.
    ui::FileDialogAnswers::queue(path("Games.mbins"));
    choose("btn_menu_macro_floder", "export_pw_macro_dir");
    EXPECT_FALSE(stored().at(1).locked()) << "the library's own records stay as they were";
    ui::FileDialogAnswers::queue(path("Games.mbins"));
    choose("btn_menu_macro_floder", "import_macro_dir");
    EXPECT_EQ((QStringList{"Games", "Games_1"}), folder_rows());
    EXPECT_EQ(1, folders()->currentIndex());
    EXPECT_EQ((QStringList{"Combo", "Combo_1", "Combo_2"}), rows(macros()));
    for (int row = 0; row < macros()->count(); ++row) {
        EXPECT_EQ(ui::Texts::text("locked_item_tip_text"), macros()->item(row)->toolTip()) << row;
    }

    // A file that is not a whole number of macros changes nothing and says so.
    test::write_bytes(m_dir / "Odd.mbins", std::vector<std::uint8_t>(MacroRecord::kSize + 1, 0));
    const std::vector<MacroRecord> before = stored();
    QString message;
    ui::FileDialogAnswers::queue(path("Odd.mbins"));
    choose("btn_menu_macro_floder", "import_macro_dir", [&](QDialog& box) {
        message = box.findChild<QLabel*>("label_string")->text();
        box.done(ui::kDialogOk);
    });
    EXPECT_EQ(ui::Texts::text("macro_import_failed_text"), message);
    EXPECT_EQ(before, stored());
    EXPECT_EQ(2, folders()->count());
}

TEST_F(MacroPageTest, DeletionsResetTheEditorAndADeletedFolderLeavesThePicker) {
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 2), macro(u"Fps", u"Spray", 1),
           MacroRecord::make_folder(u"Moba"), macro(u"Moba", u"Combo", 3)});
    show_macro(1);
    EXPECT_EQ(2, page().current_position());
    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_macro");
    EXPECT_EQ(-1, page().current_position()) << "the editor lets go of the removed macro";
    EXPECT_FALSE(page().working().has_value());
    EXPECT_EQ("", text("edit_macro_name"));
    EXPECT_EQ(0, actions()->count());
    EXPECT_EQ((QStringList{"Burst"}), rows(macros()));
    show_macro(0);
    EXPECT_EQ(1, page().current_position());

    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_macro_floder");
    EXPECT_EQ((QStringList{"Moba"}), folder_rows());
    EXPECT_EQ((QStringList{"Combo"}), rows(macros())) << "the next folder is listed";
    EXPECT_EQ(-1, page().current_position());
    EXPECT_EQ((std::vector<std::int32_t>{1}), page().listed());
    ASSERT_EQ(2u, stored().size());

    // The macro picker of the button page lists what is left.
    m_window->findChild<QPushButton*>("key_btn")->click();
    m_window->findChild<QPushButton*>("button7_btn")->click();
    ui::PopupMenu* menu = ui::PopupMenu::open_menu();
    ASSERT_NE(nullptr, menu);
    QStringList picker_folders;
    ASSERT_TRUE(menu->choose("select_macro"));
    when_modal([&](QDialog& dialog) { // after the item's own turn
        auto* combo = dialog.findChild<QComboBox*>();
        for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
            picker_folders << combo->itemText(i);
        }
        dialog.done(ui::kDialogCancel);
    });
    QApplication::processEvents();
    EXPECT_EQ((QStringList{"Moba"}), picker_folders);

    ui::ModalAnswers::queue(ui::kDialogOk);
    m_window->findChild<QPushButton*>("macro_btn")->click();
    click("btn_delete_macro_floder");
    EXPECT_EQ(0, folders()->count());
    EXPECT_EQ(0, macros()->count());
    EXPECT_EQ(ui::Texts::text("macro_no_folder_text"),
              control<QLabel>("macro_list_empty_label")->text());
    EXPECT_TRUE(stored().empty());
}

TEST_F(MacroPageTest, NewFoldersAndMacrosAreNamedInTheDialogAndAFailedSaveIsShown) {
    start({});
    EXPECT_TRUE(control<QLabel>("macro_list_empty_label")->isVisibleTo(m_window.get()));
    const auto name_it = [](const QString& name) {
        when_modal([name](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("edit_name")->setText(name);
            dialog.findChild<QPushButton*>("ok_btn")->click();
        });
    };
    name_it("Fps");
    click("btn_add_macro_floder");
    EXPECT_EQ((QStringList{"Fps"}), folder_rows());
    name_it("Burst");
    click("btn_add_macro");
    EXPECT_EQ((QStringList{"Burst"}), rows(macros()));
    EXPECT_EQ(1, page().current_position());
    EXPECT_EQ(ui::Texts::text("macro_no_actions_text"),
              control<QLabel>("macro_action_empty_label")->text());
    ASSERT_EQ(2u, stored().size());
    EXPECT_EQ(1, stored().at(1).loop_count());

    // The data folder turns into a file: the save fails, and the user is told.
    std::filesystem::remove_all(m_dir / "Data");
    test::write_text(m_dir / "Data", "");
    QString message;
    when_modal([&](QDialog& box) {
        message = box.findChild<QLabel*>("label_string")->text();
        box.done(ui::kDialogOk);
    });
    click("btn_insert_move");
    EXPECT_TRUE(message.startsWith(ui::Texts::text("macro_save_failed_text").section('%', 0, 0)))
        << message.toStdString();
    EXPECT_EQ(1, page().working()->action_count()) << "the edit stays in memory";
}

// A key as X11 or Wayland deliver it to the window: the native scan code is the evdev code + 8.
void send_key(QWidget& window, QEvent::Type type, Qt::Key key, std::uint16_t evdev) {
    QKeyEvent event(type, key, Qt::NoModifier, evdev + 8U, 0, 0);
    QApplication::sendEvent(window.windowHandle(), &event);
}

// Points the program at an input library that is not there, so that captures come from its
// own windows, for the life of the object.
class WithoutInputLibrary {
public:
    WithoutInputLibrary()
        : m_wasSet(qEnvironmentVariableIsSet(kHookLibraryVariable)),
          m_was(qgetenv(kHookLibraryVariable)) {
        qputenv(kHookLibraryVariable, QByteArray(ZEMRAK_SOURCE_DIR "/no-such-hook-library.so"));
    }
    ~WithoutInputLibrary() {
        if (m_wasSet) {
            qputenv(kHookLibraryVariable, m_was);
        } else {
            qunsetenv(kHookLibraryVariable);
        }
    }
    WithoutInputLibrary(const WithoutInputLibrary&) = delete;
    WithoutInputLibrary& operator=(const WithoutInputLibrary&) = delete;

private:
    bool m_wasSet;
    QByteArray m_was;
};

TEST_F(MacroPageTest, KeysAndClicksInTheWindowAreRecordedAfterTheSelectionAndSaved) {
    const WithoutInputLibrary window_only;
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1)});
    show_macro(0);
    select_action(0);
    auto* record = control<QCheckBox>("btn_record");
    auto* scope = control<QLabel>("record_scope_label");
    // Clicks reach the window as the desktop delivers them, and from there the button.
    const QPoint on_box = record->mapTo(m_window.get(), QPoint(8, record->height() / 2));
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, on_box);
    ASSERT_TRUE(record->isChecked());
    QApplication::processEvents();
    EXPECT_EQ(record, m_window->childAt(on_box)) << "the button stays under the pointer";
    EXPECT_TRUE(scope->isVisibleTo(m_window.get()));
    EXPECT_TRUE(scope->text().startsWith(ui::Texts::text("recording_window_text")));

    record->setFocus();
    send_key(*m_window, QEvent::KeyPress, Qt::Key_B, KEY_B);
    send_key(*m_window, QEvent::KeyPress, Qt::Key_B, KEY_B); // held
    send_key(*m_window, QEvent::KeyRelease, Qt::Key_B, KEY_B);
    QTest::mouseClick(m_window->windowHandle(), Qt::BackButton);
    EXPECT_EQ(5, actions()->count());
    EXPECT_EQ(1, stored().at(1).action_count()) << "saved when the recording ends";

    // The pointer goes onto the button and clicks it: the recording ends without that click.
    QTest::mouseMove(m_window->windowHandle(), on_box);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, on_box);
    EXPECT_FALSE(record->isChecked());
    EXPECT_FALSE(scope->isVisibleTo(m_window.get()));
    const MacroRecord saved = stored().at(1);
    ASSERT_EQ(5, saved.action_count());
    EXPECT_EQ(key(0x04, MacroAction::Press, 20), saved.action(0));
    EXPECT_EQ(key(0x05, MacroAction::Press, 10), saved.action(1));
    EXPECT_EQ(key(0x05, MacroAction::Release, 10), saved.action(2));
    EXPECT_EQ(key(243, MacroAction::Press, 10), saved.action(3));
    EXPECT_EQ(key(243, MacroAction::Release, 2), saved.action(4));
}

TEST_F(MacroPageTest, ARecordingEndsStoredWhenAnotherMacroIsChosen) {
    const WithoutInputLibrary window_only;
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1),
           macro(u"Fps", u"Reload", 1)});
    const MacroRecord reload = stored().at(2);
    show_macro(0);
    auto* record = control<QCheckBox>("btn_record");
    record->click();
    ASSERT_TRUE(record->isChecked());
    send_key(*m_window, QEvent::KeyPress, Qt::Key_B, KEY_B);

    show_macro(1);
    EXPECT_FALSE(record->isChecked()) << "the recording ended with its macro";
    send_key(*m_window, QEvent::KeyPress, Qt::Key_C, KEY_C);
    // Recorded after the action the page selected.
    ASSERT_EQ(2, stored().at(1).action_count()) << "what was recorded is kept";
    EXPECT_EQ(0x05, stored().at(1).action(1).code());
    EXPECT_EQ(reload, stored().at(2)) << "the macro chosen next records nothing";
}

TEST_F(MacroPageTest, TheKeyFieldTakesAKeyOnceWhileTabAndShiftTabMoveOn) {
    const WithoutInputLibrary window_only;
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 2)});
    show_macro(0);
    select_action(0);
    auto* field = control<QLineEdit>("edit_macro_action");
    const auto code_stored = [this] { return stored().at(1).action(0).code(); };
    const std::filesystem::path file = m_dir / "Data" / kMacroFileName;

    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    send_key(*m_window, QEvent::KeyPress, Qt::Key_C, KEY_C);
    const FileStamp pressed = file_stamp(file);
    send_key(*m_window, QEvent::KeyRelease, Qt::Key_C, KEY_C);
    EXPECT_EQ(0x06, code_stored());
    EXPECT_EQ(pressed, file_stamp(file)) << "one key, one save";

    send_key(*m_window, QEvent::KeyPress, Qt::Key_Tab, KEY_TAB);
    EXPECT_FALSE(field->hasFocus()) << "Tab leaves the field";
    EXPECT_EQ(0x06, code_stored());

    field->setFocus();
    send_key(*m_window, QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT);
    send_key(*m_window, QEvent::KeyPress, Qt::Key_Backtab, KEY_TAB);
    EXPECT_FALSE(field->hasFocus()) << "Shift+Tab leaves the field";
    send_key(*m_window, QEvent::KeyRelease, Qt::Key_Backtab, KEY_TAB);
    send_key(*m_window, QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT);
    EXPECT_EQ(0x06, code_stored());

    // Shift pressed and let go alone is the key.
    field->setFocus();
    send_key(*m_window, QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT);
    EXPECT_EQ(0x06, code_stored());
    send_key(*m_window, QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT);
    EXPECT_EQ(0xE1, code_stored());
}

TEST_F(MacroPageTest, ALoopCountFromAFileIsShownWholeAndReturnThenLeavingSavesOnce) {
    MacroRecord many = macro(u"Fps", u"Burst", 1);
    many.set_loop_count(1000);
    start({MacroRecord::make_folder(u"Fps"), many});
    show_macro(0);
    auto* loops = control<QLineEdit>("edit_loop_time");
    EXPECT_EQ("1000", loops->text());
    type("edit_loop_time", "1000");
    EXPECT_EQ(1000, stored().at(1).loop_count()) << "leaving the field changes nothing";

    loops->setFocus();
    loops->setText("7");
    QTest::keyClick(loops, Qt::Key_Return);
    EXPECT_EQ(7, stored().at(1).loop_count());
    const FileStamp taken = file_stamp(m_dir / "Data" / kMacroFileName);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(loops, &leave);
    EXPECT_EQ(taken, file_stamp(m_dir / "Data" / kMacroFileName)) << "saved once";
}

TEST_F(MacroPageTest, ANameTakenInTheFolderIsRefusedOnceWhenConfirmedWithReturn) {
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1),
           macro(u"Fps", u"Reload", 1)});
    show_macro(0);
    auto* name = control<QLineEdit>("edit_macro_name");
    int told = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&told] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++told;
            box->done(ui::kDialogOk);
        }
    });
    closer.start(5);
    name->setFocus();
    name->setText("reload");
    QTest::keyClick(name, Qt::Key_Return);
    closer.stop();
    EXPECT_EQ(1, told);
    EXPECT_EQ("Burst", name->text());
    EXPECT_EQ(u"Burst", stored().at(1).item_name());
}

TEST_F(MacroPageTest, AnEditOfAFileAnotherProgramChangedIsNotMadeAndTheFileIsReadAgain) {
    start({MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1)});
    show_macro(0);
    // Another program adds a macro; the window has not looked yet.
    std::vector<std::uint8_t> theirs;
    for (const MacroRecord& record : {MacroRecord::make_folder(u"Fps"), macro(u"Fps", u"Burst", 1),
                                      macro(u"Fps", u"Theirs", 2)}) {
        theirs.insert(theirs.end(), record.bytes().begin(), record.bytes().end());
    }
    test::write_bytes(m_dir / "Data" / kMacroFileName, theirs);

    QString message;
    when_modal([&](QDialog& box) {
        message = box.findChild<QLabel*>("label_string")->text();
        box.done(ui::kDialogOk);
    });
    type("edit_loop_time", "9");
    EXPECT_TRUE(message.startsWith(QStringLiteral("macro.bin"))) << message.toStdString();
    EXPECT_EQ(theirs, test::read_bytes(m_dir / "Data" / kMacroFileName)) << "nothing written";
    QTRY_COMPARE(rows(macros()), (QStringList{"Burst", "Theirs"}));
    EXPECT_EQ(1, m_window->data().macros().record_at(1)->loop_count()) << "the edit was not made";
}

} // namespace
} // namespace zemrak::pages
