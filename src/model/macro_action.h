#pragma once

#include "model/byte_io.h"

#include <array>
#include <cstdint>

namespace zemrak {

// One macro action as a button record carries it (16 bytes). Bytes 0, 3, 6 and 7 are carried
// but have no meaning here.
class MacroAction {
public:
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kCodeOffset = 1;
    static constexpr std::size_t kKindOffset = 2;
    static constexpr std::size_t kDelayOffset = 4;
    static constexpr std::size_t kMoveXOffset = 8;
    static constexpr std::size_t kMoveYOffset = 12;

    enum Kind : std::uint8_t { Move = 0, Press = 1, Release = 2 };

    [[nodiscard]] std::uint8_t code() const { return m_bytes[kCodeOffset]; }
    void set_code(std::uint8_t code) { m_bytes[kCodeOffset] = code; }
    [[nodiscard]] std::uint8_t kind() const { return m_bytes[kKindOffset]; }
    void set_kind(std::uint8_t kind) { m_bytes[kKindOffset] = kind; }
    // Delay in milliseconds.
    [[nodiscard]] std::uint16_t delay() const { return load_u16(m_bytes, kDelayOffset); }
    void set_delay(std::uint16_t ms) { store_u16(m_bytes, kDelayOffset, ms); }
    [[nodiscard]] std::int32_t move_x() const { return load_i32(m_bytes, kMoveXOffset); }
    void set_move_x(std::int32_t dx) { store_i32(m_bytes, kMoveXOffset, dx); }
    [[nodiscard]] std::int32_t move_y() const { return load_i32(m_bytes, kMoveYOffset); }
    void set_move_y(std::int32_t dy) { store_i32(m_bytes, kMoveYOffset, dy); }

    [[nodiscard]] std::span<std::uint8_t, kSize> bytes() { return m_bytes; }
    [[nodiscard]] std::span<const std::uint8_t, kSize> bytes() const { return m_bytes; }

    friend bool operator==(const MacroAction&, const MacroAction&) = default;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

static_assert(sizeof(MacroAction) == MacroAction::kSize);
static_assert(MacroAction::kMoveYOffset + 4 == MacroAction::kSize);

} // namespace zemrak
