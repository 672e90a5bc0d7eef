#include "platform/kconfig_file.h"
#include "platform/pointer_settings_kde.h"
#include "test_support/temp_dir.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <gio/gio.h>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

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
    [[nodiscard]] std::string file(const char* name) const {
        return zemrak::test::read_text(m_dir / name);
    }

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
        return zemrak::test::read_text(out);
    };
    EXPECT_EQ("-0.4\n", read("kcminputrc", "Mouse", "XLbInptPointerAcceleration"));
    EXPECT_EQ("true\n", read("kcminputrc", "Mouse", "XLbInptAccelProfileFlat"));
    EXPECT_EQ("breeze_cursors\n", read("kcminputrc", "Mouse", "cursorTheme"));
    EXPECT_EQ("760\n", read("kdeglobals", "KDE", "DoubleClickInterval"));
}

// A session bus of the test's own with a stand-in for KWin's input devices: event3 is a mouse,
// event5 a touchpad. It records the properties written and the signals broadcast.
class FakePlasmaBus {
public:
    explicit FakePlasmaBus(const std::filesystem::path& folder) {
        const std::string address = "unix:path=" + (folder / "bus").string();
        std::array<gchar*, 7> argv{const_cast<gchar*>("dbus-daemon"),
                                   const_cast<gchar*>("--session"),
                                   const_cast<gchar*>("--nofork"),
                                   const_cast<gchar*>("--nopidfile"),
                                   g_strdup(("--address=" + address).c_str()),
                                   nullptr,
                                   nullptr};
        const gboolean spawned = g_spawn_async(
            nullptr, argv.data(), nullptr,
            static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                     G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
            nullptr, nullptr, &m_daemon, nullptr);
        g_free(argv[4]);
        if (spawned == FALSE) {
            return;
        }
        // A loaded machine may take seconds to start a bus; waiting costs nothing otherwise.
        for (int i = 0; i < 500 && !std::filesystem::exists(folder / "bus"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        m_context = g_main_context_new();
        m_loop = g_main_loop_new(m_context, FALSE);
        std::promise<void> started;
        std::future<void> served = started.get_future();
        m_server = std::thread([this, address, &started] {
            g_main_context_push_thread_default(m_context);
            serve(address);
            started.set_value();
            g_main_loop_run(m_loop);
            if (m_bus != nullptr) {
                g_dbus_connection_close_sync(m_bus, nullptr, nullptr);
                g_object_unref(m_bus);
            }
            g_main_context_pop_thread_default(m_context);
        });
        served.wait();
    }

    ~FakePlasmaBus() {
        if (m_server.joinable()) {
            g_main_loop_quit(m_loop);
            m_server.join();
            g_main_loop_unref(m_loop);
            g_main_context_unref(m_context);
        }
        if (m_daemon > 0) {
            ::kill(m_daemon, SIGTERM);
            ::waitpid(m_daemon, nullptr, 0);
        }
    }

    [[nodiscard]] bool ready() const { return m_registered; }

    [[nodiscard]] std::vector<std::string> records() {
        const std::lock_guard lock(m_mutex);
        return m_records;
    }
    // Waits until `count` records are in, or ten seconds have passed.
    [[nodiscard]] std::vector<std::string> records(std::size_t count) {
        for (int i = 0; i < 500 && records().size() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return records();
    }

private:
    static constexpr const char* kXml =
        "<node>"
        " <interface name='org.kde.KWin.InputDeviceManager'>"
        "  <property name='devicesSysNames' type='as' access='read'/>"
        " </interface>"
        " <interface name='org.kde.KWin.InputDevice'>"
        "  <property name='pointer' type='b' access='read'/>"
        "  <property name='touchpad' type='b' access='read'/>"
        "  <property name='pointerAcceleration' type='d' access='readwrite'/>"
        "  <property name='pointerAccelerationProfileFlat' type='b' access='readwrite'/>"
        "  <property name='pointerAccelerationProfileAdaptive' type='b' access='readwrite'/>"
        " </interface>"
        "</node>";

    void serve(const std::string& address) {
        m_bus = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        if (m_bus == nullptr) {
            return;
        }
        GVariant* owned = g_dbus_connection_call_sync(
            m_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "RequestName", g_variant_new("(su)", "org.kde.KWin", 0U), nullptr,
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (owned == nullptr) {
            return;
        }
        g_variant_unref(owned);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kXml, nullptr);
        static const GDBusInterfaceVTable vtable{
            nullptr, &FakePlasmaBus::get, &FakePlasmaBus::set, {}};
        bool registered = true;
        for (const char* path : {"/org/kde/KWin/InputDevice", "/org/kde/KWin/InputDevice/event3",
                                 "/org/kde/KWin/InputDevice/event5"}) {
            const bool manager = std::string(path) == "/org/kde/KWin/InputDevice";
            registered = registered && g_dbus_connection_register_object(
                                           m_bus, path, node->interfaces[manager ? 0 : 1], &vtable,
                                           this, nullptr, nullptr) != 0;
        }
        g_dbus_node_info_unref(node);
        g_dbus_connection_signal_subscribe(m_bus, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           G_DBUS_SIGNAL_FLAGS_NONE, &FakePlasmaBus::signal, this,
                                           nullptr);
        // A call answered after the subscription means the bus has taken its match rule.
        GVariant* id = g_dbus_connection_call_sync(
            m_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId",
            nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (id != nullptr) {
            g_variant_unref(id);
        }
        m_registered = registered && id != nullptr;
    }

    static GVariant* get(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                         const gchar* name, GError**, gpointer) {
        const std::string property = name;
        if (property == "devicesSysNames") {
            const std::array<const gchar*, 2> names{"event3", "event5"};
            return g_variant_new_strv(names.data(), names.size());
        }
        if (property == "pointer") {
            return g_variant_new_boolean(TRUE);
        }
        if (property == "touchpad") {
            return g_variant_new_boolean(std::string(path).ends_with("event5") ? TRUE : FALSE);
        }
        return nullptr;
    }

    static gboolean set(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                        const gchar* name, GVariant* value, GError**, gpointer self) {
        gchar* text = g_variant_print(value, FALSE);
        auto* bus = static_cast<FakePlasmaBus*>(self);
        const std::lock_guard lock(bus->m_mutex);
        bus->m_records.push_back(std::string(path).substr(std::string(path).rfind('/') + 1) + " " +
                                 name + " " + text);
        g_free(text);
        return TRUE;
    }

    static void signal(GDBusConnection*, const gchar*, const gchar* path, const gchar* interface,
                       const gchar* member, GVariant* arguments, gpointer self) {
        if (std::string(interface) == "org.freedesktop.DBus") {
            return;
        }
        gchar* text = g_variant_print(arguments, FALSE);
        auto* bus = static_cast<FakePlasmaBus*>(self);
        const std::lock_guard lock(bus->m_mutex);
        bus->m_records.push_back(std::string(path) + " " + interface + "." + member + " " + text);
        g_free(text);
    }

    GPid m_daemon = 0;
    GMainContext* m_context = nullptr;
    GMainLoop* m_loop = nullptr;
    GDBusConnection* m_bus = nullptr;
    std::thread m_server;
    bool m_registered = false;
    std::mutex m_mutex;
    std::vector<std::string> m_records;
};

// The session's own D-Bus calls: KWin's mice (not its touchpads) get their properties with the
// types KWin declares, and the signals leave with the paths and arguments Plasma listens for.
TEST(PointerKdeDbus, ReachesKWinAndTheSessionAsPlasmaExpects) {
    if (std::system("command -v dbus-daemon >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "dbus-daemon is not installed, so there is no bus to run a stand-in "
                        "KWin on";
    }
    TempDir dir;
    FakePlasmaBus bus(dir.path());
    ASSERT_TRUE(bus.ready());
    const auto session = make_kde_dbus_session();
    EXPECT_EQ((std::vector<std::string>{"event3"}), session->kwin_mice());
    EXPECT_TRUE(session->set_kwin_mouse_motion("event3", true, -0.4));
    EXPECT_TRUE(session->set_kwin_mouse_motion("event3", false, 0.5));
    session->announce_mouse_settings();
    const std::array keys{KConfigEntry{"WheelScrollLines", "3"}};
    session->announce_config_change("kdeglobals", "KDE", keys);
    EXPECT_EQ(
        (std::vector<std::string>{
            "event3 pointerAccelerationProfileFlat true",
            "event3 pointerAcceleration -0.40000000000000002",
            "event3 pointerAccelerationProfileAdaptive true", "event3 pointerAcceleration 0.5",
            "/KGlobalSettings org.kde.KGlobalSettings.notifyChange (3, 0)",
            "/kdeglobals org.kde.kconfig.notify.ConfigChanged ({'KDE': ['WheelScrollLines']},)"}),
        bus.records(6));
}

} // namespace
} // namespace zemrak
