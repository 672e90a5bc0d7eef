#pragma once
// Reader of INI text in the Windows profile style, with the lookup rules of the Windows
// profile functions, and the small scanf-style parsers that the device settings use on the
// values it hands out.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zemrak {

// One INI file, read whole and kept in memory.
//
// Reading rules:
// - Lines end in LF or CRLF. A leading UTF-8 byte order mark is skipped; text that starts
//   with a UTF-16 byte order mark (either byte order) is decoded from UTF-16 first.
// - A line whose first non-blank character is ';' is a comment. There are no inline
//   comments: a ';' inside a value is part of the value.
// - "[name]" starts a section. The name runs to the first ']' (or to the end of the line
//   when there is none) and loses its surrounding blanks; text after the ']' is ignored.
// - "key = value" is an entry of the current section; key and value lose their surrounding
//   blanks. Lines without '=' and entries before the first section are ignored.
// - A value wrapped in a matching pair of single or double quotes loses the pair.
// - A value is cut to 4,095 UTF-16 units (the room of a 4,096-unit buffer with its
//   terminator), never inside a character.
//
// Lookup rules: section and key names are compared without regard to ASCII letter case.
// When a section name appears more than once, only the first section of that name is
// searched (keys under a repeated header are never found); within it the first entry with
// the key wins.
class IniFile {
public:
    // Longest value handed out, in UTF-16 units.
    static constexpr std::size_t kMaxValueUnits = 4095;

    // A file that is missing or cannot be read gives an empty IniFile; `error` says why a
    // file that exists was not read (empty for a missing one).
    [[nodiscard]] static IniFile load(const std::filesystem::path& file);
    [[nodiscard]] static IniFile load(const std::filesystem::path& file, std::error_code& error);
    [[nodiscard]] static IniFile parse(std::string_view text);

    // The value of the key, or nothing when the section or key is absent. A key written
    // with nothing after its '=' has the empty value.
    [[nodiscard]] std::optional<std::string> value(std::string_view section,
                                                   std::string_view key) const;

    // The value read as an integer by the platform's rule: a missing key or an empty value
    // gives the fallback. Otherwise leading blanks are skipped, an optional '+' or '-' is
    // taken, a "0x" or "0X" prefix selects hexadecimal, and digits are read up to the first
    // character that is not one; no digits give 0. Values beyond 32 bits wrap.
    [[nodiscard]] std::int32_t integer(std::string_view section, std::string_view key,
                                       std::int32_t fallback) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    std::vector<Section> m_sections;
};

// The scanf conversion "%04x": leading whitespace is skipped, then at most four characters
// are read: an optional sign, an optional "0x"/"0X" prefix and hexadecimal digits, all
// counted in the four. A '-' negates the value as an unsigned number. Nothing when no digit
// was read ("0x" alone reads as 0).
[[nodiscard]] std::optional<std::uint32_t> scan_hex4(std::string_view text);

// The scanf format of sixteen "%02x" conversions separated by literal commas. Each
// conversion skips leading whitespace; a literal comma must follow the previous conversion
// directly. Reading stops at the first conversion or comma that does not match. Returns how
// many bytes were read; only those are written (each the low eight bits of its conversion).
inline constexpr std::size_t kHexRowBytes = 16;
[[nodiscard]] std::size_t scan_hex_row(std::string_view text,
                                       std::span<std::uint8_t, kHexRowBytes> bytes);

// The scanf format "%d,%d,%d" with the same rules as scan_hex_row: up to three decimal
// numbers, each with optional sign; values beyond 32 bits wrap. Returns how many were read;
// only those are written.
inline constexpr std::size_t kIntTripleCount = 3;
[[nodiscard]] std::size_t scan_int_triple(std::string_view text,
                                          std::span<std::int32_t, kIntTripleCount> values);

} // namespace zemrak
