#include "platform/kconfig_file.h"
#include "platform/pointer_settings_kde.h"
#include "test_support/temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes down what the backend tells the session, in order.
class RecordingSession final : public KdeSession {
public:
    struct Record {
        std::vector<std::string> calls;
        std::optional<std::vector<std::string>> mice;
    };

    explicit RecordingSession(std::shared_ptr<Record> record) : m_record(std::move(record)) {}

    void announce_mouse_settings() override { m_record->calls.emplace_back("notify mouse"); }
    void announce_config_change(std::string_view file, std::string_view group,
                                std::span<const KConfigEntry> keys) override {
        std::string call = "changed " + std::string(file) + " [" + std::string(group) + "]";
        for (const KConfigEntry& key : keys) {
            call += " " + key.key;
        }
        m_record->calls.push_back(call);
    }
    std::optional<std::vector<std::string>> kwin_mice() override { return m_record->mice; }
    bool set_kwin_mouse_motion(const std::string& sys_name, bool flat,
                               double acceleration) override {
        m_record->calls.push_back("kwin " + sys_name + (flat ? " flat " : " adaptive ") +
                                  kde_number_text(acceleration));
        return true;
    }
    void reapply_x11_mouse() override { m_record->calls.emplace_back("kcminit"); }

private:
    std::shared_ptr<Record> m_record;
};

class PointerKde : public ::testing::Test {
protected:
    std::unique_ptr<KdePointerSettings> make(bool wayland) {
        return std::make_unique<KdePointerSettings>(m_dir.path(), wayland,
                                                    std::make_unique<RecordingSession>(m_record));
    }
    [[nodiscard]] std::string file(const char* name) const { return slurp(m_dir / name); }

    TempDir m_dir;
    std::shared_ptr<RecordingSession::Record> m_record =
        std::make_shared<RecordingSession::Record>();
};

TEST(KConfigText, ChangesOnlyTheKeysNamedAndKeepsEverythingElse) {
    const std::string before = "# written by hand\n"
                               "[General]\n"
                               "WheelScrollLines=9\n"
                               "\n"
                               "[KDE]\n"
                               "SingleClick=false\n"
                               "WheelScrollLines[$e]=5\n"
                               "WheelScrollLines[de]=7\n"
                               "\n"
                               "[KDE][Nested]\n"
                               "DoubleClickInterval=1\n"
                               "\n"
                               "[KDE]\n"
                               " WheelScrollLines = 2\n";
    const std::array entries{KConfigEntry{"WheelScrollLines", "3"},
                             KConfigEntry{"DoubleClickInterval", "550"}};
    // Both sections of [KDE] are its group; the new key joins its first section, before the
    // blank line; other groups, a nested one of the same start, the language variant and
    // the comment stay as they were.
    EXPECT_EQ("# written by hand\n"
              "[General]\n"
              "WheelScrollLines=9\n"
              "\n"
              "[KDE]\n"
              "SingleClick=false\n"
              "WheelScrollLines=3\n"
              "WheelScrollLines[de]=7\n"
              "DoubleClickInterval=550\n"
              "\n"
              "[KDE][Nested]\n"
              "DoubleClickInterval=1\n"
              "\n"
              "[KDE]\n"
              "WheelScrollLines=3\n",
              set_kconfig_entries(before, "KDE", entries));

    // A missing group comes at the end after a blank line; an empty file gets just the group.
    EXPECT_EQ("[General]\nA=1\n\n[KDE]\nWheelScrollLines=3\nDoubleClickInterval=550\n",
              set_kconfig_entries("[General]\nA=1\n\n", "KDE", entries));
    EXPECT_EQ("[KDE]\nWheelScrollLines=3\nDoubleClickInterval=550\n",
              set_kconfig_entries("", "KDE", entries));
    // A last line without a line break gets one.
    EXPECT_EQ("[KDE]\nWheelScrollLines=3\nDoubleClickInterval=550\n",
              set_kconfig_entries("[KDE]\nWheelScrollLines=8", "KDE", entries));
}

TEST_F(PointerKde, X11MotionOfEachLevelGoesToTheMouseGroupOfKcminputrc) {
    write_text(m_dir / "kcminputrc", "[Keyboard]\n"
                                     "NumLock=0\n"
                                     "\n"
                                     "[Mouse]\n"
                                     "cursorTheme=breeze_cursors\n"
                                     "XLbInptPointerAcceleration=0.4\n"
                                     "\n"
                                     "[Libinput][1133][49291][Gaming Mouse]\n"
                                     "PointerAcceleration=0.200\n");
    const auto backend = make(false);
    EXPECT_EQ(PointerSupport{}, backend->support());

    backend->set_pointer_motion(PointerMotion{false, system_pointer_speed(1)});
    EXPECT_EQ("[Keyboard]\n"
              "NumLock=0\n"
              "\n"
              "[Mouse]\n"
              "cursorTheme=breeze_cursors\n"
              "XLbInptPointerAcceleration=-0.9\n"
              "XLbInptAccelProfileFlat=true\n"
              "\n"
              "[Libinput][1133][49291][Gaming Mouse]\n"
              "PointerAcceleration=0.200\n",
              file("kcminputrc"));
    EXPECT_EQ((std::vector<std::string>{
                  "changed kcminputrc [Mouse] XLbInptAccelProfileFlat XLbInptPointerAcceleration",
                  "notify mouse", "kcminit"}),
              m_record->calls);

    // Every speed level, with the neutral level 6 at Plasma's default 0.
    const std::array<const char*, 11> expected{"-0.9", "-0.8", "-0.6", "-0.4", "-0.2", "0",
                                               "0.2",  "0.4",  "0.6",  "0.8",  "1"};
    for (std::int32_t level = 1; level <= 11; ++level) {
        backend->set_pointer_motion(PointerMotion{true, system_pointer_speed(level)});
        const std::string text = file("kcminputrc");
        EXPECT_NE(std::string::npos, text.find(std::string("\nXLbInptPointerAcceleration=") +
                                               expected.at(static_cast<std::size_t>(level - 1)) +
                                               "\nXLbInptAccelProfileFlat=false\n"))
            << "level " << level << "\n"
            << text;
    }
    EXPECT_EQ("1", kde_number_text(kde_pointer_acceleration(45)));
    EXPECT_EQ("-1", kde_number_text(kde_pointer_acceleration(-3)));
}

