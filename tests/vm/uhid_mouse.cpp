#include "uhid_mouse.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zemrak::vm {
namespace {

bool write_event(int fd, const uhid_event& event) {
    const ssize_t written = ::write(fd, &event, sizeof event);
    return written == static_cast<ssize_t>(sizeof event);
}

} // namespace

std::vector<std::uint8_t> boot_mouse_descriptor() {
    return {
        0x05, 0x01, // Usage Page (Generic Desktop)
        0x09, 0x02, // Usage (Mouse)
        0xA1, 0x01, // Collection (Application)
        0x09, 0x01, //   Usage (Pointer)
        0xA1, 0x00, //   Collection (Physical)
        0x05, 0x09, //     Usage Page (Button)
        0x19, 0x01, //     Usage Minimum (1)
        0x29, 0x03, //     Usage Maximum (3)
        0x15, 0x00, //     Logical Minimum (0)
        0x25, 0x01, //     Logical Maximum (1)
        0x95, 0x03, //     Report Count (3)
        0x75, 0x01, //     Report Size (1)
        0x81, 0x02, //     Input (Data, Variable, Absolute)
        0x95, 0x01, //     Report Count (1)
        0x75, 0x05, //     Report Size (5)
        0x81, 0x01, //     Input (Constant)
        0x05, 0x01, //     Usage Page (Generic Desktop)
        0x09, 0x30, //     Usage (X)
        0x09, 0x31, //     Usage (Y)
        0x15, 0x81, //     Logical Minimum (-127)
        0x25, 0x7F, //     Logical Maximum (127)
        0x75, 0x08, //     Report Size (8)
        0x95, 0x02, //     Report Count (2)
        0x81, 0x06, //     Input (Data, Variable, Relative)
        0xC0,       //   End Collection
        0xC0,       // End Collection
    };
}

std::vector<std::uint8_t> boot_keyboard_descriptor() {
    return {
        0x05, 0x01, // Usage Page (Generic Desktop)
        0x09, 0x06, // Usage (Keyboard)
        0xA1, 0x01, // Collection (Application)
        0x05, 0x07, //   Usage Page (Keyboard)
        0x19, 0xE0, //   Usage Minimum (Left Control)
        0x29, 0xE7, //   Usage Maximum (Right GUI)
        0x15, 0x00, //   Logical Minimum (0)
        0x25, 0x01, //   Logical Maximum (1)
        0x75, 0x01, //   Report Size (1)
        0x95, 0x08, //   Report Count (8)
        0x81, 0x02, //   Input (Data, Variable, Absolute): modifier bits
        0x95, 0x01, //   Report Count (1)
        0x75, 0x08, //   Report Size (8)
        0x81, 0x01, //   Input (Constant): reserved byte
        0x95, 0x05, //   Report Count (5)
        0x75, 0x01, //   Report Size (1)
        0x05, 0x08, //   Usage Page (LEDs)
        0x19, 0x01, //   Usage Minimum (Num Lock)
        0x29, 0x05, //   Usage Maximum (Kana)
        0x91, 0x02, //   Output (Data, Variable, Absolute): LED bits
        0x95, 0x01, //   Report Count (1)
        0x75, 0x03, //   Report Size (3)
        0x91, 0x01, //   Output (Constant): padding
        0x95, 0x06, //   Report Count (6)
        0x75, 0x08, //   Report Size (8)
        0x15, 0x00, //   Logical Minimum (0)
        0x25, 0x65, //   Logical Maximum (101)
        0x05, 0x07, //   Usage Page (Keyboard)
        0x19, 0x00, //   Usage Minimum (0)
        0x29, 0x65, //   Usage Maximum (101)
        0x81, 0x00, //   Input (Data, Array): key usages
        0xC0,       // End Collection
    };
}

