#include "model/config_defaults.h"

#include "model/button_functions.h"
#include "model/colour.h"
#include "model/sensors.h"

#include <array>

namespace zemrak {
namespace {

// Red, green, blue, yellow, magenta, cyan, orange, white.
constexpr std::array<Colour, 8> kPalette = {
    make_colour(0xFF, 0, 0),    make_colour(0, 0xFF, 0),       make_colour(0, 0, 0xFF),
    make_colour(0xFF, 0xFF, 0), make_colour(0xFF, 0, 0xFF),    make_colour(0, 0xFF, 0xFF),
    make_colour(0xFF, 0x80, 0), make_colour(0xFF, 0xFF, 0xFF),
};

constexpr std::array<std::uint8_t, 8> kReservedC = {1, 1, 1, 1, 1, 1, 1, 0};

constexpr std::int32_t kNoLibraryPosition = -1;
constexpr Colour kDefaultRecoilColour = 255;

void fill_head_defaults(ConfigBlock& block, std::int32_t sensor) {
    auto head = block.head();
    block.set_pointer_speed(6);
    block.set_wheel_lines(3);
    block.set_double_click_level(5);
    block.set_enhance_precision(0);
    block.set_page_scroll(0);
    store_i32(head, ConfigBlock::kReservedAOffset, 10);
    store_i32(head, ConfigBlock::kReservedBOffset, 10);
    block.set_polling_rate_index(2);
    block.set_active_stage(0);
    const auto codes = default_stage_codes(sensor);
    for (std::size_t stage = 0; stage < ConfigBlock::kStages; ++stage) {
        block.set_stage_dpi_code(stage, codes[stage]);
        block.set_stage_dpi_code_copy(stage, codes[stage]);
        block.set_stage_enabled(stage, true);
        block.set_stage_colour(stage, kPalette[stage]);
        block.set_cycle_colour(stage, kPalette[stage]);
    }
    block.set_stage_count(8);
    block.set_light_mode(4);
    block.set_light_brightness(10);
    block.set_light_frequency(3);
    block.set_colour_mode(1);
    block.set_light_length(15);
    block.set_fixed_colour(make_colour(0xFF, 0, 0));
    for (std::size_t i = 0; i < kReservedC.size(); ++i) {
        head[ConfigBlock::kReservedCOffset + i] = kReservedC[i];
    }
    block.set_button_mode(0);
}

} // namespace

void fill_defaults(ConfigBlock& block, std::int32_t sensor) {
    fill_head_defaults(block, sensor);
    for (std::size_t n = 0; n < ConfigBlock::kButtonCount; ++n) {
        ButtonRecord& record = block.button(n);
        record = ButtonRecord{};
        record.set_index(static_cast<std::uint8_t>(n));
        record.set_function_code(default_function_code(n));
        record.set_function_code_b(default_function_code_b(n));
        record.set_recoil_index(kNoLibraryPosition);
        record.set_macro_index(kNoLibraryPosition);
        record.set_recoil_colour(kDefaultRecoilColour);
    }
}

} // namespace zemrak
