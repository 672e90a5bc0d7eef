#include "app/main_wnd.h"
#include "app/menu_dispatch.h"
#include "device/report_plan.h"
#include "macros/macro_record.h"
#include "model/button_functions.h"
#include "model/byte_io.h"
#include "model/config_defaults.h"
#include "model/device_params.h"
#include "model/profile_files.h"
#include "model/record_library.h"
#include "program_folder.h"
#include "recoil/recoil_record.h"
#include "test_support/malformed_files.h"
#include "test_support/mouse_log.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"
#include "ui/file_dialogs.h"
#include "ui/modal.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "zemrak_version.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace zemrak::app {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_bytes;

// A program folder with the shipped files and the given stored profiles, and the main window
// started on it against the virtual mouse.
class MainWndTest : public ::testing::Test {
protected:
    void start(std::initializer_list<std::u16string> names = {}, std::uint8_t index = 0) {
        std::vector<ConfigBlock> profiles;
        for (const auto& name : names) {
            profiles.push_back(test::profile_named(name));
        }
        test::lay_out_program_folder(m_dir.path(), profiles, index);
        m_window = test::start_main_window(m_dir.path());
    }

    template <typename T>
    T* control(const char* name) {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    QStringList combo_items() {
        QStringList items;
        auto* combo = control<QComboBox>("profile_combo");
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
        return items;
    }
    QString current_name() {
        return ui::to_qstring(m_window->store().profiles().current()->name());
    }
    std::size_t stored_profiles() {
        return read_bytes(m_dir / "Data" / "profile.bin").size() / ConfigBlock::kSize;
    }
    void wait_for_applies() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    }

    TempDir m_dir;
    std::unique_ptr<CMainWnd> m_window;
};

TEST_F(MainWndTest, StoredProfilesFillTheBarWithTheCurrentOneSelected) {
    start({u"One", u"Two", u"Three"}, 2);
    EXPECT_EQ((QStringList{"One", "Two", "Three"}), combo_items());
    EXPECT_EQ(2, control<QComboBox>("profile_combo")->currentIndex());
    EXPECT_EQ("Three", control<QLineEdit>("edit_profile_name")->text());
    EXPECT_EQ(DeviceState::Connected, m_window->device_state());
}

TEST_F(MainWndTest, PagesFollowTheProfileThatBecomesCurrent) {
    start({u"One", u"Two"});
    EXPECT_EQ(m_window->store().profiles().current(), m_window->button_page().profile());
    control<QComboBox>("profile_combo")->setCurrentIndex(1);
    EXPECT_EQ("Two", current_name());
    EXPECT_EQ(m_window->store().profiles().current(), m_window->button_page().profile());
    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_profile");
    EXPECT_EQ("One", current_name());
    EXPECT_EQ(m_window->store().profiles().current(), m_window->button_page().profile())
        << "never a page left on a deleted profile";
}

TEST_F(MainWndTest, ADeletionDuringAnApplyStaysDeleted) {
    start({u"One", u"Two", u"Three"});
    click("btn_apply"); // the apply takes its copy and writes to the mouse for some 100 ms
    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_profile");
    EXPECT_EQ(2u, stored_profiles());
    wait_for_applies();
    EXPECT_EQ(2u, stored_profiles()) << "the apply must not write its older list back";
    EXPECT_EQ((QStringList{"Two", "Three"}), combo_items());
}

