#include "input_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace zemrak::hook {
namespace {

thread_local bool t_reader_thread = false;

} // namespace

std::unique_ptr<InputReader> InputReader::start(Sink sink) {
    UniqueFd stop(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop) {
        return nullptr;
    }
    std::unique_ptr<InputReader> self;
    std::vector<InputNode> nodes;
    {
        const std::lock_guard lock(udev_mutex());
        UdevPtr context(udev_new());
        if (!context) {
            return nullptr;
        }
        // Listening before looking: a device plugged in meanwhile is heard of, and opened
        // once only since open_node skips nodes already open.
        UdevMonitorPtr monitor(
            udev_monitor_new_from_netlink(context.get(), udevd_runs() ? "udev" : "kernel"));
        if (monitor &&
            (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "input", nullptr) < 0 ||
             udev_monitor_enable_receiving(monitor.get()) < 0)) {
            monitor.reset();
        }
        nodes = input_nodes(context.get());
        self.reset(new InputReader(std::move(context), std::move(monitor), std::move(stop),
                                   std::move(sink)));
    }
    for (const InputNode& node : nodes) {
        self->open_node(node);
    }
    try {
        self->m_thread = std::thread(&InputReader::run, self.get());
    } catch (const std::system_error&) {
        return nullptr;
    }
    return self;
}

InputReader::InputReader(UdevPtr udev, UdevMonitorPtr monitor, UniqueFd stop, Sink sink)
    : m_udev(std::move(udev)), m_monitor(std::move(monitor)), m_stop(std::move(stop)),
      m_sink(std::move(sink)) {}

InputReader::~InputReader() {
    if (m_thread.joinable()) {
        request_stop();
        m_thread.join();
    }
    m_devices.clear();
    const std::lock_guard lock(udev_mutex());
    m_monitor.reset();
    m_udev.reset();
}

void InputReader::request_stop() const {
    const std::uint64_t one = 1;
    // An eventfd write of 8 bytes cannot be short; it fails only on counter overflow, which
    // still leaves the descriptor readable.
    [[maybe_unused]] const ssize_t written = ::write(m_stop.get(), &one, sizeof one);
}

bool InputReader::on_reader_thread() {
    return t_reader_thread;
}

void InputReader::open_node(const InputNode& node) {
    const bool open = std::any_of(m_devices.begin(), m_devices.end(), [&](const auto& device) {
        return device->devnode() == node.devnode;
    });
    if (!open) {
        if (std::unique_ptr<InputDevice> device = InputDevice::open(node)) {
            m_devices.push_back(std::move(device));
        }
    }
}

void InputReader::monitor_event() {
    std::optional<InputNode> node;
    bool added = false;
    {
        const std::lock_guard lock(udev_mutex());
        const UdevDevicePtr device(udev_monitor_receive_device(m_monitor.get()));
        if (!device) {
            return;
        }
        const char* action = udev_device_get_action(device.get());
        if (action == nullptr) {
            return;
        }
        added = std::strcmp(action, "add") == 0;
        if (!added && std::strcmp(action, "remove") != 0) {
            return;
        }
        node = input_node(device.get());
    }
    if (!node) {
        return;
    }
    if (added) {
        open_node(*node);
    } else {
        std::erase_if(m_devices,
                      [&](const auto& device) { return device->devnode() == node->devnode; });
    }
}

void InputReader::run() {
    t_reader_thread = true;
    std::vector<pollfd> fds;
    std::vector<TimedMessage> messages;
    for (;;) {
        // The stop descriptor first, then the monitor, then one per device in m_devices' order.
        fds.clear();
        fds.push_back({m_stop.get(), POLLIN, 0});
        fds.push_back({m_monitor ? udev_monitor_get_fd(m_monitor.get()) : -1, POLLIN, 0});
        for (const auto& device : m_devices) {
            fds.push_back({device->fd(), POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents != 0) {
            // Closed here rather than by the destructor: a reader stopped from its own thread
            // may not be destroyed for a while, and nothing is to be read meanwhile.
            m_devices.clear();
            return;
        }
        messages.clear();
        for (std::size_t i = 2; i < fds.size(); ++i) {
            // An unplugged device still hands out what it had queued, then fails.
            if (fds[i].revents != 0 && !m_devices[i - 2]->read(messages)) {
                m_devices[i - 2].reset();
            }
        }
        std::erase(m_devices, nullptr);
        // Devices are read one after the other: a key typed on one just before a button clicked
        // on another is put back in front of it.
        std::stable_sort(
            messages.begin(), messages.end(),
            [](const TimedMessage& a, const TimedMessage& b) { return a.time_us < b.time_us; });
        for (const TimedMessage& timed : messages) {
            m_sink(*this, timed.message);
        }
        // POLLERR on the netlink socket means its buffer overflowed; receiving clears it.
        if ((fds[1].revents & (POLLIN | POLLERR)) != 0) {
            monitor_event();
        }
    }
}

} // namespace zemrak::hook
