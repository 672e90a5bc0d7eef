// The real program on an X display with a notification area (Xvfb and a small tray host of
// our own), so that it lives in the tray as it does for a user, against the virtual mouse.

#include "desktop_session.h"
#include "test_support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace zemrak::test {
namespace {

using namespace std::chrono_literals;

class TrayDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path xvfb = find_on_path("Xvfb");
        if (xvfb.empty()) {
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb), so there is no X "
                            "display to run the program beside a tray on";
        }
        m_display = std::make_unique<VirtualDisplay>(xvfb, m_dir / "xvfb.log");
        ASSERT_FALSE(m_display->name().empty()) << zemrak::test::read_text(m_dir / "xvfb.log");
        m_watch = std::make_unique<WindowWatch>(m_display->name());
        ASSERT_TRUE(m_watch->connected());
        m_tray = std::make_unique<ChildProcess>(
            std::vector<std::string>{ZEMRAK_TRAY_HOST_PATH},
            environment_with({"DISPLAY"}, {"DISPLAY=" + m_display->name()}), m_dir / "tray.log");
        ASSERT_TRUE(m_watch->wait_for_tray(10s)) << zemrak::test::read_text(m_dir / "tray.log");

        // The program folder of its own (the portable layout) keeps its data apart.
        const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
        std::filesystem::create_directories(m_program);
        for (const char* entry : {"zemrak-mouse", "zemrakctl", "Data.ini", "Default.pbin",
                                  "logo.png", "libzemrak-hid-virtual.so", "Language", "res"}) {
            std::filesystem::copy(shipped / entry, m_program / entry,
                                  std::filesystem::copy_options::recursive);
        }
        std::filesystem::create_directories(m_dir / "runtime");
        std::filesystem::permissions(m_dir / "runtime", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }

    // The program on the display, performing `script`, its messages in the file "program.log".
    std::unique_ptr<ChildProcess> start_program(const std::string& script,
                                                const std::vector<std::string>& arguments = {}) {
        write_text(m_dir / "script", script);
        std::filesystem::remove(m_dir / "program.log");
        // Without a session bus Qt keeps its icon in the X tray, whatever desktop runs the
        // tests; the program must not meet the desktop's own tray, session or display.
        std::vector<std::string> argv{(m_program / "zemrak-mouse").string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        auto program = std::make_unique<ChildProcess>(
            argv,
            environment_with(
                {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
                 "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE", "SESSION_MANAGER",
                 "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"},
                {"DISPLAY=" + m_display->name(), "QT_QPA_PLATFORM=xcb",
                 "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (m_dir / "no-bus").string(),
                 "XDG_RUNTIME_DIR=" + (m_dir / "runtime").string(),
                 "ZEMRAK_HID_LIBRARY=" + (m_program / "libzemrak-hid-virtual.so").string(),
                 "ZEMRAK_VIRTUAL_MOUSE_LOG=" + (m_dir / "mouse.log").string(),
                 "ZEMRAK_UI_SCRIPT=" + (m_dir / "script").string()}),
            m_dir / "program.log");
        EXPECT_TRUE(program->started());
        return program;
    }

    [[nodiscard]] std::string program_log() const {
        return zemrak::test::read_text(m_dir / "program.log");
    }

    // What zemrakctl prints for `arguments` on the program folder.
    [[nodiscard]] std::string ctl(const std::string& arguments) const {
        const std::filesystem::path out = m_dir / "ctl.out";
        const std::string command = "'" + (m_program / "zemrakctl").string() +
                                    "' --program-folder '" + m_program.string() + "' " + arguments +
                                    " >'" + out.string() + "' 2>&1";
        EXPECT_EQ(0, std::system(command.c_str())) << command << "\n"
                                                   << zemrak::test::read_text(out);
        return zemrak::test::read_text(out);
    }

    // The reports the virtual mouse received, a "cmd …"/"data …" line each, as zemrakctl's
    // reports lists them.
    [[nodiscard]] std::string received_reports() const {
        std::istringstream log(zemrak::test::read_text(m_dir / "mouse.log"));
        std::string received;
        for (std::string line; std::getline(log, line);) {
            received += line.substr(line.find(' ') + 1) + "\n";
        }
        return received;
    }

    TempDir m_dir;
    std::filesystem::path m_program = m_dir / "program";
    // Declared in the order they start, so that they end in the reverse order.
    std::unique_ptr<VirtualDisplay> m_display;
    std::unique_ptr<WindowWatch> m_watch;
    std::unique_ptr<ChildProcess> m_tray;
};

