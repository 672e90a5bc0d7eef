#pragma once

#include "model/macro_action.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace zemrak::pages {

// One row of the macro page's action list: what the action works on ("key": a key or mouse
// button by name, or a mouse move), how ("action": press or release beside its mark, or the
// distance moved) and the delay after it ("delay", in ms). The look of each kind is the
// theme's: it keys on the dynamic properties "kind" of the key label (key, mouse, move, none)
// and "mark" of the mark (press, release, none). The row and its labels carry "selected" while
// the list's selection holds the row.
class MacroActionRow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 30;

    explicit MacroActionRow(QWidget* parent = nullptr);

    // A new, empty row at the end of `list`.
    static MacroActionRow* append_to(QListWidget* list);
    // The row at `index` of a list filled by append_to(), or null.
    [[nodiscard]] static MacroActionRow* at(const QListWidget* list, int index);

    // An action of a kind other than move, press and release leaves the row empty.
    void show_action(const MacroAction& action);

    [[nodiscard]] QLabel* key() const { return m_key; }
    [[nodiscard]] QLabel* mark() const { return m_mark; }
    [[nodiscard]] QLabel* action() const { return m_action; }
    [[nodiscard]] QLabel* delay() const { return m_delay; }

private:
    void show_selected(bool selected);

    QLabel* m_key = nullptr;
    QLabel* m_mark = nullptr;
    QLabel* m_action = nullptr;
    QLabel* m_delay = nullptr;
};

} // namespace zemrak::pages
