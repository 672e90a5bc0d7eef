#pragma once
// Watches hidraw nodes come and go and reports those of one HID identity.

#include "platform/udev_handles.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace zemrak::hid {

// libudev sets up process-wide state on first use without locking, and hidapi uses libudev
// too, so the library's threads take turns with it: every libudev call, and every hidapi call
// that may reach libudev, is made holding this mutex. It is never held while a notify function
// runs, and it is taken after the library's own mutex, never before.
[[nodiscard]] std::mutex& udev_mutex();

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// One thread listening to udev for hidraw nodes. Every node of the watched identity that is
// added or removed gives one call of the notify function on that thread (a device with several
// interfaces gives several). Destroying the monitor stops and joins the thread; it must not be
// destroyed from inside the notify function.
class DeviceMonitor {
public:
    // arrived: true for a node added, false for a node removed.
    using Notify = std::function<void(bool arrived)>;

    // Nothing when udev or the thread could not be set up.
    [[nodiscard]] static std::unique_ptr<DeviceMonitor> start(unsigned int vid, unsigned int pid,
                                                              Notify notify);
    ~DeviceMonitor();
    DeviceMonitor(const DeviceMonitor&) = delete;
    DeviceMonitor& operator=(const DeviceMonitor&) = delete;

    void set_identity(unsigned int vid, unsigned int pid);

private:
    DeviceMonitor(UdevPtr udev, UdevMonitorPtr monitor, FileDescriptor stop, Notify notify,
                  unsigned int vid, unsigned int pid);
    void run();
    // For a hidraw node of the watched identity: true when it was added, false when removed.
    [[nodiscard]] std::optional<bool> presence_change(udev_device* device) const;

    UdevPtr m_udev;
    UdevMonitorPtr m_monitor;
    FileDescriptor m_stop; // an eventfd: readable once the thread is to end
    Notify m_notify;
    std::atomic<std::uint64_t> m_identity; // vendor in the high half, product in the low
    std::thread m_thread;
};

} // namespace zemrak::hid
