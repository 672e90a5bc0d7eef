#include "model/config_block.h"

namespace zemrak {
namespace {

constexpr std::size_t element(std::size_t base, std::size_t index, std::size_t width) {
    return base + index * width;
}

} // namespace

std::int32_t ConfigBlock::stage_dpi_code(std::size_t stage) const {
    return stage < kStages ? field(element(kStageDpiOffset, stage, 4)) : 0;
}
void ConfigBlock::set_stage_dpi_code(std::size_t stage, std::int32_t code) {
    if (stage < kStages) {
        set_field(element(kStageDpiOffset, stage, 4), code);
    }
}

std::int32_t ConfigBlock::stage_dpi_code_copy(std::size_t stage) const {
    return stage < kStages ? field(element(kStageDpiCopyOffset, stage, 4)) : 0;
}
void ConfigBlock::set_stage_dpi_code_copy(std::size_t stage, std::int32_t code) {
    if (stage < kStages) {
        set_field(element(kStageDpiCopyOffset, stage, 4), code);
    }
}

bool ConfigBlock::stage_enabled(std::size_t stage) const {
    return stage < kStages && m_head[kStageEnabledOffset + stage] != 0;
}
void ConfigBlock::set_stage_enabled(std::size_t stage, bool enabled) {
    if (stage < kStages) {
        m_head[kStageEnabledOffset + stage] = enabled ? 1 : 0;
    }
}

Colour ConfigBlock::stage_colour(std::size_t stage) const {
    return stage < kStages ? load_u32(m_head, element(kStageColourOffset, stage, 4)) : 0;
}
void ConfigBlock::set_stage_colour(std::size_t stage, Colour colour) {
    if (stage < kStages) {
        store_u32(m_head, element(kStageColourOffset, stage, 4), colour);
    }
}

Colour ConfigBlock::cycle_colour(std::size_t slot) const {
    return slot < kCycleColours ? load_u32(m_head, element(kCycleColourOffset, slot, 4)) : 0;
}
void ConfigBlock::set_cycle_colour(std::size_t slot, Colour colour) {
    if (slot < kCycleColours) {
        store_u32(m_head, element(kCycleColourOffset, slot, 4), colour);
    }
}

// The head and the button records are byte arrays laid out back to back without padding
// (checked by the static_asserts of the header), so the object representation is the image.
std::span<std::uint8_t, ConfigBlock::kSize> ConfigBlock::bytes() {
    return std::span<std::uint8_t, kSize>(reinterpret_cast<std::uint8_t*>(this), kSize);
}
std::span<const std::uint8_t, ConfigBlock::kSize> ConfigBlock::bytes() const {
    return std::span<const std::uint8_t, kSize>(reinterpret_cast<const std::uint8_t*>(this), kSize);
}

} // namespace zemrak
