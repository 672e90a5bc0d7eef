#include "printable.h"

#include "model/unicode.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace zemrak::ctl {
namespace {

bool needs_escape(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

struct Decoded {
    char32_t character;
    std::size_t length;
};

// The character that starts `text`, or nothing when it does not start with well-formed UTF-8.
std::optional<Decoded> decode(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    // Length of the sequence, bits of the lead byte, the least character it may encode.
    struct Form {
        unsigned char mask;
        unsigned char pattern;
        std::size_t length;
        char32_t least;
    };
    constexpr std::array kForms{Form{0xE0, 0xC0, 2, 0x80}, Form{0xF0, 0xE0, 3, 0x800},
                                Form{0xF8, 0xF0, 4, 0x10000}};
    const Form* form = nullptr;
    for (const Form& f : kForms) {
        if ((lead & f.mask) == f.pattern) {
            form = &f;
        }
    }
    if (form == nullptr) {
        return std::nullopt;
    }
    const std::size_t length = form->length;
    const char32_t least = form->least;
    auto c = static_cast<char32_t>(lead & static_cast<unsigned char>(~form->mask));
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6U) | static_cast<char32_t>(next & 0x3FU);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{c, length};
}

// `\xNN` for a byte, `\u{NNNN}` for a character.
void append_byte_escape(std::string& out, unsigned byte) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "\\x%02x", byte);
    out += text.data();
}

void append_character_escape(std::string& out, char32_t c) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "\\u{%04x}", static_cast<unsigned>(c));
    out += text.data();
}

} // namespace

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::optional<Decoded> decoded = decode(utf8);
        if (!decoded) {
            append_byte_escape(out, static_cast<unsigned char>(utf8[0]));
            utf8.remove_prefix(1);
            continue;
        }
        const char32_t c = decoded->character;
        if (c == U'\\') {
            out += "\\\\";
        } else if (c == U'\n') {
            out += "\\n";
        } else if (c == U'\t') {
            out += "\\t";
        } else if (c == U'\r') {
            out += "\\r";
        } else if (c < 0x80 && needs_escape(c)) {
            append_byte_escape(out, static_cast<unsigned>(c));
        } else if (needs_escape(c)) {
            append_character_escape(out, c);
        } else {
            out += utf8.substr(0, decoded->length);
        }
        utf8.remove_prefix(decoded->length);
    }
    return out;
}

std::string printable(std::u16string_view name) {
    return printable(to_utf8(name));
}

std::string printable_path(const std::filesystem::path& path) {
    return printable(std::string_view(path.native()));
}

} // namespace zemrak::ctl
