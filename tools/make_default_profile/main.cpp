// Writes the factory profile for the model that a Data.ini describes: the program's defaults
// for its sensor, under the given name.
//
//   make_default_profile DATA_INI NAME OUTPUT

#include "model/config_block.h"
#include "model/config_defaults.h"
#include "model/device_params.h"
#include "model/profile_files.h"
#include "model/unicode.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_default_profile DATA_INI NAME OUTPUT\n";
        return 2;
    }
    const zemrak::DeviceParams params = zemrak::read_device_params(argv[1]);
    zemrak::ConfigBlock block;
    zemrak::fill_defaults(block, params.sensor);
    block.set_name(zemrak::to_utf16(argv[2]));
    if (const std::error_code error = zemrak::save_profile_image(argv[3], block)) {
        std::cerr << "make_default_profile: " << argv[3] << ": " << error.message() << '\n';
        return 1;
    }
    return 0;
}
