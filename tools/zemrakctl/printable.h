#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zemrak::ctl {

// A name or a path made safe to print as one field of a line. Names come from files that
// users share: a control character in one could end the line early, forge the next one or
// send a terminal escape sequence. Control characters (U+0000-U+001F, U+007F-U+009F), the
// line and paragraph separators, the bidirectional controls and bytes that are not UTF-8
// are written as escapes (\n, \t, \r, \xNN for a byte, \u{NNNN} for a character); a
// backslash is written as two, so that every output is read back one way.
[[nodiscard]] std::string printable(std::string_view utf8);
[[nodiscard]] std::string printable(std::u16string_view name);
[[nodiscard]] std::string printable_path(const std::filesystem::path& path);

} // namespace zemrak::ctl