std::vector<std::uint8_t> wheel_mouse_descriptor() {
    return {
        0x05, 0x01, // Usage Page (Generic Desktop)
        0x09, 0x02, // Usage (Mouse)
        0xA1, 0x01, // Collection (Application)
        0x09, 0x01, //   Usage (Pointer)
        0xA1, 0x00, //   Collection (Physical)
        0x05, 0x09, //     Usage Page (Button)
        0x19, 0x01, //     Usage Minimum (1)
        0x29, 0x05, //     Usage Maximum (5)
        0x15, 0x00, //     Logical Minimum (0)
        0x25, 0x01, //     Logical Maximum (1)
        0x95, 0x05, //     Report Count (5)
        0x75, 0x01, //     Report Size (1)
        0x81, 0x02, //     Input (Data, Variable, Absolute)
        0x95, 0x01, //     Report Count (1)
        0x75, 0x03, //     Report Size (3)
        0x81, 0x01, //     Input (Constant)
        0x05, 0x01, //     Usage Page (Generic Desktop)
        0x09, 0x30, //     Usage (X)
        0x09, 0x31, //     Usage (Y)
        0x09, 0x38, //     Usage (Wheel)
        0x15, 0x81, //     Logical Minimum (-127)
        0x25, 0x7F, //     Logical Maximum (127)
        0x75, 0x08, //     Report Size (8)
        0x95, 0x03, //     Report Count (3)
        0x81, 0x06, //     Input (Data, Variable, Relative)
        0xC0,       //   End Collection
        0xC0,       // End Collection
    };
}

std::vector<std::uint8_t> command_descriptor(std::uint8_t data_bytes) {
    return {
        0x06, 0x00,       0xFF, // Usage Page (Vendor 0xFF00)
        0x09, 0x01,             // Usage (1)
        0xA1, 0x01,             // Collection (Application)
        0x85, 0x01,             //   Report ID (1)
        0x09, 0x01,             //   Usage (1)
        0x15, 0x00,             //   Logical Minimum (0)
        0x26, 0xFF,       0x00, //   Logical Maximum (255)
        0x75, 0x08,             //   Report Size (8)
        0x95, data_bytes,       //   Report Count
        0xB1, 0x02,             //   Feature (Data, Variable, Absolute)
        0xC0,                   // End Collection
    };
}

std::vector<std::uint8_t> data_descriptor(std::uint8_t data_bytes) {
    return {
        0x06, 0x00,       0xFF, // Usage Page (Vendor 0xFF00)
        0x09, 0x02,             // Usage (2)
        0xA1, 0x01,             // Collection (Application)
        0x09, 0x02,             //   Usage (2)
        0x15, 0x00,             //   Logical Minimum (0)
        0x26, 0xFF,       0x00, //   Logical Maximum (255)
        0x75, 0x08,             //   Report Size (8)
        0x95, data_bytes,       //   Report Count
        0xB1, 0x02,             //   Feature (Data, Variable, Absolute)
        0xC0,                   // End Collection
    };
}

UhidMouse::UhidMouse(std::uint16_t vendor, std::uint16_t product, std::vector<Interface> interfaces)
    : m_vendor(vendor), m_product(product), m_interfaces(std::move(interfaces)) {}

UhidMouse::~UhidMouse() {
    destroy();
}

bool UhidMouse::create() {
    if (created()) {
        return true;
    }
    for (const Interface& interface : m_interfaces) {
        const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            m_error = std::string("open /dev/uhid: ") + std::strerror(errno);
            destroy();
            return false;
        }
        m_fds.push_back(fd);
        uhid_event event{};
        event.type = UHID_CREATE2;
        std::strncpy(reinterpret_cast<char*>(event.u.create2.name), interface.name.c_str(),
                     sizeof event.u.create2.name - 1);
        std::strncpy(reinterpret_cast<char*>(event.u.create2.phys), "vm-test", 8);
        event.u.create2.rd_size = static_cast<std::uint16_t>(interface.descriptor.size());
        event.u.create2.bus = 0x03; // USB
        event.u.create2.vendor = m_vendor;
        event.u.create2.product = m_product;
        event.u.create2.version = 0x0100;
        std::memcpy(event.u.create2.rd_data, interface.descriptor.data(),
                    std::min(interface.descriptor.size(), sizeof event.u.create2.rd_data));
        if (!write_event(fd, event)) {
            m_error = std::string("UHID_CREATE2: ") + std::strerror(errno);
            destroy();
            return false;
        }
    }
    m_stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_thread = std::thread(&UhidMouse::serve, this);
    return true;
}

