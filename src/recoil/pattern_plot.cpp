#include "recoil/pattern_plot.h"

#include "recoil/bullet_rules.h"
#include "ui/texts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace zemrak::pages {
namespace {

constexpr qreal kMargin = 14.0;
constexpr qreal kTimeHeight = 46.0;
constexpr qreal kPointRadius = 3.5;
constexpr qreal kSelectedRadius = 6.0;
// How near a press must come to a point to take it.
constexpr qreal kGrabRadius = 9.0;
// A pattern that hardly moves is still drawn at a readable scale: the view spans at least
// this many units each way.
constexpr qreal kMinimumSpan = 40.0;

int held_move(qreal value) {
    return static_cast<int>(
        std::clamp<long>(std::lround(value), kTypedMoveLimits.low, kTypedMoveLimits.high));
}

} // namespace

PatternPlot::PatternPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PatternPlot::show_pattern(const Bullets& bullets, int count) {
    m_bullets = bullets;
    m_count = std::clamp(count, 0, static_cast<int>(RecoilRecord::kMaxBullets));
    m_message.clear();
    if (m_selected >= m_count) {
        m_selected = -1;
    }
    if (m_dragged >= m_count) {
        m_dragged = -1;
    }
    update();
}

void PatternPlot::show_message(const QString& message) {
    m_message = message;
    m_count = 0;
    m_selected = -1;
    m_dragged = -1;
    update();
}

void PatternPlot::set_selected_bullet(int slot) {
    const int selected = slot >= 0 && slot < m_count ? slot : -1;
    if (selected != m_selected) {
        m_selected = selected;
        update();
    }
}

QPointF PatternPlot::cumulative(int slot) const {
    QPointF sum(0, 0);
    for (int i = 0; i <= slot && i < m_count; ++i) {
        const Bullet& bullet = m_bullets.at(static_cast<std::size_t>(i));
        sum += QPointF(bullet.x, bullet.y);
    }
    return sum;
}

std::optional<QPointF> PatternPlot::point_of(int slot) const {
    if (!shows_pattern() || slot < 0 || slot >= m_count) {
        return std::nullopt;
    }
    return fit().map(cumulative(slot));
}

QSize PatternPlot::sizeHint() const {
    return {220, 320};
}

QSize PatternPlot::minimumSizeHint() const {
    return {120, 160};
}

QRectF PatternPlot::path_area() const {
    const QRectF all = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    return all.adjusted(0, 0, 0, -kTimeHeight);
}

QRectF PatternPlot::time_area() const {
    const QRectF area = path_area();
    return {area.left(), area.bottom() + 8, area.width(), kTimeHeight - 8};
}

QTransform PatternPlot::fit() const {
    if (m_dragged >= 0) {
        return m_dragMap;
    }
    qreal left = 0;
    qreal right = 0;
    qreal top = 0;
    qreal bottom = 0;
    for (int slot = 0; slot < m_count; ++slot) {
        const QPointF p = cumulative(slot);
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const qreal width = std::max(right - left, kMinimumSpan);
    const qreal height = std::max(bottom - top, kMinimumSpan);
    const QPointF centre((left + right) / 2, (top + bottom) / 2);
    const QRectF area = path_area();
    const qreal scale =
        std::max(std::min(area.width() / width, area.height() / height), qreal{0.01});
    QTransform map;
    map.translate(area.center().x(), area.center().y());
    map.scale(scale, scale);
    map.translate(-centre.x(), -centre.y());
    return map;
}

int PatternPlot::bullet_at(QPointF point) const {
    const QTransform map = fit();
    int nearest = -1;
    qreal best = kGrabRadius;
    // The later point wins where points lie on each other: it is the one drawn on top.
    for (int slot = m_count - 1; slot >= 0; --slot) {
        const QPointF at = map.map(cumulative(slot));
        const qreal distance = std::hypot(at.x() - point.x(), at.y() - point.y());
        if (distance < best) {
            best = distance;
            nearest = slot;
        }
    }
    return nearest;
}

void PatternPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_background);
    painter.setPen(QPen(m_grid, 1));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (!shows_pattern()) {
        painter.setPen(m_text);
        painter.drawText(QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin),
                         Qt::AlignCenter | Qt::TextWordWrap, m_message);
        return;
    }
    paint_path(painter);
    paint_time_line(painter);
}

