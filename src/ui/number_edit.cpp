#include "ui/number_edit.h"

#include "ui/qt_text.h"

#include <QLineEdit>

namespace zemrak::ui {

std::int32_t edit_number(const QLineEdit* edit) {
    return read_number_text(to_u16string(edit->text()));
}

std::int32_t hold_edit_number(QLineEdit* edit, NumberLimits limits) {
    const HeldNumber held = hold_number_text(to_u16string(edit->text()), limits);
    if (held.rewrite) {
        edit->setText(to_qstring(*held.rewrite));
    }
    return held.value;
}

void filter_number_edit(QLineEdit* edit) {
    const FilteredText filtered = filter_number_text(to_u16string(edit->text()));
    if (!filtered.removed) {
        return;
    }
    const QString text = to_qstring(filtered.text);
    edit->setText(text);
    edit->setCursorPosition(static_cast<int>(text.size()));
}

} // namespace zemrak::ui
