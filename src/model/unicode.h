#pragma once
// UTF-8 / UTF-16 conversion and the case-insensitive name comparisons: of profile, folder and
// item names, and of the program's own ASCII names.

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

// True when both texts are the same, with only the letters A..Z matched to a..z: for names
// of settings and menu items, which are plain ASCII and must not depend on a locale.
[[nodiscard]] bool equal_ignoring_ascii_case(std::string_view a, std::string_view b);

} // namespace zemrak
