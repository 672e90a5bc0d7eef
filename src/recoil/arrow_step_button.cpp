#include "recoil/arrow_step_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace zemrak::pages {

ArrowStepButton::ArrowStepButton(QWidget* parent) : QPushButton(parent) {}

void ArrowStepButton::set_direction(Direction direction) {
    m_direction = direction;
    update();
}

void ArrowStepButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the arrow says it
    painter.drawControl(QStyle::CE_PushButton, option);

    const QColor colour = isDown() ? m_arrowPressed : underMouse() ? m_arrowHover : m_arrow;
    const qreal side = std::min(width(), height()) * 0.5;
    const QPointF centre = QRectF(rect()).center();
    // An arrow pointing right, turned to its direction: a shaft and an open head.
    QPainterPath arrow;
    arrow.moveTo(-side / 2, 0);
    arrow.lineTo(side / 2, 0);
    arrow.moveTo(side / 10, -side / 2.5);
    arrow.lineTo(side / 2, 0);
    arrow.lineTo(side / 10, side / 2.5);
    qreal angle = 0;
    switch (m_direction) {
    case Direction::right:
        break;
    case Direction::down:
        angle = 90;
        break;
    case Direction::left:
        angle = 180;
        break;
    case Direction::up:
        angle = 270;
        break;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(centre);
    painter.rotate(angle);
    QPen pen(isEnabled() ? colour : m_arrow.darker(150), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
}

void ArrowStepButton::set_arrow(const QColor& colour) {
    m_arrow = colour;
    update();
}

void ArrowStepButton::set_arrow_hover(const QColor& colour) {
    m_arrowHover = colour;
    update();
}

void ArrowStepButton::set_arrow_pressed(const QColor& colour) {
    m_arrowPressed = colour;
    update();
}

} // namespace zemrak::pages
