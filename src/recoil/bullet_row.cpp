#include "recoil/bullet_row.h"

#include "recoil/arrow_step_button.h"
#include "ui/number_edit.h"
#include "ui/row_controls.h"
#include "ui/texts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace zemrak::pages {
namespace {

using ui::named_child;

// Each value sits between its two buttons: the one that takes away on the left, the one that
// adds on the right, whatever their control names say.
struct FieldParts {
    BulletField field;
    const char* edit_name;
    const char* tip_key;
    BulletButton minus;
    BulletButton plus;
};

constexpr std::array<FieldParts, kBulletFields.size()> kFieldParts{{
    {BulletField::Delay, "edit_zidan_delay_%1", "bullet_delay_tip_text", BulletButton::DelayDown,
     BulletButton::DelayUp},
    {BulletField::X, "edit_zidan_x_%1", "bullet_x_tip_text", BulletButton::XUp,
     BulletButton::XDown},
    {BulletField::Y, "edit_zidan_y_%1", "bullet_y_tip_text", BulletButton::YDown,
     BulletButton::YUp},
}};

struct ButtonParts {
    const char* name;
    const char* tip_key;
};

ButtonParts button_parts(BulletButton button) {
    switch (button) {
    case BulletButton::DelayUp:
        return {"zidan_delay_up_btn_%1", "bullet_delay_plus_tip_text"};
    case BulletButton::DelayDown:
        return {"zidan_delay_down_btn_%1", "bullet_delay_minus_tip_text"};
    case BulletButton::XUp:
        return {"zidan_x_up_btn_%1", "bullet_x_minus_tip_text"};
    case BulletButton::XDown:
        return {"zidan_x_down_btn_%1", "bullet_x_plus_tip_text"};
    case BulletButton::YUp:
        return {"zidan_y_up_btn_%1", "bullet_y_plus_tip_text"};
    case BulletButton::YDown:
        break;
    }
    return {"zidan_y_down_btn_%1", "bullet_y_minus_tip_text"};
}

// The glyph follows the step itself, so a button never shows one direction and goes the other.
QString step_glyph(BulletButton button) {
    return button_step(button) > 0 ? QStringLiteral("+") : QStringLiteral("\u2212");
}

// Where a press of a movement button moves the pointer: x grows to the right, y downwards.
ArrowStepButton::Direction arrow_of(BulletButton button) {
    const bool adds = button_step(button) > 0;
    if (button_field(button) == BulletField::X) {
        return adds ? ArrowStepButton::Direction::right : ArrowStepButton::Direction::left;
    }
    return adds ? ArrowStepButton::Direction::down : ArrowStepButton::Direction::up;
}

// A movement button draws its arrow; the delay's buttons keep their signs.
QPushButton* make_step_button(BulletButton button, QWidget* row, const QString& name) {
    if (button_field(button) == BulletField::Delay) {
        return named_child<QPushButton>(row, name);
    }
    auto* arrow = named_child<ArrowStepButton>(row, name);
    arrow->set_direction(arrow_of(button));
    return arrow;
}

constexpr int kEditWidth = 50;
constexpr int kFieldGap = 8;
constexpr int kButtonSide = 24;

} // namespace

BulletRow::BulletRow(int number, QWidget* parent) {
    m_row = named_child<QFrame>(parent, QString("ver_zidan_num_%1").arg(number));
    m_row->setProperty("role", "bulletrow");
    auto* layout = new QHBoxLayout(m_row);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(4);

    auto* label = new QLabel(QString::number(number), m_row);
    label->setProperty("role", "bulletnumber");
    label->setFixedWidth(28);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(label);

    const auto make_button = [this, number](BulletButton which) {
        const ButtonParts parts = button_parts(which);
        QPushButton* button = make_step_button(which, m_row, QString(parts.name).arg(number));
        button->setText(step_glyph(which));
        button->setProperty("role", "stepbutton");
        button->setProperty("tipkey", parts.tip_key);
        button->setFixedSize(kButtonSide, kButtonSide);
        // Buttons take the focus on a press, so an edit being typed in is left, and its
        // typing rule applied, before the button reads it.
        button->setCursor(Qt::PointingHandCursor);
        m_buttons.at(static_cast<std::size_t>(which)) = button;
        return button;
    };
    for (const FieldParts& parts : kFieldParts) {
        layout->addSpacing(kFieldGap);
        layout->addWidget(make_button(parts.minus));
        auto* edit = named_child<QLineEdit>(m_row, QString(parts.edit_name).arg(number));
        edit->setProperty("tipkey", parts.tip_key);
        edit->setFixedWidth(kEditWidth);
        edit->setAlignment(Qt::AlignCenter);
        m_edits.at(static_cast<std::size_t>(parts.field)) = edit;
        layout->addWidget(edit);
        layout->addWidget(make_button(parts.plus));
    }
    layout->addStretch(1);
    parent->layout()->addWidget(m_row);

    ui::Texts::apply(m_row);
    show_bullet(Bullet{0, 0, RecoilRecord::kNewBulletDelay});
}

void BulletRow::add_header(QWidget* parent) {
    auto* layout = new QHBoxLayout(parent);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(4);
    layout->addSpacing(28);
    constexpr std::array<const char*, kFieldParts.size()> kHeads{
        "zidan_delay_head_text", "zidan_x_head_text", "zidan_y_head_text"};
    for (const char* key : kHeads) {
        layout->addSpacing(kFieldGap);
        // Over the value and its two buttons, with the spacing between them.
        auto* head = new QLabel(parent);
        head->setProperty("textkey", key);
        head->setProperty("role", "bullethead");
        head->setFixedWidth(kEditWidth + 2 * kButtonSide + 2 * 4);
        head->setAlignment(Qt::AlignCenter);
        layout->addWidget(head);
    }
    layout->addStretch(1);
    ui::Texts::apply(parent);
}

void BulletRow::show_bullet(const Bullet& bullet) {
    for (const BulletField field : kBulletFields) {
        edit(field)->setText(QString::number(bullet_value(bullet, field)));
    }
}

void BulletRow::press(BulletButton which, Bullet& bullet) {
    const BulletField field = button_field(which);
    const std::int32_t value = press_bullet_button(which, ui::edit_number(edit(field)));
    set_bullet_value(bullet, field, value);
    edit(field)->setText(QString::number(bullet_value(bullet, field)));
}

void BulletRow::take_typed(BulletField field, Bullet& bullet) {
    set_bullet_value(bullet, field, ui::hold_edit_number(edit(field), typed_limits(field)));
}

void BulletRow::filter_typing(BulletField field) {
    ui::filter_number_edit(edit(field));
}

} // namespace zemrak::pages
