#pragma once
// The description of the mouse model the program serves, read from Data.ini beside the
// executable: USB identity, sensor, number of sensitivity stages and the fixed bytes of the
// long reports.

#include "model/ini_file.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace zemrak {

struct DeviceParams {
    static constexpr std::size_t kTemplateSize = 64;
    static constexpr std::size_t kTemplateRows = 4;
    static constexpr std::size_t kLightTimingEntries = 9;
    static constexpr std::size_t kPasswordSize = 6;

    std::uint32_t vendor_id = 0x04D9;
    std::uint32_t product_id = 0xA09F;
    // Number of sensitivity stage rows the model offers (key DPI); -1 when not given.
    std::int32_t stage_rows = -1;
    // Sensor type (key Sensor): 3050, 3212, 3325, 3327 or 5050; -1 when not given.
    std::int32_t sensor = -1;
    // Bytes 1..64 of the sensitivity and colour reports, at index 0..63, before the program's
    // own fields are laid over them.
    std::array<std::uint8_t, kTemplateSize> sensitivity_template{};
    std::array<std::uint8_t, kTemplateSize> colour_template{};
    // Three triples of timing bytes (keys Light1..Light3) for the mode report.
    std::array<std::uint8_t, kLightTimingEntries> light_timing{};
    // Set only when the Password text is exactly six UTF-16 units long: the low byte of each.
    std::optional<std::array<std::uint8_t, kPasswordSize>> password;
};

// Reads the file; a missing or unreadable file gives the defaults above.
[[nodiscard]] DeviceParams read_device_params(const std::filesystem::path& ini_file);
// The same; `error` says why a file that exists was not read (empty for a missing one).
[[nodiscard]] DeviceParams read_device_params(const std::filesystem::path& ini_file,
                                              std::error_code& error);

// A key that is missing or does not parse leaves its field at the default; a template row or
// light triple that parses partly sets the entries it parsed.
[[nodiscard]] DeviceParams device_params_from(const IniFile& ini);

} // namespace zemrak
