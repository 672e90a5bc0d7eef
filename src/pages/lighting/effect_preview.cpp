#include "pages/lighting/effect_preview.h"

#include "model/light_effects.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <utility>

namespace zemrak::pages {
namespace {

// The preview's own colours, as the theme gives them.
struct Theme {
    QColor background;
    QColor edge;
    QColor spark;
};

// Dims but never blacks out: a dim setting should still show which colours are chosen.
[[nodiscard]] QColor dimmed(const QColor& colour, double brightness) {
    const double factor = 0.3 + 0.7 * brightness;
    return QColor::fromRgbF(static_cast<float>(colour.redF() * factor),
                            static_cast<float>(colour.greenF() * factor),
                            static_cast<float>(colour.blueF() * factor));
}

[[nodiscard]] QColor hue(int degrees, double brightness) {
    return dimmed(QColor::fromHsv(degrees % 360, 255, 255), brightness);
}

void fill_gradient(QPainter& painter, const QRectF& area,
                   const std::vector<std::pair<double, QColor>>& stops) {
    QLinearGradient gradient(area.topLeft(), area.topRight());
    for (const auto& [at, colour] : stops) {
        gradient.setColorAt(at, colour);
    }
    painter.fillRect(area, gradient);
}

void paint_effect(QPainter& painter, const QRectF& area, const EffectLook& look,
                  const Theme& theme) {
    const LightEffect* effect = find_light_effect(look.mode);
    const bool dims = effect != nullptr && effect->parameters.brightness;
    const double brightness = dims ? look.brightness : 1.0;
    std::vector<QColor> colours;
    for (const QColor& colour : look.colours) {
        colours.push_back(dimmed(colour, brightness));
    }
    if (colours.empty()) {
        colours.push_back(theme.spark);
    }
    const QColor stage = dimmed(look.stage, brightness);
    const auto count = static_cast<double>(colours.size());
    const double width = area.width();

    switch (look.mode) {
    case kLightStageColour:
        painter.fillRect(area, stage);
        break;
    case kLightBreathing:
        fill_gradient(painter, area,
                      {{0.0, theme.background},
                       {0.25, stage},
                       {0.5, theme.background},
                       {0.75, stage},
                       {1.0, theme.background}});
        break;
    case kLightPulse: {
        if (colours.size() == 1) {
            colours.push_back(colours.front()); // two breaths, like the stage colour's
        }
        std::vector<std::pair<double, QColor>> stops{{0.0, theme.background}};
        const auto breaths = static_cast<double>(colours.size());
        for (std::size_t i = 0; i < colours.size(); ++i) {
            stops.emplace_back((static_cast<double>(i) + 0.5) / breaths, colours[i]);
            stops.emplace_back((static_cast<double>(i) + 1.0) / breaths, theme.background);
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kLightSpectrum:
    case kLightWave: {
        // The wave shows the spectrum twice over: it travels along the mouse, not in time.
        const int turns = look.mode == kLightWave ? 2 : 1;
        std::vector<std::pair<double, QColor>> stops;
        for (int step = 0; step <= 6 * turns; ++step) {
            stops.emplace_back(static_cast<double>(step) / (6.0 * turns),
                               hue(step * 60, brightness));
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kLightComet: {
        // More than four comets in a strip this small read as stripes, not comets.
        const std::size_t comets = std::clamp<std::size_t>(colours.size(), 2, 4);
        const double lane = width / static_cast<double>(comets);
        const double tail = lane * (0.25 + 0.7 * look.length);
        for (std::size_t i = 0; i < comets; ++i) {
            const QColor& colour = colours[i % colours.size()];
            const double head = area.left() + lane * (static_cast<double>(i) + 0.85);
            const QRectF streak(head - tail, area.top(), tail, area.height());
            QColor clear = colour;
            clear.setAlpha(0);
            fill_gradient(painter, streak, {{0.0, clear}, {1.0, colour}});
            painter.fillRect(QRectF(head - 2.0, area.top(), 4.0, area.height()), theme.spark);
        }
        break;
    }
    case kLightMarquee: {
        const double dash = 5.0 + 14.0 * look.length;
        std::size_t i = 0;
        for (double x = area.left() + 2.0; x < area.right(); x += dash * 1.6, ++i) {
            painter.fillRect(QRectF(x, area.top() + 5.0, dash, area.height() - 10.0),
                             colours[i % colours.size()]);
        }
        break;
    }
    case kLightStatic:
        for (std::size_t i = 0; i < colours.size(); ++i) {
            painter.fillRect(QRectF(area.left() + width * static_cast<double>(i) / count,
                                    area.top(), width / count + 1.0, area.height()),
                             colours[i]);
        }
        break;
    case kLightColourCycle: {
        std::vector<std::pair<double, QColor>> stops;
        for (std::size_t i = 0; i <= colours.size(); ++i) {
            stops.emplace_back(static_cast<double>(i) / count, colours[i % colours.size()]);
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kLightStrobe: {
        int degrees = 0;
        for (double x = area.left() + 6.0; x < area.right() - 4.0; x += 16.0, degrees += 40) {
            painter.fillRect(QRectF(x, area.top(), 5.0, area.height()), hue(degrees, brightness));
        }
        break;
    }
    case kLightReactive: {
        const QPointF centre = area.center();
        QRadialGradient glow(centre, area.height() * 1.6);
        glow.setColorAt(0.0, stage);
        QColor clear = stage;
        clear.setAlpha(0);
        glow.setColorAt(1.0, clear);
        painter.fillRect(area, glow);
        break;
    }
    default: {
        // Off: only a faint line where the light would be.
        painter.setPen(QPen(theme.edge, 1.0, Qt::DashLine));
        painter.drawLine(QPointF(area.left() + 8.0, area.center().y()),
                         QPointF(area.right() - 8.0, area.center().y()));
        break;
    }
    }
}

} // namespace

EffectPreview::EffectPreview(std::function<EffectLook()> look, QWidget* parent)
    : QWidget(parent), m_look(std::move(look)) {
    setObjectName(QStringLiteral("effect_preview"));
    setMinimumHeight(34);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void EffectPreview::set_background(const QColor& colour) {
    m_background = colour;
    update();
}

void EffectPreview::set_edge(const QColor& colour) {
    m_edge = colour;
    update();
}

void EffectPreview::set_spark(const QColor& colour) {
    m_spark = colour;
    update();
}

void EffectPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(area, 4.0, 4.0);
    painter.fillPath(shape, m_background);
    painter.save();
    painter.setClipPath(shape);
    paint_effect(painter, area, m_look(), Theme{m_background, m_edge, m_spark});
    painter.restore();
    painter.setPen(QPen(m_edge, 1.0));
    painter.drawPath(shape);
}

} // namespace zemrak::pages
