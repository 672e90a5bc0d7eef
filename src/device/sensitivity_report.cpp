#include "device/sensitivity_report.h"

#include "model/config_defaults.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace zemrak {
namespace {

// Report byte k lives at payload index k - 1.
constexpr std::size_t kStageCountIndex = 7 - 1;
constexpr std::size_t kHalvedMaskIndex = 23 - 1;
constexpr std::size_t kFirstStageIndex = 25 - 1;
constexpr std::size_t kButtonMapIndex = 33 - 1;
static_assert(kButtonMapIndex + kButtonMapSize == kPayloadSize);
static_assert(kFirstStageIndex + ConfigBlock::kStages == kButtonMapIndex);

constexpr std::uint8_t kDisabledBit = 0x80;

[[nodiscard]] constexpr std::uint8_t low_byte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

[[nodiscard]] constexpr std::uint8_t encode_3050(std::int32_t code) {
    if (code >= 1 && code <= 8) {
        return low_byte(code);
    }
    if (code >= 9 && code <= 12) {
        return low_byte(0x45 + (code - 9));
    }
    return 0x06;
}

[[nodiscard]] constexpr std::uint8_t encode_3212(std::int32_t code) {
    if (code < 64) {
        return low_byte(code);
    }
    if (code <= 126) {
        return low_byte((code / 2) | 0x40);
    }
    return low_byte((code / 3) | 0xC0);
}

[[nodiscard]] constexpr std::uint8_t encode_5050(std::int32_t code) {
    if (code >= 1 && code <= 10) {
        return low_byte(code);
    }
    if (code == 11) {
        return 0x01;
    }
    if (code >= 12 && code <= 17) {
        return low_byte(0x46 + (code - 12));
    }
    return 0x06;
}

constexpr std::array<std::uint8_t, 51> kTable3325 = {
    0,  4,  4,  6,  8,  11, 13, 15, 18, 20, 22,  25,  27,  29,  32,  34,  36,
    39, 41, 43, 46, 48, 50, 52, 55, 57, 59, 62,  64,  66,  69,  71,  73,  76,
    78, 80, 83, 85, 87, 90, 92, 94, 97, 99, 101, 104, 106, 108, 111, 113, 115,
};

constexpr std::array<std::uint8_t, 64> kTable3327 = {
    12,  4,   4,   6,   9,   11,  14,  16,  18,  21,  23,  25,  27,  29,  32,  34,
    36,  39,  41,  43,  46,  48,  50,  52,  55,  57,  59,  62,  64,  66,  69,  72,
    74,  77,  78,  81,  84,  85,  88,  91,  93,  95,  98,  100, 102, 105, 107, 109,
    112, 114, 116, 119, 121, 123, 126, 128, 130, 133, 135, 137, 140, 142, 145, 0,
};

// Sensors whose codes go through a table; a code above the threshold is halved first and
// the stage is flagged in the halved mask.
struct HalvingSensor {
    std::int32_t threshold;
    std::span<const std::uint8_t> table;
};

struct StageBytes {
    std::array<std::uint8_t, ConfigBlock::kStages> bytes{};
    std::uint8_t halved_mask = 0;
};

using DirectEncoding = std::uint8_t (*)(std::int32_t);

// A skipped stage repeats the byte of the nearest enabled stage before it, marked as
// skipped, so the mouse keeps a sensible value in its place.
[[nodiscard]] StageBytes encode_direct(const ConfigBlock& block, DirectEncoding encode) {
    StageBytes out;
    std::uint8_t last_enabled = 0;
    for (std::size_t stage = 0; stage < ConfigBlock::kStages; ++stage) {
        if (block.stage_enabled(stage)) {
            last_enabled = encode(block.stage_dpi_code(stage));
            out.bytes[stage] = last_enabled;
        } else {
            out.bytes[stage] = static_cast<std::uint8_t>(last_enabled | kDisabledBit);
        }
    }
    return out;
}

// Codes the sliders cannot produce are clamped into the table instead of reading past it.
[[nodiscard]] StageBytes encode_halving(const ConfigBlock& block, const HalvingSensor& sensor) {
    StageBytes out;
    const auto last = static_cast<std::int32_t>(sensor.table.size() - 1);
    for (std::size_t stage = 0; stage < ConfigBlock::kStages; ++stage) {
        std::int32_t code = block.stage_dpi_code(stage);
        if (code > sensor.threshold) {
            code /= 2;
            out.halved_mask = static_cast<std::uint8_t>(out.halved_mask | (1u << stage));
        }
        out.bytes[stage] = sensor.table[static_cast<std::size_t>(std::clamp(code, 0, last))];
    }
    return out;
}

[[nodiscard]] std::optional<StageBytes> encode_stages(const ConfigBlock& block,
                                                      std::int32_t sensor) {
    switch (sensor) {
    case kSensor3050:
        return encode_direct(block, encode_3050);
    case kSensor3212:
        return encode_direct(block, encode_3212);
    case kSensor5050:
        return encode_direct(block, encode_5050);
    case kSensor3325:
        return encode_halving(block, HalvingSensor{50, kTable3325});
    case kSensor3327:
        return encode_halving(block, HalvingSensor{62, kTable3327});
    default:
        return std::nullopt;
    }
}

} // namespace

Payload encode_sensitivity_payload(const ConfigBlock& block, const DeviceParams& params,
                                   const ButtonMap& button_map) {
    Payload payload = params.sensitivity_template;
    payload[kStageCountIndex] = low_byte(block.stage_count());
    payload[kHalvedMaskIndex] = 0;
    if (const std::optional<StageBytes> stages = encode_stages(block, params.sensor)) {
        std::ranges::copy(stages->bytes,
                          payload.begin() + static_cast<std::ptrdiff_t>(kFirstStageIndex));
        payload[kHalvedMaskIndex] = stages->halved_mask;
    }
    std::ranges::copy(button_map, payload.begin() + static_cast<std::ptrdiff_t>(kButtonMapIndex));
    return payload;
}

} // namespace zemrak
