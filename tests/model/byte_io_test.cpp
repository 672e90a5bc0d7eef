#include "model/byte_io.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(ByteIo, IntegersAreLittleEndianAndSigned) {
    std::array<std::uint8_t, 8> bytes{};
    store_i32(bytes, 0, -2);
    EXPECT_EQ((std::array<std::uint8_t, 4>{0xFE, 0xFF, 0xFF, 0xFF}),
              (std::array<std::uint8_t, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}));
    EXPECT_EQ(-2, load_i32(bytes, 0));
    store_u16(bytes, 4, 0x1234);
    EXPECT_EQ(0x34, bytes[4]);
    EXPECT_EQ(0x12, bytes[5]);
    EXPECT_EQ(0x1234, load_u16(bytes, 4));
}

TEST(ByteIo, NameWithoutTerminatorStopsAt49Units) {
    std::array<std::uint8_t, 2 * kNameUnits + 2> bytes{};
    for (std::size_t i = 0; i < kNameUnits + 1; ++i) {
        store_u16(bytes, 2 * i, u'x');
    }
    EXPECT_EQ(std::u16string(49, u'x'), load_name(bytes, 0));
}

TEST(ByteIo, StoringANameCutsIt49UnitsAndClearsTheRestOfTheField) {
    std::array<std::uint8_t, 2 * kNameUnits + 2> bytes{};
    bytes.fill(0xAA);
    store_name(bytes, 0, std::u16string(60, u'n'));
    EXPECT_EQ(std::u16string(49, u'n'), load_name(bytes, 0));
    EXPECT_EQ(0, load_u16(bytes, 2 * 49)) << "the last unit of the field terminates";
    EXPECT_EQ(0xAA, bytes[2 * kNameUnits]) << "nothing past the field is touched";

    store_name(bytes, 0, u"ab");
    EXPECT_EQ(u"ab", load_name(bytes, 0));
    for (std::size_t i = 4; i < 2 * kNameUnits; ++i) {
        ASSERT_EQ(0, bytes[i]) << "byte " << i;
    }
}

} // namespace
} // namespace zemrak
