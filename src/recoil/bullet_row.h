#pragma once

#include "recoil/bullet_rules.h"
#include "recoil/recoil_record.h"

#include <array>
#include <cstddef>

class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zemrak::pages {

// One bullet of the recoil page, built in code: its number, and its delay, x and y each in an
// edit between a button that takes one away and a button that adds one. The controls carry
// the names the layout would give them, numbered from 1 ("edit_zidan_x_7",
// "zidan_x_down_btn_7", ...), inside the row's own container "ver_zidan_num_7". The row
// applies the value rules to its own controls; the page decides when, and keeps the bullets.
class BulletRow {
public:
    // Builds row `number` at the end of `parent`'s layout, showing a bullet of a new pattern.
    BulletRow(int number, QWidget* parent);

    [[nodiscard]] QFrame* row() const { return m_row; }
    [[nodiscard]] QLineEdit* edit(BulletField field) const {
        return m_edits.at(static_cast<std::size_t>(field));
    }
    [[nodiscard]] QPushButton* button(BulletButton button) const {
        return m_buttons.at(static_cast<std::size_t>(button));
    }

    // Lays out `parent` (without a layout yet) as the heads of the rows' columns, each over
    // its value.
    static void add_header(QWidget* parent);

    void show_bullet(const Bullet& bullet);

    // A press of `button`: the number its field's edit shows is stepped, shown again and
    // written into `bullet`.
    void press(BulletButton button, Bullet& bullet);
    // On leaving the edit of `field`: its number is held within the typing limits (the edit
    // then shows the limit) and written into `bullet`.
    void take_typed(BulletField field, Bullet& bullet);
    // On every change of the text of `field`'s edit: only digits and '-' stay.
    void filter_typing(BulletField field);

private:
    QFrame* m_row = nullptr;
    std::array<QLineEdit*, kBulletFields.size()> m_edits{};
    std::array<QPushButton*, kBulletButtons.size()> m_buttons{};
};

} // namespace zemrak::pages
