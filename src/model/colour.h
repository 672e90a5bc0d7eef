#pragma once

#include <cstdint>

namespace zemrak {

// A colour as the records store it: red in the lowest byte, then green, then blue, top byte
// zero (0x00BBGGRR).
using Colour = std::uint32_t;

[[nodiscard]] constexpr Colour make_colour(std::uint8_t red, std::uint8_t green,
                                           std::uint8_t blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}
[[nodiscard]] constexpr std::uint8_t red_of(Colour c) {
    return c & 0xFFu;
}
[[nodiscard]] constexpr std::uint8_t green_of(Colour c) {
    return (c >> 8) & 0xFFu;
}
[[nodiscard]] constexpr std::uint8_t blue_of(Colour c) {
    return (c >> 16) & 0xFFu;
}

} // namespace zemrak
