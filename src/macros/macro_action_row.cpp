#include "macros/macro_action_row.h"

#include "model/key_tables.h"
#include "ui/row_controls.h"
#include "ui/texts.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPersistentModelIndex>

namespace zemrak::pages {
namespace {

using ui::named_child;
using ui::set_style_property;

// Codes of the mouse buttons a macro presses and releases; the wheel is drawn as a key.
constexpr std::uint8_t kFirstMouseButton = 240;
constexpr std::uint8_t kLastMouseButton = 244;

constexpr int kKeyColumnWidth = 118;
constexpr int kMarkWidth = 16;
constexpr int kActionColumnWidth = 84;

const char* key_kind(std::uint8_t code) {
    return code >= kFirstMouseButton && code <= kLastMouseButton ? "mouse" : "key";
}

} // namespace

MacroActionRow::MacroActionRow(QWidget* parent) : QWidget(parent) {
    setProperty("role", "actionrow");
    setFixedHeight(kHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 10, 3);
    layout->setSpacing(6);

    // Keys are drawn as caps as wide as their names; the column around them keeps the marks
    // of all rows in one line.
    auto* key_column = new QWidget(this);
    key_column->setFixedWidth(kKeyColumnWidth);
    auto* key_layout = new QHBoxLayout(key_column);
    key_layout->setContentsMargins(0, 0, 0, 0);
    m_key = named_child<QLabel>(key_column, QStringLiteral("key"));
    m_key->setProperty("role", "actionkey");
    m_key->setAlignment(Qt::AlignCenter);
    key_layout->addWidget(m_key);
    key_layout->addStretch(1);

    m_mark = new QLabel(this);
    m_mark->setProperty("role", "actionmark");
    m_mark->setFixedWidth(kMarkWidth);
    m_mark->setAlignment(Qt::AlignCenter);

    m_action = named_child<QLabel>(this, QStringLiteral("action"));
    m_action->setProperty("role", "actiontext");
    m_action->setFixedWidth(kActionColumnWidth);

    m_delay = named_child<QLabel>(this, QStringLiteral("delay"));
    m_delay->setProperty("role", "actiondelay");
    m_delay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    layout->addWidget(key_column);
    layout->addWidget(m_mark);
    layout->addWidget(m_action);
    layout->addWidget(m_delay, 1);
    // Empty until it shows an action: an all-zero action would read as a move.
    m_key->setProperty("kind", QStringLiteral("none"));
    m_mark->setProperty("mark", QStringLiteral("none"));
    show_selected(false);
}

MacroActionRow* MacroActionRow::append_to(QListWidget* list) {
    auto* item = new QListWidgetItem(list);
    item->setSizeHint(QSize(0, kHeight));
    auto* row = new MacroActionRow;
    list->setItemWidget(item, row);
    // Held by index rather than by item: a row taken out of the list loses its index at once,
    // while the widget itself goes only later.
    const QPersistentModelIndex index = list->model()->index(list->row(item), 0);
    QItemSelectionModel* selection = list->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, row, [row, selection, index] {
        row->show_selected(index.isValid() && selection->isSelected(index));
    });
    return row;
}

MacroActionRow* MacroActionRow::at(const QListWidget* list, int index) {
    QListWidgetItem* item = list->item(index);
    return item == nullptr ? nullptr : qobject_cast<MacroActionRow*>(list->itemWidget(item));
}

void MacroActionRow::show_action(const MacroAction& action) {
    QString key;
    const char* kind = "none";
    QString mark;
    const char* mark_kind = "none";
    QString done;
    QString delay = QString::number(action.delay());

    switch (action.kind()) {
    case MacroAction::Press:
    case MacroAction::Release: {
        const bool press = action.kind() == MacroAction::Press;
        key = ui::Texts::text(key_name_key(action.code()));
        kind = key_kind(action.code());
        mark = press ? QStringLiteral("\u2193") : QStringLiteral("\u2191");
        mark_kind = press ? "press" : "release";
        done = ui::Texts::text(press ? "key_down_action" : "key_up_action");
        break;
    }
    case MacroAction::Move:
        key = ui::Texts::text("mouse_move_text");
        kind = "move";
        done = QStringLiteral("X: %1 Y: %2").arg(action.move_x()).arg(action.move_y());
        break;
    default:
        delay.clear();
        break;
    }

    m_key->setText(key);
    set_style_property(m_key, "kind", QString::fromLatin1(kind));
    m_mark->setText(mark);
    set_style_property(m_mark, "mark", QString::fromLatin1(mark_kind));
    m_action->setText(done);
    m_delay->setText(delay);
}

void MacroActionRow::show_selected(bool selected) {
    ui::set_style_flag(this, "selected", selected);
    for (QLabel* label : {m_key, m_mark, m_action, m_delay}) {
        ui::set_style_flag(label, "selected", selected);
    }
}

} // namespace zemrak::pages