TEST_F(MainWndTest, ProfilesAnotherProgramAddsAppearAndSurviveTheWindowsNextApply) {
    start({u"One", u"Two"});
    const auto import_elsewhere = [this](const std::u16string& name) {
        AppData other(folders_in(m_dir.path()));
        other.load_settings();
        static_cast<void>(other.load_data());
        const std::filesystem::path file = m_dir / "shared.pbin";
        ASSERT_FALSE(save_profile_image(file, test::profile_named(name)));
        ASSERT_TRUE(other.import_profile(file).added);
    };
    import_elsewhere(u"Shared");
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return combo_items() == QStringList{"One", "Two", "Shared"};
        },
        10'000))
        << combo_items().join(' ').toStdString();
    click("btn_apply");
    wait_for_applies();
    EXPECT_EQ(3u, stored_profiles()) << "the apply must not write over the import";

    // A change of the window's own that no save has written yet stays, and the window says so.
    m_window->store().profiles().current()->bytes()[ConfigBlock::kSize - 1] ^= 0xFF;
    const ConfigBlock edited = *m_window->store().profiles().current();
    import_elsewhere(u"Later");
    auto* status = control<QLabel>("status_label");
    EXPECT_TRUE(QTest::qWaitFor([status] { return status->text().contains("One"); }, 10'000))
        << status->text().toStdString();
    EXPECT_EQ(4, combo_items().size());
    EXPECT_EQ("One", current_name());
    click("btn_apply");
    wait_for_applies();
    ProfileList stored;
    ASSERT_FALSE(load_profiles(m_dir / "Data" / "profile.bin", stored).error);
    ASSERT_EQ(4u, stored.size());
    EXPECT_TRUE(stored.at(0) == edited);
    EXPECT_EQ(u"Later", stored.at(3).name());
}

TEST_F(MainWndTest, SectionSelectorsSwitchBothTabLevels) {
    start();
    auto* outer = control<QStackedWidget>("config_tab");
    auto* inner = control<QStackedWidget>("main_tab");
    click("light_btn");
    EXPECT_EQ(0, outer->currentIndex());
    EXPECT_EQ(2, inner->currentIndex());
    click("macro_btn");
    EXPECT_EQ(1, outer->currentIndex());
    click("performance_btn");
    EXPECT_EQ(0, outer->currentIndex());
    EXPECT_EQ(1, inner->currentIndex());
    click("gun_btn");
    EXPECT_EQ(2, outer->currentIndex());
    click("key_btn");
    EXPECT_EQ(0, outer->currentIndex());
    EXPECT_EQ(0, inner->currentIndex()) << "the button page, not the page shown before";
}

TEST_F(MainWndTest, AddedProfilesGetCounterSuffixesAndAreSavedAtOnce) {
    start({u"Profile1", u"Profile2", u"Profile3"});
    ui::ModalAnswers::queue(ui::kDialogOk);
    control<QComboBox>("profile_combo")->setCurrentIndex(1);
    click("btn_delete_profile");
    click("btn_add_profile");
    EXPECT_EQ("Profile3_1", current_name());
    EXPECT_EQ(3u, stored_profiles());

    ui::ModalAnswers::queue(ui::kDialogOk);
    control<QComboBox>("profile_combo")->setCurrentIndex(0);
    click("btn_delete_profile"); // Profile3, Profile3_1 remain
    click("btn_add_profile");
    EXPECT_EQ("Profile3_2", current_name());
    EXPECT_EQ((QStringList{"Profile3", "Profile3_1", "Profile3_2"}), combo_items());
}

TEST_F(MainWndTest, DeletingMakesTheSuccessorOrTheNewLastCurrentAndCancelKeepsAll) {
    start({u"A", u"B", u"C"}, 1);
    ui::ModalAnswers::queue(ui::kDialogCancel);
    click("btn_delete_profile");
    EXPECT_EQ(3, control<QComboBox>("profile_combo")->count());

    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_profile");
    EXPECT_EQ("C", current_name()) << "the successor";
    EXPECT_EQ("C", control<QLineEdit>("edit_profile_name")->text());

    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_delete_profile");
    EXPECT_EQ("A", current_name()) << "the new last one";
    EXPECT_EQ(1u, stored_profiles());

    click("btn_delete_profile"); // the last profile stays, without a question
    EXPECT_FALSE(ui::ModalAnswers::pending());
    EXPECT_EQ(1, control<QComboBox>("profile_combo")->count());
}

TEST_F(MainWndTest, ATypedNameIsTakenOnReturnAndBeforeAnyButtonOfTheBar) {
    start({u"Alpha", u"Beta"});
    auto* edit = control<QLineEdit>("edit_profile_name");
    edit->setText("Gamma");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ("Gamma", current_name());

    // Typed, then straight to a button that takes no focus.
    edit->setText("Delta");
    click("btn_add_profile");
    const QStringList items = combo_items();
    ASSERT_EQ(3, items.size());
    EXPECT_EQ("Delta", items.at(0)) << "the name typed for the first profile is kept";
    edit->setText("Epsilon");
    click("btn_apply");
    wait_for_applies();
    EXPECT_EQ("Epsilon", current_name());
    ProfileList reloaded;
    static_cast<void>(load_profiles(m_dir / "Data" / "profile.bin", reloaded));
    ASSERT_EQ(3u, reloaded.size());
    EXPECT_EQ(u"Epsilon", reloaded.at(2).name());
}

TEST_F(MainWndTest, RenameIgnoresCaseOnlyChangesAndRefusesTakenNames) {
    start({u"Alpha", u"Beta"});
    auto* edit = control<QLineEdit>("edit_profile_name");
    const auto type_and_leave = [edit](const QString& text) {
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    };
    type_and_leave("ALPHA");
    EXPECT_EQ("Alpha", current_name());
    EXPECT_EQ("ALPHA", edit->text()) << "the typed text stays until the next switch";

    type_and_leave("beta");
    EXPECT_EQ("Alpha", edit->text()) << "a taken name puts the old one back";

    type_and_leave("Gamma");
    EXPECT_EQ("Gamma", current_name());
    EXPECT_EQ((QStringList{"Gamma", "Beta"}), combo_items());
    ProfileList reloaded;
    static_cast<void>(load_profiles(m_dir / "Data" / "profile.bin", reloaded));
    EXPECT_EQ(u"Gamma", reloaded.at(0).name()) << "saved at once";
}

TEST_F(MainWndTest, ImportGivesAClashingNameASuffixAndRefusesOtherFiles) {
    start({u"Rifle"});
    write_bytes(m_dir / "rifle.pbin", test::profiles_file({test::profile_named(u"Rifle")}));
    ui::FileDialogAnswers::queue(QString::fromStdString((m_dir / "rifle.pbin").string()));
    m_window->dispatch_menu("IMPORT_PROFILE");
    EXPECT_EQ("Rifle_1", current_name());
    EXPECT_EQ(2u, stored_profiles());

    write_bytes(m_dir / "short.pbin", {1, 2, 3});
    ui::FileDialogAnswers::queue(QString::fromStdString((m_dir / "short.pbin").string()));
    ui::ModalAnswers::queue(ui::kDialogOk); // the refusal message
    m_window->dispatch_menu("import_profile");
    EXPECT_FALSE(ui::ModalAnswers::pending()) << "a message was shown";
    EXPECT_EQ(2, control<QComboBox>("profile_combo")->count());

    ui::FileDialogAnswers::queue(QString()); // cancelled
    m_window->dispatch_menu("import_profile");
    EXPECT_EQ(2, control<QComboBox>("profile_combo")->count());

    ui::FileDialogAnswers::queue(QString::fromStdString((m_dir / "out.pbin").string()));
    m_window->dispatch_menu("export_profile");
    EXPECT_EQ(ConfigBlock::kSize, read_bytes(m_dir / "out.pbin").size());
}

TEST_F(MainWndTest, ResetAsksKeepsTheNameAndApplies) {
    start({u"Mine"});
    m_window->store().profiles().current()->set_light_mode(9);
    ui::ModalAnswers::queue(ui::kDialogCancel);
    click("btn_reset_profile");
    EXPECT_EQ(9, m_window->store().profiles().current()->light_mode());

    ui::ModalAnswers::queue(ui::kDialogOk);
    click("btn_reset_profile");
    wait_for_applies();
    const ConfigBlock& current = *m_window->store().profiles().current();
    EXPECT_EQ(4, current.light_mode()) << "the factory settings";
    EXPECT_EQ(u"Mine", current.name());
    EXPECT_EQ(8u, read_bytes(m_dir / "Data" / "Data.bin").size()) << "the apply saved";
}

TEST_F(MainWndTest, ApplyButtonSendsTheProfileThroughTheWorker) {
    start({u"P"});
    const std::filesystem::path log = m_dir / "mouse.log";
    ::setenv("ZEMRAK_VIRTUAL_MOUSE_LOG", log.c_str(), 1);
    m_window->store().profiles().current()->set_polling_rate_index(3);
    click("btn_apply");
    click("btn_apply");
    wait_for_applies();
    ::unsetenv("ZEMRAK_VIRTUAL_MOUSE_LOG");
    const std::vector<std::string> once = test::planned_reports(
        *m_window->store().profiles().current(), read_device_params(m_dir / "Data.ini"));
    std::vector<std::string> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(expected, test::received_reports(log));
}

// The tray menu's profile items: their names and texts in menu order, the checked one
// marked with '*', between the fixed items.
QStringList tray_items(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items << "-";
        } else {
            items << (action->isChecked() ? "*" : "") + action->objectName() + "=" + action->text();
        }
    }
    return items;
}

