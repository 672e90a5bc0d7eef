// Runs inside the test machine, as root, with uhid and evdev loaded and no udevd: the input
// library, loaded as the program loads it, against keyboards and a mouse made through
// /dev/uhid.

#include "platform/evdev_keys.h"
#include "platform/unique_fd.h"
#include "uhid_mouse.h"
#include "zemrak_hook.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using namespace std::chrono_literals;
using vm::UhidMouse;

constexpr auto kTimeout = 20s;
// How long a test waits to be sure that nothing more arrives.
constexpr auto kQuiet = 300ms;

// message, wparam, lparam
using Message = std::tuple<unsigned, unsigned long, long>;

Message key(std::uint32_t virtual_key, bool down) {
    return {kKeyboardMessage, virtual_key, down ? 0 : 1};
}
Message mouse(unsigned long message, long detail = 0) {
    return {kMouseMessage, message, detail};
}

// The input library's functions, looked up as the program looks them up.
struct HookApi {
    decltype(&installhook) install = nullptr;
    decltype(&removehook) remove = nullptr;
    decltype(&enablehook) enable = nullptr;
    decltype(&installmousehook) install_mouse = nullptr;
    decltype(&removemousehook) remove_mouse = nullptr;
    decltype(&hookavailable) available = nullptr;
};

// What one hook received, for the test to wait on.
class Recorder {
public:
    static void notify(void* ctx, unsigned msg, unsigned long wparam, long lparam) {
        auto* self = static_cast<Recorder*>(ctx);
        if (self->m_on_message) {
            self->m_on_message();
        }
        const std::lock_guard lock(self->m_mutex);
        self->m_messages.emplace_back(msg, wparam, lparam);
        self->m_changed.notify_all();
    }

    // Run at the start of each notify call, on the library's thread.
    void on_message(std::function<void()> action) { m_on_message = std::move(action); }

    [[nodiscard]] bool wait_for(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kTimeout, [&] { return m_messages.size() >= count; });
    }
    // Waits until `last` has arrived.
    [[nodiscard]] bool wait_for(const Message& last) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kTimeout,
                                  [&] { return !m_messages.empty() && m_messages.back() == last; });
    }
    [[nodiscard]] std::vector<Message> messages() {
        const std::lock_guard lock(m_mutex);
        return m_messages;
    }
    void clear() {
        const std::lock_guard lock(m_mutex);
        m_messages.clear();
    }

private:
    std::function<void()> m_on_message;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Message> m_messages;
};

template <typename Done>
bool wait_until(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// The event node of the input device the kernel made for the HID device called `name`.
std::string event_node(const std::string& name) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/input", ignored)) {
        const std::string node = entry.path().filename().string();
        if (!node.starts_with("event")) {
            continue;
        }
        std::string device_name;
        std::getline(std::ifstream(entry.path() / "device" / "name"), device_name);
        // hid-input may add what the collection is (" Keyboard") to the HID device's name.
        if (device_name == name || device_name.starts_with(name + " ")) {
            return "/dev/input/" + node;
        }
    }
    return {};
}

// The input nodes this process holds open (an unplugged one shows as "... (deleted)").
std::vector<std::string> open_input_nodes() {
    std::vector<std::string> nodes;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ignored)) {
        const std::string target = std::filesystem::read_symlink(entry.path(), ignored).string();
        if (target.starts_with("/dev/input/")) {
            nodes.push_back(target);
        }
    }
    return nodes;
}

bool node_open(const std::string& node) {
    for (const std::string& open : open_input_nodes()) {
        if (open == node) {
            return true;
        }
    }
    return false;
}

// Boot keyboard reports: modifier bits, reserved, six key usages.
constexpr std::uint8_t kLeftShiftBit = 0x02;
constexpr std::uint8_t kUsageEscape = 0x29;
constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;
constexpr std::uint8_t kUsageC = 0x06;
constexpr std::uint8_t kUsageD = 0x07;
constexpr std::uint8_t kUsageZ = 0x1D;
std::vector<std::uint8_t> keys(std::uint8_t usage, std::uint8_t modifiers = 0) {
    return {modifiers, 0, usage, 0, 0, 0, 0, 0};
}
const std::vector<std::uint8_t> kNoKeys = keys(0);

// Wheel mouse reports: button bits (left, right, middle, back, forward), x, y, wheel.
std::vector<std::uint8_t> buttons(std::uint8_t bits, std::int8_t wheel = 0) {
    return {bits, 0, 0, static_cast<std::uint8_t>(wheel)};
}

class HookLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* path = std::getenv("ZEMRAK_HOOK_LIBRARY");
        ASSERT_NE(nullptr, path) << "ZEMRAK_HOOK_LIBRARY names the library under test";
        s_handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, s_handle) << dlerror();
        const auto find = [](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                dlsym(s_handle, name));
            ASSERT_NE(nullptr, reinterpret_cast<void*>(function)) << name;
        };
        find(s_api.install, "installhook");
        find(s_api.remove, "removehook");
        find(s_api.enable, "enablehook");
        find(s_api.install_mouse, "installmousehook");
        find(s_api.remove_mouse, "removemousehook");
        find(s_api.available, "hookavailable");
    }
    static void TearDownTestSuite() {
        if (s_handle != nullptr) {
            dlclose(s_handle);
        }
    }

    void SetUp() override { ASSERT_NE(nullptr, s_api.available); }
    void TearDown() override {
        s_api.remove();
        s_api.remove_mouse();
        EXPECT_EQ(std::vector<std::string>{}, open_input_nodes())
            << "with both hooks removed no input node is open";
    }

    // Plugs in a device with one interface and waits until its input node passes on what it
    // sends: the node is there before the kernel has finished setting the device up, and
    // reports sent meanwhile are dropped. `probe` are reports that give events (and, for a
    // mouse, no message). `hooked`: a hook is installed, and the library is to have opened the
    // node before the probe, so that it gets the probe's events too.
    UhidMouse& plug_in(const std::string& name, std::vector<std::uint8_t> descriptor,
                       const std::vector<std::vector<std::uint8_t>>& probe, std::string& node,
                       bool hooked) {
        m_devices.push_back(std::make_unique<UhidMouse>(
            0x1D57, static_cast<std::uint16_t>(0x1000 + m_devices.size()),
            std::vector<vm::Interface>{{name, std::move(descriptor)}}));
        UhidMouse& device = *m_devices.back();
        EXPECT_TRUE(device.create()) << device.error();
        // The class folder is there a moment before the node.
        EXPECT_TRUE(wait_until([&] {
            return !(node = event_node(name)).empty() && std::filesystem::exists(node);
        })) << name;
        if (hooked) {
            EXPECT_TRUE(wait_until([&] { return node_open(node); })) << node;
        }
        const UniqueFd fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        EXPECT_TRUE(fd.valid()) << node;
        const bool passed_on = wait_until([&] {
            for (const auto& report : probe) {
                EXPECT_TRUE(device.send_input(0, report));
            }
            pollfd readable{fd.get(), POLLIN, 0};
            return ::poll(&readable, 1, 100) == 1;
        });
        EXPECT_TRUE(passed_on) << name << " sends nothing";
        return device;
    }
    UhidMouse& plug_in_keyboard(const std::string& name, std::string& node, bool hooked = false) {
        return plug_in(name, vm::boot_keyboard_descriptor(), {keys(kUsageEscape), kNoKeys}, node,
                       hooked);
    }
    UhidMouse& plug_in_mouse(const std::string& name, std::string& node) {
        return plug_in(name, vm::wheel_mouse_descriptor(), {{0, 1, 0, 0}}, node, false);
    }

    static void send(UhidMouse& device, const std::vector<std::uint8_t>& report) {
        ASSERT_TRUE(device.send_input(0, report));
    }

    static inline void* s_handle = nullptr;
    static inline HookApi s_api;
    std::vector<std::unique_ptr<UhidMouse>> m_devices;
};

TEST_F(HookLibrary, KeysArriveInOrderWithRepeatsAsKeyDownsAndNothingWhileDisabled) {
    std::string node;
    UhidMouse& keyboard = plug_in_keyboard("hook keyboard", node);
    Recorder recorder;
    s_api.install(&Recorder::notify, &recorder);
    ASSERT_TRUE(node_open(node)) << "open once installhook returns";

    send(keyboard, keys(kUsageA));
    send(keyboard, kNoKeys);
    send(keyboard, keys(kUsageB, kLeftShiftBit));
    send(keyboard, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(6U));
    EXPECT_EQ((std::vector<Message>{key(0x41, true), key(0x41, false), key(0xA0, true),
                                    key(0x42, true), key(0xA0, false), key(0x42, false)}),
              recorder.messages());

    // Held past the kernel's repeat delay (250 ms), the key repeats as more key downs.
    recorder.clear();
    send(keyboard, keys(kUsageZ));
    std::this_thread::sleep_for(700ms);
    send(keyboard, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(key(0x5A, false)));
    const std::vector<Message> held = recorder.messages();
    ASSERT_GE(held.size(), 3U) << "a down, at least one repeat, the up";
    for (std::size_t i = 0; i + 1 < held.size(); ++i) {
        EXPECT_EQ(key(0x5A, true), held[i]) << "message " << i;
    }

    // Held back while disabled, delivered again once enabled.
    recorder.clear();
    s_api.enable(0);
    send(keyboard, keys(kUsageC));
    send(keyboard, kNoKeys);
    std::this_thread::sleep_for(kQuiet);
    s_api.enable(1);
    send(keyboard, keys(kUsageD));
    send(keyboard, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(key(0x44, false)));
    EXPECT_EQ((std::vector<Message>{key(0x44, true), key(0x44, false)}), recorder.messages());
}

