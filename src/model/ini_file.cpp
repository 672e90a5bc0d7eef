#include "model/ini_file.h"

#include "model/unicode.h"
#include "platform/file_io.h"

#include <algorithm>
#include <limits>

namespace zemrak {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

constexpr std::uint32_t kNotDigit = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kNoWidthLimit = std::numeric_limits<std::size_t>::max();

// The blanks of the C locale's isspace, written out so that the locale plays no part.
[[nodiscard]] bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

[[nodiscard]] std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

[[nodiscard]] std::uint32_t digit_value(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint32_t>(c - 'A' + 10);
    }
    return kNotDigit;
}

[[nodiscard]] std::string utf16_to_utf8(std::string_view bytes, bool little_endian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(little_endian ? (first | (second << 8))
                                                            : ((first << 8) | second)));
    }
    return to_utf8(units);
}

// Cuts a UTF-8 value to at most IniFile::kMaxValueUnits UTF-16 units, at a character
// boundary. Four-byte sequences take two units (a surrogate pair); every other lead byte one.
void cut_to_buffer(std::string& value) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if ((byte & 0xC0u) == 0x80u) {
            continue;
        }
        const std::size_t width = (byte >= 0xF0u && byte <= 0xF7u) ? 2 : 1;
        if (units + width > IniFile::kMaxValueUnits) {
            value.resize(i);
            return;
        }
        units += width;
    }
}

[[nodiscard]] std::string stored_value(std::string_view raw) {
    std::string_view text = trim(raw);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    std::string value(text);
    cut_to_buffer(value);
    return value;
}

[[nodiscard]] std::int32_t profile_integer(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && is_blank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::uint32_t base = 10;
    if (pos + 1 < text.size() && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    std::uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const std::uint32_t digit = digit_value(text[pos]);
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

struct Scanned {
    std::uint32_t value = 0;
    std::size_t end = 0;
};

// One scanf integer conversion (%d for base 10, %x for base 16) starting at pos, reading at
// most `width` characters after the skipped whitespace. Nothing on a matching failure.
[[nodiscard]] std::optional<Scanned> scan_number(std::string_view text, std::size_t pos,
                                                 std::uint32_t base, std::size_t width) {
    while (pos < text.size() && is_blank(text[pos])) {
        ++pos;
    }
    std::size_t left = width;
    auto at = [&](auto accept) { return left > 0 && pos < text.size() && accept(text[pos]); };
    auto take = [&] {
        ++pos;
        --left;
    };

    bool negative = false;
    if (at([](char c) { return c == '+' || c == '-'; })) {
        negative = text[pos] == '-';
        take();
    }
    bool any_digit = false;
    if (base == 16 && at([](char c) { return c == '0'; })) {
        any_digit = true;
        take();
        if (at([](char c) { return c == 'x' || c == 'X'; })) {
            take();
        }
    }
    std::uint32_t value = 0;
    while (at([base](char c) { return digit_value(c) < base; })) {
        value = value * base + digit_value(text[pos]);
        any_digit = true;
        take();
    }
    if (!any_digit) {
        return std::nullopt;
    }
    return Scanned{negative ? 0u - value : value, pos};
}

// Conversions separated by literal commas, as in "%02x,%02x,...": stops at the first comma or
// conversion that does not match and returns how many conversions were stored.
template <typename Store>
[[nodiscard]] std::size_t scan_comma_list(std::string_view text, std::size_t count,
                                          std::uint32_t base, std::size_t width, Store store) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return i;
            }
            ++pos;
        }
        const std::optional<Scanned> scanned = scan_number(text, pos, base, width);
        if (!scanned) {
            return i;
        }
        store(i, scanned->value);
        pos = scanned->end;
    }
    return count;
}

} // namespace

IniFile IniFile::load(const std::filesystem::path& file) {
    std::error_code ignored;
    return load(file, ignored);
}

IniFile IniFile::load(const std::filesystem::path& file, std::error_code& error) {
    std::vector<std::uint8_t> bytes;
    error = read_file(file, bytes);
    if (error) {
        if (file_missing(error)) {
            error.clear();
        }
        return {};
    }
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

IniFile IniFile::parse(std::string_view text) {
    std::string decoded;
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    } else if (text.starts_with(kUtf16LeBom) || text.starts_with(kUtf16BeBom)) {
        decoded = utf16_to_utf8(text.substr(2), text.starts_with(kUtf16LeBom));
        text = decoded;
    }

    IniFile ini;
    bool in_section = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            line.remove_prefix(1);
            ini.m_sections.push_back({std::string(trim(line.substr(0, line.find(']')))), {}});
            in_section = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !in_section) {
            continue;
        }
        ini.m_sections.back().entries.push_back(
            {std::string(trim(line.substr(0, equals))), stored_value(line.substr(equals + 1))});
    }
    return ini;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto found =
        std::find_if(m_sections.begin(), m_sections.end(), [section](const Section& s) {
            return equal_ignoring_ascii_case(s.name, section);
        });
    if (found == m_sections.end()) {
        return std::nullopt;
    }
    for (const Entry& entry : found->entries) {
        if (equal_ignoring_ascii_case(entry.key, key)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

std::int32_t IniFile::integer(std::string_view section, std::string_view key,
                              std::int32_t fallback) const {
    const std::optional<std::string> text = value(section, key);
    if (!text || text->empty()) {
        return fallback;
    }
    return profile_integer(*text);
}

std::optional<std::uint32_t> scan_hex4(std::string_view text) {
    const std::optional<Scanned> scanned = scan_number(text, 0, 16, 4);
    if (!scanned) {
        return std::nullopt;
    }
    return scanned->value;
}

std::size_t scan_hex_row(std::string_view text, std::span<std::uint8_t, kHexRowBytes> bytes) {
    return scan_comma_list(text, kHexRowBytes, 16, 2, [bytes](std::size_t i, std::uint32_t v) {
        bytes[i] = static_cast<std::uint8_t>(v & 0xFFu);
    });
}

std::size_t scan_int_triple(std::string_view text,
                            std::span<std::int32_t, kIntTripleCount> values) {
    return scan_comma_list(
        text, kIntTripleCount, 10, kNoWidthLimit,
        [values](std::size_t i, std::uint32_t v) { values[i] = static_cast<std::int32_t>(v); });
}

} // namespace zemrak
