#pragma once
// The number rules of the core applied to an edit of ours.

#include "model/number_text.h"

#include <cstdint>

class QLineEdit;

namespace zemrak::ui {

// The number the edit's text holds.
[[nodiscard]] std::int32_t edit_number(const QLineEdit* edit);

// The edit's number held within `limits`; when it was outside them the edit shows the limit
// instead.
std::int32_t hold_edit_number(QLineEdit* edit, NumberLimits limits);

// Takes every character other than a digit or '-' out of the edit's text. When anything was
// taken out the caret goes to the end; otherwise the text and the caret stay.
void filter_number_edit(QLineEdit* edit);

} // namespace zemrak::ui
