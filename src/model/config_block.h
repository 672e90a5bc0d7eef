#pragma once

#include "model/button_record.h"
#include "model/byte_io.h"
#include "model/colour.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace zemrak {

// One profile: a 312-byte head and 32 button records, 51,384 bytes in all. The same image is
// what profile.bin, Default.pbin and exported .pbin files hold, so every offset is part of
// the file format. Reserved fields are carried unchanged.
class ConfigBlock {
public:
    static constexpr std::size_t kHeadSize = 312;
    static constexpr std::size_t kButtonCount = 32;
    static constexpr std::size_t kButtonsPerMode = 16;
    static constexpr std::size_t kSize = kHeadSize + kButtonCount * ButtonRecord::kSize;
    static constexpr std::size_t kStages = 8;
    static constexpr std::size_t kCycleColours = 8;

    static constexpr std::size_t kNameOffset = 0;
    static constexpr std::size_t kPointerSpeedOffset = 100;
    static constexpr std::size_t kWheelLinesOffset = 104;
    static constexpr std::size_t kDoubleClickOffset = 108;
    static constexpr std::size_t kEnhancePrecisionOffset = 112;
    static constexpr std::size_t kPageScrollOffset = 116;
    static constexpr std::size_t kReservedAOffset = 120;
    static constexpr std::size_t kReservedBOffset = 124;
    static constexpr std::size_t kPollingRateOffset = 128;
    static constexpr std::size_t kActiveStageOffset = 132;
    static constexpr std::size_t kStageDpiOffset = 136;
    static constexpr std::size_t kStageDpiCopyOffset = 168;
    static constexpr std::size_t kStageEnabledOffset = 200;
    static constexpr std::size_t kStageColourOffset = 208;
    static constexpr std::size_t kStageCountOffset = 240;
    static constexpr std::size_t kLightModeOffset = 244;
    static constexpr std::size_t kBrightnessOffset = 248;
    static constexpr std::size_t kFrequencyOffset = 252;
    static constexpr std::size_t kColourModeOffset = 256;
    static constexpr std::size_t kLightLengthOffset = 260;
    static constexpr std::size_t kFixedColourOffset = 264;
    static constexpr std::size_t kReservedCOffset = 268;
    static constexpr std::size_t kCycleColourOffset = 276;
    static constexpr std::size_t kButtonModeOffset = 308;

    // Profile name, at most 49 UTF-16 units.
    [[nodiscard]] std::u16string name() const { return load_name(m_head, kNameOffset); }
    void set_name(std::u16string_view name) { store_name(m_head, kNameOffset, name); }

    // Operating-system pointer settings that travel with the profile.
    [[nodiscard]] std::int32_t pointer_speed() const { return field(kPointerSpeedOffset); }
    void set_pointer_speed(std::int32_t level) { set_field(kPointerSpeedOffset, level); }
    [[nodiscard]] std::int32_t wheel_lines() const { return field(kWheelLinesOffset); }
    void set_wheel_lines(std::int32_t lines) { set_field(kWheelLinesOffset, lines); }
    [[nodiscard]] std::int32_t double_click_level() const { return field(kDoubleClickOffset); }
    void set_double_click_level(std::int32_t level) { set_field(kDoubleClickOffset, level); }
    [[nodiscard]] std::int32_t enhance_precision() const { return field(kEnhancePrecisionOffset); }
    void set_enhance_precision(std::int32_t on) { set_field(kEnhancePrecisionOffset, on); }
    [[nodiscard]] std::int32_t page_scroll() const { return field(kPageScrollOffset); }
    void set_page_scroll(std::int32_t on) { set_field(kPageScrollOffset, on); }

    // 0 = 125 Hz, 1 = 250 Hz, 2 = 500 Hz, 3 = 1000 Hz.
    [[nodiscard]] std::int32_t polling_rate_index() const { return field(kPollingRateOffset); }
    void set_polling_rate_index(std::int32_t index) { set_field(kPollingRateOffset, index); }

    // Sensitivity stages 0..7. Out-of-range stages read as 0 and ignore writes.
    [[nodiscard]] std::int32_t active_stage() const { return field(kActiveStageOffset); }
    void set_active_stage(std::int32_t stage) { set_field(kActiveStageOffset, stage); }
    [[nodiscard]] std::int32_t stage_dpi_code(std::size_t stage) const;
    void set_stage_dpi_code(std::size_t stage, std::int32_t code);
    [[nodiscard]] std::int32_t stage_dpi_code_copy(std::size_t stage) const;
    void set_stage_dpi_code_copy(std::size_t stage, std::int32_t code);
    [[nodiscard]] bool stage_enabled(std::size_t stage) const;
    void set_stage_enabled(std::size_t stage, bool enabled);
    [[nodiscard]] Colour stage_colour(std::size_t stage) const;
    void set_stage_colour(std::size_t stage, Colour colour);
    [[nodiscard]] std::int32_t stage_count() const { return field(kStageCountOffset); }
    void set_stage_count(std::int32_t count) { set_field(kStageCountOffset, count); }

