#include "pages/performance/sensor_table.h"

#include "model/config_defaults.h"

#include <array>

namespace zemrak::pages {
namespace {

constexpr std::array<std::string_view, 12> k3050Texts = {
    "250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500", "4000",
};

// Codes of the 3212 whose DPI the sensor rounds to a step of its own instead of 40 x code.
struct Exception {
    std::int32_t code;
    std::string_view text;
};
constexpr std::array<Exception, 5> k3212Exceptions = {{
    {13, "500"},
    {31, "1250"},
    {38, "1500"},
    {44, "1750"},
    {63, "2500"},
}};

std::string text_3050(std::int32_t code) {
    if (code < 1 || code > static_cast<std::int32_t>(k3050Texts.size())) {
        return "1000";
    }
    return std::string(k3050Texts[static_cast<std::size_t>(code - 1)]);
}

std::string text_3212(std::int32_t code) {
    for (const Exception& exception : k3212Exceptions) {
        if (exception.code == code) {
            return std::string(exception.text);
        }
    }
    return std::to_string(std::int64_t{code} * 40);
}

// The 5050 takes a byte below 0x40 as steps of 125 DPI and a byte with 0x40 set as steps of
// 250 DPI in its low six bits; the codes map to bytes as the sensitivity report sends them.
std::string text_5050(std::int32_t code) {
    std::int32_t byte = 0x06;
    if (code >= 1 && code <= 10) {
        byte = code;
    } else if (code == 11) {
        byte = 0x01;
    } else if (code >= 12 && code <= 17) {
        byte = 0x46 + (code - 12);
    }
    const std::int32_t dpi = (byte & 0x40) != 0 ? (byte & 0x3F) * 250 : byte * 125;
    return std::to_string(dpi);
}

} // namespace

std::optional<StageRange> stage_range(std::int32_t sensor) {
    switch (sensor) {
    case kSensor3050:
        return StageRange{1, 12, "250", "4000"};
    case kSensor3212:
        return StageRange{5, 120, "200", "4800"};
    case kSensor3325:
        return StageRange{2, 100, "200", "10000"};
    case kSensor3327:
        return StageRange{2, 124, "200", "12400"};
    case kSensor5050:
        return StageRange{1, 17, "125", "2750"};
    default:
        return std::nullopt;
    }
}

std::string dpi_text(std::int32_t sensor, std::int32_t code) {
    switch (sensor) {
    case kSensor3050:
        return text_3050(code);
    case kSensor3212:
        return text_3212(code);
    case kSensor3325:
    case kSensor3327:
        return std::to_string(std::int64_t{code} * 100);
    case kSensor5050:
        return text_5050(code);
    default:
        return {};
    }
}

} // namespace zemrak::pages