TEST_F(HookLibrary, ButtonsAndNotchesGoToTheMouseHookAndKeysToTheKeyboardHook) {
    std::string keyboard_node;
    std::string mouse_node;
    UhidMouse& keyboard = plug_in_keyboard("hook keyboard", keyboard_node);
    UhidMouse& wheel_mouse = plug_in_mouse("hook mouse", mouse_node);
    Recorder keys_seen;
    Recorder mouse_seen;
    s_api.install_mouse(&Recorder::notify, &mouse_seen);
    s_api.install(&Recorder::notify, &keys_seen);
    ASSERT_TRUE(node_open(mouse_node));

    for (const std::uint8_t button : std::array<std::uint8_t, 5>{0x01, 0x02, 0x04, 0x08, 0x10}) {
        send(wheel_mouse, buttons(button));
        send(wheel_mouse, buttons(0));
    }
    send(keyboard, keys(kUsageA));
    send(keyboard, kNoKeys);
    // The kernel reports each turn on the wheel axis and the high-resolution axis both.
    send(wheel_mouse, buttons(0, 1));
    send(wheel_mouse, buttons(0, -1));
    send(wheel_mouse, buttons(0, 3));
    // A button held while the wheel turns.
    send(wheel_mouse, buttons(0x01, -1));
    send(wheel_mouse, buttons(0));
    const std::vector<Message> expected_mouse = {
        mouse(kLeftDown),
        mouse(kLeftUp),
        mouse(kRightDown),
        mouse(kRightUp),
        mouse(kMiddleDown),
        mouse(kMiddleUp),
        mouse(kSideDown, kBackButton),
        mouse(kSideUp, kBackButton),
        mouse(kSideDown, kForwardButton),
        mouse(kSideUp, kForwardButton),
        mouse(kWheel),
        mouse(kWheel),
        mouse(kWheel),
        mouse(kWheel),
        mouse(kWheel),
        mouse(kLeftDown),
        mouse(kWheel),
        mouse(kLeftUp),
    };
    ASSERT_TRUE(mouse_seen.wait_for(expected_mouse.size()));
    ASSERT_TRUE(keys_seen.wait_for(2U));
    std::this_thread::sleep_for(kQuiet);
    EXPECT_EQ(expected_mouse, mouse_seen.messages()) << "each notch once";
    EXPECT_EQ((std::vector<Message>{key(0x41, true), key(0x41, false)}), keys_seen.messages());

    // With the mouse hook removed the keyboard hook goes on alone.
    mouse_seen.clear();
    keys_seen.clear();
    s_api.remove_mouse();
    send(wheel_mouse, buttons(0x01));
    send(wheel_mouse, buttons(0));
    send(keyboard, keys(kUsageB));
    send(keyboard, kNoKeys);
    ASSERT_TRUE(keys_seen.wait_for(key(0x42, false)));
    EXPECT_EQ((std::vector<Message>{key(0x42, true), key(0x42, false)}), keys_seen.messages());
    EXPECT_EQ(std::vector<Message>{}, mouse_seen.messages());
    EXPECT_TRUE(node_open(keyboard_node));
}

TEST_F(HookLibrary, AKeyboardPluggedInWhileHookedIsReadInTypingOrderUntilItIsUnplugged) {
    std::string first_node;
    UhidMouse& first = plug_in_keyboard("hook keyboard", first_node);
    Recorder recorder;
    std::atomic<bool> hold = false;
    std::atomic<bool> holding = false;
    recorder.on_message([&] {
        if (hold.exchange(false)) {
            holding = true;
            std::this_thread::sleep_for(kQuiet);
        }
    });
    s_api.install(&Recorder::notify, &recorder);
    const std::size_t open_before = open_input_nodes().size();

    // The Escape key that shows the keyboard ready reaches the hook too.
    std::string second_node;
    UhidMouse& second = plug_in_keyboard("hook second keyboard", second_node, true);
    ASSERT_TRUE(recorder.wait_for(key(0x1B, false)));
    // While the hook is busy with A, C is typed on the second keyboard, then A released and D
    // typed on the first: they wait together and come in the order typed, although the first
    // keyboard is read first.
    hold = true;
    send(first, keys(kUsageA));
    ASSERT_TRUE(wait_until([&] { return holding.load(); }));
    send(second, keys(kUsageC));
    send(second, kNoKeys);
    send(first, kNoKeys);
    send(first, keys(kUsageD));
    send(first, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(8U));
    EXPECT_EQ((std::vector<Message>{key(0x1B, true), key(0x1B, false), key(0x41, true),
                                    key(0x43, true), key(0x43, false), key(0x41, false),
                                    key(0x44, true), key(0x44, false)}),
              recorder.messages());

    second.destroy();
    ASSERT_TRUE(wait_until([&] { return open_input_nodes().size() == open_before; }))
        << "an unplugged keyboard is closed";
    recorder.clear();
    send(first, keys(kUsageB));
    send(first, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(key(0x42, false)));
    EXPECT_EQ((std::vector<Message>{key(0x42, true), key(0x42, false)}), recorder.messages());
}

