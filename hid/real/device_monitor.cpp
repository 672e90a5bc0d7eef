#include "device_monitor.h"

#include "channel_choice.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <libudev.h>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace zemrak::hid {
namespace {

std::uint64_t identity_key(unsigned int vid, unsigned int pid) {
    return (std::uint64_t{vid} << 32U) | pid;
}

// udevd announces a device only after its rules have run, so the node's permissions are
// already set when we hear of it; that is the source to use wherever udevd runs. Without
// udevd (a minimal system) only the kernel's own announcements exist.
const char* monitor_source() {
    std::error_code ignored;
    return std::filesystem::exists("/run/udev/control", ignored) ? "udev" : "kernel";
}

std::optional<HidIdentity> device_identity(udev_device* device) {
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
        if (const char* hid_id = udev_device_get_property_value(hid, "HID_ID")) {
            if (const std::optional<HidIdentity> identity = parse_hid_id(hid_id)) {
                return identity;
            }
        }
    }
    // On removal the parent's sysfs entry is usually gone already, but the node's own path
    // still names its HID device.
    const char* syspath = udev_device_get_syspath(device);
    return syspath != nullptr ? identity_from_syspath(syspath) : std::nullopt;
}

} // namespace

std::mutex& udev_mutex() {
    static std::mutex mutex;
    return mutex;
}

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::unique_ptr<DeviceMonitor> DeviceMonitor::start(unsigned int vid, unsigned int pid,
                                                    Notify notify) {
    UdevPtr context;
    UdevMonitorPtr monitor;
    {
        const std::lock_guard lock(udev_mutex());
        // Declared inside the lock, so a failure unreferences them under it too.
        UdevPtr new_context(udev_new());
        if (!new_context) {
            return nullptr;
        }
        UdevMonitorPtr new_monitor(
            udev_monitor_new_from_netlink(new_context.get(), monitor_source()));
        if (!new_monitor ||
            udev_monitor_filter_add_match_subsystem_devtype(new_monitor.get(), "hidraw", nullptr) <
                0 ||
            udev_monitor_enable_receiving(new_monitor.get()) < 0) {
            return nullptr;
        }
        context = std::move(new_context);
        monitor = std::move(new_monitor);
    }
    FileDescriptor stop(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop.valid()) {
        return nullptr;
    }
    std::unique_ptr<DeviceMonitor> self(new DeviceMonitor(
        std::move(context), std::move(monitor), std::move(stop), std::move(notify), vid, pid));
    // A thread that cannot be started costs the presence notices, not the program.
    try {
        self->m_thread = std::thread(&DeviceMonitor::run, self.get());
    } catch (const std::system_error&) {
        return nullptr;
    }
    return self;
}

DeviceMonitor::DeviceMonitor(UdevPtr udev, UdevMonitorPtr monitor, FileDescriptor stop,
                             Notify notify, unsigned int vid, unsigned int pid)
    : m_udev(std::move(udev)), m_monitor(std::move(monitor)), m_stop(std::move(stop)),
      m_notify(std::move(notify)), m_identity(identity_key(vid, pid)) {}

DeviceMonitor::~DeviceMonitor() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        // An eventfd write of 8 bytes cannot be short; it fails only on counter overflow, which
        // still leaves the descriptor readable.
        [[maybe_unused]] const ssize_t written = ::write(m_stop.get(), &one, sizeof one);
        m_thread.join();
    }
    const std::lock_guard lock(udev_mutex());
    m_monitor.reset();
    m_udev.reset();
}

void DeviceMonitor::set_identity(unsigned int vid, unsigned int pid) {
    m_identity.store(identity_key(vid, pid));
}

void DeviceMonitor::run() {
    pollfd fds[2] = {{udev_monitor_get_fd(m_monitor.get()), POLLIN, 0}, {m_stop.get(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0 || (fds[0].revents & POLLNVAL) != 0) {
            return;
        }
        // POLLERR on the netlink socket means its buffer overflowed; receiving clears it.
        if ((fds[0].revents & (POLLIN | POLLERR)) != 0) {
            std::optional<bool> change;
            {
                const std::lock_guard lock(udev_mutex());
                const UdevDevicePtr device(udev_monitor_receive_device(m_monitor.get()));
                if (device) {
                    change = presence_change(device.get());
                }
            }
            // Outside the lock: the notify function may open a channel, which enumerates.
            if (change) {
                m_notify(*change);
            }
        }
    }
}

std::optional<bool> DeviceMonitor::presence_change(udev_device* device) const {
    const char* action = udev_device_get_action(device);
    const char* subsystem = udev_device_get_subsystem(device);
    if (action == nullptr || subsystem == nullptr || std::strcmp(subsystem, "hidraw") != 0) {
        return std::nullopt;
    }
    bool arrived = false;
    if (std::strcmp(action, "add") == 0) {
        arrived = true;
    } else if (std::strcmp(action, "remove") != 0) {
        return std::nullopt;
    }
    const std::optional<HidIdentity> identity = device_identity(device);
    if (identity && identity_key(identity->vendor, identity->product) == m_identity.load()) {
        return arrived;
    }
    return std::nullopt;
}

} // namespace zemrak::hid
