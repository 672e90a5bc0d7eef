#pragma once
// Rows that repeat (the stage rows, the bullet rows, the macro action rows) are built in code
// rather than from a layout file; these give their controls what a layout would.

#include <QString>
#include <QVariant>
#include <QWidget>

namespace zemrak::ui {

// A new control of type T under `parent`, carrying the control name the layout would give it.
template <typename T>
T* named_child(QWidget* parent, const QString& name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

// Sets a dynamic property the theme keys on. Style rules on dynamic properties are only read
// again when the widget is polished again, so a change re-polishes it.
void set_style_property(QWidget* widget, const char* name, const QVariant& value);
void set_style_flag(QWidget* widget, const char* name, bool on);

} // namespace zemrak::ui
