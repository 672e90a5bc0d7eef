#pragma once

#include "model/colour.h"

#include <cstdint>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace zemrak::pages {

// One sensitivity stage of the performance page, built in code: the option that makes it the
// active stage, its on/off box, its colour swatch, its slider between the DPI of the slider's
// two ends, and the DPI of its code. The controls carry the names the layout would give them,
// numbered from 1 ("mouse_dpi_btn_3", "mouse_dpi3_slider", ...). The row only shows; the page
// decides what the controls do.
class StageRow {
public:
    // Builds row `number` for `sensor` at the end of `parent`'s layout; its option joins
    // `group`, the one active stage among the rows.
    StageRow(int number, std::int32_t sensor, QWidget* parent, QButtonGroup* group);

    [[nodiscard]] QFrame* row() const { return m_row; }
    [[nodiscard]] QPushButton* option() const { return m_option; }
    [[nodiscard]] QCheckBox* check() const { return m_check; }
    [[nodiscard]] QPushButton* swatch() const { return m_swatch; }
    [[nodiscard]] QSlider* slider() const { return m_slider; }

    // A stored code: the slider shows it (at its end when outside), the label its DPI.
    void show_code(std::int32_t code);
    // The DPI of the code the slider has just been moved to.
    void show_dpi(std::int32_t code);
    void show_colour(Colour colour);
    // The active row is marked; making a row active checks its option.
    void show_active(bool active);
    void show_enabled(bool enabled);

private:
    void apply_sensor_range();

    std::int32_t m_sensor;
    QFrame* m_row = nullptr;
    QPushButton* m_option = nullptr;
    QCheckBox* m_check = nullptr;
    QPushButton* m_swatch = nullptr;
    QLabel* m_low = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_high = nullptr;
    QLabel* m_value = nullptr;
};

} // namespace zemrak::pages
