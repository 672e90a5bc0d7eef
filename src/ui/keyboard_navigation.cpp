#include "ui/keyboard_navigation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLayout>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace zemrak::ui {
namespace {

class ReadingOrder {
public:
    void widget(QWidget* widget) {
        if (widget->isWindow() || m_seen.contains(widget)) {
            return;
        }
        m_seen.insert(widget);
        // Qt keeps only one button of an exclusive set in the Tab order at a time (the arrows
        // move within the set), and which one changes: all of them are ordered.
        if (widget->focusPolicy() != Qt::NoFocus) {
            m_controls.append(widget);
            return;
        }
        contents(widget);
    }

    // What lies in `widget`: its layout first, then children outside it.
    void contents(QWidget* widget) {
        m_seen.insert(widget);
        if (widget->layout() != nullptr) {
            layout(widget->layout());
        }
        const auto children = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            this->widget(child);
        }
    }

    [[nodiscard]] QList<QWidget*> controls() const { return m_controls; }

private:
    void layout(QLayout* layout) {
        // Grids and forms hand their items out in the order they were added, not by place.
        std::vector<std::pair<std::pair<int, int>, QLayoutItem*>> items;
        for (int i = 0; i < layout->count(); ++i) {
            std::pair<int, int> place{0, i};
            if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
                int span_rows = 0;
                int span_columns = 0;
                grid->getItemPosition(i, &place.first, &place.second, &span_rows, &span_columns);
            } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
                QFormLayout::ItemRole role = QFormLayout::LabelRole;
                form->getItemPosition(i, &place.first, &role);
                place.second = static_cast<int>(role);
            }
            items.emplace_back(place, layout->itemAt(i));
        }
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [place, item] : items) {
            if (QWidget* child = item->widget()) {
                widget(child);
            } else if (QLayout* inner = item->layout()) {
                this->layout(inner);
            }
        }
    }

    QList<QWidget*> m_controls;
    QSet<QWidget*> m_seen;
};

// Sees the key presses the focused control of a window leaves unhandled.
class ReturnClicks final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (!enter || !plain || key->isAutoRepeat() || button == nullptr ||
            button->window() != watched || !button->isEnabled()) {
            return false;
        }
        button->click();
        return true;
    }
};

} // namespace

QList<QWidget*> controls_in_reading_order(QWidget* root) {
    ReadingOrder order;
    order.contents(root);
    return order.controls();
}

void order_tab_chain(QWidget* root) {
    const QList<QWidget*> chain = controls_in_reading_order(root);
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
    }
}

void click_buttons_on_return(QWidget* window) {
    window->installEventFilter(new ReturnClicks(window));
}

void add_section_keys(QWidget* window, const QList<QAbstractButton*>& selectors) {
    const auto step = [selectors](qsizetype by) {
        return [selectors, by] {
            const qsizetype count = selectors.size();
            qsizetype at = by > 0 ? -1 : count;
            for (qsizetype i = 0; i < count; ++i) {
                if (selectors.at(i)->isChecked()) {
                    at = i;
                }
            }
            for (qsizetype tried = 1; tried <= count; ++tried) {
                QAbstractButton* next = selectors.at(((at + by * tried) % count + count) % count);
                if (next->isVisible() && next->isEnabled()) {
                    next->setFocus(Qt::ShortcutFocusReason);
                    next->click();
                    return;
                }
            }
        };
    };
    auto* forward = new QShortcut(window);
    forward->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    QObject::connect(forward, &QShortcut::activated, window, step(1));
    // Shift+Tab arrives as Backtab; the shortcut map tries it as Tab too.
    auto* back = new QShortcut(window);
    back->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                   QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    QObject::connect(back, &QShortcut::activated, window, step(-1));
}

} // namespace zemrak::ui
