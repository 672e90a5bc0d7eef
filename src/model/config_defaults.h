#pragma once

#include "model/config_block.h"

#include <array>
#include <cstdint>

namespace zemrak {

// Sensor types that Data.ini may name; any other value has no default stage codes.
inline constexpr std::int32_t kSensor3050 = 3050;
inline constexpr std::int32_t kSensor3212 = 3212;
inline constexpr std::int32_t kSensor3325 = 3325;
inline constexpr std::int32_t kSensor3327 = 3327;
inline constexpr std::int32_t kSensor5050 = 5050;

// The eight default stage DPI codes of a sensor; all zero for an unknown sensor.
[[nodiscard]] std::array<std::int32_t, ConfigBlock::kStages>
default_stage_codes(std::int32_t sensor);

// Sets every field to its default for the given sensor type, zeroes the button area and
// sets up each button record. The profile name is left as it is.
void fill_defaults(ConfigBlock& block, std::int32_t sensor);

} // namespace zemrak
