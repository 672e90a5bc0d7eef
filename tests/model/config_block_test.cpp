#include "model/config_block.h"
#include "model/config_defaults.h"

#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

std::int32_t i32_at(const ConfigBlock& block, std::size_t offset) {
    return load_i32(block.bytes(), offset);
}

ConfigBlock defaults_for(std::int32_t sensor) {
    ConfigBlock block;
    fill_defaults(block, sensor);
    return block;
}

struct SensorCase {
    std::int32_t sensor;
    std::array<std::int32_t, 8> codes;
};

class DefaultsPerSensor : public ::testing::TestWithParam<SensorCase> {};

TEST_P(DefaultsPerSensor, StageCodesLandInBothArraysAtTheirOffsets) {
    const SensorCase& c = GetParam();
    const ConfigBlock block = defaults_for(c.sensor);
    for (std::size_t stage = 0; stage < 8; ++stage) {
        EXPECT_EQ(c.codes[stage], i32_at(block, 136 + 4 * stage)) << "stage " << stage;
        EXPECT_EQ(c.codes[stage], i32_at(block, 168 + 4 * stage)) << "copy of stage " << stage;
        EXPECT_EQ(1, block.bytes()[200 + stage]) << "stage " << stage << " enabled";
    }
}

INSTANTIATE_TEST_SUITE_P(AllSensors, DefaultsPerSensor,
                         ::testing::Values(SensorCase{3050, {2, 3, 4, 5, 6, 8, 10, 12}},
                                           SensorCase{3212, {13, 26, 52, 78, 86, 90, 100, 120}},
                                           SensorCase{3325, {10, 20, 30, 40, 50, 60, 70, 80}},
                                           SensorCase{3327, {10, 20, 30, 40, 50, 60, 70, 80}},
                                           SensorCase{5050, {}}, SensorCase{-1, {}},
                                           SensorCase{1234, {}}),
                         [](const ::testing::TestParamInfo<SensorCase>& param_info) {
                             return param_info.param.sensor < 0
                                        ? std::string("no_sensor")
                                        : "sensor" + std::to_string(param_info.param.sensor);
                         });

TEST(ConfigBlockDefaults, HeadFieldsSitAtTheirStoredOffsets) {
    const ConfigBlock block = defaults_for(3050);
    const std::vector<std::pair<std::size_t, std::int32_t>> expected = {
        {100, 6},  {104, 3}, {108, 5},  {112, 0},    {116, 0}, {120, 10},
        {124, 10}, {128, 2}, {132, 0},  {240, 8},    {244, 4}, {248, 10},
        {252, 3},  {256, 1}, {260, 15}, {264, 0xFF}, {308, 0},
    };
    for (const auto& [offset, value] : expected) {
        EXPECT_EQ(value, i32_at(block, offset)) << "offset " << offset;
    }
    const std::array<std::uint8_t, 8> reserved_c = {1, 1, 1, 1, 1, 1, 1, 0};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(reserved_c[i], block.bytes()[268 + i]);
    }
    const std::array<std::uint32_t, 8> palette = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                                  0xFF00FF, 0xFFFF00, 0x0080FF, 0xFFFFFF};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(palette[i], load_u32(block.bytes(), 208 + 4 * i)) << "stage colour " << i;
        EXPECT_EQ(palette[i], load_u32(block.bytes(), 276 + 4 * i)) << "cycle colour " << i;
    }
    EXPECT_EQ(u"", block.name()) << "defaults do not name the profile";
}

TEST(ConfigBlockDefaults, ButtonRecordsGetIndexCodesAndNoAssignments) {
    const std::array<std::uint8_t, 32> codes = {1,  2, 3, 4, 5, 7, 8,  0, 0, 0, 0, 0, 0, 0, 11, 12,
                                                25, 2, 3, 4, 5, 6, 50, 0, 0, 0, 0, 0, 0, 0, 11, 12};
    const std::array<std::uint8_t, 32> codes_b = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                  0, 0, 0, 0, 1, 2, 3, 4, 5, 7, 8, 0, 0, 0, 0, 0};
    ConfigBlock block;
    block.bytes()[312 + 5 * 1596 + 600] = 0x77; // garbage in a reserved button byte
    fill_defaults(block, 3327);
    for (std::size_t n = 0; n < 32; ++n) {
        const std::size_t base = 312 + n * 1596;
        SCOPED_TRACE("record " + std::to_string(n));
        EXPECT_EQ(n, block.bytes()[base + 200]);
        EXPECT_EQ(codes[n], block.bytes()[base + 201]);
        EXPECT_EQ(codes_b[n], block.bytes()[base + 202]);
        EXPECT_EQ(-1, i32_at(block, base + 204));
        EXPECT_EQ(-1, i32_at(block, base + 208));
        EXPECT_EQ(255, i32_at(block, base + 1112));
        EXPECT_EQ(u"", block.button(n).item_name());
    }
    EXPECT_EQ(0, block.bytes()[312 + 5 * 1596 + 600]) << "the button area is zeroed first";
}

