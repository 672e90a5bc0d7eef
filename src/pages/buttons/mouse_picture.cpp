#include "pages/buttons/mouse_picture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace zemrak::pages {
namespace {

// The drawing's own coordinates: the size hint, with the mouse's centre line at kCentre.
constexpr double kWidth = 260.0;
constexpr double kHeight = 360.0;
constexpr double kCentre = kWidth / 2.0;

// Half the width of the groove between the main buttons, where the wheel sits.
constexpr double kGroove = 16.0;
// The room left between two neighbouring buttons.
constexpr double kSeam = 2.2;
// Half the thickness of the buttons along the shell's edge.
constexpr double kEdgeButton = 8.0;
// Points per curve of the shell when it is cut into buttons: about a unit apart, so the
// straight pieces stay far below a device pixel from the curve at any size the page uses.
constexpr int kSamples = 96;

[[nodiscard]] QPointF lerp(QPointF a, QPointF b, double t) {
    return a + (b - a) * t;
}

[[nodiscard]] QPointF mirrored(QPointF point) {
    return {kWidth - point.x(), point.y()};
}

// A curve of the shell's outline.
struct Cubic {
    QPointF p0, p1, p2, p3;

    [[nodiscard]] QPointF at(double t) const {
        const QPointF a = lerp(p0, p1, t), b = lerp(p1, p2, t), c = lerp(p2, p3, t);
        return lerp(lerp(a, b, t), lerp(b, c, t), t);
    }
    // The unit normal on the left of the direction of travel: into the shell along its right
    // side, which runs from the nose to the tail.
    [[nodiscard]] QPointF normal(double t) const {
        const double u = 1.0 - t;
        const QPointF tangent =
            3.0 * u * u * (p1 - p0) + 6.0 * u * t * (p2 - p1) + 3.0 * t * t * (p3 - p2);
        const double length = std::hypot(tangent.x(), tangent.y());
        return QPointF(-tangent.y(), tangent.x()) / length;
    }
    // The parameter at which the curve, which runs downwards, reaches the height `y`.
    [[nodiscard]] double parameter_at(double y) const {
        double low = 0.0;
        double high = 1.0;
        for (int step = 0; step < 40; ++step) {
            const double middle = (low + high) / 2.0;
            (at(middle).y() < y ? low : high) = middle;
        }
        return (low + high) / 2.0;
    }
};

// The right half of the shell, from the nose to the tail: the front a little narrower than
// the palm, a slight waist where thumb and ring finger grip.
const std::array<Cubic, 4> kRightSide{{
    {{130, 16}, {166, 16}, {193, 30}, {198, 74}},
    {{198, 74}, {202.3, 112}, {196, 140}, {196, 172}},
    {{196, 172}, {196, 212}, {211, 232}, {210, 268}},
    {{210, 268}, {209, 322}, {182, 346}, {130, 346}},
}};
// The curve beside the main buttons, and the flank under thumb and ring finger.
constexpr std::size_t kBesideMain = 1;
constexpr std::size_t kFlank = 2;

[[nodiscard]] QPainterPath shell_outline() {
    QPainterPath path(kRightSide.front().p0);
    for (const Cubic& c : kRightSide) {
        path.cubicTo(c.p1, c.p2, c.p3);
    }
    for (auto it = kRightSide.rbegin(); it != kRightSide.rend(); ++it) {
        path.cubicTo(mirrored(it->p2), mirrored(it->p1), mirrored(it->p0));
    }
    path.closeSubpath();
    return path;
}

[[nodiscard]] QPainterPath closed(const QPolygonF& points) {
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

// The shell as closely spaced points, for cutting it into buttons.
[[nodiscard]] QPainterPath shell_area() {
    QPolygonF right;
    for (const Cubic& c : kRightSide) {
        for (int i = 0; i < kSamples; ++i) {
            right << c.at(static_cast<double>(i) / kSamples);
        }
    }
    right << kRightSide.back().p3;
    QPolygonF outline = right;
    for (auto it = right.crbegin() + 1; it != right.crend() - 1; ++it) {
        outline << mirrored(*it);
    }
    return closed(outline);
}

// A button lying along a curve of the shell's right side between the heights `top` and
// `bottom` (the round ends included): its centre line runs `inset` inside the edge.
struct EdgeButton {
    QPolygonF centre_line;
    std::vector<QPointF> normals;

    [[nodiscard]] QPointF middle() const { return centre_line[centre_line.size() / 2]; }
    // The button's outline, `half` either side of the centre line, with round ends.
    [[nodiscard]] QPolygonF outline(double half) const;
    // The strip between the lines `from` and `to` away from the centre line, into the shell
    // (positive) or out of it (negative), with square ends.
    [[nodiscard]] QPolygonF band(double from, double to) const;
    [[nodiscard]] EdgeButton mirrored() const;
};

[[nodiscard]] EdgeButton edge_button(const Cubic& curve, double top, double bottom, double inset) {
    constexpr int kPoints = 32;
    // The round ends reach the half thickness beyond the centre line's ends.
    const double from = curve.parameter_at(top + kEdgeButton);
    const double to = curve.parameter_at(bottom - kEdgeButton);
    EdgeButton button;
    for (int i = 0; i <= kPoints; ++i) {
        const double t = from + (to - from) * i / kPoints;
        button.normals.push_back(curve.normal(t));
        button.centre_line << curve.at(t) + curve.normal(t) * inset;
    }
    return button;
}

QPolygonF EdgeButton::outline(double half) const {
    constexpr int kArc = 16;
    QPolygonF points;
    const auto size = static_cast<std::size_t>(centre_line.size());
    for (std::size_t i = 0; i < size; ++i) {
        points << centre_line[static_cast<qsizetype>(i)] + normals[i] * half;
    }
    // A round end: from the one side to the other around the end of the centre line.
    const auto end = [&](QPointF at, QPointF from_side, QPointF ahead) {
        for (int step = 1; step < kArc; ++step) {
            const double angle = std::numbers::pi * step / kArc;
            points << at + (from_side * std::cos(angle) + ahead * std::sin(angle)) * half;
        }
    };
    const auto unit = [](QPointF v) { return v / std::hypot(v.x(), v.y()); };
    const QPointF forwards = unit(centre_line.back() - centre_line[centre_line.size() - 2]);
    end(centre_line.back(), normals.back(), forwards);
    for (std::size_t i = size; i-- > 0;) {
        points << centre_line[static_cast<qsizetype>(i)] - normals[i] * half;
    }
    const QPointF backwards = unit(centre_line.front() - centre_line[1]);
    end(centre_line.front(), -normals.front(), backwards);
    return points;
}

QPolygonF EdgeButton::band(double from, double to) const {
    QPolygonF points;
    const auto size = static_cast<std::size_t>(centre_line.size());
    for (std::size_t i = 0; i < size; ++i) {
        points << centre_line[static_cast<qsizetype>(i)] + normals[i] * from;
    }
    for (std::size_t i = size; i-- > 0;) {
        points << centre_line[static_cast<qsizetype>(i)] + normals[i] * to;
    }
    return points;
}

EdgeButton EdgeButton::mirrored() const {
    EdgeButton flipped;
    for (const QPointF& point : centre_line) {
        flipped.centre_line << pages::mirrored(point);
    }
    for (const QPointF& normal : normals) {
        flipped.normals.emplace_back(-normal.x(), normal.y());
    }
    return flipped;
}

[[nodiscard]] QPainterPath rect(double left, double top, double right, double bottom) {
    QPainterPath path;
    path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
    return path;
}

[[nodiscard]] QPainterPath rounded(const QRectF& area, double radius) {
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    return path;
}

[[nodiscard]] QPainterPath mirrored(const QPainterPath& path) {
    return QTransform(-1, 0, 0, 1, kWidth, 0).map(path);
}

// A piece of the wheel, a capsule of `area`, from height `top` to `bottom`; the wheel's round
// ends stay round.
[[nodiscard]] QPainterPath wheel_piece(const QRectF& area, double top, double bottom) {
    const double radius = area.width() / 2.0;
    const QRectF upper(area.left(), area.top(), area.width(), area.width());
    const QRectF lower(area.left(), area.bottom() - area.width(), area.width(), area.width());
    QPainterPath piece;
    if (top <= area.top()) {
        piece.moveTo(area.left(), area.top() + radius);
        piece.arcTo(upper, 180.0, -180.0);
    } else {
        piece.moveTo(area.left(), top);
        piece.lineTo(area.right(), top);
    }
    if (bottom >= area.bottom()) {
        piece.lineTo(area.right(), area.bottom() - radius);
        piece.arcTo(lower, 0.0, -180.0);
    } else {
        piece.lineTo(area.right(), bottom);
        piece.lineTo(area.left(), bottom);
    }
    piece.closeSubpath();
    return piece;
}

// The outline of `area` (one piece without holes) with its corners rounded: where the outline
// turns sharply, it leaves the straight way `radius` before the corner and joins it again
// `radius` after, on a curve.
[[nodiscard]] QPainterPath rounded_corners(const QPainterPath& area, double radius) {
    QPolygonF points = area.toFillPolygon();
    if (points.size() > 1 && points.front() == points.back()) {
        points.removeLast();
    }
    const auto n = static_cast<int>(points.size());
    const auto at = [&](int i) { return points[((i % n) + n) % n]; };
    const auto length = [](QPointF v) { return std::hypot(v.x(), v.y()); };
    const auto sharp = [&](int i) {
        const QPointF in = at(i) - at(i - 1);
        const QPointF out = at(i + 1) - at(i);
        const double cosine = QPointF::dotProduct(in, out) / (length(in) * length(out));
        return cosine < std::cos(25.0 * std::numbers::pi / 180.0);
    };
    // The point `radius` along the outline from corner `i`, walking in `step` (+1 or -1), and
    // how many points lie between.
    const auto walk = [&](int i, int step) {
        double walked = 0.0;
        int skipped = 0;
        for (int j = i;; j += step, ++skipped) {
            const QPointF from = at(j);
            const QPointF to = at(j + step);
            const double piece = length(to - from);
            if (walked + piece >= radius || skipped >= n / 4) {
                const double part = std::min(1.0, (radius - walked) / piece);
                return std::pair{from + (to - from) * part, skipped};
            }
            walked += piece;
        }
    };
    std::vector<bool> dropped(static_cast<std::size_t>(n), false);
    std::vector<std::pair<QPointF, QPointF>> cuts(static_cast<std::size_t>(n));
    std::vector<bool> corner(static_cast<std::size_t>(n), false);
    for (int i = 0; i < n; ++i) {
        if (!sharp(i)) {
            continue;
        }
        const auto [before, skipped_before] = walk(i, -1);
        const auto [after, skipped_after] = walk(i, 1);
        corner[static_cast<std::size_t>(i)] = true;
        cuts[static_cast<std::size_t>(i)] = {before, after};
        for (int k = 1; k <= skipped_before; ++k) {
            dropped[static_cast<std::size_t>(((i - k) % n + n) % n)] = true;
        }
        for (int k = 1; k <= skipped_after; ++k) {
            dropped[static_cast<std::size_t>((i + k) % n)] = true;
        }
    }
    int start = 0;
    while (start < n &&
           (corner[static_cast<std::size_t>(start)] || dropped[static_cast<std::size_t>(start)])) {
        ++start;
    }
    QPainterPath path(at(start));
    for (int k = 1; k <= n; ++k) {
        const auto i = static_cast<std::size_t>((start + k) % n);
        if (corner[i]) {
            path.lineTo(cuts[i].first);
            path.quadTo(points[static_cast<qsizetype>(i)], cuts[i].second);
        } else if (!dropped[i]) {
            path.lineTo(points[static_cast<qsizetype>(i)]);
        }
    }
    path.closeSubpath();
    return path;
}

// Everything the picture is drawn from, in its own coordinates; built once.
struct Drawing {
    QPainterPath shell;
    // The groove between the main buttons, and the light strip around the tail.
    QPainterPath groove;
    QPainterPath light;
    // Index 0 is button 1.
    std::array<QPainterPath, MousePicture::kButtons> buttons;
    std::array<QPointF, MousePicture::kButtons> badges;
    // The wheel's tyre, which is marked with ridges, and the tips of its arrows.
    QRectF tyre;
    QPointF up_arrow;
    QPointF down_arrow;
};

[[nodiscard]] Drawing make_drawing() {
    Drawing d;
    d.shell = shell_outline();

    // The main buttons end at a seam that bends back towards the middle.
    const Cubic seam{{kCentre, 196}, {100, 196}, {70, 180}, {36, 146}};
    QPolygonF ahead{QPointF(-10, -10), QPointF(kWidth + 10, -10), QPointF(kWidth + 10, 146)};
    for (int i = kSamples; i > 0; --i) {
        ahead << mirrored(seam.at(static_cast<double>(i) / kSamples));
    }
    for (int i = 0; i <= kSamples; ++i) {
        ahead << seam.at(static_cast<double>(i) / kSamples);
    }
    ahead << QPointF(-10, 146);

    // Two buttons along the left main button's outer edge, cut out of it.
    const Cubic beside_main = kRightSide[kBesideMain];
    const double strip_inset = 2.5 + kEdgeButton;
    const EdgeButton right_front = edge_button(beside_main, 72, 114, strip_inset);
    const EdgeButton right_back = edge_button(beside_main, 116 + kSeam, 158, strip_inset);
    const EdgeButton strip_front = right_front.mirrored();
    const EdgeButton strip_back = right_back.mirrored();
    // The cut they leave in the main button runs out through the shell's edge.
    const EdgeButton strips = edge_button(beside_main, 72, 158, strip_inset).mirrored();
    const QPainterPath left_main =
        rounded_corners(shell_area()
                            .intersected(closed(ahead))
                            .intersected(rect(-10, -10, kCentre - kGroove, kHeight))
                            .subtracted(closed(strips.outline(kEdgeButton + kSeam)))
                            .subtracted(closed(strips.band(0.0, -2.0 * strip_inset))),
                        4.0);

    d.groove =
        rounded_corners(shell_area()
                            .intersected(closed(ahead))
                            .intersected(rect(kCentre - kGroove, -10, kCentre + kGroove, kHeight)),
                        4.0);
    const Cubic tail = kRightSide.back();
    const double tail_inset = 14.0;
    QPolygonF light;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = 0.55 + 0.45 * i / kSamples;
        light << tail.at(t) + tail.normal(t) * tail_inset;
    }
    for (int i = kSamples - 1; i >= 0; --i) {
        const double t = 0.55 + 0.45 * i / kSamples;
        light << mirrored(tail.at(t) + tail.normal(t) * tail_inset);
    }
    d.light.addPolygon(light);

    // The wheel, its arrow ends and the DPI buttons behind it, down the groove.
    const QRectF wheel(kCentre - 12, 34, 24, 98);
    d.tyre = QRectF(wheel.left(), 60 + kSeam / 2.0, wheel.width(), 46 - kSeam);
    d.up_arrow = QPointF(kCentre, wheel.top() + 5.5);
    d.down_arrow = QPointF(kCentre, wheel.bottom() - 5.5);

    // The side buttons lie across the shell's edge.
    const Cubic flank = kRightSide[kFlank];
    const EdgeButton side_front = edge_button(flank, 186, 228, 4.5);
    const EdgeButton side_back = edge_button(flank, 228 + kSeam, 270, 4.5);

    d.buttons = {
        left_main,
        mirrored(left_main),
        wheel_piece(wheel, d.tyre.top(), d.tyre.bottom()),
        closed(side_front.mirrored().outline(kEdgeButton)),
        closed(side_back.mirrored().outline(kEdgeButton)),
        rounded(QRectF(kCentre - 12, 139, 24, 19), 7.0),
        rounded(QRectF(kCentre - 12, 158 + kSeam, 24, 19), 7.0),
        closed(strip_front.outline(kEdgeButton)),
        closed(strip_back.outline(kEdgeButton)),
        closed(right_front.outline(kEdgeButton)),
        closed(right_back.outline(kEdgeButton)),
        closed(side_front.outline(kEdgeButton)),
        closed(side_back.outline(kEdgeButton)),
        rounded(QRectF(kCentre - 15, 210, 30, 18), 9.0),
        wheel_piece(wheel, wheel.top(), d.tyre.top() - kSeam),
        wheel_piece(wheel, d.tyre.bottom() + kSeam, wheel.bottom()),
    };
    const QPointF main_badge(96, 104);
    d.badges = {
        main_badge,
        mirrored(main_badge),
        d.tyre.center(),
        side_front.mirrored().middle(),
        side_back.mirrored().middle(),
        QPointF(kCentre, 148.5),
        QPointF(kCentre, 169.5 + kSeam),
        strip_front.middle(),
        strip_back.middle(),
        right_front.middle(),
        right_back.middle(),
        side_front.middle(),
        side_back.middle(),
        QPointF(kCentre, 219),
        QPointF(kCentre, 50),
        QPointF(kCentre, 116),
    };
    return d;
}

[[nodiscard]] const Drawing& drawing() {
    static const Drawing d = make_drawing();
    return d;
}

[[nodiscard]] bool valid(int button) {
    return button >= 1 && button <= MousePicture::kButtons;
}

[[nodiscard]] bool is_side_button(int button) {
    return button == 4 || button == 5 || button == 12 || button == 13;
}

[[nodiscard]] std::size_t index(int button) {
    return static_cast<std::size_t>(button - 1);
}

void paint_badge(QPainter& painter, QPointF centre, int number, const QColor& ground,
                 const QColor& text) {
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    const QString label = QString::number(number);
    const double height = 11.0;
    const double width = std::max(height, QFontMetricsF(font).horizontalAdvance(label) + 6.0);
    const QRectF area(centre.x() - width / 2.0, centre.y() - height / 2.0, width, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(area, height / 2.0, height / 2.0);
    painter.setPen(text);
    painter.drawText(area, Qt::AlignCenter, label);
}

// The arrow on an end of the wheel, pointing the way it turns.
void paint_chevron(QPainter& painter, QPointF tip, double direction, const QColor& colour) {
    QPainterPath chevron(tip + QPointF(-3.5, 3.0 * direction));
    chevron.lineTo(tip);
    chevron.lineTo(tip + QPointF(3.5, 3.0 * direction));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
}

} // namespace

MousePicture::MousePicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ver_mouse_pic"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void MousePicture::set_highlighted(int button) {
    const int lit = valid(button) ? button : 0;
    if (lit != m_highlighted) {
        m_highlighted = lit;
        update();
    }
}

