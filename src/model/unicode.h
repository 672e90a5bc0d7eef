#pragma once
// UTF-8 / UTF-16 conversion and the case-insensitive name comparison used for profile,
// folder and item names.

#include <string>
#include <string_view>

namespace zemrak {

// Invalid UTF-8 sequences become U+FFFD; nothing fails.
[[nodiscard]] std::u16string to_utf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD; nothing fails.
[[nodiscard]] std::string to_utf8(std::u16string_view utf16);

// Simple lower-case mapping of one UTF-16 unit, covering ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic: the scripts that profile and macro names are written in.
[[nodiscard]] char16_t fold_case(char16_t unit);

// True when both names are the same, compared without regard to letter case.
[[nodiscard]] bool equal_ignoring_case(std::u16string_view a, std::u16string_view b);

} // namespace zemrak
