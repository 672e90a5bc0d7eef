// The window and the mouse: the simulated mouse on request, a real mouse that arrives later,
// a mouse this user may not write to, and the mark of changes the mouse does not have yet.

#include "app/main_wnd.h"
#include "device/hid_library.h"
#include "program_folder.h"
#include "test_support/device_fakes.h"
#include "test_support/temp_dir.h"
#include "test_support/virtual_mouse.h"
#include "ui/modal.h"
#include "ui/texts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zemrak::app {
namespace {

using test::TempDir;

// A program folder whose real library is a copy of the virtual mouse, unplugged: a mouse of
// its own that the test plugs in when it likes. The folder's virtual mouse is the simulation.
class DeviceStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::lay_out_program_folder(m_dir.path(), {test::profile_named(u"P")});
        std::filesystem::copy_file(ZEMRAK_VIRTUAL_MOUSE_PATH, m_dir / kHidLibraryFileName);
        std::filesystem::create_symlink(ZEMRAK_VIRTUAL_MOUSE_PATH, m_dir / kVirtualMouseFileName);
        m_real =
            std::make_unique<test::VirtualMouseControls>((m_dir / kHidLibraryFileName).c_str());
        ASSERT_NE(nullptr, m_real->set_plugged);
        m_real->set_plugged(0);
        test::set_virtual_mouse_plugged(1);
        ui::ModalAnswers::clear();
    }
    void TearDown() override { ui::ModalAnswers::clear(); }

    void start() {
        m_window =
            std::make_unique<CMainWnd>(MainWndOptions{folders_in(m_dir.path()), {}, m_nodes, {}});
        m_window->initialise();
    }
    QString state_line() { return m_window->findChild<QLabel*>("device_state_label")->text(); }

    // Runs the no-device warning, reads its message and ends it with `answer`.
    QString warn_and_answer(int answer) {
        QString message;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(nullptr, box);
            message = box->findChild<QLabel*>("label_string")->text();
            if (answer == ui::kDialogChoice) {
                box->findChild<QPushButton*>("choice_btn")->click();
            } else {
                box->done(answer);
            }
        });
        m_window->no_device_warning();
        return message;
    }

    TempDir m_dir;
    std::shared_ptr<test::FakeHidNodeProbe> m_nodes = std::make_shared<test::FakeHidNodeProbe>();
    std::unique_ptr<test::VirtualMouseControls> m_real;
    std::unique_ptr<CMainWnd> m_window;
};

TEST_F(DeviceStateTest, TheSimulationIsChosenShownAndGivesWayToAMouseThatArrives) {
    start();
    EXPECT_EQ(DeviceState::NotConnected, m_window->device_state());
    EXPECT_FALSE(m_window->using_virtual_mouse()) << "nothing is simulated unless asked for";

    EXPECT_EQ(ui::Texts::text("no_connect_device_text"), warn_and_answer(ui::kDialogCancel));
    EXPECT_FALSE(m_window->isVisible());

    warn_and_answer(ui::kDialogChoice);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_window->using_virtual_mouse());
    EXPECT_EQ(ui::Texts::text("simulated_mouse_state_text"), state_line());

    m_real->set_plugged(1);
    // The link switches on its own thread; the window hears of it through its event queue.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return state_line() == ui::Texts::text("real_mouse_state_text"); }, 5000));
    EXPECT_FALSE(m_window->using_virtual_mouse());
    EXPECT_TRUE(m_window->isVisible()) << "the window stays while the real mouse takes over";
    EXPECT_TRUE(m_window->unapplied_changes()) << "the real mouse has not had the profile yet";
    const int before = m_real->accepted_writes();
    QTest::mouseClick(m_window->findChild<QPushButton*>("btn_apply"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    EXPECT_EQ(before + 5, m_real->accepted_writes()) << "applies reach the real mouse";
    EXPECT_FALSE(m_window->unapplied_changes());
}

TEST_F(DeviceStateTest, AMouseThisUserMayNotWriteToIsExplainedWithTheCommandsThatFixIt) {
    m_nodes->set_nodes({{"/dev/hidraw9", std::make_error_code(std::errc::permission_denied)}});
    start();
    EXPECT_EQ(ui::Texts::text("no_write_access_state_text"), state_line());
    const QString message = warn_and_answer(ui::kDialogCancel);
    EXPECT_TRUE(message.contains("/dev/hidraw9: Permission denied")) << message.toStdString();
    const QString rule = QString::fromStdString((m_dir / "70-zemrak-mouse.rules").string());
    EXPECT_TRUE(message.contains("sudo cp '" + rule + "' /etc/udev/rules.d/"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("sudo udevadm trigger"));
}

TEST_F(DeviceStateTest, ApplyIsMarkedWhileTheMouseLacksAChangeAndNotForANameAlone) {
    m_real->set_plugged(1);
    start();
    auto* apply = m_window->findChild<QPushButton*>("btn_apply");
    EXPECT_FALSE(m_window->unapplied_changes()) << "the mouse holds what was current last run";

    m_window->findChild<QPushButton*>("light_btn")->click();
    auto* brightness = m_window->findChild<QSlider*>("brightness_slider");
    brightness->setValue(brightness->value() - 1);
    EXPECT_TRUE(m_window->unapplied_changes());
    EXPECT_TRUE(apply->property("unapplied").toBool());
    EXPECT_NE(ui::Texts::text("apply_text"), apply->text());

    // The mouse gone, the apply cannot reach it: the mark stays.
    m_real->fail_writes(1);
    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    EXPECT_TRUE(m_window->unapplied_changes());
    m_real->fail_writes(0);
    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    EXPECT_FALSE(m_window->unapplied_changes());
    EXPECT_FALSE(apply->property("unapplied").toBool());
    EXPECT_EQ(ui::Texts::text("apply_text"), apply->text());

    m_window->store().profiles().current()->set_name(u"Renamed");
    EXPECT_FALSE(m_window->unapplied_changes()) << "a name never reaches the mouse";
}

} // namespace
} // namespace zemrak::app