TEST_F(HookLibrary, RemovingAHookWaitsForItsNotifyFunctionToReturn) {
    std::string node;
    UhidMouse& keyboard = plug_in_keyboard("hook keyboard", node);
    // With the mouse hook staying, the reader goes on after the keyboard hook is removed.
    Recorder mouse_seen;
    s_api.install_mouse(&Recorder::notify, &mouse_seen);
    Recorder recorder;
    std::atomic<bool> entered = false;
    std::atomic<bool> returned = false;
    recorder.on_message([&] {
        if (!entered.exchange(true)) {
            std::this_thread::sleep_for(kQuiet);
            returned = true;
        }
    });
    s_api.install(&Recorder::notify, &recorder);
    send(keyboard, keys(kUsageA));
    ASSERT_TRUE(wait_until([&] { return entered.load(); }));
    s_api.remove();
    EXPECT_TRUE(returned) << "removehook returned while the notify function was running";
    send(keyboard, kNoKeys);
    std::this_thread::sleep_for(kQuiet);
    EXPECT_EQ(std::vector<Message>{key(0x41, true)}, recorder.messages());
}

TEST_F(HookLibrary, ANotifyFunctionMayRemoveItsOwnHook) {
    std::string node;
    UhidMouse& keyboard = plug_in_keyboard("hook keyboard", node);
    Recorder recorder;
    recorder.on_message([] { s_api.remove(); });
    s_api.install(&Recorder::notify, &recorder);
    send(keyboard, keys(kUsageA));
    send(keyboard, kNoKeys);
    ASSERT_TRUE(recorder.wait_for(1U));
    // The last hook gone, the devices close even though the reader could not wait for itself.
    EXPECT_TRUE(wait_until([] { return open_input_nodes().empty(); }));
    std::this_thread::sleep_for(kQuiet);
    EXPECT_EQ(std::vector<Message>{key(0x41, true)}, recorder.messages());

    // And a hook installed afterwards reads again.
    Recorder next;
    s_api.install(&Recorder::notify, &next);
    send(keyboard, keys(kUsageB));
    send(keyboard, kNoKeys);
    ASSERT_TRUE(next.wait_for(key(0x42, false)));
    EXPECT_EQ((std::vector<Message>{key(0x42, true), key(0x42, false)}), next.messages());
}

// The nodes belong to root, as on a system where the user is not in the `input` group.
TEST_F(HookLibrary, AUserWhoCannotReadTheNodesHasNoHookAndHearsNothing) {
    std::string node;
    UhidMouse& keyboard = plug_in_keyboard("hook keyboard", node);
    std::string mouse_node;
    UhidMouse& wheel_mouse = plug_in_mouse("hook mouse", mouse_node);
    EXPECT_EQ(1, s_api.available());
    EXPECT_TRUE(open_input_nodes().empty()) << "hookavailable closes what it opened";

    ASSERT_EQ(0, ::seteuid(65534));
    const int available = s_api.available();
    Recorder keys_seen;
    Recorder mouse_seen;
    s_api.install(&Recorder::notify, &keys_seen);
    s_api.install_mouse(&Recorder::notify, &mouse_seen);
    // uhid was opened as root: the devices still send.
    const bool sent = keyboard.send_input(0, keys(kUsageA)) && keyboard.send_input(0, kNoKeys) &&
                      wheel_mouse.send_input(0, buttons(0x01, 1));
    std::this_thread::sleep_for(kQuiet);
    s_api.remove();
    s_api.remove_mouse();
    ASSERT_EQ(0, ::seteuid(0));
    EXPECT_EQ(0, available);
    EXPECT_TRUE(sent);
    EXPECT_EQ(std::vector<Message>{}, keys_seen.messages());
    EXPECT_EQ(std::vector<Message>{}, mouse_seen.messages());
}

} // namespace
} // namespace zemrak
