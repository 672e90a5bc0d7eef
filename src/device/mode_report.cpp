#include "device/mode_report.h"

#include "model/light_effects.h"

namespace zemrak {
namespace {

constexpr std::size_t kModeByte = 2;
constexpr std::size_t kBrightnessByte = 3;
constexpr std::size_t kTimingByte = 4;
constexpr std::size_t kIntervalByte = 6;
constexpr std::size_t kStageByte = 7;

[[nodiscard]] constexpr std::uint8_t low_byte(std::int64_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) & 0xFFu);
}

} // namespace

std::uint8_t report_interval_ms(std::int32_t polling_rate_index) {
    switch (polling_rate_index) {
    case 0:
        return 8;
    case 1:
        return 4;
    case 2:
        return 2;
    default:
        return 1;
    }
}

std::uint8_t light_timing_byte(std::int32_t light_mode, std::int32_t frequency,
                               std::span<const std::uint8_t> table) {
    const LightEffect* effect = find_light_effect(light_mode);
    if (effect == nullptr || !effect->timing_row) {
        return 0;
    }
    const std::size_t entry = *effect->timing_row + speed_step(frequency);
    // Data.ini may hold a shorter table than the effects' rows need.
    return entry < table.size() ? table[entry] : std::uint8_t{0};
}

CommandReport encode_mode_report(const ConfigBlock& block, const DeviceParams& params) {
    CommandReport report = make_command_report();
    report[kModeByte] = low_byte(block.light_mode());
    report[kBrightnessByte] = low_byte(block.light_brightness());
    report[kTimingByte] =
        light_timing_byte(block.light_mode(), block.light_frequency(), params.light_timing);
    report[kIntervalByte] = report_interval_ms(block.polling_rate_index());
    report[kStageByte] = low_byte(std::int64_t{block.active_stage()} + 1);
    return report;
}

} // namespace zemrak