TEST_F(MainWndTest, TheTrayMenuSwitchesProfilesAndApplies) {
    start({u"A", u"B", u"C"});
    auto* icon = m_window->findChild<QSystemTrayIcon*>();
    ASSERT_NE(nullptr, icon);
    QMenu* menu = icon->contextMenu();
    ASSERT_NE(nullptr, menu);
    const QString open = "configuration=" + ui::Texts::text("menu_configuration_text");
    const QString quit = "exit=" + ui::Texts::text("menu_exit_text");
    EXPECT_EQ((QStringList{open, "-", "*profile_0=A", "profile_1=B", "profile_2=C", "-", quit}),
              tray_items(menu));
    EXPECT_TRUE(icon->toolTip().contains(ui::Texts::text("tray_profile_text").arg("A")))
        << icon->toolTip().toStdString();
    EXPECT_TRUE(icon->toolTip().contains(control<QLabel>("device_state_label")->text()));

    // Chosen in the tray: current in the window too, and applied as Apply applies.
    const std::filesystem::path log = m_dir / "mouse.log";
    ::setenv("ZEMRAK_VIRTUAL_MOUSE_LOG", log.c_str(), 1);
    menu->findChild<QAction*>("profile_1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return current_name() == "B"; }, 5000));
    wait_for_applies();
    ::unsetenv("ZEMRAK_VIRTUAL_MOUSE_LOG");
    EXPECT_EQ(1, control<QComboBox>("profile_combo")->currentIndex());
    EXPECT_EQ("B", control<QLineEdit>("edit_profile_name")->text());
    EXPECT_EQ(test::planned_reports(*m_window->store().profiles().current(),
                                    read_device_params(m_dir / "Data.ini")),
              test::received_reports(log));
    EXPECT_EQ(1, read_bytes(m_dir / "Data" / "Data.bin").at(0)) << "the apply saved the choice";
    EXPECT_FALSE(m_window->unapplied_changes());
    EXPECT_EQ((QStringList{open, "-", "profile_0=A", "*profile_1=B", "profile_2=C", "-", quit}),
              tray_items(menu));
    EXPECT_TRUE(icon->toolTip().contains(ui::Texts::text("tray_profile_text").arg("B")));

    // The list follows what the window does: switch, rename, add, delete.
    control<QComboBox>("profile_combo")->setCurrentIndex(2);
    auto* edit = control<QLineEdit>("edit_profile_name");
    edit->setText("Cee");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ((QStringList{open, "-", "profile_0=A", "profile_1=B", "*profile_2=Cee", "-", quit}),
              tray_items(menu));
    EXPECT_TRUE(icon->toolTip().contains(ui::Texts::text("tray_profile_text").arg("Cee")));
    click("btn_add_profile");
    const QString added = current_name();
    ui::ModalAnswers::queue(ui::kDialogOk);
    control<QComboBox>("profile_combo")->setCurrentIndex(0);
    click("btn_delete_profile");
    EXPECT_EQ(
        (QStringList{open, "-", "*profile_0=B", "profile_1=Cee", "profile_2=" + added, "-", quit}),
        tray_items(menu));
}

TEST_F(MainWndTest, RemovalHidesOnceAndArrivalShowsNothing) {
    start();
    ASSERT_TRUE(m_window->isVisible());
    test::set_virtual_mouse_plugged(0);
    // The device link handles the notice on its own thread, then tells the window.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->isVisible(); }, 5000));
    EXPECT_EQ(DeviceState::Removed, m_window->device_state());
    test::set_virtual_mouse_plugged(1);
    QTest::qWait(700); // the arrival waits half a second before it opens the channels
    QApplication::processEvents();
    EXPECT_EQ(DeviceState::Connected, m_window->device_state());
    EXPECT_FALSE(m_window->isVisible()) << "arrival changes nothing shown";
}

TEST_F(MainWndTest, WarningIsShownOnceAtATime) {
    start();
    test::set_virtual_mouse_plugged(0);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return m_window->device_state() == DeviceState::Removed; }, 5000));
    int opened = 0;
    QTimer::singleShot(0, [&] {
        QWidget* first = QApplication::activeModalWidget();
        opened += first != nullptr ? 1 : 0;
        // Should a second warning open, it is counted and closed from inside its own loop.
        QTimer::singleShot(0, [&opened, first] {
            QWidget* now = QApplication::activeModalWidget();
            if (now != nullptr && now != first) {
                ++opened;
                static_cast<QDialog*>(now)->done(0);
            }
        });
        m_window->show_or_warn(); // a second request while the first warning is open
        QApplication::processEvents();
        if (first != nullptr) {
            static_cast<QDialog*>(first)->done(0);
        }
    });
    m_window->show_or_warn();
    EXPECT_EQ(1, opened);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(MainWndTest, DamageFoundAtStartIsShownOnceWithTheCopyKeptAside) {
    // A stored index that selects no profile, and a profile file ending in a partial record.
    test::lay_out_program_folder(m_dir.path(),
                                 {test::profile_named(u"A"), test::profile_named(u"B")}, 5);
    const std::filesystem::path file = m_dir / "Data" / "profile.bin";
    auto bytes = read_bytes(file);
    bytes.resize(bytes.size() + 100, 0xCC);
    test::write_bytes(file, bytes);
    m_window = test::start_main_window(m_dir.path());

    auto* notice = control<QLabel>("status_label");
    EXPECT_TRUE(notice->isVisible());
    const QString text = notice->text();
    EXPECT_EQ(1, text.count("Data.bin")) << text.toStdString();
    EXPECT_EQ(1, text.count(ui::to_qstring((m_dir / "Data" / "profile.bin.damaged").string())))
        << text.toStdString();
    EXPECT_EQ(QStringList({"A", "B"}), combo_items());
    EXPECT_EQ("A", current_name());
}

