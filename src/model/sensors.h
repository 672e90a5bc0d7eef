#pragma once
// The sensors the mouse may be built with, and what a stage DPI code means on each: the codes
// a new profile starts with, the range the stage sliders offer, the DPI a code stands for and
// the byte the mouse receives for it. The code is what the profile stores; the DPI text is
// for the eye only.

#include "model/config_block.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zemrak {

// Sensor types that Data.ini may name; the program knows nothing of any other.
inline constexpr std::int32_t kSensor3050 = 3050;
inline constexpr std::int32_t kSensor3212 = 3212;
inline constexpr std::int32_t kSensor3325 = 3325;
inline constexpr std::int32_t kSensor3327 = 3327;
inline constexpr std::int32_t kSensor5050 = 5050;

using StageCodes = std::array<std::int32_t, ConfigBlock::kStages>;

struct StageRange {
    std::int32_t min_code = 0;
    std::int32_t max_code = 0;
    // The DPI of the lowest and highest setting, shown at the ends of the sliders.
    std::string_view low_text;
    std::string_view high_text;

    friend bool operator==(const StageRange&, const StageRange&) = default;
};

// A stage code as the mouse receives it.
struct StageByte {
    std::uint8_t byte = 0;
    // The code was halved to fit the sensor's table; the report flags such stages.
    bool halved = false;

    friend bool operator==(const StageByte&, const StageByte&) = default;
};

// One of the sensor types above.
[[nodiscard]] bool is_known_sensor(std::int32_t sensor);

// The eight default stage codes of a sensor; all zero for one without defaults (5050 and
// any unknown type).
[[nodiscard]] StageCodes default_stage_codes(std::int32_t sensor);

// The range of a known sensor; none for any other, whose sliders keep the page's own range
// and blank end labels.
[[nodiscard]] std::optional<StageRange> stage_range(std::int32_t sensor);

// The DPI shown for stage code `code`:
//   3050  250, 500, ... 2000 for codes 1..8, then 2500, 3000, 3500, 4000; any other code 1000
//   3212  40 x code, except 13 -> 500, 31 -> 1250, 38 -> 1500, 44 -> 1750, 63 -> 2500
//   3325, 3327  100 x code
//   5050  the DPI of the byte the mouse receives for the code: a byte below 0x40 counts steps
//         of 125 DPI, one with 0x40 set steps of 250 DPI in its low six bits. So code 11,
//         sent as 0x01, shows 125, and a code outside 1..17, sent as 0x06, shows 750: the
//         text never promises more than the mouse is set to.
//   any other sensor: empty, as we know nothing of what its codes stand for.
[[nodiscard]] std::string dpi_text(std::int32_t sensor, std::int32_t code);

// The byte the mouse receives for a stage of code `code`; none for an unknown sensor.
// Sensors 3325 and 3327 look codes up in a table, halving those above its threshold; a code
// beyond the table is clamped to its ends.
[[nodiscard]] std::optional<StageByte> stage_byte(std::int32_t sensor, std::int32_t code);

// Whether a stage left out of the cycle is still sent with its own code (3325, 3327). The
// other sensors repeat the byte of the nearest enabled stage before it, marked as skipped.
[[nodiscard]] bool encodes_skipped_stages(std::int32_t sensor);

} // namespace zemrak
