#include "ui/colour_palette.h"

#include <QColor>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace zemrak::ui {
namespace {

constexpr int kInset = 6; // room for the markers at the edges
constexpr int kStripWidth = 16;
constexpr int kGap = 10;
constexpr qreal kCorner = 3.0;
constexpr qreal kMarkerRadius = 5.0;
// One key press moves the hue by 5 degrees, saturation or value by a twentieth.
constexpr double kHueStep = 1.0 / 72.0;
constexpr double kLevelStep = 1.0 / 20.0;

[[nodiscard]] double fraction(int offset, int span) {
    return span <= 1 ? 0.0 : std::clamp(static_cast<double>(offset) / (span - 1), 0.0, 1.0);
}

// Hue 1.0 is red again; Qt takes it only below one turn.
[[nodiscard]] QColor from_hsv(double hue, double saturation, double value) {
    const double turn = hue >= 1.0 ? 0.0 : hue;
    return QColor::fromHsvF(static_cast<float>(turn), static_cast<float>(saturation),
                            static_cast<float>(value));
}

[[nodiscard]] QColor edge_colour() {
    return QColor(0x2c, 0x30, 0x38);
}

} // namespace

ColourPalette::ColourPalette(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ColourPalette::sizeHint() const {
    return {260, 150};
}

QSize ColourPalette::minimumSizeHint() const {
    return {120, 70};
}

QRect ColourPalette::field_rect() const {
    const int width = std::max(1, this->width() - 2 * kInset - kGap - kStripWidth);
    return {kInset, kInset, width, std::max(1, height() - 2 * kInset)};
}

QRect ColourPalette::strip_rect() const {
    const QRect field = field_rect();
    return {field.right() + 1 + kGap, field.top(), kStripWidth, field.height()};
}

void ColourPalette::set_colour(QRgb argb) {
    m_colour = argb | 0xFF000000u;
    const QColor colour(m_colour);
    m_value = static_cast<double>(colour.valueF());
    // Black says nothing about hue or saturation and greys nothing about hue: the markers stay
    // where they were, so raising the value brings back the colour the user was near.
    if (colour.value() > 0) {
        m_saturation = static_cast<double>(colour.hsvSaturationF());
        if (colour.hsvHue() >= 0) {
            m_hue = static_cast<double>(colour.hsvHueF());
        }
    }
    update();
}

void ColourPalette::pick(QPoint at) {
    if (m_dragging == Part::Field) {
        const QRect field = field_rect();
        m_hue = fraction(at.x() - field.left(), field.width());
        m_saturation = 1.0 - fraction(at.y() - field.top(), field.height());
        // From black every point of the field would give black again; a pick there means the
        // user wants a colour, so it comes at full brightness.
        if (m_value <= 0.0) {
            m_value = 1.0;
        }
    } else if (m_dragging == Part::Strip) {
        const QRect strip = strip_rect();
        m_value = 1.0 - fraction(at.y() - strip.top(), strip.height());
    } else {
        return;
    }
    m_colour = from_hsv(m_hue, m_saturation, m_value).rgb();
    update();
    emit colour_changed(m_colour);
}

void ColourPalette::keyPressEvent(QKeyEvent* event) {
    double* level = nullptr;
    double step = kLevelStep;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -kHueStep;
        level = &m_hue;
        break;
    case Qt::Key_Right:
        step = kHueStep;
        level = &m_hue;
        break;
    case Qt::Key_Down:
        step = -kLevelStep;
        level = &m_saturation;
        break;
    case Qt::Key_Up:
        level = &m_saturation;
        break;
    case Qt::Key_PageDown:
        step = -kLevelStep;
        level = &m_value;
        break;
    case Qt::Key_PageUp:
        level = &m_value;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // As with a pick in the field: moving hue or saturation from black means a colour is wanted.
    if (level != &m_value && m_value <= 0.0) {
        m_value = 1.0;
    }
    *level = std::clamp(*level + step, 0.0, 1.0);
    take_markers();
}

void ColourPalette::take_markers() {
    m_colour = from_hsv(m_hue, m_saturation, m_value).rgb();
    update();
    emit colour_changed(m_colour);
    emit colour_released(m_colour);
}

void ColourPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    // The markers reach past the parts' edges; a press there still counts for the nearer part.
    const QRect field = field_rect().adjusted(-kInset, -kInset, kGap / 2, kInset);
    const QRect strip = strip_rect().adjusted(-kGap / 2, -kInset, kInset, kInset);
    if (field.contains(at)) {
        m_dragging = Part::Field;
    } else if (strip.contains(at)) {
        m_dragging = Part::Strip;
    } else {
        return;
    }
    pick(at);
}