TEST(ConfigBlockDefaults, FillingKeepsTheName) {
    ConfigBlock block;
    block.set_name(u"Mine");
    fill_defaults(block, 3050);
    EXPECT_EQ(u"Mine", block.name());
}

TEST(ConfigBlock, GameModeButtonOneIsRecordSixteen) {
    ConfigBlock block;
    block.button(16).set_function_code(26);
    block.button(16).set_item_name(u"Spray");
    EXPECT_EQ(26, block.bytes()[25'848 + 201]);
    EXPECT_EQ(u'S', load_u16(block.bytes(), 25'848 + 100));
}

TEST(ConfigBlock, AccessorsWriteTheDocumentedBytes) {
    ConfigBlock block;
    block.set_polling_rate_index(3);
    block.set_stage_dpi_code(7, 120);
    block.set_stage_enabled(2, false);
    block.set_stage_colour(1, 0x00123456);
    block.set_cycle_colour(7, 0x00ABCDEF);
    block.set_fixed_colour(0x00010203);
    ButtonRecord& record = block.button(31);
    record.set_shortcut_modifiers(ButtonRecord::kCtrl | ButtonRecord::kWin);
    record.set_shortcut_key(4);
    record.set_action_count(30);
    record.set_loop_count(-7);
    record.recoil_data()[359] = 0x5A;
    MacroAction action;
    action.set_code(0xF0);
    action.set_kind(MacroAction::Release);
    action.set_delay(1500);
    action.set_move_x(-3);
    record.set_action(29, action);

    const auto bytes = block.bytes();
    const std::size_t base = 312 + 31 * 1596;
    EXPECT_EQ(3, i32_at(block, 128));
    EXPECT_EQ(120, i32_at(block, 136 + 28));
    EXPECT_EQ(0, bytes[202]);
    EXPECT_EQ(0x00123456u, load_u32(bytes, 212));
    EXPECT_EQ(0x00ABCDEFu, load_u32(bytes, 276 + 28));
    EXPECT_EQ(0x00010203u, load_u32(bytes, 264));
    EXPECT_EQ(0x09, bytes[base + 220]);
    EXPECT_EQ(4, bytes[base + 221]);
    EXPECT_EQ(30, load_u16(bytes, base + 226));
    EXPECT_EQ(-7, i32_at(block, base + 228));
    EXPECT_EQ(0x5A, bytes[base + 752 + 359]);
    const std::size_t slot = base + 1116 + 29 * 16;
    EXPECT_EQ(0xF0, bytes[slot + 1]);
    EXPECT_EQ(2, bytes[slot + 2]);
    EXPECT_EQ(1500, load_u16(bytes, slot + 4));
    EXPECT_EQ(-3, i32_at(block, slot + 8));
    EXPECT_EQ(action, record.action(29));
}

TEST(ConfigBlock, OutOfRangeElementsReadZeroAndIgnoreWrites) {
    ConfigBlock block;
    const ConfigBlock before = block;
    block.set_stage_dpi_code(8, 99);
    block.set_stage_colour(8, 1);
    block.set_cycle_colour(100, 1);
    block.set_stage_enabled(8, true);
    MacroAction action;
    action.set_code(9);
    block.button(31).set_action(30, action);
    EXPECT_EQ(before, block);
    EXPECT_EQ(0, block.stage_dpi_code(8));
    EXPECT_FALSE(block.stage_enabled(8));
    EXPECT_EQ(MacroAction{}, block.button(0).action(30));
}

} // namespace
} // namespace zemrak