TEST_F(PointerKde, DoubleClickAndWheelGoToTheKdeGroupOfKdeglobals) {
    const auto backend = make(false);
    // No kdeglobals yet: it is made.
    backend->set_double_click_time(double_click_time_ms(5));
    EXPECT_EQ("[KDE]\nDoubleClickInterval=550\n", file("kdeglobals"));
    backend->set_wheel_scroll(3);
    EXPECT_EQ("[KDE]\nDoubleClickInterval=550\nWheelScrollLines=3\n", file("kdeglobals"));
    EXPECT_EQ(
        (std::vector<std::string>{"changed kdeglobals [KDE] DoubleClickInterval", "notify mouse",
                                  "changed kdeglobals [KDE] WheelScrollLines", "notify mouse"}),
        m_record->calls);

    write_text(m_dir / "kdeglobals", "[General]\nColorScheme=BreezeDark\n\n[KDE]\n"
                                     "LookAndFeelPackage=org.kde.breezedark.desktop\n"
                                     "DoubleClickInterval=400\nWheelScrollLines=3\n");
    backend->set_double_click_time(double_click_time_ms(11));
    backend->set_wheel_scroll(0); // no lines at all would stop the wheel: one line instead
    EXPECT_EQ("[General]\nColorScheme=BreezeDark\n\n[KDE]\n"
              "LookAndFeelPackage=org.kde.breezedark.desktop\n"
              "DoubleClickInterval=130\nWheelScrollLines=1\n",
              file("kdeglobals"));
    // Beyond the sane range, and a page per notch, which Plasma does not have.
    m_record->calls.clear();
    backend->set_double_click_time(20);
    backend->set_wheel_scroll(kScrollOnePage);
    EXPECT_EQ("[General]\nColorScheme=BreezeDark\n\n[KDE]\n"
              "LookAndFeelPackage=org.kde.breezedark.desktop\n"
              "DoubleClickInterval=100\nWheelScrollLines=1\n",
              file("kdeglobals"));
    EXPECT_EQ(
        (std::vector<std::string>{"changed kdeglobals [KDE] DoubleClickInterval", "notify mouse"}),
        m_record->calls);
}

TEST_F(PointerKde, WaylandMotionGoesToEveryMouseOfKWinAndNoFile) {
    m_record->mice = std::vector<std::string>{"event4", "event11"};
    const auto backend = make(true);
    EXPECT_EQ(PointerSupport{}, backend->support());
    m_record->calls.clear();
    backend->set_pointer_motion(PointerMotion{false, 14});
    backend->set_pointer_motion(PointerMotion{true, 10});
    EXPECT_EQ((std::vector<std::string>{"kwin event4 flat 0.4", "kwin event11 flat 0.4",
                                        "kwin event4 adaptive 0", "kwin event11 adaptive 0"}),
              m_record->calls);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "kcminputrc"));

    // Without KWin the pointer is reported as left alone; the rest still works.
    m_record->mice.reset();
    const auto without_kwin = make(true);
    EXPECT_EQ((PointerSupport{"", kPointerNoCompositor, ""}), without_kwin->support());
    without_kwin->set_wheel_scroll(5);
    EXPECT_EQ("[KDE]\nWheelScrollLines=5\n", file("kdeglobals"));
}

// Plasma's own reader, where it is installed, reads back what was written.
TEST_F(PointerKde, PlasmasConfigReaderReadsTheValuesBack) {
    std::string reader;
    for (const char* name : {"kreadconfig6", "kreadconfig5"}) {
        const std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) {
            reader = name;
            break;
        }
    }
    if (reader.empty()) {
        GTEST_SKIP() << "neither kreadconfig6 nor kreadconfig5 is installed (Plasma's config "
                        "reader), so only the file contents are checked";
    }
    write_text(m_dir / "kcminputrc", "[Mouse]\ncursorTheme=breeze_cursors\n");
    const auto backend = make(false);
    backend->set_pointer_motion(PointerMotion{false, 6});
    backend->set_double_click_time(760);
    const auto read = [&](const char* file, const char* group, const char* key) {
        const std::string out = (m_dir / "read").string();
        const std::string command = "XDG_CONFIG_HOME='" + m_dir.path().string() + "' " + reader +
                                    " --file " + file + " --group " + group + " --key " + key +
                                    " >'" + out + "'";
        EXPECT_EQ(0, std::system(command.c_str())) << command;
        return slurp(out);
    };
    EXPECT_EQ("-0.4\n", read("kcminputrc", "Mouse", "XLbInptPointerAcceleration"));
    EXPECT_EQ("true\n", read("kcminputrc", "Mouse", "XLbInptAccelProfileFlat"));
    EXPECT_EQ("breeze_cursors\n", read("kcminputrc", "Mouse", "cursorTheme"));
    EXPECT_EQ("760\n", read("kdeglobals", "KDE", "DoubleClickInterval"));
}

} // namespace
} // namespace zemrak
