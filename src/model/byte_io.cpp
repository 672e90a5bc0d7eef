#include "model/byte_io.h"

#include <algorithm>

namespace zemrak {

std::u16string load_name(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::u16string name;
    for (std::size_t i = 0; i < kMaxNameLength; ++i) {
        const std::uint16_t unit = load_u16(bytes, offset + 2 * i);
        if (unit == 0) {
            break;
        }
        name.push_back(static_cast<char16_t>(unit));
    }
    return name;
}

std::string to_hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (const std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

void store_name(std::span<std::uint8_t> bytes, std::size_t offset, std::u16string_view name) {
    const std::size_t kept = std::min(name.size(), kMaxNameLength);
    for (std::size_t i = 0; i < kNameUnits; ++i) {
        const char16_t unit = i < kept ? name[i] : u'\0';
        store_u16(bytes, offset + 2 * i, static_cast<std::uint16_t>(unit));
    }
}

} // namespace zemrak
