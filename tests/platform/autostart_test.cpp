#include "platform/autostart.h"
#include "platform/file_io.h"
#include "test_support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

std::string line_starting(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(start)) {
            return line;
        }
    }
    return {};
}

TEST(AutostartEntry, LivesInTheUsersConfigFolder) {
    EXPECT_EQ("/xdg/autostart/zemrak-mouse.desktop",
              autostart_entry_path({"/xdg", "/home/u"}).string());
    EXPECT_EQ("/home/u/.config/autostart/zemrak-mouse.desktop",
              autostart_entry_path({"", "/home/u"}).string());
    EXPECT_EQ("/home/u/.config/autostart/zemrak-mouse.desktop",
              autostart_entry_path({"relative/config", "/home/u"}).string())
        << "a relative XDG_CONFIG_HOME is invalid and ignored";
}

TEST(AutostartEntry, StartsTheProgramHiddenWhateverItsPathHolds) {
    const std::string plain = autostart_entry("/usr/bin/zemrak-mouse", "Zemrak Gaming Mouse");
    EXPECT_TRUE(plain.starts_with("# ")) << plain;
    EXPECT_NE(std::string::npos, plain.find("\n[Desktop Entry]\nType=Application\n")) << plain;
    EXPECT_EQ("Exec=/usr/bin/zemrak-mouse --hidden", line_starting(plain, "Exec="));
    EXPECT_EQ("Name=Zemrak Gaming Mouse", line_starting(plain, "Name="));

    // Quoted where the path would split or expand, with the escapes of quoted arguments and
    // then those of every value; a literal % is doubled.
    EXPECT_EQ(R"(Exec="/opt/my apps/zemrak-mouse" --hidden)",
              line_starting(autostart_entry("/opt/my apps/zemrak-mouse", "Z"), "Exec="));
    EXPECT_EQ(R"(Exec="/opt/100%%/a\\"b\\$c\\\\d" --hidden)",
              line_starting(autostart_entry(R"(/opt/100%/a"b$c\d)", "Z"), "Exec="));
    EXPECT_EQ("Exec=/opt/100%%/z --hidden",
              line_starting(autostart_entry("/opt/100%/z", "Z"), "Exec="));
}

TEST(AutostartEntry, IsWrittenReadBackAndRemoved) {
    TempDir dir;
    const std::filesystem::path entry = autostart_entry_path({(dir / "config").string(), ""});
    std::error_code error;
    AutostartStatus status = read_autostart(entry, error);
    EXPECT_FALSE(error);
    EXPECT_FALSE(status.present);
    EXPECT_FALSE(status.enabled);

    ASSERT_FALSE(enable_autostart(entry, "/opt/my apps/zemrak-mouse", "Zemrak Gaming Mouse"))
        << "the autostart folder is made when missing";
    EXPECT_EQ(autostart_entry("/opt/my apps/zemrak-mouse", "Zemrak Gaming Mouse"),
              zemrak::test::read_text(entry));
    status = read_autostart(entry, error);
    EXPECT_FALSE(error);
    EXPECT_TRUE(status.present);
    EXPECT_TRUE(status.ours);
    EXPECT_TRUE(status.enabled);

    // The entry passes the desktop's own check where the check is installed.
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
        const std::string command = "desktop-file-validate '" + entry.string() + "' >'" +
                                    (dir / "validate.log").string() + "' 2>&1";
        EXPECT_EQ(0, std::system(command.c_str())) << zemrak::test::read_text(dir / "validate.log");
    }

    // Written again over its own entry, for a program that has moved.
    ASSERT_FALSE(enable_autostart(entry, "/usr/bin/zemrak-mouse", "Zemrak Gaming Mouse"));
    EXPECT_EQ("Exec=/usr/bin/zemrak-mouse --hidden",
              line_starting(zemrak::test::read_text(entry), "Exec="));

    ASSERT_FALSE(disable_autostart(entry));
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(read_autostart(entry, error).present);
    EXPECT_FALSE(disable_autostart(entry)) << "no entry is nothing to remove";
}

TEST(AutostartEntry, AnEntrySwitchedOffInTheFileIsNotEnabledAndOursIsSwitchedOnAgain) {
    TempDir dir;
    const std::filesystem::path entry = dir / "zemrak-mouse.desktop";
    ASSERT_FALSE(enable_autostart(entry, "/usr/bin/zemrak-mouse", "Z"));
    // What a desktop's start-up settings do to switch an entry off.
    for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled = false\n"}) {
        SCOPED_TRACE(off);
        write_text(entry, autostart_entry("/usr/bin/zemrak-mouse", "Z") + off);
        std::error_code error;
        const AutostartStatus status = read_autostart(entry, error);
        EXPECT_TRUE(status.ours);
        EXPECT_FALSE(status.enabled);
        ASSERT_FALSE(enable_autostart(entry, "/usr/bin/zemrak-mouse", "Z"));
        EXPECT_TRUE(read_autostart(entry, error).enabled);
    }
    // Keys of other groups do not count.
    write_text(entry, autostart_entry("/usr/bin/zemrak-mouse", "Z") +
                          "[Desktop Action hide]\nHidden=true\n");
    std::error_code error;
    EXPECT_TRUE(read_autostart(entry, error).enabled);
}

TEST(AutostartEntry, AFileTheProgramDidNotWriteIsNeverReplacedOrRemoved) {
    TempDir dir;
    const std::filesystem::path entry = dir / "zemrak-mouse.desktop";
    // A copy of the program's menu entry, as a desktop's start-up settings make one.
    const std::string copied = "[Desktop Entry]\nType=Application\nName=Zemrak Mouse\n"
                               "Exec=zemrak-mouse\n";
    for (const std::string& text :
         {copied, copied + "Hidden=true\n", copied + "[Other]\nX-Zemrak-Mouse-Autostart=true\n"}) {
        SCOPED_TRACE(text);
        write_text(entry, text);
        std::error_code error;
        const AutostartStatus status = read_autostart(entry, error);
        EXPECT_FALSE(error);
        EXPECT_TRUE(status.present);
        EXPECT_FALSE(status.ours);
        EXPECT_EQ(text.find("Hidden") == std::string::npos, status.enabled);

        EXPECT_EQ(make_error_code(AutostartError::foreign_entry),
                  enable_autostart(entry, "/usr/bin/zemrak-mouse", "Z"));
        EXPECT_EQ(make_error_code(AutostartError::foreign_entry), disable_autostart(entry));
        EXPECT_EQ(text, zemrak::test::read_text(entry));
    }

    // One that cannot be read is not taken for ours either.
    std::filesystem::remove(entry);
    std::filesystem::create_directory(entry);
    write_text(entry / "inside", "x");
    std::error_code error;
    const AutostartStatus status = read_autostart(entry, error);
    EXPECT_TRUE(error);
    EXPECT_TRUE(status.present);
    EXPECT_FALSE(status.ours);
    EXPECT_TRUE(enable_autostart(entry, "/usr/bin/zemrak-mouse", "Z"));
    EXPECT_TRUE(disable_autostart(entry));
    EXPECT_TRUE(std::filesystem::exists(entry / "inside"));
}

} // namespace
} // namespace zemrak