void PatternPlot::paint_path(QPainter& painter) const {
    const QTransform map = fit();
    // The cross where the first shot starts.
    const QPointF origin = map.map(QPointF(0, 0));
    const QRectF area = path_area();
    painter.setPen(QPen(m_grid, 1, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), origin.y()), QPointF(area.right(), origin.y()));
    painter.drawLine(QPointF(origin.x(), area.top()), QPointF(origin.x(), area.bottom()));

    QPainterPath path(origin);
    for (int slot = 0; slot < m_count; ++slot) {
        path.lineTo(map.map(cumulative(slot)));
    }
    painter.setPen(QPen(m_path, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_grid);
    painter.drawEllipse(origin, kPointRadius, kPointRadius);
    painter.setBrush(m_point);
    for (int slot = 0; slot < m_count; ++slot) {
        if (slot != m_selected) {
            painter.drawEllipse(map.map(cumulative(slot)), kPointRadius, kPointRadius);
        }
    }
    if (m_selected >= 0) {
        const QPointF at = map.map(cumulative(m_selected));
        painter.setBrush(m_selectedColour);
        painter.drawEllipse(at, kSelectedRadius, kSelectedRadius);
        painter.setPen(m_selectedColour);
        painter.drawText(at + QPointF(kSelectedRadius + 3, -kSelectedRadius),
                         QString::number(m_selected + 1));
    }
}

void PatternPlot::paint_time_line(QPainter& painter) const {
    const QRectF area = time_area();
    long total = 0;
    for (int slot = 0; slot < m_count; ++slot) {
        total += m_bullets.at(static_cast<std::size_t>(slot)).delay;
    }
    const qreal line_y = area.top() + 4;
    painter.setPen(QPen(m_grid, 1));
    painter.drawLine(QPointF(area.left(), line_y), QPointF(area.right(), line_y));
    // Each bullet fires after the delays of the bullets before it.
    long elapsed = 0;
    for (int slot = 0; slot < m_count; ++slot) {
        const qreal x = total > 0 ? area.left() + area.width() * static_cast<qreal>(elapsed) /
                                                      static_cast<qreal>(total)
                                  : area.left();
        const bool selected = slot == m_selected;
        painter.setPen(QPen(selected ? m_selectedColour : m_path, selected ? 2 : 1));
        painter.drawLine(QPointF(x, line_y - (selected ? 5 : 3)),
                         QPointF(x, line_y + (selected ? 5 : 3)));
        elapsed += m_bullets.at(static_cast<std::size_t>(slot)).delay;
    }
    painter.setPen(m_text);
    painter.drawText(QRectF(area.left(), line_y + 5, area.width(), area.bottom() - line_y - 5),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     ui::Texts::text("gun_plot_time_text").arg(m_count).arg(total));
}

void PatternPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !shows_pattern()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int slot = bullet_at(event->position());
    if (slot < 0) {
        return;
    }
    m_dragMap = fit();
    m_dragged = slot;
    set_selected_bullet(slot);
    emit bulletSelected(slot);
}

void PatternPlot::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragged < 0) {
        return;
    }
    bool invertible = false;
    const QPointF at = m_dragMap.inverted(&invertible).map(event->position());
    if (!invertible) {
        return;
    }
    // The bullet's movement is what lies between the point before it and the pointer.
    const QPointF before = m_dragged > 0 ? cumulative(m_dragged - 1) : QPointF(0, 0);
    const int x = held_move(at.x() - before.x());
    const int y = held_move(at.y() - before.y());
    const Bullet& bullet = m_bullets.at(static_cast<std::size_t>(m_dragged));
    if (x != bullet.x || y != bullet.y) {
        emit bulletMoved(m_dragged, x, y);
    }
}

void PatternPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_dragged < 0) {
        return;
    }
    const int slot = m_dragged;
    m_dragged = -1;
    update();
    emit bulletReleased(slot);
}

void PatternPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void PatternPlot::set_colour(QColor& member, const QColor& colour) {
    member = colour;
    update();
}

void PatternPlot::set_background(const QColor& colour) {
    set_colour(m_background, colour);
}
void PatternPlot::set_grid(const QColor& colour) {
    set_colour(m_grid, colour);
}
void PatternPlot::set_path(const QColor& colour) {
    set_colour(m_path, colour);
}
void PatternPlot::set_point(const QColor& colour) {
    set_colour(m_point, colour);
}
void PatternPlot::set_selected(const QColor& colour) {
    set_colour(m_selectedColour, colour);
}
void PatternPlot::set_text(const QColor& colour) {
    set_colour(m_text, colour);
}

} // namespace zemrak::pages
