#include "ui/row_controls.h"

#include <QStyle>

namespace zemrak::ui {

void set_style_property(QWidget* widget, const char* name, const QVariant& value) {
    const QVariant current = widget->property(name);
    if (current.isValid() && current == value) {
        return;
    }
    widget->setProperty(name, value);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

void set_style_flag(QWidget* widget, const char* name, bool on) {
    set_style_property(widget, name, on);
}

} // namespace zemrak::ui