void UhidMouse::destroy() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof one);
        m_thread.join();
    }
    if (m_stop >= 0) {
        ::close(m_stop);
        m_stop = -1;
    }
    for (const int fd : m_fds) {
        uhid_event event{};
        event.type = UHID_DESTROY;
        [[maybe_unused]] const bool destroyed = write_event(fd, event);
        ::close(fd); // closing destroys the device as well
    }
    m_fds.clear();
}

bool UhidMouse::send_input(std::size_t interface, const std::vector<std::uint8_t>& report) {
    if (interface >= m_fds.size()) {
        return false;
    }
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size =
        static_cast<std::uint16_t>(std::min(report.size(), sizeof event.u.input2.data));
    std::memcpy(event.u.input2.data, report.data(), event.u.input2.size);
    return write_event(m_fds[interface], event);
}

std::vector<SetReport> UhidMouse::received() const {
    const std::lock_guard lock(m_mutex);
    return m_received;
}

void UhidMouse::clear_received() {
    const std::lock_guard lock(m_mutex);
    m_received.clear();
}

void UhidMouse::serve() {
    std::vector<pollfd> fds;
    for (const int fd : m_fds) {
        fds.push_back({fd, POLLIN, 0});
    }
    fds.push_back({m_stop, POLLIN, 0});
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds.back().revents != 0) {
            return;
        }
        for (std::size_t i = 0; i + 1 < fds.size(); ++i) {
            if ((fds[i].revents & POLLIN) != 0) {
                answer(i, fds[i].fd);
            }
        }
    }
}

void UhidMouse::answer(std::size_t interface, int fd) {
    uhid_event event{};
    if (::read(fd, &event, sizeof event) <= 0) {
        return;
    }
    if (event.type == UHID_SET_REPORT) {
        SetReport report;
        report.interface = interface;
        report.report_number = event.u.set_report.rnum;
        report.report_type = event.u.set_report.rtype;
        const std::size_t size =
            std::min<std::size_t>(event.u.set_report.size, sizeof event.u.set_report.data);
        const std::uint8_t* data = event.u.set_report.data;
        report.bytes.assign(data, data + size);
        const std::uint32_t id = event.u.set_report.id;
        {
            const std::lock_guard lock(m_mutex);
            m_received.push_back(std::move(report));
        }
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = id;
        reply.u.set_report_reply.err = 0;
        [[maybe_unused]] const bool sent = write_event(fd, reply);
    } else if (event.type == UHID_GET_REPORT) {
        // The last report of that number written to the interface, or an error when none was.
        const std::uint8_t number = event.u.get_report.rnum;
        const std::uint8_t type = event.u.get_report.rtype;
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = event.u.get_report.id;
        reply.u.get_report_reply.err = EIO;
        {
            const std::lock_guard lock(m_mutex);
            const auto last =
                std::find_if(m_received.rbegin(), m_received.rend(), [&](const auto& r) {
                    return r.interface == interface && r.report_number == number &&
                           r.report_type == type;
                });
            if (last != m_received.rend()) {
                reply.u.get_report_reply.err = 0;
                reply.u.get_report_reply.size = static_cast<std::uint16_t>(last->bytes.size());
                std::memcpy(reply.u.get_report_reply.data, last->bytes.data(), last->bytes.size());
            }
        }
        [[maybe_unused]] const bool sent = write_event(fd, reply);
    }
}

} // namespace zemrak::vm
