#include "device/sensitivity_report.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using StageBytes = std::array<std::uint8_t, 8>;

DeviceParams params_for(std::int32_t sensor) {
    DeviceParams params;
    params.sensor = sensor;
    for (std::size_t i = 0; i < params.sensitivity_template.size(); ++i) {
        params.sensitivity_template[i] = static_cast<std::uint8_t>(0x40 + i);
    }
    return params;
}

ButtonMap sample_map() {
    ButtonMap map{};
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return map;
}

ConfigBlock profile_for(std::int32_t sensor) {
    ConfigBlock block;
    fill_defaults(block, sensor);
    return block;
}

void set_codes(ConfigBlock& block, const std::array<std::int32_t, 8>& codes) {
    for (std::size_t stage = 0; stage < codes.size(); ++stage) {
        block.set_stage_dpi_code(stage, codes[stage]);
    }
}

Payload encode(const ConfigBlock& block, std::int32_t sensor) {
    return encode_sensitivity_payload(block, params_for(sensor), sample_map());
}

StageBytes stage_bytes(const Payload& payload) {
    StageBytes bytes{};
    std::copy_n(payload.begin() + 24, bytes.size(), bytes.begin());
    return bytes;
}

std::uint8_t halved_mask(const Payload& payload) {
    return payload[22];
}

TEST(SensitivityReport, LaysStagesAndButtonMapOverTheTemplate) {
    ConfigBlock block = profile_for(kSensor3050);
    block.set_stage_count(5);
    const DeviceParams params = params_for(kSensor3050);

    Payload expected = params.sensitivity_template;
    expected[6] = 0x05;
    expected[22] = 0x00;
    const StageBytes stages = {0x02, 0x03, 0x04, 0x05, 0x06, 0x08, 0x46, 0x48};
    std::ranges::copy(stages, expected.begin() + 24);
    std::ranges::copy(sample_map(), expected.begin() + 32);

    EXPECT_EQ(expected, encode_sensitivity_payload(block, params, sample_map()));
}

TEST(SensitivityReport, Sensor3050Codes) {
    ConfigBlock block = profile_for(kSensor3050);
    set_codes(block, {1, 8, 9, 10, 11, 12, 0, 13});
    EXPECT_EQ((StageBytes{0x01, 0x08, 0x45, 0x46, 0x47, 0x48, 0x06, 0x06}),
              stage_bytes(encode(block, kSensor3050)));
}

TEST(SensitivityReport, DisabledStageRepeatsTheNearestEnabledOneMarked) {
    ConfigBlock block = profile_for(kSensor3050);
    block.set_stage_enabled(2, false);
    block.set_stage_enabled(3, false);
    EXPECT_EQ((StageBytes{0x02, 0x03, 0x83, 0x83, 0x06, 0x08, 0x46, 0x48}),
              stage_bytes(encode(block, kSensor3050)));

    block.set_stage_enabled(0, false);
    EXPECT_EQ(0x80, stage_bytes(encode(block, kSensor3050))[0]);
}

TEST(SensitivityReport, Sensor3212Codes) {
    ConfigBlock block = profile_for(kSensor3212);
    set_codes(block, {100, 150, 63, 64, 126, 127, 0, 13});
    block.set_stage_enabled(6, false);
    EXPECT_EQ((StageBytes{0x72, 0xF2, 0x3F, 0x60, 0x7F, 0xEA, 0xEA, 0x0D}),
              stage_bytes(encode(block, kSensor3212)));
    EXPECT_EQ(0x00, halved_mask(encode(block, kSensor3212)));
}

TEST(SensitivityReport, Sensor5050Codes) {
    ConfigBlock block = profile_for(kSensor5050);
    set_codes(block, {10, 11, 12, 17, 18, 0, 1, 1});
    block.set_stage_enabled(7, false);
    EXPECT_EQ((StageBytes{0x0A, 0x01, 0x46, 0x4B, 0x06, 0x06, 0x01, 0x81}),
              stage_bytes(encode(block, kSensor5050)));
}

TEST(SensitivityReport, Sensor3325HalvesCodesAbove50) {
    ConfigBlock block = profile_for(kSensor3325);
    set_codes(block, {80, 50, 51, 1, 10, 20, 30, 40});
    // Disabled stages are encoded from their own codes on this sensor.
    block.set_stage_enabled(0, false);
    const Payload payload = encode(block, kSensor3325);
    EXPECT_EQ((StageBytes{92, 115, 57, 4, 22, 46, 69, 92}), stage_bytes(payload));
    EXPECT_EQ(0x05, halved_mask(payload));
}

TEST(SensitivityReport, Sensor3327DefaultsHalveTheLastTwoStages) {
    const Payload payload = encode(profile_for(kSensor3327), kSensor3327);
    EXPECT_EQ((StageBytes{23, 46, 69, 93, 116, 140, 81, 93}), stage_bytes(payload));
    EXPECT_EQ(0xC0, halved_mask(payload));
}

TEST(SensitivityReport, TableIndexIsClampedToTheTable) {
    ConfigBlock block = profile_for(kSensor3325);
    set_codes(block, {101, 102, 1000, -5, 0, 0, 0, 0});
    Payload payload = encode(block, kSensor3325);
    EXPECT_EQ((StageBytes{115, 115, 115, 0, 0, 0, 0, 0}), stage_bytes(payload));
    EXPECT_EQ(0x07, halved_mask(payload));

    set_codes(block, {127, 128, 300, -1, 62, 63, 0, 0});
    payload = encode(block, kSensor3327);
    EXPECT_EQ((StageBytes{0, 0, 0, 12, 145, 72, 12, 12}), stage_bytes(payload));
    EXPECT_EQ(0x27, halved_mask(payload));
}

TEST(SensitivityReport, UnknownSensorKeepsTemplateStageBytes) {
    for (const std::int32_t sensor : {-1, 1234}) {
        const DeviceParams params = params_for(sensor);
        const Payload payload =
            encode_sensitivity_payload(profile_for(kSensor3325), params, sample_map());
        EXPECT_TRUE(std::equal(payload.begin() + 24, payload.begin() + 32,
                               params.sensitivity_template.begin() + 24))
            << "sensor " << sensor;
        EXPECT_EQ(0x00, halved_mask(payload)) << "sensor " << sensor;
        EXPECT_EQ(0x08, payload[6]) << "sensor " << sensor;
        EXPECT_TRUE(std::ranges::equal(sample_map(), std::span(payload).subspan(32)));
    }
}

} // namespace
} // namespace zemrak
