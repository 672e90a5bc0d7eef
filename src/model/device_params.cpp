#include "model/device_params.h"

#include "model/unicode.h"

#include <span>
#include <string>

namespace zemrak {
namespace {

constexpr std::string_view kDefaultSection = "Default";
constexpr std::string_view kSensitivitySection = "BLOCK_4";
constexpr std::string_view kColourSection = "BLOCK_5";
constexpr std::array<std::string_view, DeviceParams::kTemplateRows> kRowKeys = {"0", "1", "2", "3"};
constexpr std::array<std::string_view, 3> kLightKeys = {"Light1", "Light2", "Light3"};

static_assert(DeviceParams::kTemplateSize == DeviceParams::kTemplateRows * kHexRowBytes);
static_assert(DeviceParams::kLightTimingEntries == kLightKeys.size() * kIntTripleCount);

void read_hex_id(const IniFile& ini, std::string_view key, std::uint32_t& id) {
    if (const std::optional<std::string> text = ini.value(kDefaultSection, key)) {
        if (const std::optional<std::uint32_t> parsed = scan_hex4(*text)) {
            id = *parsed;
        }
    }
}

void read_template(const IniFile& ini, std::string_view section,
                   std::array<std::uint8_t, DeviceParams::kTemplateSize>& bytes) {
    for (std::size_t row = 0; row < kRowKeys.size(); ++row) {
        if (const std::optional<std::string> text = ini.value(section, kRowKeys[row])) {
            const std::span<std::uint8_t, kHexRowBytes> target(bytes.data() + row * kHexRowBytes,
                                                               kHexRowBytes);
            static_cast<void>(scan_hex_row(*text, target));
        }
    }
}

void read_light_timing(const IniFile& ini,
                       std::array<std::uint8_t, DeviceParams::kLightTimingEntries>& timing) {
    for (std::size_t triple = 0; triple < kLightKeys.size(); ++triple) {
        const std::optional<std::string> text = ini.value(kDefaultSection, kLightKeys[triple]);
        if (!text) {
            continue;
        }
        std::array<std::int32_t, kIntTripleCount> values{};
        const std::size_t count = scan_int_triple(*text, values);
        for (std::size_t i = 0; i < count; ++i) {
            timing[triple * kIntTripleCount + i] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(values[i]) & 0xFFu);
        }
    }
}

[[nodiscard]] std::optional<std::array<std::uint8_t, DeviceParams::kPasswordSize>>
read_password(const IniFile& ini) {
    const std::optional<std::string> text = ini.value(kDefaultSection, "Password");
    if (!text) {
        return std::nullopt;
    }
    const std::u16string units = to_utf16(*text);
    if (units.size() != DeviceParams::kPasswordSize) {
        return std::nullopt;
    }
    std::array<std::uint8_t, DeviceParams::kPasswordSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(units[i] & 0xFFu);
    }
    return bytes;
}

} // namespace

DeviceParams read_device_params(const std::filesystem::path& ini_file) {
    return device_params_from(IniFile::load(ini_file));
}

DeviceParams read_device_params(const std::filesystem::path& ini_file, std::error_code& error) {
    return device_params_from(IniFile::load(ini_file, error));
}

DeviceParams device_params_from(const IniFile& ini) {
    DeviceParams params;
    read_hex_id(ini, "VID", params.vendor_id);
    read_hex_id(ini, "PID", params.product_id);
    params.stage_rows = ini.integer(kDefaultSection, "DPI", params.stage_rows);
    params.sensor = ini.integer(kDefaultSection, "Sensor", params.sensor);
    params.password = read_password(ini);
    read_template(ini, kSensitivitySection, params.sensitivity_template);
    read_template(ini, kColourSection, params.colour_template);
    read_light_timing(ini, params.light_timing);
    return params;
}

} // namespace zemrak
