#include "model/active_stage.h"

#include <algorithm>

namespace zemrak {

std::optional<std::size_t> usable_stage_near(const ConfigBlock& block, std::size_t active,
                                             std::int32_t count) {
    constexpr auto kStages = static_cast<std::int32_t>(ConfigBlock::kStages);
    const std::int32_t shown = std::clamp(count, 0, kStages);
    const auto usable = [&block, shown](std::int32_t stage) {
        return stage >= 0 && stage < shown && block.stage_enabled(static_cast<std::size_t>(stage));
    };
    const auto from = static_cast<std::int32_t>(std::min<std::size_t>(active, kStages - 1));
    for (std::int32_t distance = 0; distance < kStages; ++distance) {
        for (const std::int32_t stage : {from - distance, from + distance}) {
            if (usable(stage)) {
                return static_cast<std::size_t>(stage);
            }
        }
    }
    return std::nullopt;
}

} // namespace zemrak
