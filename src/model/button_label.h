#pragma once

#include <string>

namespace zemrak {

class ButtonRecord;
class TextTable;

// What a button shows for its record, in the language of `texts`: the label of its function;
// for a shortcut the set modifiers in the order Ctrl, Shift, Alt, Win, each followed by "+",
// then the key's name ("Ctrl+Shift+A", or "A" alone); for a macro or a recoil pattern the
// function's text followed by "folder-item". A code without a label of its own shows as a
// click.
[[nodiscard]] std::u16string button_label(const ButtonRecord& record, const TextTable& texts);

} // namespace zemrak