TEST_F(MainWndTest, AProfileFileThatCannotBeReadIsNamedAndNeverWritten) {
    test::lay_out_program_folder(m_dir.path());
    const std::filesystem::path file = m_dir / "Data" / "profile.bin";
    for (const test::Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        m_window.reset();
        test::make_unreadable(file, way);
        m_window = test::start_main_window(m_dir.path());
        const QString reason = QString::fromStdString(test::unreadable_reason(way).message());
        auto* notice = control<QLabel>("status_label");
        EXPECT_TRUE(notice->isVisible());
        EXPECT_TRUE(notice->text().startsWith("profile.bin: " + reason))
            << notice->text().toStdString();
        EXPECT_EQ(1, control<QComboBox>("profile_combo")->count()) << "a profile to work on";

        click("btn_add_profile");
        click("btn_apply");
        wait_for_applies();
        EXPECT_TRUE(notice->text().contains(reason)) << notice->text().toStdString();
        EXPECT_TRUE(test::left_as_made(file, way));
    }
}

TEST_F(MainWndTest, MalformedFilesOfEveryKindStartTheWindowAndARefusalNamesTheFile) {
    for (const test::DataFileKind& kind : test::data_file_kinds()) {
        for (const test::Malformed way : test::malformed_ways()) {
            SCOPED_TRACE(std::string(kind.path) + " as " + test::describe(way));
            m_window.reset();
            const TempDir program;
            test::lay_out_program_folder(program.path());
            const std::filesystem::path file = program / kind.path;
            test::make_malformed(file, kind, way);
            const test::FileImage before = test::image_of(file);

            m_window = test::start_main_window(program.path());
            EXPECT_LE(1, control<QComboBox>("profile_combo")->count()) << "a profile to work on";
            EXPECT_TRUE(test::original_kept(file, before));
            if (test::refused(kind, way)) {
                const QString notice = control<QLabel>("status_label")->text();
                EXPECT_TRUE(notice.contains(QString::fromStdString(file.filename().string())))
                    << notice.toStdString();
            }
            m_window.reset();
        }
    }
}

TEST(MenuDispatch, NamesAreSearchedInOrderWithoutRegardToCase) {
    EXPECT_EQ(MenuCommand::Exit, menu_command("Exit"));
    EXPECT_EQ(MenuCommand::Configuration, menu_command("CONFIGURATION"));
    EXPECT_EQ(MenuCommand::ExportLockedMacroDir, menu_command("export_pw_macro_dir"));
    EXPECT_EQ(MenuCommand::RenameGun, menu_command("rename_gun"));
    EXPECT_EQ(MenuCommand::Autostart, menu_command("AutoStart"));
    EXPECT_EQ(MenuCommand::About, menu_command("about"));
    EXPECT_EQ(MenuCommand::ButtonFunction, menu_command("dpi_up"));
    EXPECT_EQ(MenuCommand::ButtonFunction, menu_command(""));
}

} // namespace
} // namespace zemrak::app

namespace zemrak::app {
namespace {

// The real program, copied with its files into a folder of its own (the portable layout),
// run offscreen against the virtual mouse.
class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
        std::filesystem::create_directories(m_program);
        for (const char* entry : {"zemrak-mouse", "zemrakctl", "Data.ini", "Default.pbin",
                                  "logo.png", "libzemrak-hid-virtual.so", "Language", "res"}) {
            std::filesystem::copy(shipped / entry, m_program / entry,
                                  std::filesystem::copy_options::recursive);
        }
        // A runtime folder of the test's own keeps the copies apart from any other; Qt
        // ignores one that others could read.
        std::filesystem::create_directories(m_dir / "runtime");
        std::filesystem::permissions(m_dir / "runtime", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }

