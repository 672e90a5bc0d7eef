#pragma once

#include <QImage>
#include <QRgb>
#include <QWidget>

namespace zemrak::ui {

// A colour picker drawn in one piece: a field with hue running left to right and saturation
// falling from top to bottom, and beside it a strip for the value (brightness). Pressing and
// dragging in either part picks; the part pressed keeps the drag until the button is released,
// so a drag that strays out of the field still moves only hue and saturation. From the
// keyboard, Left and Right move the hue, Up and Down the saturation, Page Up and Page Down the
// value; each key is a whole pick, reported like a drag that has ended.
class ColourPalette final : public QWidget {
    Q_OBJECT
public:
    explicit ColourPalette(QWidget* parent = nullptr);

    // Selects a colour without emitting; colour() then gives back exactly this colour.
    void set_colour(QRgb argb);
    // The selected colour, always opaque.
    [[nodiscard]] QRgb colour() const { return m_colour; }

    // Where the two parts lie in the widget; the strip is the value part.
    [[nodiscard]] QRect field_rect() const;
    [[nodiscard]] QRect strip_rect() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    // Every pick while the button is down, the press included.
    void colour_changed(QRgb argb);
    // The colour at the end of a drag.
    void colour_released(QRgb argb);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Part { None, Field, Strip };

    void pick(QPoint at);
    // Takes the colour of the markers and reports it.
    void take_markers();
    void rebuild_field();

    QRgb m_colour = qRgb(255, 0, 0);
    // Kept apart from m_colour: greys and black have no hue of their own, and the markers must
    // not jump to red when the value reaches zero.
    double m_hue = 0.0;
    double m_saturation = 1.0;
    double m_value = 1.0;
    Part m_dragging = Part::None;
    QImage m_field; // hue and saturation at full value, remade only on resize
};

// Gives `control` a flat background of `argb` and marks it as a swatch (dynamic property
// "swatch"), whose edge, and a button's answer to the pointer, the theme draws: the look of
// every colour swatch in the program.
void show_swatch(QWidget* control, QRgb argb);

} // namespace zemrak::ui
