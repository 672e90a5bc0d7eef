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
#include "platform/hid_nodes.h"
#include "platform/pointer_settings.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zemrak {

// What the link works with; everything must outlive it.
struct DeviceLinkServices {
    const DeviceParams& params;
    Pause& pause;
    PointerSettingsBackend& pointer;
    // Tells a mouse that is missing from one this user may not write to.
    HidNodeProbe& nodes;
};

// Which HID library start-up takes.
struct LibraryChoice {
    // Loaded as it is when not empty ($ZEMRAK_HID_LIBRARY).
    std::filesystem::path forced;
    // Holds the real library and the virtual mouse.
    std::filesystem::path folder;
};

class DeviceLink {
public:
    struct Hooks {
        // On the worker thread: an apply starts (true) and ends (false).
        std::function<void(bool busy)> busy;
        // On the worker thread, after each apply, with what went wrong, if anything.
        std::function<void(const ApplyOutcome&)> applied;
        // On the worker thread, after the mouse arrived or was removed, after an arriving
        // mouse could not be opened, and after the simulation gave way to a real mouse. The
        // state is the link's (see state()).
        std::function<void(DeviceState)> presence;
    };

    // Applies take the current profile of `store` and keep its last-applied copy.
    DeviceLink(ProfileStore& store, DeviceLinkServices services, Hooks hooks);
    // Finishes what is queued, then stops the worker and the libraries' monitors.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Loads the library the link follows the mouse with for the whole run: the forced one, or
    // the folder's real library. A forced virtual mouse counts as simulated. Returns the state
    // it leaves.
    DeviceState open(const LibraryChoice& choice);

    // Lets the virtual mouse of `folder` stand in while the mouse is not there, so that the
    // program can be explored without one: applies go to the simulation until a real mouse
    // arrives, which then takes over. Returns the new state: Connected, unless the mouse
    // was there already (nothing changes) or the virtual mouse cannot be loaded.
    DeviceState simulate(const std::filesystem::path& folder);

    // Makes `library` the one the link follows the mouse with: gives it the mouse's identity,
    // starts its monitor and opens the channels; any simulation ends. `simulated` marks the
    // virtual mouse. The library used before stays loaded, as libraries are never unloaded,
    // but its notices no longer count. Runs on the worker after the requests before it and
    // returns the new state: at start-up the worker is idle, later callers wait at most for
    // the apply in progress.
    DeviceState use_library(std::unique_ptr<HidLibrary> library, bool simulated);

    // Queues an apply of the current profile; false, and nothing is queued, without one.
    bool request_apply();

    // Safe on any thread. Connected while the simulation stands in.
    [[nodiscard]] DeviceState state() const { return m_state.load(); }
    // True while applies go to a simulated mouse rather than to a real one.
    [[nodiscard]] bool simulated() const { return m_simulated.load(); }
    // Why the library in use cannot reach a mouse at all (missing file or entry point); empty
    // when it loaded. Read after open() or use_library() returned.
    [[nodiscard]] std::string library_error() const;
    // The mouse's node that this user may not write to, while that is what keeps the link
    // from the mouse; none otherwise.
    [[nodiscard]] std::optional<HidNodeAccess> access_denied() const;

private:
    class Writer;

    // Worker thread only.
    DeviceState install(std::unique_ptr<HidLibrary> library, bool simulated);
    DeviceState stand_in(const std::filesystem::path& file);
    void end_stand_in();
    void on_presence(std::uint64_t generation, PresenceNotice notice);
    void check_access();
    // Makes state() and simulated() say what the worker now has.
    void publish();
    // Any thread: queues a notice of the library of `generation` for the worker.
    void post_notice(std::uint64_t generation, PresenceNotice notice);
    // Runs `task` on the worker and returns its result.
    DeviceState on_worker(std::function<DeviceState()> task);

    const DeviceParams& m_params;
    HidNodeProbe& m_nodes;
    Hooks m_hooks;
    std::unique_ptr<Writer> m_writer;
    Pause& m_pause;
    std::atomic<DeviceState> m_state{DeviceState::NotConnected};
    std::atomic<bool> m_simulated{false};

    // Worker thread only, once the worker runs (and under m_mutex for the getters).
    mutable std::mutex m_mutex;
    std::unique_ptr<HidLibrary> m_library;
    bool m_librarySimulated = false;
    std::unique_ptr<HidLibrary> m_standIn; // open while it stands in
    std::vector<std::unique_ptr<HidLibrary>> m_retired;
    std::unique_ptr<DevicePresence> m_presence;
    std::uint64_t m_generation = 0;
    std::optional<HidNodeAccess> m_denied;

    // Notices come on the libraries' own threads; after closing they are dropped.
    std::mutex m_noticeMutex;
    bool m_closing = false;

    std::unique_ptr<ApplyWorker> m_worker; // last: stops first
};

} // namespace zemrak
