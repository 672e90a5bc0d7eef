#pragma once
// The sensitivity report: the eight stages encoded for the fitted sensor, with the button map
// in its second half, laid over the sensitivity template of the device settings.

#include "device/report_types.h"
#include "model/config_block.h"
#include "model/device_params.h"

namespace zemrak {

// Payload bytes (report byte k at index k - 1): 1..22 and 24 from the template except byte 7,
// the stage count; 23 the mask of stages whose code was halved; 25..32 the stage bytes (kept
// from the template for a sensor the program cannot encode for); 33..64 the button map.
[[nodiscard]] Payload encode_sensitivity_payload(const ConfigBlock& block,
                                                 const DeviceParams& params,
                                                 const ButtonMap& button_map);

} // namespace zemrak
