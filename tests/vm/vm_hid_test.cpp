// Runs inside the test machine, as root, with uhid loaded and no udevd: the real HID library,
// loaded as the program loads it, against mice made through /dev/uhid.

#include "application/device_link.h"
#include "device/hid_library.h"
#include "device/report_plan.h"
#include "model/byte_io.h"
#include "model/config_defaults.h"
#include "model/sensors.h"
#include "platform/hid_nodes.h"
#include "platform/pointer_settings_noop.h"
#include "uhid_mouse.h"
#include "zemrak_hid.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <linux/uhid.h>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using namespace std::chrono_literals;
using vm::Interface;
using vm::UhidMouse;

constexpr std::uint16_t kVendor = 0x04D9;
constexpr std::uint16_t kProduct = 0xA09F;
constexpr auto kNoticeTimeout = 20s;

// Interfaces in the order a mouse shows them.
constexpr std::size_t kBootInterface = 0;
constexpr std::size_t kCommandInterface = 1;
constexpr std::size_t kDataInterface = 2;

std::vector<Interface> interfaces(std::uint8_t command_bytes, std::uint8_t data_bytes) {
    return {{"vm mouse", vm::boot_mouse_descriptor()},
            {"vm mouse command", vm::command_descriptor(command_bytes)},
            {"vm mouse data", vm::data_descriptor(data_bytes)}};
}

// Counts presence notices and lets the test wait for them.
class Presence {
public:
    void notice(PresenceNotice presence) {
        const std::lock_guard lock(m_mutex);
        (presence == PresenceNotice::arrived ? m_arrivals : m_removals) += 1;
        m_changed.notify_all();
    }
    [[nodiscard]] bool wait_arrivals(std::size_t count) { return wait(m_arrivals, count); }
    [[nodiscard]] bool wait_removals(std::size_t count) { return wait(m_removals, count); }
    void reset() {
        const std::lock_guard lock(m_mutex);
        m_arrivals = 0;
        m_removals = 0;
    }
    [[nodiscard]] std::size_t arrivals() {
        const std::lock_guard lock(m_mutex);
        return m_arrivals;
    }
    // Waits until every node heard arriving has been heard leaving.
    [[nodiscard]] bool wait_all_removed() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kNoticeTimeout, [&] { return m_removals >= m_arrivals; });
    }

private:
    bool wait(const std::size_t& counter, std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kNoticeTimeout, [&] { return counter >= count; });
    }
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_arrivals = 0;
    std::size_t m_removals = 0;
};

std::size_t hidraw_node_count() {
    std::error_code ignored;
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", ignored)) {
        if (entry.path().filename().string().starts_with("hidraw")) {
            ++count;
        }
    }
    return count;
}

ConfigBlock profile_with_two_macros() {
    ConfigBlock block;
    fill_defaults(block, kSensor3327);
    for (const std::size_t record : {std::size_t{3}, std::size_t{5}}) {
        block.button(record).set_function_code(22);
        block.button(record).set_action_count(1);
        MacroAction press;
        press.set_kind(MacroAction::Press);
        press.set_code(4);
        press.set_delay(10);
        block.button(record).set_action(0, press);
    }
    return block;
}

// The lines `zemrakctl reports` prints for the profile.
std::vector<std::string> report_lines(const std::vector<ReportStep>& steps) {
    std::vector<std::string> lines;
    for (const ReportStep& step : steps) {
        lines.push_back("cmd " + to_hex(step.command));
        if (step.data) {
            lines.push_back("data " + to_hex(*step.data));
        }
    }
    return lines;
}

// What reached the mouse, in the same form; anything but a feature report on one of the two
// vendor interfaces with the right report number is shown as such, so that it fails the test.
std::vector<std::string> received_lines(const UhidMouse& mouse) {
    std::vector<std::string> lines;
    for (const vm::SetReport& report : mouse.received()) {
        const std::string hex = to_hex(report.bytes);
        if (report.report_type != UHID_FEATURE_REPORT) {
            lines.push_back("not a feature report " + hex);
        } else if (report.interface == kCommandInterface && report.report_number == 1) {
            lines.push_back("cmd " + hex);
        } else if (report.interface == kDataInterface && report.report_number == 0) {
            lines.push_back("data " + hex);
        } else {
            lines.push_back("interface " + std::to_string(report.interface) + " report " +
                            std::to_string(report.report_number) + " " + hex);
        }
    }
    return lines;
}

class RealHidLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* variable = std::getenv(kHidLibraryVariable);
        ASSERT_NE(nullptr, variable) << kHidLibraryVariable << " names the library under test";
        s_library = HidLibrary::load(hid_library_path({}, variable));
        ASSERT_TRUE(s_library->usable()) << s_library->error();
        s_library->set_identity(kVendor, kProduct);
        s_library->open_monitor([](PresenceNotice presence) { s_presence.notice(presence); });
    }
    static void TearDownTestSuite() { s_library.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_library && s_library->usable());
        s_presence.reset();
    }
    void TearDown() override {
        s_library->close_command();
        s_library->close_data();
        m_mice.clear();
        // A late removal notice must not be counted by the next test.
        EXPECT_TRUE(s_presence.wait_all_removed());
    }

    UhidMouse& make_mouse(std::uint16_t product, std::uint8_t command_bytes,
                          std::uint8_t data_bytes) {
        m_mice.push_back(
            std::make_unique<UhidMouse>(kVendor, product, interfaces(command_bytes, data_bytes)));
        return *m_mice.back();
    }

    // Plugs `mouse` in and waits until the monitor has heard of each of its nodes.
    static void plug_in(UhidMouse& mouse) {
        const std::size_t before = s_presence.arrivals();
        ASSERT_TRUE(mouse.create()) << mouse.error();
        ASSERT_TRUE(s_presence.wait_arrivals(before + 3))
            << "arrival notices: " << s_presence.arrivals();
    }

    static HidLibrary& library() { return *s_library; }

    std::vector<std::unique_ptr<UhidMouse>> m_mice;
    static inline std::unique_ptr<HidLibrary> s_library;
    static inline Presence s_presence;
};

