#pragma once
// A virtual USB mouse (or keyboard) made through the kernel's uhid driver: one uhid device per
// HID interface, so each interface gets a hidraw node of its own, just as a real mouse's do,
// and an input node when its descriptor declares input reports.
//
// A thread of its own answers the kernel's SET_REPORT and GET_REPORT requests: it records
// every SET_REPORT, and answers GET_REPORT with the last report of that number written to the
// interface (an error when there is none). It must not be the thread that writes through hidraw:
// the kernel waits for the answer while the writer is blocked.

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zemrak::vm {

// The report descriptors of the interfaces.
[[nodiscard]] std::vector<std::uint8_t> boot_mouse_descriptor();
// A USB boot keyboard: input report of 8 bytes (modifier bits, a reserved byte, six key
// usages), output report of the five LEDs.
[[nodiscard]] std::vector<std::uint8_t> boot_keyboard_descriptor();
// The boot mouse with five buttons and a wheel: input report of 4 bytes (button bits, x, y,
// wheel notches).
[[nodiscard]] std::vector<std::uint8_t> wheel_mouse_descriptor();
// Vendor-defined, Feature report ID 1 of `data_bytes` bytes (the mouse: 7).
[[nodiscard]] std::vector<std::uint8_t> command_descriptor(std::uint8_t data_bytes);
// Vendor-defined, Feature report without report IDs of `data_bytes` bytes (the mouse: 64).
[[nodiscard]] std::vector<std::uint8_t> data_descriptor(std::uint8_t data_bytes);

struct Interface {
    std::string name; // shown as the HID device's name
    std::vector<std::uint8_t> descriptor;
};

struct SetReport {
    std::size_t interface = 0; // index into the interfaces given to the constructor
    std::uint8_t report_number = 0;
    std::uint8_t report_type = 0; // UHID_FEATURE_REPORT, ...
    std::vector<std::uint8_t> bytes;
};

class UhidMouse {
public:
    UhidMouse(std::uint16_t vendor, std::uint16_t product, std::vector<Interface> interfaces);
    ~UhidMouse();
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    // Creates every interface (plugs the mouse in); false with `error()` set on failure.
    [[nodiscard]] bool create();
    // Destroys every interface (unplugs it); the recorded reports stay.
    void destroy();
    [[nodiscard]] bool created() const { return !m_fds.empty(); }

    // Sends an input report from `interface` (index into the interfaces), as the device would
    // on its interrupt endpoint; false when the device is not created or uhid refused it.
    [[nodiscard]] bool send_input(std::size_t interface, const std::vector<std::uint8_t>& report);

    [[nodiscard]] std::vector<SetReport> received() const;
    void clear_received();
    [[nodiscard]] const std::string& error() const { return m_error; }

private:
    void serve();
    void answer(std::size_t interface, int fd);

    std::uint16_t m_vendor;
    std::uint16_t m_product;
    std::vector<Interface> m_interfaces;
    std::vector<int> m_fds;
    int m_stop = -1; // eventfd that ends the thread
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<SetReport> m_received;
    std::string m_error;
};

} // namespace zemrak::vm
