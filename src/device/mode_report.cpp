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
    // Widened so that an extreme frequency cannot overflow before the range check.
    const std::int64_t entry = static_cast<std::int64_t>(*effect->timing_row) + frequency;
    if (entry < 0 || entry >= static_cast<std::int64_t>(table.size())) {
        return 0;
    }
    return table[static_cast<std::size_t>(entry)];
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