TEST_F(RealHidLibrary, OnlyTheMouseShapedNodesOfTheIdentityArePicked) {
    // Same identity, but each vendor report one byte off.
    UhidMouse& wrong_sizes = make_mouse(kProduct, 8, 63);
    // The right reports under another identity.
    UhidMouse& other_identity = make_mouse(0xA0A0, 7, 64);
    ASSERT_TRUE(other_identity.create()) << other_identity.error();
    plug_in(wrong_sizes);
    const auto deadline = std::chrono::steady_clock::now() + kNoticeTimeout;
    while (hidraw_node_count() < 6 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(6U, hidraw_node_count());
    EXPECT_EQ(3U, s_presence.arrivals()) << "another identity gives no notices";

    EXPECT_FALSE(library().open_command());
    EXPECT_FALSE(library().open_data());

    // With the mouse beside them (its nodes numbered after theirs), the mouse is picked.
    UhidMouse& mouse = make_mouse(kProduct, 7, 64);
    plug_in(mouse);
    ASSERT_TRUE(library().open_command());
    ASSERT_TRUE(library().open_data());
    const CommandReport command{1, 2, 3, 4, 5, 6, 7, 8};
    DataReport data{};
    data[1] = 0xAA;
    data[64] = 0x55;
    EXPECT_TRUE(library().write_command(command));
    EXPECT_TRUE(library().write_data(data));
    EXPECT_EQ((std::vector<std::string>{"cmd " + to_hex(command), "data " + to_hex(data)}),
              received_lines(mouse));
    EXPECT_TRUE(wrong_sizes.received().empty());
    EXPECT_TRUE(other_identity.received().empty());
}

TEST_F(RealHidLibrary, AnApplyDeliversExactlyTheReportsOfTheProfile) {
    UhidMouse& mouse = make_mouse(kProduct, 7, 64);
    plug_in(mouse);
    ASSERT_TRUE(library().open_command());
    ASSERT_TRUE(library().open_data());

    const std::vector<ReportStep> steps = plan_reports(profile_with_two_macros(), DeviceParams{});
    ASSERT_EQ(5U, steps.size()) << "mode, two macro pages, sensitivity, colours";
    SleepingPause pause;
    const SendResult result = send_reports(steps, library(), pause);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(9U, result.written);
    // A 65-byte report with report ID 0 reaches uhid whole; a USB mouse gets the 64 after it.
    EXPECT_EQ(report_lines(steps), received_lines(mouse));
}

TEST_F(RealHidLibrary, RemovalAndArrivalAreNoticedAndWritesWhileRemovedFail) {
    UhidMouse& mouse = make_mouse(kProduct, 7, 64);
    plug_in(mouse);
    ASSERT_TRUE(library().open_command());
    ASSERT_TRUE(library().open_data());

    mouse.destroy();
    ASSERT_TRUE(s_presence.wait_removals(3));
    const CommandReport command{1, 0x11, 0, 0, 0, 0, 0, 0};
    const DataReport data{};
    EXPECT_FALSE(library().write_command(command)) << "the node is gone";
    EXPECT_FALSE(library().write_data(data));
    EXPECT_FALSE(library().open_command());
    EXPECT_FALSE(library().open_data());

    plug_in(mouse);
    ASSERT_TRUE(library().open_command());
    ASSERT_TRUE(library().open_data());
    EXPECT_TRUE(library().write_command(command));
    EXPECT_TRUE(library().write_data(data));
    EXPECT_EQ((std::vector<std::string>{"cmd " + to_hex(command), "data " + to_hex(data)}),
              received_lines(mouse))
        << "only the writes after the mouse came back";
}

TEST_F(RealHidLibrary, FeatureReadsReturnWhatTheMouseAnswers) {
    // The program never reads; the C functions are reached directly in the loaded library.
    const char* path = std::getenv(kHidLibraryVariable);
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, handle) << "the library is loaded already";
    const auto get_command =
        reinterpret_cast<decltype(&GetHIDFeature)>(dlsym(handle, "GetHIDFeature"));
    const auto get_data =
        reinterpret_cast<decltype(&GetHIDFeature_1)>(dlsym(handle, "GetHIDFeature_1"));
    ASSERT_TRUE(get_command != nullptr && get_data != nullptr);

    UhidMouse& mouse = make_mouse(kProduct, 7, 64);
    plug_in(mouse);
    ASSERT_TRUE(library().open_command());
    ASSERT_TRUE(library().open_data());
    CommandReport command{};
    EXPECT_EQ(0, get_command(command.data(), static_cast<int>(command.size())))
        << "the mouse answers with an error before anything was written";

    const CommandReport written_command{1, 9, 8, 7, 6, 5, 4, 3};
    DataReport written_data{};
    for (std::size_t i = 1; i < written_data.size(); ++i) {
        written_data[i] = static_cast<std::uint8_t>(i);
    }
    ASSERT_TRUE(library().write_command(written_command));
    ASSERT_TRUE(library().write_data(written_data));
    EXPECT_EQ(8, get_command(command.data(), static_cast<int>(command.size())));
    EXPECT_EQ(to_hex(written_command), to_hex(command));
    DataReport data{};
    data[0] = 0xEE; // the library puts the report ID there
    EXPECT_EQ(65, get_data(data.data(), static_cast<int>(data.size())));
    EXPECT_EQ(to_hex(written_data), to_hex(data));
    EXPECT_EQ(0, get_data(data.data(), 64)) << "a length other than the channel's";
    dlclose(handle);
}

// The program's device link over the real library: a mouse plugged in after start-up takes
// over from the simulated mouse, and a mouse whose nodes this user may not open is told apart
// from no mouse. After the suite above: the link opens the library's one device monitor.
class DeviceLinkOverRealLibrary : public testing::Test {
protected:
    void SetUp() override {
        // The machine's root folder is writable; the folder for the data is made here.
        std::filesystem::create_directories(m_data);
        static_cast<void>(m_store.load_all(kSensor3327, u"Profile"));
        m_params.vendor_id = kVendor;
        m_params.product_id = kProduct;
        m_link = std::make_unique<DeviceLink>(
            m_store, DeviceLinkServices{m_params, m_pause, m_pointer, m_nodes},
            DeviceLink::Hooks{{},
                              [this](const ApplyOutcome& outcome) {
                                  const std::lock_guard lock(m_mutex);
                                  m_outcomes.push_back(outcome);
                                  m_changed.notify_all();
                              },
                              [this](DeviceState) {
                                  const std::lock_guard lock(m_mutex);
                                  ++m_presence;
                                  m_changed.notify_all();
                              }});
    }
    void TearDown() override {
        m_link.reset();
        std::filesystem::remove_all(m_data);
    }