    // Lighting.
    [[nodiscard]] std::int32_t light_mode() const { return field(kLightModeOffset); }
    void set_light_mode(std::int32_t mode) { set_field(kLightModeOffset, mode); }
    [[nodiscard]] std::int32_t light_brightness() const { return field(kBrightnessOffset); }
    void set_light_brightness(std::int32_t value) { set_field(kBrightnessOffset, value); }
    [[nodiscard]] std::int32_t light_frequency() const { return field(kFrequencyOffset); }
    void set_light_frequency(std::int32_t value) { set_field(kFrequencyOffset, value); }
    [[nodiscard]] std::int32_t colour_mode() const { return field(kColourModeOffset); }
    void set_colour_mode(std::int32_t mode) { set_field(kColourModeOffset, mode); }
    [[nodiscard]] std::int32_t light_length() const { return field(kLightLengthOffset); }
    void set_light_length(std::int32_t value) { set_field(kLightLengthOffset, value); }
    [[nodiscard]] Colour fixed_colour() const { return load_u32(m_head, kFixedColourOffset); }
    void set_fixed_colour(Colour colour) { store_u32(m_head, kFixedColourOffset, colour); }
    [[nodiscard]] Colour cycle_colour(std::size_t slot) const;
    void set_cycle_colour(std::size_t slot, Colour colour);

    // 0 = office mode, 1 = game mode.
    [[nodiscard]] std::int32_t button_mode() const { return field(kButtonModeOffset); }
    void set_button_mode(std::int32_t mode) { set_field(kButtonModeOffset, mode); }

    // Records 0..15 are the office-mode functions of buttons 1..16, records 16..31 the
    // game-mode functions of the same buttons. The index must be below kButtonCount.
    [[nodiscard]] ButtonRecord& button(std::size_t record) { return m_buttons.at(record); }
    [[nodiscard]] const ButtonRecord& button(std::size_t record) const {
        return m_buttons.at(record);
    }

    // The whole 51,384-byte image, as files and the device reports see it.
    [[nodiscard]] std::span<std::uint8_t, kSize> bytes();
    [[nodiscard]] std::span<const std::uint8_t, kSize> bytes() const;
    [[nodiscard]] std::span<std::uint8_t, kHeadSize> head() { return m_head; }
    [[nodiscard]] std::span<const std::uint8_t, kHeadSize> head() const { return m_head; }

    friend bool operator==(const ConfigBlock&, const ConfigBlock&) = default;

private:
    [[nodiscard]] std::int32_t field(std::size_t offset) const { return load_i32(m_head, offset); }
    void set_field(std::size_t offset, std::int32_t value) { store_i32(m_head, offset, value); }

    std::array<std::uint8_t, kHeadSize> m_head{};
    std::array<ButtonRecord, kButtonCount> m_buttons{};
};

static_assert(sizeof(ConfigBlock) == 51'384);
static_assert(sizeof(ConfigBlock) == ConfigBlock::kSize);
static_assert(std::is_standard_layout_v<ConfigBlock>);
static_assert(std::is_trivially_copyable_v<ConfigBlock>);
static_assert(ConfigBlock::kPointerSpeedOffset == 2 * kNameUnits);
static_assert(ConfigBlock::kStageDpiCopyOffset == ConfigBlock::kStageDpiOffset + 4 * 8);
static_assert(ConfigBlock::kStageEnabledOffset == ConfigBlock::kStageDpiCopyOffset + 4 * 8);
static_assert(ConfigBlock::kStageColourOffset == ConfigBlock::kStageEnabledOffset + 8);
static_assert(ConfigBlock::kStageCountOffset == ConfigBlock::kStageColourOffset + 4 * 8);
static_assert(ConfigBlock::kCycleColourOffset == ConfigBlock::kReservedCOffset + 8);
static_assert(ConfigBlock::kButtonModeOffset == ConfigBlock::kCycleColourOffset + 4 * 8);
static_assert(ConfigBlock::kButtonModeOffset + 4 == ConfigBlock::kHeadSize);

// Byte offset of button record n inside a profile image.
[[nodiscard]] constexpr std::size_t button_record_offset(std::size_t record) {
    return ConfigBlock::kHeadSize + record * ButtonRecord::kSize;
}
static_assert(button_record_offset(16) == 25'848);

} // namespace zemrak
