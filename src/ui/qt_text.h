#pragma once
// Names travel as UTF-16 in the records and in Qt alike; these convert without re-encoding.
// The core's own texts (text keys, DPI texts) are UTF-8.

#include <QString>
#include <string>
#include <string_view>

namespace zemrak::ui {

[[nodiscard]] inline QString to_qstring(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] inline QString to_qstring(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

[[nodiscard]] inline std::u16string to_u16string(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace zemrak::ui