    // The environment of a run with the given UI script (and more variables).
    // Waits until a first copy of the program listens for the next ones (its socket is there).
    [[nodiscard]] bool first_copy_listens() const {
        return QTest::qWaitFor(
            [this] {
                for (const auto& entry : std::filesystem::directory_iterator(m_dir / "runtime")) {
                    if (entry.path().extension() == ".socket") {
                        return true;
                    }
                }
                return false;
            },
            10'000);
    }
    std::string environment(const std::string& script, const std::string& more = "") const {
        return "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" + (m_dir / "runtime").string() +
               "' ZEMRAK_HID_LIBRARY='" + (m_program / "libzemrak-hid-virtual.so").string() +
               "' ZEMRAK_VIRTUAL_MOUSE_LOG='" + (m_dir / "mouse.log").string() +
               "' ZEMRAK_UI_SCRIPT='" + script + "' " + more + " ";
    }

    // Runs the program with the UI script m_dir/script (and more variables) until it ends;
    // its exit status as std::system() gives it, its error output in m_dir/stderr.
    int run_script(const std::string& more = "") const {
        return std::system((environment((m_dir / "script").string(), more) + "'" +
                            (m_program / "zemrak-mouse").string() + "' 2>'" +
                            (m_dir / "stderr").string() + "'")
                               .c_str());
    }

    // The one item of a library file in the data folder that holds a folder entry and that
    // item; nothing, with the size reported, when the file holds another number of records.
    template <class Record>
    std::optional<Record> only_item(const char* file_name) const {
        const std::vector<std::uint8_t> library = read_bytes(m_program / "Data" / file_name);
        EXPECT_EQ(2 * Record::kSize, library.size());
        if (library.size() != 2 * Record::kSize) {
            return std::nullopt;
        }
        return record_from<Record>(std::span(library).subspan(Record::kSize, Record::kSize));
    }

    // The reports the virtual mouse received, as "cmd …"/"data …" lines.
    std::vector<std::string> received_reports() const {
        return test::received_reports(m_dir / "mouse.log");
    }
    // What `zemrakctl reports` lists for the program folder, a line each.
    std::vector<std::string> listed_reports() const {
        const std::string ctl = "'" + (m_program / "zemrakctl").string() + "' --program-folder '" +
                                m_program.string() + "' ";
        EXPECT_EQ(0,
                  std::system((ctl + "reports >'" + (m_dir / "reports").string() + "'").c_str()));
        std::vector<std::string> listed;
        std::istringstream reports(zemrak::test::read_text(m_dir / "reports"));
        for (std::string line; std::getline(reports, line);) {
            listed.push_back(line);
        }
        return listed;
    }
    // The reports an apply of `profile` writes, in the same lines.
    std::vector<std::string> planned_reports(const ConfigBlock& profile) const {
        return test::planned_reports(profile, read_device_params(m_program / "Data.ini"));
    }

    TempDir m_dir;
    std::filesystem::path m_program = m_dir / "program";
};

TEST_F(ProgramProcess, ApplyThroughTheWindowSendsWhatZemrakctlListsAndSaves) {
    const TempDir& dir = m_dir;
    const std::filesystem::path& program = m_program;
    test::write_text(dir / "script",
                     "# press apply and leave\nclick btn_apply\nwait-apply\nquit\n");
    const std::string environment = this->environment((dir / "script").string());
    const int status = std::system((environment + "'" + (program / "zemrak-mouse").string() +
                                    "' 2>'" + (dir / "stderr").string() + "'")
                                       .c_str());
    ASSERT_EQ(0, status) << zemrak::test::read_text(dir / "stderr");

    EXPECT_EQ(listed_reports(), received_reports());
    EXPECT_EQ(ConfigBlock::kSize, read_bytes(program / "Data" / "profile.bin").size());
}

TEST_F(ProgramProcess, AProfileDeletedWhileAnApplyRunsStaysDeleted) {
    // Three stored profiles, made as the program makes them.
    const std::string ctl = "'" + (m_program / "zemrakctl").string() + "' --program-folder '" +
                            m_program.string() + "' ";
    ASSERT_EQ(0, std::system((ctl + "profiles >/dev/null").c_str()));
    ASSERT_EQ(
        0,
        std::system(
            (ctl + "export-profile 0 '" + (m_dir / "p.pbin").string() + "' >/dev/null").c_str()));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(
            0,
            std::system(
                (ctl + "import-profile '" + (m_dir / "p.pbin").string() + "' >/dev/null").c_str()));
    }
    test::write_text(m_dir / "script", "click btn_apply\nwait 40\nanswer OK\n"
                                       "click btn_delete_profile\nwait-apply\nquit\n");
    const int status = run_script();
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");
    ASSERT_EQ(0, std::system((ctl + "profiles >'" + (m_dir / "listed").string() + "'").c_str()));
    EXPECT_EQ("*0\tProfile1_1\n 1\tProfile1_2\n", zemrak::test::read_text(m_dir / "listed"));
}

// The window speaks the language of the locale it starts in, where the program has its texts,
// and names new profiles in it.
TEST_F(ProgramProcess, TheWindowComesUpInTheLanguageOfTheLocale) {
    const struct {
        const char* locale;
        const char* apply;
        const char* first_profile;
    } cases[] = {
        {"LC_ALL= LC_MESSAGES= ZEMRAK_LANGUAGE= LANG=de_DE.UTF-8", "Übernehmen", "Profil1"},
        {"LC_ALL= LC_MESSAGES=de_AT ZEMRAK_LANGUAGE= LANG=C.UTF-8", "Übernehmen", "Profil1"},
        {"LC_ALL= LC_MESSAGES= ZEMRAK_LANGUAGE=en LANG=de_DE.UTF-8", "Apply", "Profile1"},
        {"LC_ALL= LC_MESSAGES= ZEMRAK_LANGUAGE= LANG=fr_FR.UTF-8", "Apply", "Profile1"},
    };
    const std::string ctl = "'" + (m_program / "zemrakctl").string() + "' --program-folder '" +
                            m_program.string() + "' ";
    for (const auto& [locale, apply, first_profile] : cases) {
        SCOPED_TRACE(locale);
        std::filesystem::remove_all(m_program / "Data");
        test::write_text(m_dir / "script", std::string("expect btn_apply ") + apply + "\nquit\n");
        const int status = run_script(locale);
        EXPECT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");
        ASSERT_EQ(0,
                  std::system((ctl + "profiles >'" + (m_dir / "listed").string() + "'").c_str()));
        EXPECT_EQ(std::string("*0\t") + first_profile + "\n",
                  zemrak::test::read_text(m_dir / "listed"));
    }
}

// Library records back to back, as macro.bin and gun.bin hold them.
template <class Record>
std::vector<std::uint8_t> library_image(std::initializer_list<Record> records) {
    std::vector<std::uint8_t> image;
    for (const Record& record : records) {
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    return image;
}

TEST_F(ProgramProcess, ButtonsAssignedThroughTheWindowReachTheMouseAndProfileBin) {
    // Button 6 holds the shortcut A without modifiers; a macro and a recoil pattern wait in
    // the libraries.
    ConfigBlock stored = test::profile_named(u"Buttons");
    stored.button(5).set_function_code(kShortcutFunction);
    stored.button(5).set_shortcut_key(0x04);
    MacroRecord burst = MacroRecord::make_macro(u"Fps", u"Burst");
    for (std::uint8_t i = 0; i < 3; ++i) {
        MacroAction action;
        action.set_code(static_cast<std::uint8_t>(0x1E + i));
        action.set_kind(i == 2 ? MacroAction::Release : MacroAction::Press);
        action.set_delay(static_cast<std::uint16_t>(15 + i));
        burst.set_action(i, action);
    }
    burst.set_action_count(3);
    burst.set_loop_count(4);
    RecoilRecord ak = RecoilRecord::make_pattern(u"Rifles", u"Ak");
    ak.set_bullet(0, Bullet{3, -7, 40});
    ak.set_bullet_count(6);
    std::filesystem::create_directories(m_program / "Data");
    test::write_bytes(m_program / "Data" / "profile.bin", test::profiles_file({stored}));
    test::write_bytes(m_program / "Data" / "Data.bin", std::vector<std::uint8_t>(8, 0));
    test::write_bytes(m_program / "Data" / kMacroFileName,
                      library_image({MacroRecord::make_folder(u"Fps"), burst}));
    test::write_bytes(m_program / "Data" / kRecoilFileName,
                      library_image({RecoilRecord::make_folder(u"Rifles"), ak}));

    test::write_text(m_dir / "script", "click button5_btn\nmenu forward\n"
                                       "click button6_btn\nmenu shortcut\n"
                                       "click check_flag_1\nclick check_flag_2\nclick ok_btn\n"
                                       "click button7_btn\nmenu select_macro\n"
                                       "set macro_list 0\nclick repeat_2\nclick ok_btn\n"
                                       "click button8_btn\nmenu mode_switch\n"
                                       "click button9_btn\nmenu select_gun\n"
                                       "set gun_list 0\nclick ok_btn\n"
                                       "click btn_apply\nwait-apply\nquit\n");
    const int status = run_script();
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");

    // What was chosen, written out by hand.
    ConfigBlock expected = stored;
    expected.button(4).set_function_code(4);
    expected.button(5).set_shortcut_modifiers(ButtonRecord::kCtrl | ButtonRecord::kShift);
    ButtonRecord& macro = expected.button(6);
    macro.set_function_code(kMacroFunction);
    macro.set_macro_index(1);
    macro.set_repeat_mode(1);
    macro.set_action_count(3);
    macro.set_loop_count(4);
    macro.set_folder_name(u"Fps");
    macro.set_item_name(u"Burst");
    for (std::size_t i = 0; i < 3; ++i) {
        macro.set_action(i, burst.action(i));
    }
    expected.button(7).set_function_code(kModeSwitchFunction);
    expected.button(23).set_function_code(kModeSwitchFunction);
    ButtonRecord& recoil = expected.button(8);
    recoil.set_function_code(kRecoilFunction);
    recoil.set_recoil_index(1);
    recoil.set_action_count(6);
    recoil.set_folder_name(u"Rifles");
    recoil.set_item_name(u"Ak");
    std::copy(ak.bullets().begin(), ak.bullets().end(), recoil.recoil_data().begin());
    const std::vector<std::uint8_t> saved = read_bytes(m_program / "Data" / "profile.bin");
    ASSERT_EQ(ConfigBlock::kSize, saved.size());
    for (std::size_t record = 0; record < ConfigBlock::kButtonCount; ++record) {
        const auto at = saved.begin() + static_cast<std::ptrdiff_t>(button_record_offset(record));
        const auto want = expected.button(record).bytes();
        EXPECT_TRUE(std::equal(want.begin(), want.end(), at)) << "record " << record;
    }

    // The mouse got what zemrakctl lists for the saved profile, which is what an apply of
    // the chosen buttons writes: their map and the macro's page.
    const std::vector<std::string> received = received_reports();
    EXPECT_EQ(listed_reports(), received);
    EXPECT_EQ(planned_reports(expected), received);
    const std::string ctl = "'" + (m_program / "zemrakctl").string() + "' --program-folder '" +
                            m_program.string() + "' ";

    ASSERT_EQ(0, std::system((ctl + "buttons >'" + (m_dir / "buttons").string() + "'").c_str()));
    const std::string buttons = zemrak::test::read_text(m_dir / "buttons");
    for (const char* line :
         {"5\tforward\tForward\n", "6\tshortcut\tCtrl+Shift+A\n",
          "7\tselect_macro\tMacro: Fps-Burst\n", "8\tmode_switch\tMode Switch\n",
          "24\tmode_switch\tMode Switch\n", "9\tselect_gun\tRecoil: Rifles-Ak\n"}) {
        EXPECT_NE(std::string::npos, buttons.find(line)) << line << buttons;
    }
}

TEST_F(ProgramProcess, APatternEditedOnTheRecoilPageReachesTheButtonThatUsesIt) {
    std::filesystem::create_directories(m_program / "Data");
    test::write_bytes(m_program / "Data" / "profile.bin",
                      test::profiles_file({test::profile_named(u"Recoil")}));
    test::write_bytes(m_program / "Data" / "Data.bin", std::vector<std::uint8_t>(8, 0));
    test::write_bytes(m_program / "Data" / kRecoilFileName,
                      library_image({RecoilRecord::make_folder(u"Rifles"),
                                     RecoilRecord::make_pattern(u"Rifles", u"Ak")}));
    // Edited, assigned to button 9 and applied; then edited again and applied again.
    test::write_text(m_dir / "script", "click gun_btn\nset gun_list 0\n"
                                       "set edit_zidan_x_1 12\nset edit_zidan_y_1 34\n"
                                       "click key_btn\nclick button9_btn\nmenu select_gun\n"
                                       "set gun_list 0\nclick ok_btn\n"
                                       "click btn_apply\nwait-apply\n"
                                       "click gun_btn\nset edit_zidan_delay_2 250\n"
                                       "click zidan_x_down_btn_2\nset zidan_combo 5\n"
                                       "click btn_apply\nwait-apply\nquit\n");
    const int status = run_script();
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");

    const std::optional<RecoilRecord> pattern = only_item<RecoilRecord>(kRecoilFileName);
    ASSERT_TRUE(pattern);
    EXPECT_EQ((Bullet{12, 34, 10}), pattern->bullet(0));
    EXPECT_EQ((Bullet{1, 0, 250}), pattern->bullet(1));
    EXPECT_EQ(6, pattern->bullet_count());

    ProfileList saved;
    static_cast<void>(load_profiles(m_program / "Data" / "profile.bin", saved));
    ASSERT_EQ(1u, saved.size());
    const ButtonRecord& button = saved.at(0).button(8);
    EXPECT_EQ(kRecoilFunction, button.function_code());
    EXPECT_EQ(1, button.recoil_index());
    EXPECT_EQ(6, button.action_count()) << "the later count as well";
    EXPECT_TRUE(std::ranges::equal(pattern->bullets(), button.recoil_data()))
        << "the button's copy follows the later edit";
}

TEST_F(ProgramProcess, AMacroEditedOnThePageReachesTheMouseAsZemrakctlListsIt) {
    MacroRecord burst = MacroRecord::make_macro(u"Fps", u"Burst");
    for (std::uint8_t i = 0; i < 3; ++i) {
        MacroAction action;
        action.set_code(static_cast<std::uint8_t>(0x1E + i));
        action.set_kind(i == 2 ? MacroAction::Release : MacroAction::Press);
        action.set_delay(static_cast<std::uint16_t>(15 + i));
        burst.set_action(i, action);
    }
    burst.set_action_count(3);
    std::filesystem::create_directories(m_program / "Data");
    test::write_bytes(m_program / "Data" / "profile.bin",
                      test::profiles_file({test::profile_named(u"Macros")}));
    test::write_bytes(m_program / "Data" / "Data.bin", std::vector<std::uint8_t>(8, 0));
    test::write_bytes(m_program / "Data" / kMacroFileName,
                      library_image({MacroRecord::make_folder(u"Fps"), burst}));

    // The first action waits 5 ms (held to 10), the macro plays 3 times, and a move of
    // (-200, 7) (held to -127) goes in after the first action; then button 7 gets the macro.
    test::write_text(m_dir / "script", "click macro_btn\nset macro_list 0\n"
                                       "set macro_action_list 0\nset edit_macro_delay 5\n"
                                       "set edit_loop_time 3\nset edit_insert_x -200\n"
                                       "set edit_insert_y 7\nclick btn_insert_move\n"
                                       "click key_btn\nclick button7_btn\nmenu select_macro\n"
                                       "set macro_list 0\nclick ok_btn\n"
                                       "click btn_apply\nwait-apply\nquit\n");
    const int status = run_script();
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");

    MacroRecord edited = burst;
    MacroAction first = burst.action(0);
    first.set_delay(10);
    MacroAction move;
    move.set_code(246);
    move.set_kind(MacroAction::Move);
    move.set_delay(2);
    move.set_move_x(-127);
    move.set_move_y(7);
    edited.set_action(0, first);
    edited.set_action(1, move);
    edited.set_action(2, burst.action(1));
    edited.set_action(3, burst.action(2));
    edited.set_action_count(4);
    edited.set_loop_count(3);
    const std::vector<std::uint8_t> library = read_bytes(m_program / "Data" / kMacroFileName);
    ASSERT_EQ(2 * MacroRecord::kSize, library.size());
    EXPECT_TRUE(std::equal(edited.bytes().begin(), edited.bytes().end(),
                           library.begin() + static_cast<std::ptrdiff_t>(MacroRecord::kSize)))
        << "macro.bin holds the macro as edited";

    const std::vector<std::uint8_t> saved = read_bytes(m_program / "Data" / "profile.bin");
    ASSERT_EQ(ConfigBlock::kSize, saved.size());
    ConfigBlock applied;
    std::copy(saved.begin(), saved.end(), applied.bytes().begin());
    const ButtonRecord& button = applied.button(6);
    EXPECT_EQ(kMacroFunction, button.function_code());
    EXPECT_EQ(4, button.action_count());
    EXPECT_EQ(3, button.loop_count());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(edited.action(i), button.action(i)) << "action " << i;
    }

    // The macro's pages that the mouse received are those zemrakctl lists for the profile.
    const std::vector<std::string> received = received_reports();
    EXPECT_EQ(listed_reports(), received);
    EXPECT_EQ(planned_reports(applied), received);
    EXPECT_GT(std::count_if(received.begin(), received.end(),
                            [](const std::string& line) { return line.starts_with("data "); }),
              0)
        << "the macro went out in data reports";
}

TEST_F(ProgramProcess, AMacroRecordedInTheWindowReachesTheMouseAsTyped) {
    std::filesystem::create_directories(m_program / "Data");
    test::write_bytes(m_program / "Data" / "profile.bin",
                      test::profiles_file({test::profile_named(u"Macros")}));
    test::write_bytes(m_program / "Data" / "Data.bin", std::vector<std::uint8_t>(8, 0));
    test::write_bytes(m_program / "Data" / kMacroFileName,
                      library_image({MacroRecord::make_folder(u"Fps")}));

    // A new macro recorded with the time taken between the actions: Shift+A, a pause, a right
    // click beside the record button and F5; the clicks on the record button stay out. Then
    // the second action waits 250 ms, the macro plays twice, and button 7 gets it.
    test::write_text(m_dir / "script", "click macro_btn\nclick btn_add_macro\n"
                                       "set edit_name Recorded\nclick ok_btn\n"
                                       "click macro_delay_option_3\n"
                                       "mouse left btn_record\nexpect btn_record Stop Recording\n"
                                       "press Shift\nkey A\nrelease Shift\nwait 100\n"
                                       "mouse right macro_duration_label\nkey F5\n"
                                       "mouse left btn_record\n"
                                       "expect btn_record Start Recording\n"
                                       "set macro_action_list 1\nset edit_macro_delay 250\n"
                                       "set edit_loop_time 2\n"
                                       "click key_btn\nclick button7_btn\nmenu select_macro\n"
                                       "set macro_list 0\nclick ok_btn\n"
                                       "click btn_apply\nwait-apply\nquit\n");
    // The script expects the record button's English texts.
    const int status = run_script("ZEMRAK_LANGUAGE=en");
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");

    const std::optional<MacroRecord> recorded = only_item<MacroRecord>(kMacroFileName);
    ASSERT_TRUE(recorded);
    EXPECT_TRUE(recorded->item_name() == u"Recorded");
    EXPECT_EQ(2, recorded->loop_count());
    constexpr std::uint8_t kShift = 0xE1;
    constexpr std::uint8_t kA = 0x04;
    constexpr std::uint8_t kF5 = 0x3E;
    constexpr std::uint8_t kRightButton = 241;
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> typed{
        {kShift, MacroAction::Press},       {kA, MacroAction::Press},
        {kA, MacroAction::Release},         {kShift, MacroAction::Release},
        {kRightButton, MacroAction::Press}, {kRightButton, MacroAction::Release},
        {kF5, MacroAction::Press},          {kF5, MacroAction::Release},
    };
    ASSERT_EQ(typed.size(), recorded->action_count());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(typed[i], std::pair(recorded->action(i).code(), recorded->action(i).kind()))
            << "action " << i;
    }
    EXPECT_EQ(250, recorded->action(1).delay()) << "as edited";
    EXPECT_GE(recorded->action(3).delay(), 90) << "the pause before the click, as measured";
    EXPECT_EQ(2, recorded->action(7).delay()) << "the last action's";

