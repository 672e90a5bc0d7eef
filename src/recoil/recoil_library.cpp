#include "recoil/recoil_library.h"

#include "model/button_record.h"

#include <algorithm>

namespace zemrak {
namespace {

static_assert(RecoilRecord::kBulletsSize == ButtonRecord::kRecoilDataSize,
              "a button record holds every bullet slot of a pattern");

void copy_pattern(std::span<const std::uint8_t> item, ButtonRecord& button, std::size_t) {
    const std::optional<RecoilRecord> pattern = record_from<RecoilRecord>(item);
    // No report carries a pattern, so a stale copy costs nothing; keep it rather than guess.
    if (!pattern) {
        return;
    }
    button.set_action_count(pattern->bullet_count());
    button.set_loop_count(pattern->second_parameter());
    const auto bullets = pattern->bullets();
    std::copy(bullets.begin(), bullets.end(), button.recoil_data().begin());
}

constexpr RecordKind kRecoilKind = record_kind<RecoilRecord, &RecoilRecord::make_pattern>(
    &copy_pattern, {&ButtonRecord::recoil_index, &ButtonRecord::set_recoil_index});

} // namespace

RecoilLibrary::RecoilLibrary(const std::filesystem::path& data_folder,
                             std::shared_ptr<DataFolderLock> lock)
    : TypedRecordLibrary(kRecoilKind, data_folder / kRecoilFileName, std::move(lock)) {}

} // namespace zemrak
