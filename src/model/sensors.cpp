#include "model/sensors.h"

#include <algorithm>
#include <span>

namespace zemrak {
namespace {

[[nodiscard]] constexpr std::uint8_t low_byte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

// Codes 1..8 go out as they are, 9..12 as 0x45..0x48.
[[nodiscard]] constexpr StageByte byte_3050(std::int32_t code) {
    if (code >= 1 && code <= 8) {
        return {low_byte(code)};
    }
    if (code >= 9 && code <= 12) {
        return {low_byte(0x45 + (code - 9))};
    }
    return {0x06};
}

// Small codes go out as they are; larger ones as a half or a third with the scale in the top
// two bits.
[[nodiscard]] constexpr StageByte byte_3212(std::int32_t code) {
    if (code < 64) {
        return {low_byte(code)};
    }
    if (code <= 126) {
        return {low_byte((code / 2) | 0x40)};
    }
    return {low_byte((code / 3) | 0xC0)};
}

// A byte below 0x40 counts steps of 125 DPI, one with 0x40 set steps of 250 DPI.
constexpr std::uint8_t k5050CoarseSteps = 0x40;

[[nodiscard]] constexpr StageByte byte_5050(std::int32_t code) {
    if (code >= 1 && code <= 10) {
        return {low_byte(code)};
    }
    if (code == 11) {
        return {0x01};
    }
    if (code >= 12 && code <= 17) {
        return {low_byte(0x46 + (code - 12))};
    }
    return {0x06};
}

constexpr std::array<std::uint8_t, 51> kTable3325 = {
    0,  4,  4,  6,  8,  11, 13, 15, 18, 20, 22,  25,  27,  29,  32,  34,  36,
    39, 41, 43, 46, 48, 50, 52, 55, 57, 59, 62,  64,  66,  69,  71,  73,  76,
    78, 80, 83, 85, 87, 90, 92, 94, 97, 99, 101, 104, 106, 108, 111, 113, 115,
};

constexpr std::array<std::uint8_t, 64> kTable3327 = {
    12,  4,   4,   6,   9,   11,  14,  16,  18,  21,  23,  25,  27,  29,  32,  34,
    36,  39,  41,  43,  46,  48,  50,  52,  55,  57,  59,  62,  64,  66,  69,  72,
    74,  77,  78,  81,  84,  85,  88,  91,  93,  95,  98,  100, 102, 105, 107, 109,
    112, 114, 116, 119, 121, 123, 126, 128, 130, 133, 135, 137, 140, 142, 145, 0,
};

// A code above the threshold is halved first. Codes the sliders cannot produce are clamped
// into the table instead of reading past it.
[[nodiscard]] constexpr StageByte table_byte(std::int32_t code, std::int32_t threshold,
                                             std::span<const std::uint8_t> table) {
    const bool halved = code > threshold;
    const std::int32_t entry = halved ? code / 2 : code;
    const auto last = static_cast<std::int32_t>(table.size() - 1);
    return {table[static_cast<std::size_t>(std::clamp(entry, 0, last))], halved};
}

[[nodiscard]] constexpr StageByte byte_3325(std::int32_t code) {
    return table_byte(code, 50, kTable3325);
}

[[nodiscard]] constexpr StageByte byte_3327(std::int32_t code) {
    return table_byte(code, 62, kTable3327);
}

constexpr std::array<std::string_view, 12> k3050Texts = {
    "250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500", "4000",
};

std::string text_3050(std::int32_t code) {
    if (code < 1 || code > static_cast<std::int32_t>(k3050Texts.size())) {
        return "1000";
    }
    return std::string(k3050Texts[static_cast<std::size_t>(code - 1)]);
}

// Codes of the 3212 whose DPI the sensor rounds to a step of its own instead of 40 x code.
struct Rounded {
    std::int32_t code;
    std::string_view text;
};
constexpr std::array<Rounded, 5> k3212Rounded = {{
    {13, "500"},
    {31, "1250"},
    {38, "1500"},
    {44, "1750"},
    {63, "2500"},
}};

std::string text_3212(std::int32_t code) {
    for (const Rounded& rounded : k3212Rounded) {
        if (rounded.code == code) {
            return std::string(rounded.text);
        }
    }
    return std::to_string(std::int64_t{code} * 40);
}

std::string text_hundreds(std::int32_t code) {
    return std::to_string(std::int64_t{code} * 100);
}

std::string text_5050(std::int32_t code) {
    const std::uint8_t byte = byte_5050(code).byte;
    const int dpi =
        (byte & k5050CoarseSteps) != 0 ? (byte & (k5050CoarseSteps - 1)) * 250 : byte * 125;
    return std::to_string(dpi);
}

struct Sensor {
    std::int32_t type;
    StageCodes default_codes;
    StageRange range;
    StageByte (*byte)(std::int32_t code);
    std::string (*text)(std::int32_t code);
    // The sensor gets a skipped stage's own code rather than a repeat of an earlier one.
    bool encodes_skipped;
};

constexpr StageCodes kTensOfCodes = {10, 20, 30, 40, 50, 60, 70, 80};

// The 5050 has no default codes: a new profile leaves its stages at 0.
constexpr auto kSensors = std::to_array<Sensor>({
    {kSensor3050, {2, 3, 4, 5, 6, 8, 10, 12}, {1, 12, "250", "4000"}, byte_3050, text_3050, false},
    {kSensor3212,
     {13, 26, 52, 78, 86, 90, 100, 120},
     {5, 120, "200", "4800"},
     byte_3212,
     text_3212,
     false},
    {kSensor3325, kTensOfCodes, {2, 100, "200", "10000"}, byte_3325, text_hundreds, true},
    {kSensor3327, kTensOfCodes, {2, 124, "200", "12400"}, byte_3327, text_hundreds, true},
    {kSensor5050, {}, {1, 17, "125", "2750"}, byte_5050, text_5050, false},
});

[[nodiscard]] const Sensor* find_sensor(std::int32_t type) {
    const auto* found = std::ranges::find(kSensors, type, &Sensor::type);
    return found == kSensors.end() ? nullptr : found;
}

} // namespace

bool is_known_sensor(std::int32_t sensor) {
    return find_sensor(sensor) != nullptr;
}

StageCodes default_stage_codes(std::int32_t sensor) {
    const Sensor* found = find_sensor(sensor);
    return found == nullptr ? StageCodes{} : found->default_codes;
}

std::optional<StageRange> stage_range(std::int32_t sensor) {
    const Sensor* found = find_sensor(sensor);
    return found == nullptr ? std::nullopt : std::optional(found->range);
}

std::string dpi_text(std::int32_t sensor, std::int32_t code) {
    const Sensor* found = find_sensor(sensor);
    return found == nullptr ? std::string() : found->text(code);
}

std::optional<StageByte> stage_byte(std::int32_t sensor, std::int32_t code) {
    const Sensor* found = find_sensor(sensor);
    return found == nullptr ? std::nullopt : std::optional(found->byte(code));
}

bool encodes_skipped_stages(std::int32_t sensor) {
    const Sensor* found = find_sensor(sensor);
    return found != nullptr && found->encodes_skipped;
}

} // namespace zemrak
