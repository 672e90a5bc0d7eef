#include "device/colour_report.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

DeviceParams params_with_template() {
    DeviceParams params;
    for (std::size_t i = 0; i < params.colour_template.size(); ++i) {
        params.colour_template[i] = static_cast<std::uint8_t>(0xC0 + i);
    }
    return params;
}

TEST(ColourReport, DefaultColoursOverTheTemplate) {
    ConfigBlock block;
    fill_defaults(block, kSensor3050);
    const DeviceParams params = params_with_template();

    const std::array<std::uint8_t, 24> palette = {
        0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
        0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0xFF,
    };
    Payload expected = params.colour_template;
    std::ranges::copy(palette, expected.begin());
    std::ranges::copy(palette, expected.begin() + 24);

    EXPECT_EQ(expected, encode_colour_payload(block, params));
}

TEST(ColourReport, EachColourGoesRedGreenBlueToItsOwnSlot) {
    ConfigBlock block;
    fill_defaults(block, kSensor3050);
    block.set_cycle_colour(0, make_colour(0x12, 0x34, 0x56));
    block.set_cycle_colour(7, make_colour(0x01, 0x02, 0x03));
    // The top byte of a stored colour is not part of it.
    block.set_stage_colour(0, 0xEE654321u);
    block.set_stage_colour(7, make_colour(0xAB, 0xCD, 0xEF));

    const Payload payload = encode_colour_payload(block, params_with_template());
    const auto rgb_at = [&payload](std::size_t report_byte) {
        return std::array<std::uint8_t, 3>{payload[report_byte - 1], payload[report_byte],
                                           payload[report_byte + 1]};
    };
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x12, 0x34, 0x56}), rgb_at(1));
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x01, 0x02, 0x03}), rgb_at(22));
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x21, 0x43, 0x65}), rgb_at(25));
    EXPECT_EQ((std::array<std::uint8_t, 3>{0xAB, 0xCD, 0xEF}), rgb_at(46));
    EXPECT_EQ(0xF0, payload[48]); // report byte 49: template, untouched
}

} // namespace
} // namespace zemrak