    template <typename Done>
    bool wait_for(Done done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kNoticeTimeout, done);
    }

    const std::filesystem::path m_data = "/test/data";
    ProfileStore m_store{Folders{"/test", m_data, "/test"}};
    DeviceParams m_params;
    SleepingPause m_pause;
    std::ostringstream m_notices;
    NoopPointerSettings m_pointer{m_notices};
    SysfsHidNodeProbe m_nodes;
    std::unique_ptr<DeviceLink> m_link;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<ApplyOutcome> m_outcomes;
    std::size_t m_presence = 0;
};

TEST_F(DeviceLinkOverRealLibrary, ASimulationGivesWayToTheMouseWhenItIsPluggedIn) {
    ASSERT_EQ(DeviceState::NotConnected, m_link->open({{}, "/test"}));
    EXPECT_FALSE(m_link->access_denied().has_value()) << "no mouse at all";
    ASSERT_EQ(DeviceState::Connected, m_link->simulate("/test"));
    ASSERT_TRUE(m_link->simulated());

    UhidMouse mouse(kVendor, kProduct, interfaces(7, 64));
    ASSERT_TRUE(mouse.create()) << mouse.error();
    ASSERT_TRUE(wait_for([this] { return !m_link->simulated(); })) << "the real mouse took over";
    EXPECT_EQ(DeviceState::Connected, m_link->state());

    ASSERT_TRUE(m_link->request_apply());
    ASSERT_TRUE(wait_for([this] { return m_outcomes.size() == 1; }));
    EXPECT_TRUE(m_outcomes[0].reports.ok());
    EXPECT_EQ(report_lines(plan_reports(*m_store.profiles().current(), m_params)),
              received_lines(mouse));

    mouse.destroy();
    ASSERT_TRUE(wait_for([this] { return m_link->state() == DeviceState::Removed; }));
    EXPECT_FALSE(m_link->simulated());
}

TEST_F(DeviceLinkOverRealLibrary, AMouseThisUserMayNotOpenIsToldApartFromNoMouse) {
    ASSERT_EQ(DeviceState::NotConnected, m_link->open({{}, "/test"}));
    // The nodes belong to root and only root may open them, as on a system without the rule:
    // the link runs as another user from before it opens the arriving mouse (half a second
    // after the notice) until it has told why it could not.
    UhidMouse mouse(kVendor, kProduct, interfaces(7, 64));
    ASSERT_TRUE(mouse.create()) << mouse.error();
    ASSERT_EQ(0, ::seteuid(65534));
    const bool told = wait_for([this] { return m_link->access_denied().has_value(); });
    const auto denied = m_link->access_denied();
    ASSERT_EQ(0, ::seteuid(0));
    ASSERT_TRUE(told);
    EXPECT_EQ(DeviceState::NotConnected, m_link->state()) << "no permission is no connection";
    EXPECT_TRUE(denied->node.string().starts_with("/dev/hidraw")) << denied->node;
    EXPECT_EQ(std::errc::permission_denied, denied->error);
}

// What a user without the rule sees from zemrakctl: exit status 1 and the commands that
// install the rule from the program folder (here /test, which holds Data.ini).
TEST(ZemrakctlWithoutPermission, ApplyExitsWithOneAndNamesTheRuleCommands) {
    UhidMouse mouse(kVendor, kProduct, interfaces(7, 64));
    ASSERT_TRUE(mouse.create()) << mouse.error();
    const auto deadline = std::chrono::steady_clock::now() + kNoticeTimeout;
    while (hidraw_node_count() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(3U, hidraw_node_count());
    std::filesystem::create_directories("/test/home");
    ASSERT_EQ(0, ::chown("/test/home", 65534, 65534));

    int out[2];
    ASSERT_EQ(0, ::pipe(out));
    const pid_t child = ::fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        ::dup2(out[1], STDERR_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::setenv("HOME", "/test/home", 1);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(99);
        }
        ::execl("/test/zemrakctl", "zemrakctl", "apply", static_cast<char*>(nullptr));
        ::_exit(98);
    }
    ::close(out[1]);
    std::string output;
    char buffer[512];
    for (ssize_t n = 0; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status)) << output;
    EXPECT_NE(std::string::npos, output.find("may not write to the mouse (/dev/hidraw")) << output;
    EXPECT_NE(std::string::npos, output.find(": Permission denied)")) << output;
    EXPECT_NE(std::string::npos,
              output.find("sudo cp '/test/70-zemrak-mouse.rules' /etc/udev/rules.d/"))
        << output;
    EXPECT_NE(std::string::npos, output.find("sudo udevadm trigger")) << output;
}

} // namespace
} // namespace zemrak
