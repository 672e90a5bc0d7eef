#include "pages/performance/stage_row.h"

#include "model/sensors.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/qt_text.h"
#include "ui/row_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

namespace zemrak::pages {
namespace {

using ui::named_child;
using ui::set_style_flag;

// Sliders of a sensor we know nothing of: its codes are kept in the profile but no report
// carries them, so any range will do.
constexpr int kUnknownSensorMin = 1;
constexpr int kUnknownSensorMax = 100;
// A click beside the thumb moves it by about a twelfth of the range.
constexpr int kPageStepsPerRange = 12;

} // namespace

StageRow::StageRow(int number, std::int32_t sensor, QWidget* parent, QButtonGroup* group)
    : m_sensor(sensor) {
    m_row = named_child<QFrame>(parent, QString("dpi_setting_ver_%1").arg(number));
    m_row->setProperty("role", "stagerow");
    auto* layout = new QHBoxLayout(m_row);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->setSpacing(8);

    m_option = named_child<QPushButton>(m_row, QString("mouse_dpi_btn_%1").arg(number));
    m_option->setText(QString::number(number));
    m_option->setCheckable(true);
    m_option->setAutoExclusive(true);
    group->addButton(m_option);
    m_option->setFixedSize(34, 26);
    m_option->setProperty("role", "stageoption");
    m_option->setProperty("tipkey", "perf_stage_tip_text");
    m_option->setCursor(Qt::PointingHandCursor);

    m_check = named_child<QCheckBox>(m_row, QString("mouse_dpi_check_%1").arg(number));
    m_check->setFixedWidth(24);
    m_check->setProperty("tipkey", "perf_stage_check_tip_text");
    m_check->setCursor(Qt::PointingHandCursor);

    m_swatch = named_child<QPushButton>(m_row, QString("mouse_dpi_color%1").arg(number));
    m_swatch->setFixedSize(40, 20);
    m_swatch->setProperty("role", "stageswatch");
    m_swatch->setProperty("tipkey", "perf_colour_tip_text");
    m_swatch->setCursor(Qt::PointingHandCursor);

    m_low = named_child<QLabel>(m_row, QString("label_dpi_left_%1").arg(number));
    m_low->setProperty("role", "rangelabel");
    m_low->setFixedWidth(34);
    m_low->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_slider = named_child<QSlider>(m_row, QString("mouse_dpi%1_slider").arg(number));
    m_slider->setOrientation(Qt::Horizontal);
    m_slider->setCursor(Qt::PointingHandCursor);

    m_high = named_child<QLabel>(m_row, QString("label_dpi_right_%1").arg(number));
    m_high->setProperty("role", "rangelabel");
    m_high->setFixedWidth(38);

    m_value = named_child<QLabel>(m_row, QString("mouse_dpi_value_%1").arg(number));
    m_value->setProperty("role", "dpivalue");
    m_value->setFixedWidth(58);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    layout->addWidget(m_option);
    layout->addWidget(m_check);
    layout->addWidget(m_swatch);
    layout->addWidget(m_low);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_high);
    layout->addWidget(m_value);
    parent->layout()->addWidget(m_row);
    apply_sensor_range();
}

void StageRow::apply_sensor_range() {
    const std::optional<StageRange> range = stage_range(m_sensor);
    if (!range) {
        m_slider->setRange(kUnknownSensorMin, kUnknownSensorMax);
        return;
    }
    m_slider->setRange(range->min_code, range->max_code);
    m_slider->setPageStep(std::max(1, (range->max_code - range->min_code) / kPageStepsPerRange));
    m_low->setText(ui::to_qstring(range->low_text));
    m_high->setText(ui::to_qstring(range->high_text));
}

void StageRow::show_code(std::int32_t code) {
    m_slider->setValue(code);
    show_dpi(code);
}

void StageRow::show_dpi(std::int32_t code) {
    m_value->setText(QString::fromStdString(dpi_text(m_sensor, code)));
}

void StageRow::show_colour(Colour colour) {
    ui::show_swatch(m_swatch, ui::to_qrgb(colour));
}

void StageRow::show_active(bool active) {
    if (active) {
        m_option->setChecked(true);
    }
    set_style_flag(m_row, "active", active);
    set_style_flag(m_value, "active", active);
}

void StageRow::show_enabled(bool enabled) {
    m_check->setChecked(enabled);
    set_style_flag(m_value, "stageoff", !enabled);
}

} // namespace zemrak::pages