TEST_F(TrayDesktop, TrayMenuExitEndsTheProgramWhileItsWindowIsShown) {
    // Before it quits, Qt asks its top-level windows (the main window and the tray icon's) to
    // close, in an order that changes from run to run; a window that refused stopped the quit
    // in about two runs of five, so the exit is tried often enough to meet such an order.
    constexpr int kRuns = 16;
    for (int run = 1; run <= kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const auto program = start_program("tray right\nmenu exit\n");
        ASSERT_NE(XCB_NONE, m_watch->wait_for_map(30s)) << "the window never showed\n"
                                                        << program_log();
        const std::optional<int> status = program->wait_for_exit(10s);
        ASSERT_TRUE(status.has_value()) << "the program lived on after the tray menu's exit\n"
                                        << program_log();
        ASSERT_TRUE(WIFEXITED(*status)) << program_log();
        ASSERT_EQ(0, WEXITSTATUS(*status)) << program_log();
    }
}

TEST_F(TrayDesktop, AProfileChosenInTheTrayMenuBecomesCurrentAndReachesTheMouse) {
    // Two stored profiles that differ in one button; the first is current.
    static_cast<void>(ctl("profiles"));
    static_cast<void>(ctl("export-profile 0 '" + (m_dir / "p.pbin").string() + "'"));
    static_cast<void>(ctl("import-profile '" + (m_dir / "p.pbin").string() + "'"));
    static_cast<void>(ctl("set-button 5 forward"));
    ASSERT_EQ("*0\tProfile1\n 1\tProfile1_1\n", ctl("profiles"));
    const std::string first_reports = ctl("reports");

    const auto program = start_program("tray right\nmenu profile_1\nwait-apply\nquit\n");
    const std::optional<int> status = program->wait_for_exit(30s);
    ASSERT_TRUE(status.has_value()) << program_log();
    ASSERT_TRUE(WIFEXITED(*status)) << program_log();
    ASSERT_EQ(0, WEXITSTATUS(*status)) << program_log();

    EXPECT_EQ(" 0\tProfile1\n*1\tProfile1_1\n", ctl("profiles"));
    const std::string second_reports = ctl("reports");
    EXPECT_NE(first_reports, second_reports);
    EXPECT_EQ(second_reports, received_reports()) << program_log();
}

TEST_F(TrayDesktop, ClosingTheWindowKeepsTheProgramInTheTray) {
    // The header's close button hides the window and a click on the tray icon shows it again;
    // the second click comes long after the window manager has been told to close it.
    const auto program = start_program("click exit_btn\ntray left\nwait 5000\ntray left\n");
    const xcb_window_t window = m_watch->wait_for_map(30s);
    ASSERT_NE(XCB_NONE, window) << "the window never showed\n" << program_log();
    ASSERT_TRUE(m_watch->wait_for_unmap(window, 10s)) << program_log();
    const xcb_window_t again = m_watch->wait_for_map(10s);
    ASSERT_NE(XCB_NONE, again) << "the tray icon did not bring the window back\n" << program_log();

    // The window manager's close button does what the header's does.
    m_watch->ask_to_close(again);
    ASSERT_TRUE(m_watch->wait_for_unmap(again, 10s)) << program_log();
    EXPECT_NE(XCB_NONE, m_watch->wait_for_map(15s))
        << "the tray icon did not bring the closed window back\n"
        << program_log();
    EXPECT_FALSE(program->wait_for_exit(0ms).has_value())
        << "closing the window ended the program\n"
        << program_log();
}

TEST_F(TrayDesktop, StartedWithAnArgumentItStaysInTheTrayUntilTheIconIsClicked) {
    // The script runs once start-up has decided whether to show the window, and then ends
    // the program: every window it showed is on the display's record by then.
    for (const char* argument : {"--hidden", "anything"}) {
        SCOPED_TRACE(argument);
        const auto program = start_program("wait 1000\nquit\n", {argument});
        const std::optional<int> status = program->wait_for_exit(60s);
        ASSERT_TRUE(status.has_value()) << program_log();
        ASSERT_TRUE(WIFEXITED(*status)) << program_log();
        ASSERT_EQ(0, WEXITSTATUS(*status)) << program_log();
        EXPECT_EQ(XCB_NONE, m_watch->wait_for_map(500ms)) << "a window showed\n" << program_log();
    }
    // The same run without an argument shows the window, so the watch would have seen one.
    const auto shown = start_program("wait 1000\nquit\n");
    ASSERT_TRUE(shown->wait_for_exit(60s).has_value()) << program_log();
    EXPECT_NE(XCB_NONE, m_watch->wait_for_map(5s)) << program_log();

    // Hidden, a click on the tray icon shows the window.
    const auto hidden = start_program("wait 1000\ntray left\n", {"--hidden"});
    EXPECT_NE(XCB_NONE, m_watch->wait_for_map(30s)) << "the tray icon did not show the window\n"
                                                    << program_log();
}

} // namespace
} // namespace zemrak::test
