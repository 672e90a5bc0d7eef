#pragma once
// What makes a window of ours usable from the keyboard alone: Tab in reading order, Return on
// buttons, and keys that step through the window's sections.

#include <QList>

class QAbstractButton;
class QWidget;

namespace zemrak::ui {

// The controls under `root` that take the focus, in the order a reader meets them: the order
// of the layouts they sit in, a box layout from first to last, a grid or form row by row. A
// control that takes the focus is not searched further (its parts are its own), nor is any
// separate window; widgets outside every layout come after their laid-out siblings.
[[nodiscard]] QList<QWidget*> controls_in_reading_order(QWidget* root);

// Makes Tab go through the controls under `root` in reading order. Controls added later
// join the order when this is called again.
void order_tab_chain(QWidget* root);

// Return and Enter on a focused push button of `window` click it, as Space does. (In a dialog
// Qt's own default-button rules decide.)
void click_buttons_on_return(QWidget* window);

// Ctrl+Tab and Ctrl+PageDown click the selector after the checked one of `selectors` (after
// the last comes the first), Ctrl+Shift+Tab and Ctrl+PageUp the one before, passing over
// hidden and disabled ones. The clicked selector takes the focus as it would under the
// mouse. The keys work anywhere in `window`; the selectors must live as long as it does.
void add_section_keys(QWidget* window, const QList<QAbstractButton*>& selectors);

} // namespace zemrak::ui