    const std::vector<std::uint8_t> saved = read_bytes(m_program / "Data" / "profile.bin");
    ASSERT_EQ(ConfigBlock::kSize, saved.size());
    ConfigBlock applied;
    std::copy(saved.begin(), saved.end(), applied.bytes().begin());
    const ButtonRecord& button = applied.button(6);
    EXPECT_EQ(kMacroFunction, button.function_code());
    EXPECT_EQ(typed.size(), button.action_count());
    EXPECT_EQ(2, button.loop_count());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(recorded->action(i), button.action(i)) << "action " << i;
    }

    // The macro's pages that the mouse received are those zemrakctl lists for the profile.
    const std::vector<std::string> received = received_reports();
    EXPECT_EQ(listed_reports(), received);
    EXPECT_EQ(planned_reports(applied), received);
}

TEST_F(ProgramProcess, ARecordingStillRunningWhenTheProgramQuitsIsKept) {
    std::filesystem::create_directories(m_program / "Data");
    test::write_bytes(m_program / "Data" / kMacroFileName,
                      library_image({MacroRecord::make_folder(u"Fps"),
                                     MacroRecord::make_macro(u"Fps", u"Quick")}));
    test::write_text(m_dir / "script", "click macro_btn\nset macro_list 0\n"
                                       "mouse left btn_record\nkey B\nquit\n");
    const int status = run_script();
    ASSERT_EQ(0, status) << zemrak::test::read_text(m_dir / "stderr");
    const std::optional<MacroRecord> quick = only_item<MacroRecord>(kMacroFileName);
    ASSERT_TRUE(quick);
    ASSERT_EQ(2, quick->action_count());
    EXPECT_EQ(0x05, quick->action(0).code());
    EXPECT_EQ(MacroAction::Release, quick->action(1).kind());
}

