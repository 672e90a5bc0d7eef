// Data.ini: the INI reader and the device settings read from it.

#include "model/device_params.h"
#include "model/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zemrak::IniFile ini = zemrak::IniFile::parse(text);
    static_cast<void>(ini.value("Device", "VID"));
    static_cast<void>(ini.integer("Device", "DPI", 0));
    static_cast<void>(zemrak::device_params_from(ini));
    return 0;
}
