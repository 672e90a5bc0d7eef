#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <vector>

namespace zemrak::pages {

// What the preview strip draws: the effect with the colours and parameters it would use now.
struct EffectLook {
    int mode = -1;
    double brightness = 1.0; // 0..1 of the slider's range
    double length = 0.5;     // 0..1 of the slider's range
    QColor stage;            // the active sensitivity stage's colour
    std::vector<QColor> colours;
};

// A still picture of the chosen effect. It asks for the look each time it paints, so colours
// changed on other pages (the stage colour) show as soon as the page is seen again. Its own
// colours come from the theme (qproperty-background, -edge, -spark); the defaults are the
// theme's.
class EffectPreview final : public QWidget {
    Q_OBJECT
    // Where no light shines.
    Q_PROPERTY(QColor background READ background WRITE set_background)
    // The outline of the strip, and the faint line that stands for "off".
    Q_PROPERTY(QColor edge READ edge WRITE set_edge)
    // The heads of the comets, and the light of an effect given no colours.
    Q_PROPERTY(QColor spark READ spark WRITE set_spark)
public:
    EffectPreview(std::function<EffectLook()> look, QWidget* parent);

    [[nodiscard]] QColor background() const { return m_background; }
    void set_background(const QColor& colour);
    [[nodiscard]] QColor edge() const { return m_edge; }
    void set_edge(const QColor& colour);
    [[nodiscard]] QColor spark() const { return m_spark; }
    void set_spark(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<EffectLook()> m_look;
    QColor m_background{0x0b, 0x0c, 0x0f};
    QColor m_edge{0x2c, 0x30, 0x38};
    QColor m_spark{Qt::white};
};

} // namespace zemrak::pages