TEST_F(ProgramProcess, SecondCopyWaitsUntilTheFirstHasShownItsWarningThenExitsWithOne) {
    // The first copy runs without a mouse, so a second launch makes it warn; the script
    // answers that warning after a while and then ends the first copy.
    test::write_text(m_dir / "first", "answer OK\nwait 4000\nquit\n");
    const std::string first =
        environment((m_dir / "first").string(), "ZEMRAK_VIRTUAL_MOUSE_ABSENT=1") + "'" +
        (m_program / "zemrak-mouse").string() + "' 2>/dev/null &";
    ASSERT_EQ(0, std::system(first.c_str()));
    ASSERT_TRUE(first_copy_listens());
    const int raw = std::system((environment("/nonexistent") + "'" +
                                 (m_program / "zemrak-mouse").string() + "' 2>/dev/null")
                                    .c_str());
    EXPECT_TRUE(WIFEXITED(raw));
    // Had it become a first copy itself, its unreadable script would have ended it with 3.
    EXPECT_EQ(1, WEXITSTATUS(raw)) << "the second copy hands over and ends with status 1";
}

TEST_F(ProgramProcess, VersionIsPrintedWithoutAWindowEvenBesideARunningCopy) {
    const std::string program = "'" + (m_program / "zemrak-mouse").string() + "'";
    const std::string out = (m_dir / "version").string();
    const std::string expected = std::string("zemrak-mouse ") + kVersion + "\n";
    // No display at all: a program that went on to make its window would fail here.
    const std::string bare = "env -u DISPLAY -u WAYLAND_DISPLAY " + environment("/nonexistent") +
                             "QT_QPA_PLATFORM=xcb " + program + " --version >'" + out + "' 2>&1";
    ASSERT_EQ(0, std::system(bare.c_str())) << zemrak::test::read_text(out);
    EXPECT_EQ(expected, zemrak::test::read_text(out));

    // Beside a running copy it answers itself instead of handing over (which ends with 1).
    test::write_text(m_dir / "first", "wait 4000\nquit\n");
    const std::string first =
        environment((m_dir / "first").string()) + program + " --hidden 2>/dev/null &";
    ASSERT_EQ(0, std::system(first.c_str()));
    ASSERT_TRUE(first_copy_listens());
    const int raw = std::system(
        (environment("/nonexistent") + program + " --version >'" + out + "' 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(0, WEXITSTATUS(raw)) << zemrak::test::read_text(out);
    EXPECT_EQ(expected, zemrak::test::read_text(out));
}

} // namespace
} // namespace zemrak::app
