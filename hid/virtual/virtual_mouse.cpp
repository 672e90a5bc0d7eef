// The virtual mouse: a HID access library that simulates a connected mouse and records what
// it receives. It is what the program uses when no mouse is attached, and the base of the
// end-to-end tests.

#include "virtual_mouse_control.h"
#include "zemrak_hid.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <time.h>

namespace {

constexpr int kCommandLength = 8;
constexpr int kDataLength = 65;

// The simulated device. A loaded library is one device, so its state is the library's.
struct VirtualMouse {
    std::mutex mutex;
    unsigned int vid = 0;
    unsigned int pid = 0;
    bool plugged = true;
    bool command_open = false;
    bool data_open = false;
    int failures_left = 0; // -1: refuse every write
    int accepted = 0;
    HidNotifyFn notify = nullptr;
    void* context = nullptr;
    unsigned int presence_message = 0;

    VirtualMouse() {
        if (const char* absent = std::getenv("ZEMRAK_VIRTUAL_MOUSE_ABSENT")) {
            plugged = std::string(absent) != "1";
        }
        if (const char* fail = std::getenv("ZEMRAK_VIRTUAL_MOUSE_FAIL_WRITES")) {
            failures_left = std::atoi(fail);
        }
    }
};

VirtualMouse& mouse() {
    static VirtualMouse instance;
    return instance;
}

long long monotonic_ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

void log_report(const char* channel, const unsigned char* report, int length) {
    const char* path = std::getenv("ZEMRAK_VIRTUAL_MOUSE_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::string line = std::to_string(monotonic_ns()) + ' ' + channel + ' ';
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int i = 0; i < length; ++i) {
        line.push_back(kDigits[report[i] >> 4]);
        line.push_back(kDigits[report[i] & 0x0F]);
    }
    line.push_back('\n');
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fputs(line.c_str(), file);
        std::fclose(file);
    }
}

int write_report(bool VirtualMouse::*open, const char* channel, int expected,
                 const unsigned char* report, int length) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    if (!m.plugged || !(m.*open) || report == nullptr || length != expected) {
        return 0;
    }
    if (m.failures_left != 0) {
        if (m.failures_left > 0) {
            --m.failures_left;
        }
        return 0;
    }
    ++m.accepted;
    log_report(channel, report, length);
    return 1;
}

int open_channel(bool VirtualMouse::*open) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.*open = m.plugged;
    return m.*open ? 1 : 0;
}

void close_channel(bool VirtualMouse::*open) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.*open = false;
}

} // namespace

extern "C" {

void Set_HIDVIDPID(unsigned int vid, unsigned int pid) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.vid = vid;
    m.pid = pid;
}

void Open_HIDDevMonitor(HidNotifyFn notify, void* context, unsigned int /*monitorMessage*/,
                        unsigned int presenceMessage) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.notify = notify;
    m.context = context;
    m.presence_message = presenceMessage;
}

void Close_HIDDevMonitor(void) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.notify = nullptr;
    m.context = nullptr;
}

int Open_HIDFeatureDevice(void) {
    return open_channel(&VirtualMouse::command_open);
}
int Open_HIDFeatureDevice_1(void) {
    return open_channel(&VirtualMouse::data_open);
}
void Close_HIDFeatureDevice(void) {
    close_channel(&VirtualMouse::command_open);
}
void Close_HIDFeatureDevice_1(void) {
    close_channel(&VirtualMouse::data_open);
}

int SetHIDFeature(const unsigned char* report, int length) {
    return write_report(&VirtualMouse::command_open, "cmd", kCommandLength, report, length);
}

int SetHIDFeature_1(const unsigned char* report, int length) {
    return write_report(&VirtualMouse::data_open, "data", kDataLength, report, length);
}

// Nothing is ever read back from the mouse.
int GetHIDFeature(unsigned char* /*report*/, int /*length*/) {
    return 0;
}
int GetHIDFeature_1(unsigned char* /*report*/, int /*length*/) {
    return 0;
}

void ZemrakVirtualMouse_SetPlugged(int plugged) {
    VirtualMouse& m = mouse();
    HidNotifyFn notify = nullptr;
    void* context = nullptr;
    unsigned int message = 0;
    {
        const std::lock_guard lock(m.mutex);
        if (m.plugged == (plugged != 0)) {
            return;
        }
        m.plugged = plugged != 0;
        if (!m.plugged) {
            m.command_open = false;
            m.data_open = false;
        }
        notify = m.notify;
        context = m.context;
        message = m.presence_message;
    }
    // Outside the lock: the receiver may call straight back into the library.
    if (notify != nullptr) {
        notify(context, message, plugged != 0 ? 1UL : 0UL, 0L);
    }
}

void ZemrakVirtualMouse_FailWrites(int count) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    m.failures_left = count;
}

int ZemrakVirtualMouse_AcceptedWrites(void) {
    VirtualMouse& m = mouse();
    const std::lock_guard lock(m.mutex);
    return m.accepted;
}

} // extern "C"
