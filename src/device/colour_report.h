#pragma once
// The colour report: the eight colour-cycle colours and the eight stage colours, laid over the
// colour template of the device settings.

#include "device/report_types.h"
#include "model/config_block.h"
#include "model/device_params.h"

namespace zemrak {

// Payload bytes (report byte k at index k - 1): 1..24 the cycle colours and 25..48 the stage
// colours, each as red, green, blue; 49..64 the template unchanged.
[[nodiscard]] Payload encode_colour_payload(const ConfigBlock& block, const DeviceParams& params);

} // namespace zemrak
