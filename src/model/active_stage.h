#pragma once

#include "model/config_block.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zemrak {

// The stage the mouse should use instead of `active` (0..7) once only the first `count`
// stages are shown: `active` itself while it is enabled and shown, else the nearest stage
// that is (the lower of two as near), or nothing when no shown stage is enabled.
[[nodiscard]] std::optional<std::size_t> usable_stage_near(const ConfigBlock& block,
                                                           std::size_t active, std::int32_t count);

} // namespace zemrak
