#pragma once
// The mode report: the 8-byte command report that opens every apply and carries the lighting
// effect with its timing, the polling rate and the active sensitivity stage.

#include "device/report_types.h"
#include "model/config_block.h"
#include "model/device_params.h"

#include <cstdint>
#include <span>

namespace zemrak {

// Milliseconds between reports for a polling rate index: 0 -> 8, 1 -> 4, 2 -> 2, anything
// else -> 1.
[[nodiscard]] std::uint8_t report_interval_ms(std::int32_t polling_rate_index);

// The timing byte of a lighting effect: entry (row start + speed_step(frequency)) of the table
// for the effects with a timing row (model/light_effects.h), 0 for the others. A speed outside
// the row counts as its nearest end, as the light page shows it; an entry beyond a short
// table gives 0 rather than a byte from beyond it.
[[nodiscard]] std::uint8_t light_timing_byte(std::int32_t light_mode, std::int32_t frequency,
                                             std::span<const std::uint8_t> table);

// 01 AA mode brightness timing 00 interval stage.
[[nodiscard]] CommandReport encode_mode_report(const ConfigBlock& block,
                                               const DeviceParams& params);

} // namespace zemrak
