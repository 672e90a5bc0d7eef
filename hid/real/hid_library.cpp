// libzemrak-hid.so: the HID access library for a real mouse. It finds the mouse's hidraw nodes
// through hidapi, opens the command and the data channel on the nodes the channel rule picks
// (channel_choice.h), writes feature reports to them and watches the mouse come and go through
// udev.

#include "channel_choice.h"
#include "device_monitor.h"
#include "model/ini_file.h"
#include "report_descriptor.h"
#include "zemrak_hid.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <hidapi/hidapi.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

using zemrak::hid::Channel;

constexpr int kCommandLength = 8;
constexpr int kDataLength = 65;
constexpr unsigned int kMaxId = 0xFFFF;

struct HidClose {
    void operator()(hid_device* device) const { hid_close(device); }
};
using HidDevicePtr = std::unique_ptr<hid_device, HidClose>;

struct HidFreeEnumeration {
    void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using HidEnumerationPtr = std::unique_ptr<hid_device_info, HidFreeEnumeration>;

// The folder this library was loaded from; the program keeps its Data.ini there.
std::filesystem::path library_folder() {
    static const int kAnchor = 0;
    Dl_info info{};
    if (dladdr(&kAnchor, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return std::filesystem::path(info.dli_fname).parent_path();
}

zemrak::hid::ChannelOverrides channel_overrides() {
    const std::filesystem::path folder = library_folder();
    if (folder.empty()) {
        return {};
    }
    return zemrak::hid::read_channel_overrides(zemrak::IniFile::load(folder / "Data.ini"));
}

std::vector<std::uint8_t> read_report_descriptor(const std::string& node_name) {
    std::ifstream file("/sys/class/hidraw/" + node_name + "/device/report_descriptor",
                       std::ios::binary);
    std::vector<std::uint8_t> bytes(zemrak::hid::kMaxReportDescriptorSize);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

// Each hidraw node of the identity once, with its parsed report descriptor.
std::vector<zemrak::hid::HidrawNode> mouse_nodes(unsigned int vid, unsigned int pid) {
    std::vector<zemrak::hid::HidrawNode> nodes;
    // hidapi reads 0 as "any", which would reach every HID device on the system.
    if (vid == 0 || pid == 0 || vid > kMaxId || pid > kMaxId) {
        return nodes;
    }
    const std::lock_guard lock(zemrak::hid::udev_mutex());
    const HidEnumerationPtr list(
        hid_enumerate(static_cast<unsigned short>(vid), static_cast<unsigned short>(pid)));
    for (const hid_device_info* info = list.get(); info != nullptr; info = info->next) {
        if (info->path == nullptr || info->vendor_id != vid || info->product_id != pid) {
            continue;
        }
        std::optional<std::string> name = zemrak::hid::hidraw_node_name(info->path);
        // hidapi lists a node once for each of its top-level collections.
        if (!name || std::any_of(nodes.begin(), nodes.end(),
                                 [&name](const auto& node) { return node.name == *name; })) {
            continue;
        }
        const std::vector<std::uint8_t> descriptor = read_report_descriptor(*name);
        nodes.push_back({std::move(*name), zemrak::hid::parse_report_descriptor(descriptor)});
    }
    return nodes;
}

void report_unreadable(const char* key, const std::optional<zemrak::hid::ChannelSelector>& rule) {
    if (rule) {
        if (const auto* bad = std::get_if<zemrak::hid::UnreadableSelector>(&*rule)) {
            std::fprintf(stderr, "Data.ini [HID] %s: cannot read \"%s\"\n", key, bad->text.c_str());
        }
    }
}

class HidLibrary {
public:
    HidLibrary() = default;
    HidLibrary(const HidLibrary&) = delete;
    HidLibrary& operator=(const HidLibrary&) = delete;

    // Runs when the library is unloaded or the process ends.
    ~HidLibrary() {
        close_monitor();
        const std::lock_guard lock(m_mutex);
        m_command.reset();
        m_data.reset();
        hid_exit();
    }

    void set_identity(unsigned int vid, unsigned int pid) {
        const std::lock_guard lock(m_mutex);
        m_vid = vid;
        m_pid = pid;
        if (m_monitor) {
            m_monitor->set_identity(vid, pid);
        }
    }

    void open_monitor(HidNotifyFn notify, void* context, unsigned int message) {
        std::unique_ptr<zemrak::hid::DeviceMonitor> previous;
        {
            const std::lock_guard lock(m_mutex);
            previous = std::move(m_monitor);
            if (notify != nullptr) {
                m_monitor = zemrak::hid::DeviceMonitor::start(
                    m_vid, m_pid, [notify, context, message](bool arrived) {
                        notify(context, message, arrived ? 1UL : 0UL, 0L);
                    });
            }
        }
        // Joined outside the lock: its thread may be inside notify, calling back into us.
    }

    void close_monitor() {
        std::unique_ptr<zemrak::hid::DeviceMonitor> previous;
        {
            const std::lock_guard lock(m_mutex);
            previous = std::move(m_monitor);
        }
        // Joined outside the lock, as in open_monitor.
    }

    int open(Channel channel) {
        const std::lock_guard lock(m_mutex);
        HidDevicePtr& handle = handle_of(channel);
        // A handle from before a removal points at a node that is gone.
        handle.reset();
        const std::vector<zemrak::hid::HidrawNode> nodes = mouse_nodes(m_vid, m_pid);
        const zemrak::hid::ChannelOverrides overrides = channel_overrides();
        const bool command = channel == Channel::command;
        const std::optional<zemrak::hid::ChannelSelector>& rule =
            command ? overrides.command : overrides.data;
        report_unreadable(command ? "CommandChannel" : "DataChannel", rule);
        const std::optional<std::size_t> chosen = zemrak::hid::choose_channel(nodes, channel, rule);
        if (!chosen) {
            return 0;
        }
        const std::lock_guard udev_lock(zemrak::hid::udev_mutex());
        handle.reset(hid_open_path(("/dev/" + nodes[*chosen].name).c_str()));
        return handle ? 1 : 0;
    }

    void close(Channel channel) {
        const std::lock_guard lock(m_mutex);
        handle_of(channel).reset();
    }

    int write(Channel channel, const unsigned char* report, int length) {
        const std::lock_guard lock(m_mutex);
        hid_device* device = handle_of(channel).get();
        if (device == nullptr || !fits_channel(channel, report, length)) {
            return 0;
        }
        // The kernel's count may or may not include the report ID byte, so any count is success.
        return hid_send_feature_report(device, report, static_cast<std::size_t>(length)) > 0 ? 1
                                                                                             : 0;
    }

    int read(Channel channel, unsigned char* report, int length) {
        const std::lock_guard lock(m_mutex);
        hid_device* device = handle_of(channel).get();
        if (device == nullptr || report == nullptr || length != length_of(channel)) {
            return 0;
        }
        report[0] = report_id_of(channel);
        const int count = hid_get_feature_report(device, report, static_cast<std::size_t>(length));
        return count > 0 ? count : 0;
    }

private:
    static int length_of(Channel channel) {
        return channel == Channel::command ? kCommandLength : kDataLength;
    }
    static unsigned char report_id_of(Channel channel) {
        return channel == Channel::command ? zemrak::hid::kCommandReportId
                                           : zemrak::hid::kDataReportId;
    }
    // A report with another ID would name a report the channel's interface does not have.
    static bool fits_channel(Channel channel, const unsigned char* report, int length) {
        return report != nullptr && length == length_of(channel) &&
               report[0] == report_id_of(channel);
    }

    HidDevicePtr& handle_of(Channel channel) {
        return channel == Channel::command ? m_command : m_data;
    }

    std::mutex m_mutex;
    unsigned int m_vid = 0;
    unsigned int m_pid = 0;
    HidDevicePtr m_command;
    HidDevicePtr m_data;
    std::unique_ptr<zemrak::hid::DeviceMonitor> m_monitor;
};

HidLibrary& library() {
    static HidLibrary instance;
    return instance;
}

} // namespace

extern "C" {

ZEMRAK_HID_API void Set_HIDVIDPID(unsigned int vid, unsigned int pid) {
    library().set_identity(vid, pid);
}

// monitorMessage is never sent: presence notices are the only ones this library has.
ZEMRAK_HID_API void Open_HIDDevMonitor(HidNotifyFn notify, void* context,
                                       unsigned int /*monitorMessage*/,
                                       unsigned int presenceMessage) {
    library().open_monitor(notify, context, presenceMessage);
}

ZEMRAK_HID_API void Close_HIDDevMonitor(void) {
    library().close_monitor();
}

ZEMRAK_HID_API int Open_HIDFeatureDevice(void) {
    return library().open(Channel::command);
}
ZEMRAK_HID_API int Open_HIDFeatureDevice_1(void) {
    return library().open(Channel::data);
}
ZEMRAK_HID_API void Close_HIDFeatureDevice(void) {
    library().close(Channel::command);
}
ZEMRAK_HID_API void Close_HIDFeatureDevice_1(void) {
    library().close(Channel::data);
}

ZEMRAK_HID_API int SetHIDFeature(const unsigned char* report, int length) {
    return library().write(Channel::command, report, length);
}

ZEMRAK_HID_API int SetHIDFeature_1(const unsigned char* report, int length) {
    return library().write(Channel::data, report, length);
}

ZEMRAK_HID_API int GetHIDFeature(unsigned char* report, int length) {
    return library().read(Channel::command, report, length);
}

ZEMRAK_HID_API int GetHIDFeature_1(unsigned char* report, int length) {
    return library().read(Channel::data, report, length);
}

} // extern "C"
