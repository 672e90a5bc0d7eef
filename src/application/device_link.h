#pragma once
// The program's link to the mouse: the HID access library it writes through, whether the mouse
// is there, and the worker that applies profiles. Everything that talks to the mouse runs on
// the worker's thread, one request after the other, so the caller's thread never waits for
// the mouse: not for report pauses, not for the settle wait of an arriving mouse.

#include "device/apply_worker.h"
#include "device/device_presence.h"
#include "device/hid_library.h"
#include "model/device_params.h"
#include "model/profile_store.h"
#include "platform/pointer_settings.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zemrak {

// What the link works with; everything must outlive it.
struct DeviceLinkServices {
    const DeviceParams& params;
    Pause& pause;
    PointerSettingsBackend& pointer;
};

// Which HID library start-up takes.
struct LibraryChoice {
    // Loaded as it is when not empty ($ZEMRAK_HID_LIBRARY).
    std::filesystem::path forced;
    // Holds the real library and the virtual mouse.
    std::filesystem::path folder;
    // When the real library finds no mouse, the virtual mouse stands in, so that the program
    // can be explored without one.
    bool simulate_when_absent = false;
};

class DeviceLink {
public:
    struct Hooks {
        // On the worker thread: an apply starts (true) and ends (false).
        std::function<void(bool busy)> busy;
        // On the worker thread, after each apply, with what went wrong, if anything.
        std::function<void(const ApplyOutcome&)> applied;
        // On the worker thread, after the mouse of the library in use arrived or was removed.
        std::function<void(DeviceState)> presence;
    };

    // Applies take the current profile of `store` and keep its last-applied copy.
    DeviceLink(ProfileStore& store, DeviceLinkServices services, Hooks hooks);
    // Finishes what is queued, then stops the worker and the libraries' monitors.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The start-up choice of library (see LibraryChoice); returns the state it leaves.
    DeviceState open(const LibraryChoice& choice);

    // Makes `library` the one the link writes through: gives it the mouse's identity, starts
    // its monitor and opens the channels. `simulated` marks the virtual mouse. The library used
    // before stays loaded, as libraries are never unloaded, but its notices no longer count.
    // Runs on the worker after the requests before it and returns the new state: at start-up
    // the worker is idle, later callers wait at most for the apply in progress.
    DeviceState use_library(std::unique_ptr<HidLibrary> library, bool simulated);

    // Queues an apply of the current profile; false, and nothing is queued, without one.
    bool request_apply();

    // Safe on any thread.
    [[nodiscard]] DeviceState state() const { return m_state.load(); }
    // True while the virtual mouse stands in for a mouse that was not found.
    [[nodiscard]] bool simulated() const { return m_simulated.load(); }
    // Why the library in use cannot reach a mouse at all (missing file or entry point); empty
    // when it loaded. Read after open() or use_library() returned.
    [[nodiscard]] std::string library_error() const;

private:
    class Writer;

    // Worker thread only.
    DeviceState install(std::unique_ptr<HidLibrary> library, bool simulated);
    void on_presence(std::uint64_t generation, PresenceNotice notice);
    void report_presence();
    // Any thread: queues a notice of the library of `generation` for the worker.
    void post_notice(std::uint64_t generation, PresenceNotice notice);

    const DeviceParams& m_params;
    Hooks m_hooks;
    std::unique_ptr<Writer> m_writer;
    Pause& m_pause;
    std::atomic<DeviceState> m_state{DeviceState::NotConnected};
    std::atomic<bool> m_simulated{false};

    // Worker thread only, once the worker runs (and under m_mutex for library_error()).
    mutable std::mutex m_mutex;
    std::unique_ptr<HidLibrary> m_library;
    std::vector<std::unique_ptr<HidLibrary>> m_retired;
    std::unique_ptr<DevicePresence> m_presence;
    std::uint64_t m_generation = 0;

    // Notices come on the libraries' own threads; after closing they are dropped.
    std::mutex m_noticeMutex;
    bool m_closing = false;

    std::unique_ptr<ApplyWorker> m_worker; // last: stops first
};

} // namespace zemrak
