#include "device/sensitivity_report.h"

#include "model/sensors.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zemrak {
namespace {

// Report byte k lives at payload index k - 1.
constexpr std::size_t kStageCountIndex = 7 - 1;
constexpr std::size_t kHalvedMaskIndex = 23 - 1;
constexpr std::size_t kFirstStageIndex = 25 - 1;
constexpr std::size_t kButtonMapIndex = 33 - 1;
static_assert(kButtonMapIndex + kButtonMapSize == kPayloadSize);
static_assert(kFirstStageIndex + ConfigBlock::kStages == kButtonMapIndex);

constexpr std::uint8_t kSkippedBit = 0x80;

[[nodiscard]] constexpr std::uint8_t low_byte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

// Writes the stage bytes and the halved mask of a sensor the program can encode for.
void lay_stages(const ConfigBlock& block, std::int32_t sensor, Payload& payload) {
    const bool own_code_always = encodes_skipped_stages(sensor);
    std::uint8_t mask = 0;
    // A skipped stage repeats the byte of the nearest enabled stage before it, marked as
    // skipped, so the mouse keeps a sensible value in its place.
    std::uint8_t last_enabled = 0;
    for (std::size_t stage = 0; stage < ConfigBlock::kStages; ++stage) {
        std::uint8_t& out = payload[kFirstStageIndex + stage];
        if (!own_code_always && !block.stage_enabled(stage)) {
            out = static_cast<std::uint8_t>(last_enabled | kSkippedBit);
            continue;
        }
        const StageByte encoded =
            stage_byte(sensor, block.stage_dpi_code(stage)).value_or(StageByte{});
        out = encoded.byte;
        last_enabled = encoded.byte;
        if (encoded.halved) {
            mask = static_cast<std::uint8_t>(mask | (1u << stage));
        }
    }
    payload[kHalvedMaskIndex] = mask;
}

} // namespace

Payload encode_sensitivity_payload(const ConfigBlock& block, const DeviceParams& params,
                                   const ButtonMap& button_map) {
    Payload payload = params.sensitivity_template;
    payload[kStageCountIndex] = low_byte(block.stage_count());
    payload[kHalvedMaskIndex] = 0;
    // An unknown sensor keeps the template's stage bytes.
    if (is_known_sensor(params.sensor)) {
        lay_stages(block, params.sensor, payload);
    }
    std::ranges::copy(button_map, payload.begin() + static_cast<std::ptrdiff_t>(kButtonMapIndex));
    return payload;
}

} // namespace zemrak
