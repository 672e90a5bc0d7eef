#include "device/colour_report.h"

#include "model/colour.h"

#include <cstddef>

namespace zemrak {
namespace {

constexpr std::size_t kCycleColoursIndex = 0;
constexpr std::size_t kStageColoursIndex = 24;
static_assert(kStageColoursIndex == kCycleColoursIndex + 3 * ConfigBlock::kCycleColours);

void put_colour(Payload& payload, std::size_t index, Colour colour) {
    payload[index] = red_of(colour);
    payload[index + 1] = green_of(colour);
    payload[index + 2] = blue_of(colour);
}

} // namespace

Payload encode_colour_payload(const ConfigBlock& block, const DeviceParams& params) {
    Payload payload = params.colour_template;
    for (std::size_t k = 0; k < ConfigBlock::kCycleColours; ++k) {
        put_colour(payload, kCycleColoursIndex + 3 * k, block.cycle_colour(k));
    }
    for (std::size_t k = 0; k < ConfigBlock::kStages; ++k) {
        put_colour(payload, kStageColoursIndex + 3 * k, block.stage_colour(k));
    }
    return payload;
}

} // namespace zemrak
