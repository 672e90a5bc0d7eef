#pragma once
// One apply: the pointer settings that changed, every report of the profile, and the saving
// of the data files. The apply worker runs it on its thread; zemrakctl runs it directly.

#include "device/hid_writer.h"
#include "device/report_plan.h"
#include "model/config_block.h"
#include "model/device_params.h"
#include "model/profile_files.h"
#include "model/profile_store.h"
#include "platform/pointer_settings.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

namespace zemrak {

// Everything an apply needs from the profile store, copied on the thread that edits the
// profiles so that the apply never reads a record while it is being changed.
struct ApplySnapshot {
    ConfigBlock profile;                // the current profile
    IndexRecord index;                  // what Data.bin is to hold
    std::vector<std::uint8_t> profiles; // what profile.bin is to hold
    std::filesystem::path index_file;
    std::filesystem::path profiles_file;
    // Set when the file may not be written (the store could not read it): the save returns
    // this instead.
    std::error_code index_read_error;
    std::error_code profiles_read_error;
    // When the copy was taken, in the order of the writes of profile.bin.
    std::shared_ptr<SaveOrder> save_order;
    std::uint64_t state = 0;
    // profile.bin as the program last read or wrote it (null: written without that check),
    // and one fingerprint per profile of `profiles`.
    std::shared_ptr<SyncedFile> profiles_sync;
    std::vector<std::uint64_t> content;
};

// The snapshot of the store's current state; nothing when no profile is current.
[[nodiscard]] std::optional<ApplySnapshot> take_apply_snapshot(const ProfileStore& store);

struct ApplyServices {
    HidWriter& hid;
    Pause& pause;
    PointerSettingsBackend& pointer;
    const DeviceParams& params;
};

struct ApplyOutcome {
    SendResult reports;
    std::error_code index_error;    // saving Data.bin
    std::error_code profiles_error; // saving profile.bin
    // profile.bin was left as it was: the window saved a newer list while the apply ran.
    bool profiles_superseded = false;
    [[nodiscard]] bool saved() const { return !index_error && !profiles_error; }
};

// Runs one apply of `snapshot`: pointer settings that differ from `last_applied`, then
// `last_applied` becomes the snapshot's profile, then the reports, then Data.bin and
// profile.bin (unless a newer list was saved since the snapshot was taken, or the file may
// not be written). No step stops a later one.
[[nodiscard]] ApplyOutcome run_apply(const ApplySnapshot& snapshot, ConfigBlock& last_applied,
                                     const ApplyServices& services);

} // namespace zemrak
