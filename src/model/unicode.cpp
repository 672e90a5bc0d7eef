#include "model/unicode.h"

#include <algorithm>
#include <cstdint>

namespace zemrak {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at text[pos]; advances pos past what it consumed.
char32_t decode_utf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0u) == 0xC0u) {
        extra = 1;
        cp = lead & 0x1Fu;
        min = 0x80;
    } else if ((lead & 0xF0u) == 0xE0u) {
        extra = 2;
        cp = lead & 0x0Fu;
        min = 0x800;
    } else if ((lead & 0xF8u) == 0xF0u) {
        extra = 3;
        cp = lead & 0x07u;
        min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size()) {
            return kReplacement;
        }
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0u) != 0x80u) {
            return kReplacement;
        }
        cp = (cp << 6) | (next & 0x3Fu);
        ++pos;
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return (cp < min || cp > 0x10FFFF || surrogate) ? kReplacement : cp;
}

void append_utf8(std::string& out, char32_t cp) {
    auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::u16string to_utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decode_utf8(utf8, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string to_utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                 (static_cast<char32_t>(utf16[i + 1]) - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            cp = kReplacement;
        }
        append_utf8(out, cp);
    }
    return out;
}

char16_t fold_case(char16_t unit) {
    const auto u = static_cast<std::uint32_t>(unit);
    auto shifted = [](std::uint32_t v) { return static_cast<char16_t>(v); };
    if (u >= u'A' && u <= u'Z') {
        return shifted(u + 0x20);
    }
    if (u < 0xC0) {
        return unit;
    }
    if (u <= 0xDE && u != 0xD7) { // Latin-1 capitals, except the multiplication sign
        return shifted(u + 0x20);
    }
    if (u >= 0x100 && u <= 0x137) { // Latin Extended-A, capitals on even units
        return shifted(u | 1u);
    }
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) { // capitals on odd units
        return (u & 1u) ? shifted(u + 1) : unit;
    }
    if (u >= 0x14A && u <= 0x177) {
        return shifted(u | 1u);
    }
    if (u == 0x178) {
        return u'\u00FF';
    }
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) { // Greek capitals
        return shifted(u + 0x20);
    }
    if (u >= 0x400 && u <= 0x40F) { // Cyrillic capitals with marks
        return shifted(u + 0x50);
    }
    if (u >= 0x410 && u <= 0x42F) { // Cyrillic basic capitals
        return shifted(u + 0x20);
    }
    return unit;
}

bool equal_ignoring_case(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return fold_case(x) == fold_case(y); });
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [lower](char x, char y) { return lower(x) == lower(y); });
}

} // namespace zemrak
