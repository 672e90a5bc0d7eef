#pragma once
// The fields where a number is typed (delays, movements, counts) share their rules: how the
// text is read, how the number is held within the field's limits, and which characters the
// movement fields let through.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zemrak {

// The number a field's text holds: leading blanks skipped, an optional sign, then decimal
// digits up to the first other character. Text without digits reads as 0; a number beyond 32
// bits stops at the nearest int32 limit.
[[nodiscard]] std::int32_t read_number_text(std::u16string_view text);

// The smallest and the largest number a field takes.
struct NumberLimits {
    std::int32_t low = 0;
    std::int32_t high = 0;
};

// A typed number after the field's limits have been applied.
struct HeldNumber {
    std::int32_t value = 0;
    // The text the field shows instead of what was typed, when the number was outside the
    // limits: the limit itself. Nothing when the typed text stays.
    std::optional<std::u16string> rewrite;
};

// The number of `text` held within `limits`.
[[nodiscard]] HeldNumber hold_number_text(std::u16string_view text, NumberLimits limits);

// What a movement field keeps of its text: the digits and '-', in their order.
struct FilteredText {
    std::u16string text;
    // Whether anything was taken out; the field's text then has to be replaced.
    bool removed = false;
};

[[nodiscard]] FilteredText filter_number_text(std::u16string_view text);

} // namespace zemrak
