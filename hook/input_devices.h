#pragma once
// The keyboards and mice among the kernel's input nodes (/dev/input/event*), found through
// udev and read through libevdev.

#include "input_events.h"
#include "platform/udev_handles.h"
#include "platform/unique_fd.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct libevdev;

namespace zemrak::hook {

// libudev sets up process-wide state on first use without locking, so every libudev call of
// this library is made holding this mutex. It is never held while a notify function runs.
[[nodiscard]] std::mutex& udev_mutex();

// True where udevd runs: it announces a device after its rules have run (permissions set,
// ID_INPUT_* properties known). Without it (a minimal system) only the kernel announces.
[[nodiscard]] bool udevd_runs();

// An event node and what udev says of it.
struct InputNode {
    std::string devnode; // /dev/input/eventN
    // From udevd's ID_INPUT_KEYBOARD, ID_INPUT_MOUSE and ID_INPUT_TOUCHPAD properties: whether
    // it is a keyboard or a mouse. None without those properties (no udevd, or a device udevd
    // has not seen yet): the node's own capabilities decide.
    std::optional<bool> keyboard_or_mouse;
};

// The event node of an input device udev told of; none for the other nodes of the input
// subsystem (inputN, mouseN, jsN). Call with udev_mutex() held.
[[nodiscard]] std::optional<InputNode> input_node(udev_device* device);

// Every event node present, in udev's order. Call with udev_mutex() held.
[[nodiscard]] std::vector<InputNode> input_nodes(udev* context);

// A message and when the kernel saw its event, in microseconds of the monotonic clock: the
// order of events from several devices read together.
struct TimedMessage {
    std::int64_t time_us = 0;
    HookMessage message;
};

// One keyboard or mouse node, open for reading (never grabbed: other programs keep getting
// its events).
class InputDevice {
public:
    // Nothing when the node cannot be opened for reading by this user, is neither a keyboard
    // (keys A to Z) nor a mouse (a left button), or libevdev cannot read it.
    [[nodiscard]] static std::unique_ptr<InputDevice> open(const InputNode& node);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    [[nodiscard]] int fd() const { return m_fd.get(); }
    [[nodiscard]] const std::string& devnode() const { return m_devnode; }

    // Reads every event waiting and appends their messages to `out`. False when the device is
    // gone (unplugged) or can no longer be read.
    [[nodiscard]] bool read(std::vector<TimedMessage>& out);

private:
    InputDevice(UniqueFd fd, libevdev* evdev, std::string devnode, bool hi_res_wheel);

    UniqueFd m_fd;
    libevdev* m_evdev;
    std::string m_devnode;
    EventTranslator m_translator;
    std::vector<HookMessage> m_messages; // of one event
};

} // namespace zemrak::hook
