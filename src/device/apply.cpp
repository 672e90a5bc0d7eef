#include "device/apply.h"

#include "device/pointer_change.h"
#include "platform/file_io.h"

namespace zemrak {

std::optional<ApplySnapshot> take_apply_snapshot(const ProfileStore& store) {
    const ProfileList& profiles = store.profiles();
    const ConfigBlock* current = profiles.current();
    if (current == nullptr) {
        return std::nullopt;
    }
    ApplySnapshot snapshot{*current,
                           store.index_record(),
                           {},
                           store.index_file(),
                           store.profiles_file(),
                           store.index_read_error(),
                           store.profiles_read_error(),
                           store.save_order(),
                           store.save_order()->take(),
                           store.profiles_sync(),
                           profile_fingerprints(profiles)};
    snapshot.profiles.reserve(profiles.size() * ConfigBlock::kSize);
    for (const auto image : profiles.images()) {
        snapshot.profiles.insert(snapshot.profiles.end(), image.begin(), image.end());
    }
    return snapshot;
}

ApplyOutcome run_apply(const ApplySnapshot& snapshot, ConfigBlock& last_applied,
                       const ApplyServices& services) {
    apply_pointer_settings(pointer_settings_change(snapshot.profile, last_applied),
                           services.pointer);
    last_applied = snapshot.profile;

    ApplyOutcome outcome;
    const std::vector<ReportStep> steps = plan_reports(snapshot.profile, services.params);
    outcome.reports = send_reports(steps, services.hid, services.pause);
    outcome.index_error = snapshot.index_read_error
                              ? snapshot.index_read_error
                              : save_index_record(snapshot.index_file, snapshot.index);
    const auto write_file = [&snapshot] {
        return write_file_atomically(snapshot.profiles_file, snapshot.profiles);
    };
    const auto write = [&snapshot, &write_file] {
        if (snapshot.profiles_read_error) {
            return snapshot.profiles_read_error;
        }
        return snapshot.profiles_sync ? snapshot.profiles_sync->write(write_file, snapshot.content)
                                      : write_file();
    };
    const FolderHold folder(snapshot.profiles_sync ? snapshot.profiles_sync->folder() : nullptr);
    if (!snapshot.save_order) {
        outcome.profiles_error = write();
    } else if (const auto written = snapshot.save_order->write_in_order(snapshot.state, write)) {
        outcome.profiles_error = *written;
    } else {
        outcome.profiles_superseded = true;
    }
    return outcome;
}

} // namespace zemrak
