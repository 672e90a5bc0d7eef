#include "device/hid_library.h"

#include "platform/symbol_lookup.h"

#include <dlfcn.h>
#include <utility>

namespace zemrak {
namespace {

// Message numbers the monitor is started with; they stay inside this binding.
constexpr unsigned int kMonitorMessage = 1325;
constexpr unsigned int kPresenceMessage = 1326;

} // namespace

using NotifyFn = void (*)(void*, unsigned int, unsigned long, long);

struct HidLibrary::EntryPoints {
    void (*set_vid_pid)(unsigned int, unsigned int) = nullptr;
    void (*open_monitor)(NotifyFn, void*, unsigned int, unsigned int) = nullptr;
    void (*close_monitor)() = nullptr;
    int (*open_command)() = nullptr;
    int (*open_data)() = nullptr;
    void (*close_command)() = nullptr;
    void (*close_data)() = nullptr;
    int (*set_command)(const unsigned char*, int) = nullptr;
    int (*set_data)(const unsigned char*, int) = nullptr;
    int (*get_command)(unsigned char*, int) = nullptr;
    int (*get_data)(unsigned char*, int) = nullptr;
};

std::filesystem::path hid_library_path(const std::filesystem::path& program_folder,
                                       const char* variable_value) {
    if (variable_value != nullptr && *variable_value != '\0') {
        return variable_value;
    }
    return program_folder / kHidLibraryFileName;
}

std::unique_ptr<HidLibrary> HidLibrary::load(const std::filesystem::path& file) {
    std::unique_ptr<HidLibrary> library(new HidLibrary());
    library->m_entries = std::make_unique<EntryPoints>();
    library->m_handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library->m_handle == nullptr) {
        const char* reason = ::dlerror();
        library->m_error = reason != nullptr ? reason : "cannot load " + file.string();
        return library;
    }
    EntryPoints& e = *library->m_entries;
    void* h = library->m_handle;
    std::string missing;
    bool all = true;
    all &= resolve_symbol(h, "Set_HIDVIDPID", e.set_vid_pid, missing);
    all &= resolve_symbol(h, "Open_HIDDevMonitor", e.open_monitor, missing);
    all &= resolve_symbol(h, "Close_HIDDevMonitor", e.close_monitor, missing);
    all &= resolve_symbol(h, "Open_HIDFeatureDevice", e.open_command, missing);
    all &= resolve_symbol(h, "Open_HIDFeatureDevice_1", e.open_data, missing);
    all &= resolve_symbol(h, "Close_HIDFeatureDevice", e.close_command, missing);
    all &= resolve_symbol(h, "Close_HIDFeatureDevice_1", e.close_data, missing);
    all &= resolve_symbol(h, "SetHIDFeature", e.set_command, missing);
    all &= resolve_symbol(h, "SetHIDFeature_1", e.set_data, missing);
    all &= resolve_symbol(h, "GetHIDFeature", e.get_command, missing);
    all &= resolve_symbol(h, "GetHIDFeature_1", e.get_data, missing);
    if (!all) {
        library->m_error = file.string() + " lacks " + missing;
        return library;
    }
    library->m_usable = true;
    return library;
}

HidLibrary::~HidLibrary() {
    if (m_usable && m_monitorOpen) {
        // The monitor may call back into this object: stop it before the object goes. No lock
        // is held, so a notice being delivered right now can still finish.
        m_entries->close_monitor();
    }
    // The library stays mapped: a monitor thread it started may still be unwinding, and the
    // program loads the library once for its whole run anyway.
}

void HidLibrary::set_identity(std::uint32_t vendor_id, std::uint32_t product_id) {
    const std::lock_guard lock(m_mutex);
    if (m_usable) {
        m_entries->set_vid_pid(vendor_id, product_id);
    }
}

void HidLibrary::open_monitor(PresenceHandler handler) {
    const std::lock_guard lock(m_mutex);
    if (!m_usable) {
        return;
    }
    m_presence = std::move(handler);
    m_entries->open_monitor(&HidLibrary::on_notify, this, kMonitorMessage, kPresenceMessage);
    m_monitorOpen = true;
}

void HidLibrary::on_notify(void* context, unsigned int message, unsigned long wparam, long) {
    auto* self = static_cast<HidLibrary*>(context);
    // The monitor speaks in messages: presence with 1 for an arrival and 0 for a removal.
    // Anything else carries nothing the program acts on.
    if (message != kPresenceMessage || !self->m_presence || wparam > 1) {
        return;
    }
    self->m_presence(wparam == 1 ? PresenceNotice::arrived : PresenceNotice::removed);
}

bool HidLibrary::open_command() {
    const std::lock_guard lock(m_mutex);
    return m_usable && m_entries->open_command() != 0;
}

bool HidLibrary::open_data() {
    const std::lock_guard lock(m_mutex);
    return m_usable && m_entries->open_data() != 0;
}

void HidLibrary::close_command() {
    const std::lock_guard lock(m_mutex);
    if (m_usable) {
        m_entries->close_command();
    }
}

void HidLibrary::close_data() {
    const std::lock_guard lock(m_mutex);
    if (m_usable) {
        m_entries->close_data();
    }
}

bool HidLibrary::write_command(std::span<const std::uint8_t, kCommandReportSize> report) {
    const std::lock_guard lock(m_mutex);
    return m_usable && m_entries->set_command(report.data(), static_cast<int>(report.size())) != 0;
}

bool HidLibrary::write_data(std::span<const std::uint8_t, kDataReportSize> report) {
    const std::lock_guard lock(m_mutex);
    return m_usable && m_entries->set_data(report.data(), static_cast<int>(report.size())) != 0;
}

} // namespace zemrak