void ColourPalette::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging != Part::None && (event->buttons() & Qt::LeftButton) != 0) {
        pick(event->position().toPoint());
    }
}

void ColourPalette::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_dragging == Part::None) {
        return;
    }
    pick(event->position().toPoint());
    m_dragging = Part::None;
    emit colour_released(m_colour);
}

void ColourPalette::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rebuild_field();
}

void ColourPalette::rebuild_field() {
    const QRect field = field_rect();
    m_field = QImage(field.size(), QImage::Format_RGB32);
    const int width = field.width();
    const int height = field.height();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_field.scanLine(y));
        const double saturation = 1.0 - fraction(y, height);
        for (int x = 0; x < width; ++x) {
            line[x] = from_hsv(fraction(x, width), saturation, 1.0).rgb();
        }
    }
}

void ColourPalette::paintEvent(QPaintEvent* /*event*/) {
    if (m_field.size() != field_rect().size()) {
        rebuild_field();
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field = field_rect();
    const QRectF strip = strip_rect();

    QPainterPath field_shape;
    field_shape.addRoundedRect(field, kCorner, kCorner);
    painter.save();
    painter.setClipPath(field_shape);
    painter.drawImage(field.topLeft(), m_field);
    painter.restore();

    QLinearGradient fall(strip.topLeft(), strip.bottomLeft());
    fall.setColorAt(0.0, from_hsv(m_hue, m_saturation, 1.0));
    fall.setColorAt(1.0, Qt::black);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fall);
    painter.drawRoundedRect(strip, kCorner, kCorner);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(edge_colour(), 1.0));
    painter.drawRoundedRect(field.adjusted(-0.5, -0.5, 0.5, 0.5), kCorner, kCorner);
    painter.drawRoundedRect(strip.adjusted(-0.5, -0.5, 0.5, 0.5), kCorner, kCorner);

    // A white ring inside a dark one stays visible on every colour of the field.
    const QPointF spot(field.left() + m_hue * (field.width() - 1),
                       field.top() + (1.0 - m_saturation) * (field.height() - 1));
    painter.setPen(QPen(QColor(0, 0, 0, 170), 3.0));
    painter.drawEllipse(spot, kMarkerRadius, kMarkerRadius);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawEllipse(spot, kMarkerRadius, kMarkerRadius);

    const qreal level = strip.top() + (1.0 - m_value) * (strip.height() - 1);
    const QRectF handle(strip.left() - 3.0, level - 3.0, strip.width() + 6.0, 6.0);
    painter.setPen(QPen(QColor(0, 0, 0, 170), 3.0));
    painter.drawRoundedRect(handle, 2.0, 2.0);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawRoundedRect(handle, 2.0, 2.0);

    // The keyboard's mark, in the highlight colour the theme gives, around both parts.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.0));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCorner, kCorner);
    }
}

void show_swatch(QWidget* control, QRgb argb) {
    // The theme draws the edge of everything marked as a swatch.
    control->setProperty("swatch", true);
    const QString name = control->objectName();
    const QString selector = name.isEmpty() ? QStringLiteral("*") : QStringLiteral("#") + name;
    // An edge style of its own keeps every style from shading the fill into another colour,
    // with the theme or without it; the widget's own colour also outweighs the theme's hover
    // and pressed fills, so the colour a button stands for stays in sight.
    control->setStyleSheet(QStringLiteral("%1 { background-color: %2; border-style: solid; }")
                               .arg(selector, QColor(argb).name()));
}

} // namespace zemrak::ui
