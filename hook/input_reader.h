#pragma once
// The thread that reads the keyboards and mice while a hook is installed.

#include "input_devices.h"
#include "input_events.h"
#include "platform/unique_fd.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace zemrak::hook {

class InputReader {
public:
    // Called on the reader's thread for each message, in the order the events were read.
    using Sink = std::function<void(const InputReader& reader, const HookMessage& message)>;

    // Opens every keyboard and mouse node this user may read before it returns (so that
    // nothing typed after it is missed), then reads them on a thread of its own, opening
    // devices plugged in later and closing those unplugged. Nothing when the thread cannot be
    // started; a reader without any readable device, or without a way to hear of new ones,
    // simply delivers nothing (more).
    [[nodiscard]] static std::unique_ptr<InputReader> start(Sink sink);
    // Stops the thread and waits for it (it must not be called on the reader's own thread),
    // then closes every device.
    ~InputReader();
    InputReader(const InputReader&) = delete;
    InputReader& operator=(const InputReader&) = delete;

    // Asks the thread to end without waiting for it: for the reader's own thread, which cannot
    // wait for itself. The thread ends once the sink's current call returns and the messages
    // already read have gone to the sink.
    void request_stop() const;

    // True on the thread of any reader.
    [[nodiscard]] static bool on_reader_thread();

private:
    InputReader(UdevPtr udev, UdevMonitorPtr monitor, UniqueFd stop, Sink sink);
    void run();
    void open_node(const InputNode& node);
    void monitor_event();

    UdevPtr m_udev;
    UdevMonitorPtr m_monitor; // none when udev cannot announce devices
    UniqueFd m_stop;          // an eventfd: readable once the thread is to end
    Sink m_sink;
    std::vector<std::unique_ptr<InputDevice>> m_devices;
    std::thread m_thread;
};

} // namespace zemrak::hook
