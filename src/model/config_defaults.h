#pragma once

#include "model/config_block.h"

#include <cstdint>

namespace zemrak {

// Sets every field to its default for the given sensor type (model/sensors.h), zeroes the
// button area and sets up each button record. The profile name is left as it is.
void fill_defaults(ConfigBlock& block, std::int32_t sensor);

} // namespace zemrak
