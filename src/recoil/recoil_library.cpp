#include "recoil/recoil_library.h"

#include "model/button_record.h"
#include "model/profile_list.h"

#include <algorithm>
#include <optional>

namespace zemrak {
namespace {

constexpr ReferenceField kRecoilReference{&ButtonRecord::recoil_index,
                                          &ButtonRecord::set_recoil_index};

static_assert(RecoilRecord::kBulletsSize == ButtonRecord::kRecoilDataSize,
              "a button record holds every bullet slot of a pattern");

} // namespace

RecoilLibrary::RecoilLibrary(const std::filesystem::path& data_folder)
    : TypedRecordLibrary(data_folder / kRecoilFileName) {}

FolderDeletion RecoilLibrary::delete_folder(std::u16string_view name, ProfileList& profiles) {
    return RecordLibrary::delete_folder(
        name, SavePolicy::once_at_end, [this, &profiles](std::int32_t position) {
            return propagate(position, profiles, LibraryChange::removed);
        });
}

bool RecoilLibrary::propagate(std::int32_t position, ProfileList& profiles,
                              LibraryChange change) const {
    const std::optional<RecoilRecord> pattern = record_at(position);
    return update_references(profiles, kRecoilReference, position, change,
                             [&pattern](ButtonRecord& button, std::size_t) {
                                 if (!pattern) {
                                     return;
                                 }
                                 button.set_action_count(pattern->bullet_count());
                                 button.set_loop_count(pattern->second_parameter());
                                 const auto bullets = pattern->bullets();
                                 std::copy(bullets.begin(), bullets.end(),
                                           button.recoil_data().begin());
                                 button.set_item_name(pattern->item_name());
                             });
}

} // namespace zemrak