QTransform MousePicture::to_widget() const {
    const double scale = std::min(width() / kWidth, height() / kHeight);
    return QTransform(scale, 0, 0, scale, (width() - kWidth * scale) / 2.0,
                      (height() - kHeight * scale) / 2.0);
}

QPointF MousePicture::anchor(int button) const {
    return valid(button) ? to_widget().map(drawing().badges[index(button)]) : QPointF();
}

QPainterPath MousePicture::region(int button) const {
    return valid(button) ? to_widget().map(drawing().buttons[index(button)]) : QPainterPath();
}

int MousePicture::button_at(QPointF point) const {
    bool invertible = false;
    const QPointF at = to_widget().inverted(&invertible).map(point);
    if (!invertible) {
        return 0;
    }
    const Drawing& d = drawing();
    for (int button = 1; button <= kButtons; ++button) {
        if (d.buttons[index(button)].contains(at)) {
            return button;
        }
    }
    return 0;
}

QSize MousePicture::sizeHint() const {
    return {static_cast<int>(kWidth), static_cast<int>(kHeight)};
}

QSize MousePicture::minimumSizeHint() const {
    return {static_cast<int>(kWidth / 2.0), static_cast<int>(kHeight / 2.0)};
}

void MousePicture::set_colour(QColor& member, const QColor& colour) {
    member = colour;
    update();
}

