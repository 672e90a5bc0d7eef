#include "model/button_label.h"

#include "model/button_functions.h"
#include "model/button_record.h"
#include "model/key_tables.h"
#include "model/text_table.h"
#include "model/unicode.h"

#include <array>
#include <utility>

namespace zemrak {
namespace {

[[nodiscard]] std::u16string text(const TextTable& texts, std::string_view key) {
    return to_utf16(texts.text(key));
}

[[nodiscard]] std::u16string shortcut_label(const ButtonRecord& record, const TextTable& texts) {
    constexpr std::array<std::pair<std::uint8_t, std::string_view>, 4> kModifiers{{
        {ButtonRecord::kCtrl, "ctrl_text"},
        {ButtonRecord::kShift, "shift_text"},
        {ButtonRecord::kAlt, "alt_text"},
        {ButtonRecord::kWin, "win_text"},
    }};
    std::u16string label;
    for (const auto& [bit, key] : kModifiers) {
        if ((record.shortcut_modifiers() & bit) != 0) {
            label += text(texts, key) + u"+";
        }
    }
    return label + text(texts, key_name_key(record.shortcut_key()));
}

[[nodiscard]] std::u16string item_label(const ButtonRecord& record, const TextTable& texts,
                                        std::string_view function_key) {
    return text(texts, function_key) + record.folder_name() + u"-" + record.item_name();
}

} // namespace

std::u16string button_label(const ButtonRecord& record, const TextTable& texts) {
    switch (record.function_code()) {
    case kShortcutFunction:
        return shortcut_label(record, texts);
    case kMacroFunction:
        return item_label(record, texts, "set_macro_text");
    case kRecoilFunction:
        return item_label(record, texts, "set_gun_text");
    default:
        return text(texts, function_label_key(record.function_code()));
    }
}

} // namespace zemrak
