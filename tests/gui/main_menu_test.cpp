// The window's main menu: starting with the desktop, and the About box.

#include "app/about_wnd.h"
#include "app/main_wnd.h"
#include "platform/autostart.h"
#include "program_folder.h"
#include "test_support/temp_dir.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "zemrak_version.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

namespace zemrak::app {
namespace {

using test::TempDir;

// The program's window on a program folder of its own, with the user's configuration folder
// in the test's folder.
class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* was = std::getenv("XDG_CONFIG_HOME")) {
            m_configWas = was;
        }
        ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        std::filesystem::create_directories(m_dir / "program");
        test::lay_out_program_folder(m_dir / "program");
        m_window = test::start_main_window(m_dir / "program");
    }
    void TearDown() override {
        m_window.reset();
        if (m_configWas) {
            ::setenv("XDG_CONFIG_HOME", m_configWas->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    // Opens the main menu with its button and returns it.
    ui::PopupMenu* open_main_menu() {
        QTest::mouseClick(m_window->findChild<QPushButton*>("main_menu_btn"), Qt::LeftButton);
        ui::PopupMenu* menu = ui::PopupMenu::open_menu();
        EXPECT_NE(nullptr, menu);
        return menu;
    }
    // Whether the open main menu ticks "Start with the desktop".
    bool autostart_ticked(ui::PopupMenu& menu) {
        const QAction* item = menu.menu()->findChild<QAction*>("autostart");
        EXPECT_NE(nullptr, item);
        EXPECT_TRUE(item != nullptr && item->isCheckable());
        return item != nullptr && item->isChecked();
    }
    // Chooses an item of the main menu as a click would; the window runs it once the menu
    // has closed.
    void choose(const char* item) {
        ui::PopupMenu* menu = open_main_menu();
        ASSERT_NE(nullptr, menu);
        ASSERT_TRUE(menu->choose(item));
        QApplication::processEvents();
    }
    // Lets `read` see the next modal dialog when it opens, then closes it; true once it did.
    std::shared_ptr<bool> on_next_dialog(std::function<void(QDialog&)> read) {
        auto seen = std::make_shared<bool>(false);
        auto* timer = new QTimer(m_window.get());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, seen, read = std::move(read)] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            timer->stop();
            timer->deleteLater();
            read(*dialog);
            *seen = true;
            dialog->done(0);
        });
        timer->start();
        return seen;
    }

    TempDir m_dir;
    std::optional<std::string> m_configWas;
    std::filesystem::path m_entry = m_dir / "config" / "autostart" / "zemrak-mouse.desktop";
    std::unique_ptr<CMainWnd> m_window;
};

TEST_F(MainMenuTest, StartWithTheDesktopWritesAndRemovesTheEntryAndShowsItsState) {
    ui::PopupMenu* menu = open_main_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_FALSE(autostart_ticked(*menu));
    menu->close();

    choose("autostart");
    ASSERT_TRUE(std::filesystem::exists(m_entry));
    // The entry starts this very program, hidden, under the program's name.
    const std::string entry = zemrak::test::read_text(m_entry);
    EXPECT_EQ(autostart_entry(QCoreApplication::applicationFilePath().toStdString(),
                              ui::Texts::text("mouse_name_text").toStdString()),
              entry);
    EXPECT_NE(std::string::npos, entry.find(" --hidden\n")) << entry;
    menu = open_main_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(autostart_ticked(*menu));
    menu->close();

    choose("autostart");
    EXPECT_FALSE(std::filesystem::exists(m_entry));
    menu = open_main_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_FALSE(autostart_ticked(*menu));
    menu->close();
}

TEST_F(MainMenuTest, AnAutostartEntryThatIsNotOursIsShownLeftAloneAndNamed) {
    const std::string foreign = "[Desktop Entry]\nType=Application\nExec=zemrak-mouse\n";
    test::write_text(m_entry, foreign);
    ui::PopupMenu* menu = open_main_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(autostart_ticked(*menu)) << "the desktop starts the program";
    menu->close();

    QString said;
    const auto seen = on_next_dialog([&said](QDialog& box) {
        if (const auto* label = box.findChild<QLabel*>("label_string")) {
            said = label->text();
        }
    });
    choose("autostart");
    ASSERT_TRUE(QTest::qWaitFor([&seen] { return *seen; }, 5000)) << "the user is told";
    EXPECT_TRUE(said.contains(ui::to_qstring(m_entry.native()))) << said.toStdString();
    EXPECT_EQ(foreign, zemrak::test::read_text(m_entry));
}

TEST_F(MainMenuTest, AboutShowsTheVersionTheLicenceAndTheFoldersInUse) {
    QString version;
    QString licence;
    QString data_folder;
    QString program_folder;
    const auto seen = on_next_dialog([&](QDialog& box) {
        const auto text = [&box](const char* name) {
            const auto* label = box.findChild<QLabel*>(name);
            EXPECT_NE(nullptr, label) << name;
            return label != nullptr && label->isVisibleTo(&box) ? label->text() : QString();
        };
        version = text("about_version_label");
        licence = text("about_licence_label");
        data_folder = text("about_data_folder_label");
        program_folder = text("about_program_folder_label");
    });
    choose("about");
    ASSERT_TRUE(QTest::qWaitFor([&seen] { return *seen; }, 5000)) << "no About box";
    EXPECT_EQ(QString::fromLatin1(kVersion), version);
    EXPECT_EQ(licence_text(kLicense), licence);
    EXPECT_FALSE(licence.isEmpty());
    EXPECT_EQ(ui::to_qstring(m_window->data().folders().data.native()), data_folder);
    EXPECT_EQ(ui::to_qstring((m_dir / "program" / "Data").native()), data_folder);
    EXPECT_EQ(ui::to_qstring((m_dir / "program").native()), program_folder);
}

} // namespace
} // namespace zemrak::app