void MousePicture::set_body(const QColor& colour) {
    set_colour(m_body, colour);
}
void MousePicture::set_outline(const QColor& colour) {
    set_colour(m_outline, colour);
}
void MousePicture::set_button(const QColor& colour) {
    set_colour(m_button, colour);
}
void MousePicture::set_highlight(const QColor& colour) {
    set_colour(m_highlight, colour);
}
void MousePicture::set_badge(const QColor& colour) {
    set_colour(m_badge, colour);
}
void MousePicture::set_badge_text(const QColor& colour) {
    set_colour(m_badge_text, colour);
}

void MousePicture::paintEvent(QPaintEvent* /*event*/) {
    const Drawing& d = drawing();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(to_widget());

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_body);
    painter.drawPath(d.shell);
    painter.setBrush(m_body.darker(125));
    painter.drawPath(d.groove);
    painter.strokePath(d.light, QPen(m_outline, 2.0, Qt::SolidLine, Qt::RoundCap));

    // The side buttons lie across the shell's edge, the others within it.
    const auto fill = [&](int button) { return button == m_highlighted ? m_highlight : m_button; };
    const auto paint_button = [&](int button) {
        painter.setPen(QPen(m_outline, 1.0));
        painter.setBrush(fill(button));
        painter.drawPath(d.buttons[index(button)]);
    };
    for (int button = 1; button <= kButtons; ++button) {
        if (!is_side_button(button)) {
            paint_button(button);
        }
    }
    painter.strokePath(d.shell, QPen(m_outline, 1.5));
    for (int button = 1; button <= kButtons; ++button) {
        if (is_side_button(button)) {
            paint_button(button);
        }
    }

    // The tyre's ridges, left clear around the badge.
    painter.setPen(QPen(m_highlighted == 3 ? m_highlight.darker(160) : m_outline, 1.0));
    for (double y = d.tyre.top() + 3.0; y < d.tyre.bottom() - 2.0; y += 4.0) {
        if (std::abs(y - d.badges[index(3)].y()) > 8.0) {
            painter.drawLine(QPointF(d.tyre.left() + 5.0, y), QPointF(d.tyre.right() - 5.0, y));
        }
    }
    QColor arrow = m_badge_text;
    arrow.setAlphaF(0.6f);
    paint_chevron(painter, d.up_arrow, 1.0, m_highlighted == 15 ? m_badge : arrow);
    paint_chevron(painter, d.down_arrow, -1.0, m_highlighted == 16 ? m_badge : arrow);

    for (int button = 1; button <= kButtons; ++button) {
        paint_badge(painter, d.badges[index(button)], button, m_badge,
                    button == m_highlighted ? m_highlight : m_badge_text);
    }
}

void MousePicture::mouseMoveEvent(QMouseEvent* event) {
    set_hovered(button_at(event->position()));
    QWidget::mouseMoveEvent(event);
}

void MousePicture::leaveEvent(QEvent* event) {
    set_hovered(0);
    QWidget::leaveEvent(event);
}

void MousePicture::set_hovered(int button) {
    if (button != m_hovered) {
        m_hovered = button;
        emit hovered(button);
    }
}

} // namespace zemrak::pages
