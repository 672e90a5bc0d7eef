#pragma once

#include "device/hid_channels.h"
#include "device/hid_writer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace zemrak {

// File name of the real HID access library in the program folder.
inline constexpr const char* kHidLibraryFileName = "libzemrak-hid.so";
// File name of the virtual mouse in the program folder.
inline constexpr const char* kVirtualMouseFileName = "libzemrak-hid-virtual.so";
// Names another HID access library to load instead of the program folder's.
inline constexpr const char* kHidLibraryVariable = "ZEMRAK_HID_LIBRARY";

// The library to load: $ZEMRAK_HID_LIBRARY when set and not empty, else
// `<program folder>/libzemrak-hid.so`.
[[nodiscard]] std::filesystem::path hid_library_path(const std::filesystem::path& program_folder,
                                                     const char* variable_value);

// A HID access library loaded at run time. Every call into it is serialised, because the
// user-interface thread opens and closes channels while the apply worker writes reports.
// A library that could not be loaded, or lacks an entry point, behaves as a mouse that is
// never connected: opens and writes fail, everything else does nothing.
class HidLibrary final : public HidWriter, public HidChannels {
public:
    // Presence notices from the library's device monitor, called on whatever thread the
    // library uses.
    using PresenceHandler = std::function<void(PresenceNotice)>;

    [[nodiscard]] static std::unique_ptr<HidLibrary> load(const std::filesystem::path& file);
    ~HidLibrary() override;
    HidLibrary(const HidLibrary&) = delete;
    HidLibrary& operator=(const HidLibrary&) = delete;

    // False when the file or one of the eleven entry points was missing; error() says why.
    [[nodiscard]] bool usable() const { return m_usable; }
    [[nodiscard]] const std::string& error() const { return m_error; }

    void set_identity(std::uint32_t vendor_id, std::uint32_t product_id);
    // Starts the device monitor; `handler` lives as long as this object.
    void open_monitor(PresenceHandler handler);

    [[nodiscard]] bool open_command() override;
    [[nodiscard]] bool open_data() override;
    void close_command() override;
    void close_data() override;
    [[nodiscard]] bool write_command(std::span<const std::uint8_t, kCommandReportSize>) override;
    [[nodiscard]] bool write_data(std::span<const std::uint8_t, kDataReportSize>) override;

    struct EntryPoints;

private:
    HidLibrary() = default;
    static void on_notify(void* context, unsigned int message, unsigned long wparam, long lparam);

    void* m_handle = nullptr;
    std::unique_ptr<EntryPoints> m_entries;
    bool m_usable = false;
    bool m_monitorOpen = false;
    std::string m_error;
    PresenceHandler m_presence;
    std::mutex m_mutex;
};

} // namespace zemrak
