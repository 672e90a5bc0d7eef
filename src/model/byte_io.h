#pragma once
// Little-endian field access inside fixed-size byte images. Every stored record of the
// program is such an image; these helpers are the only place that knows the byte order.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zemrak {

// Longest name a 50-unit name field holds: the last unit is reserved for the terminator.
inline constexpr std::size_t kNameUnits = 50;
inline constexpr std::size_t kMaxNameLength = kNameUnits - 1;

[[nodiscard]] inline std::uint16_t load_u16(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void store_u16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFFu);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

[[nodiscard]] inline std::uint32_t load_u32(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline void store_u32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

[[nodiscard]] inline std::int32_t load_i32(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) {
    return static_cast<std::int32_t>(load_u32(bytes, offset));
}

inline void store_i32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    store_u32(bytes, offset, static_cast<std::uint32_t>(value));
}

// Lower-case hexadecimal digits of the bytes, two per byte, without separators.
[[nodiscard]] std::string to_hex(std::span<const std::uint8_t> bytes);

// Reads a UTF-16LE name of a 50-unit field: up to the first zero unit, and never more than
// 49 units, so a field without a terminator still gives a bounded name.
[[nodiscard]] std::u16string load_name(std::span<const std::uint8_t> bytes, std::size_t offset);

// Writes a name into a 50-unit field: at most 49 units are kept, the rest of the field is
// zeroed (which also terminates the name).
void store_name(std::span<std::uint8_t> bytes, std::size_t offset, std::u16string_view name);

} // namespace zemrak
