#include "input_devices.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <system_error>
#include <time.h>

namespace zemrak::hook {
namespace {

struct EnumerateUnref {
    void operator()(udev_enumerate* handle) const { udev_enumerate_unref(handle); }
};

bool property_set(udev_device* device, const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// Every letter, as udev's own keyboard test asks for the first row of keys: a power button or
// a media remote has keys but is no keyboard.
bool is_keyboard(const libevdev* evdev) {
    constexpr std::array<unsigned int, 26> kLetters = {
        KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
        KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
    };
    for (const unsigned int key : kLetters) {
        if (libevdev_has_event_code(evdev, EV_KEY, key) == 0) {
            return false;
        }
    }
    return true;
}

// Mice, touchpads and pointing sticks all have a left button.
bool is_mouse(const libevdev* evdev) {
    return libevdev_has_event_code(evdev, EV_KEY, BTN_LEFT) != 0;
}

} // namespace

std::mutex& udev_mutex() {
    static std::mutex mutex;
    return mutex;
}

bool udevd_runs() {
    std::error_code ignored;
    return std::filesystem::exists("/run/udev/control", ignored);
}

std::optional<InputNode> input_node(udev_device* device) {
    const char* sysname = udev_device_get_sysname(device);
    const char* devnode = udev_device_get_devnode(device);
    if (sysname == nullptr || devnode == nullptr || std::strncmp(sysname, "event", 5) != 0) {
        return std::nullopt;
    }
    InputNode node{devnode, std::nullopt};
    // udevd gives every input device it has seen ID_INPUT; a device without it has not been
    // seen (or there is no udevd).
    if (property_set(device, "ID_INPUT")) {
        node.keyboard_or_mouse = property_set(device, "ID_INPUT_KEYBOARD") ||
                                 property_set(device, "ID_INPUT_MOUSE") ||
                                 property_set(device, "ID_INPUT_TOUCHPAD");
    }
    return node;
}

std::vector<InputNode> input_nodes(udev* context) {
    std::vector<InputNode> nodes;
    const std::unique_ptr<udev_enumerate, EnumerateUnref> enumerate(udev_enumerate_new(context));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "input") < 0 ||
        udev_enumerate_add_match_sysname(enumerate.get(), "event*") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return nodes;
    }
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get()); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        const UdevDevicePtr device(
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
        if (device) {
            if (std::optional<InputNode> node = input_node(device.get())) {
                nodes.push_back(std::move(*node));
            }
        }
    }
    return nodes;
}

std::unique_ptr<InputDevice> InputDevice::open(const InputNode& node) {
    if (node.keyboard_or_mouse == false) {
        return nullptr;
    }
    UniqueFd fd(::open(node.devnode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        return nullptr;
    }
    libevdev* evdev = nullptr;
    if (libevdev_new_from_fd(fd.get(), &evdev) < 0) {
        return nullptr;
    }
    // Event times on the clock that never jumps; this sets it for this reader of the node only.
    static_cast<void>(libevdev_set_clock_id(evdev, CLOCK_MONOTONIC));
    if (!node.keyboard_or_mouse.has_value() && !is_keyboard(evdev) && !is_mouse(evdev)) {
        libevdev_free(evdev);
        return nullptr;
    }
    const bool hi_res_wheel = libevdev_has_event_code(evdev, EV_REL, REL_WHEEL_HI_RES) != 0;
    return std::unique_ptr<InputDevice>(
        new InputDevice(std::move(fd), evdev, node.devnode, hi_res_wheel));
}

InputDevice::InputDevice(UniqueFd fd, libevdev* evdev, std::string devnode, bool hi_res_wheel)
    : m_fd(std::move(fd)), m_evdev(evdev), m_devnode(std::move(devnode)),
      m_translator(hi_res_wheel) {}

InputDevice::~InputDevice() {
    libevdev_free(m_evdev);
}

bool InputDevice::read(std::vector<TimedMessage>& out) {
    input_event event{};
    unsigned int flags = LIBEVDEV_READ_FLAG_NORMAL;
    for (;;) {
        const int rc = libevdev_next_event(m_evdev, flags, &event);
        if (rc == LIBEVDEV_READ_STATUS_SUCCESS || rc == LIBEVDEV_READ_STATUS_SYNC) {
            // After events were dropped (the reader fell behind), libevdev hands out the state
            // changes missed, as sync events, so that no key stays down.
            if (rc == LIBEVDEV_READ_STATUS_SYNC) {
                flags = LIBEVDEV_READ_FLAG_SYNC;
            }
            m_messages.clear();
            m_translator.translate(event.type, event.code, event.value, m_messages);
            const std::int64_t time_us =
                std::int64_t{event.input_event_sec} * 1'000'000 + event.input_event_usec;
            for (const HookMessage& message : m_messages) {
                out.push_back({time_us, message});
            }
        } else if (rc == -EAGAIN) {
            if (flags == LIBEVDEV_READ_FLAG_NORMAL) {
                return true;
            }
            flags = LIBEVDEV_READ_FLAG_NORMAL; // the sync is over: back to the events
        } else if (rc == -EINTR) {
            continue;
        } else {
            return false; // -ENODEV when the device was unplugged
        }
    }
}

} // namespace zemrak::hook
