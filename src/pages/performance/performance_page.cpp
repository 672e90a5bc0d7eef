#include "pages/performance/performance_page.h"

#include "model/device_params.h"
#include "model/sensors.h"
#include "platform/pointer_settings.h"
#include "ui/colour_convert.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"
#include "ui_performance.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

namespace zemrak::pages {
namespace {

// Sliders of a sensor we know nothing of: its codes are kept in the profile but no report
// carries them, so any range will do.
constexpr int kUnknownSensorMin = 1;
constexpr int kUnknownSensorMax = 100;
// A click beside the thumb moves it by about a twelfth of the range.
constexpr int kPageStepsPerRange = 12;

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Style rules keyed on dynamic properties are only re-read when the widget is polished again.
void set_style_flag(QWidget* widget, const char* name, bool on) {
    if (widget->property(name).toBool() == on && widget->property(name).isValid()) {
        return;
    }
    widget->setProperty(name, on);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

// Unchecks every option of an exclusive set, which Qt otherwise refuses to leave empty.
void uncheck_all(QPushButton* option) {
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

template <typename T>
T* named_child(QWidget* parent, const QString& name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

} // namespace

CPerformancePage::CPerformancePage() : m_ui(std::make_unique<Ui::PerformancePage>()) {
    // Nothing is written while no profile is current or while refresh() fills the controls.
    const auto handle = [this](void (CPerformancePage::*handler)(const ui::Notification&)) {
        return [this, handler](const ui::Notification& n) {
            if (m_profile != nullptr && !m_refreshing) {
                (this->*handler)(n);
            }
        };
    };
    on("click", handle(&CPerformancePage::on_click));
    on("selectchanged", handle(&CPerformancePage::on_select));
    on("checkclick", handle(&CPerformancePage::on_check));
    on("itemselect", handle(&CPerformancePage::on_item_select));
    on("valuechanged", handle(&CPerformancePage::on_value_set));
    on("movevaluechanged", handle(&CPerformancePage::on_value_dragged));
}

CPerformancePage::~CPerformancePage() = default;

void CPerformancePage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    m_sensor = host.device_params().sensor;
    m_stageRows = host.device_params().stage_rows;

    if (auto* placeholder = container->findChild<QWidget*>("performance_page_placeholder")) {
        placeholder->hide();
    }
    auto* body = new QWidget(container);
    m_ui->setupUi(body);
    container->layout()->addWidget(body);
    container->layout()->setContentsMargins(16, 14, 16, 14);
    build_stage_rows(m_ui->dpi_rows_ver);
    m_pollingOptions = {m_ui->prate_1_option, m_ui->prate_2_option, m_ui->prate_3_option,
                        m_ui->prate_4_option};

    apply_sensor_ranges();
    show_rows(offered_rows());

    ui::Texts::apply(body);
}

void CPerformancePage::build_stage_rows(QWidget* parent) {
    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    for (std::size_t i = 0; i < kStages; ++i) {
        const int number = static_cast<int>(i) + 1;
        StageRow& r = m_rows[i];
        r.row = named_child<QFrame>(parent, QString("dpi_setting_ver_%1").arg(number));
        r.row->setProperty("role", "stagerow");
        auto* layout = new QHBoxLayout(r.row);
        layout->setContentsMargins(8, 5, 8, 5);
        layout->setSpacing(8);

        r.option = named_child<QPushButton>(r.row, QString("mouse_dpi_btn_%1").arg(number));
        r.option->setText(QString::number(number));
        r.option->setCheckable(true);
        r.option->setAutoExclusive(true);
        group->addButton(r.option);
        r.option->setFixedSize(34, 26);
        r.option->setProperty("role", "stageoption");
        r.option->setProperty("tipkey", "perf_stage_tip_text");
        r.option->setFocusPolicy(Qt::NoFocus);
        r.option->setCursor(Qt::PointingHandCursor);

        r.check = named_child<QCheckBox>(r.row, QString("mouse_dpi_check_%1").arg(number));
        r.check->setFixedWidth(24);
        r.check->setProperty("tipkey", "perf_stage_check_tip_text");
        r.check->setFocusPolicy(Qt::NoFocus);
        r.check->setCursor(Qt::PointingHandCursor);

        r.swatch = named_child<QPushButton>(r.row, QString("mouse_dpi_color%1").arg(number));
        r.swatch->setFixedSize(40, 20);
        r.swatch->setProperty("role", "swatch");
        r.swatch->setProperty("tipkey", "perf_colour_tip_text");
        r.swatch->setFocusPolicy(Qt::NoFocus);
        r.swatch->setCursor(Qt::PointingHandCursor);

        r.low = named_child<QLabel>(r.row, QString("label_dpi_left_%1").arg(number));
        r.low->setProperty("role", "rangelabel");
        r.low->setFixedWidth(34);
        r.low->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        r.slider = named_child<QSlider>(r.row, QString("mouse_dpi%1_slider").arg(number));
        r.slider->setOrientation(Qt::Horizontal);
        r.slider->setRange(kUnknownSensorMin, kUnknownSensorMax);
        r.slider->setCursor(Qt::PointingHandCursor);

        r.high = named_child<QLabel>(r.row, QString("label_dpi_right_%1").arg(number));
        r.high->setProperty("role", "rangelabel");
        r.high->setFixedWidth(38);

        r.value = named_child<QLabel>(r.row, QString("mouse_dpi_value_%1").arg(number));
        r.value->setProperty("role", "dpivalue");
        r.value->setFixedWidth(58);
        r.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        layout->addWidget(r.option);
        layout->addWidget(r.check);
        layout->addWidget(r.swatch);
        layout->addWidget(r.low);
        layout->addWidget(r.slider, 1);
        layout->addWidget(r.high);
        layout->addWidget(r.value);
        parent->layout()->addWidget(r.row);
    }
}

void CPerformancePage::apply_sensor_ranges() {
    const std::optional<StageRange> range = stage_range(m_sensor);
    if (!range) {
        return;
    }
    const int page_step = std::max(1, (range->max_code - range->min_code) / kPageStepsPerRange);
    for (StageRow& r : m_rows) {
        r.slider->setRange(range->min_code, range->max_code);
        r.slider->setPageStep(page_step);
        r.low->setText(text_of(range->low_text));
        r.high->setText(text_of(range->high_text));
    }
}

std::int32_t CPerformancePage::offered_rows() const {
    const bool known = m_stageRows >= 0 && m_stageRows <= static_cast<std::int32_t>(kStages);
    return known ? m_stageRows : static_cast<std::int32_t>(kStages);
}

void CPerformancePage::refresh(ConfigBlock* profile) {
    m_profile = profile;
    if (profile == nullptr) {
        return;
    }
    const QScopedValueRollback refreshing(m_refreshing, true);

    const std::int32_t rate = profile->polling_rate_index();
    if (rate >= 0 && rate < static_cast<std::int32_t>(kPollingRates)) {
        m_pollingOptions[static_cast<std::size_t>(rate)]->setChecked(true);
    } else {
        for (QPushButton* option : m_pollingOptions) {
            uncheck_all(option);
        }
    }

    const std::int32_t active = profile->active_stage();
    if (active < 0 || active >= static_cast<std::int32_t>(kStages)) {
        QButtonGroup* group = m_rows[0].option->group();
        group->setExclusive(false);
        for (StageRow& r : m_rows) {
            r.option->setChecked(false);
        }
        group->setExclusive(true);
    }
    show_active_stage(static_cast<std::size_t>(active));

    for (std::size_t i = 0; i < kStages; ++i) {
        const std::int32_t code = profile->stage_dpi_code(i);
        m_rows[i].slider->setValue(code);
        show_dpi(i, code);
        m_rows[i].check->setChecked(profile->stage_enabled(i));
        show_stage_enabled(i, profile->stage_enabled(i));
        show_colour(i, profile->stage_colour(i));
    }

    m_ui->mouse_move_speed_slider->setValue(profile->pointer_speed());
    m_ui->scroll_speed_slider->setValue(profile->wheel_lines());
    m_ui->double_click_speed_slider->setValue(profile->double_click_level());
    m_ui->enhance_pointer_checkbox->setChecked(profile->enhance_precision() != 0);
    m_ui->one_page_checkbox->setChecked(profile->page_scroll() != 0);
    m_ui->scroll_speed_slider->setEnabled(profile->page_scroll() == 0);
    show_pointer_values();

    // A count from elsewhere that the combo cannot show stays in the profile untouched.
    const std::int32_t count = profile->stage_count();
    const bool valid = count >= 1 && count <= static_cast<std::int32_t>(kStages);
    const std::int32_t shown = valid ? count : offered_rows();
    m_ui->max_dpi_combo->setCurrentIndex(shown - 1);
    show_rows(shown);
}

void CPerformancePage::show_dpi(std::size_t stage, std::int32_t code) {
    m_rows[stage].value->setText(QString::fromStdString(dpi_text(m_sensor, code)));
}

void CPerformancePage::show_colour(std::size_t stage, Colour colour) {
    // A sheet with a border of its own makes every style paint the fill flat; with a bare
    // background colour some styles shade it into another colour.
    m_rows[stage].swatch->setStyleSheet(
        QString("QPushButton { background-color: %1; border: 2px solid #3a3f49; "
                "border-radius: 4px; padding: 0px; } "
                "QPushButton:hover { border-color: #e6e8eb; }")
            .arg(QColor(ui::to_qrgb(colour)).name()));
}

void CPerformancePage::show_active_stage(std::size_t stage) {
    for (std::size_t i = 0; i < kStages; ++i) {
        const bool active = i == stage;
        if (active) {
            m_rows[i].option->setChecked(true);
        }
        set_style_flag(m_rows[i].row, "active", active);
        set_style_flag(m_rows[i].value, "active", active);
    }
}

void CPerformancePage::show_stage_enabled(std::size_t stage, bool enabled) {
    set_style_flag(m_rows[stage].value, "stageoff", !enabled);
}

void CPerformancePage::show_rows(std::int32_t count) {
    for (std::size_t i = 0; i < kStages; ++i) {
        m_rows[i].row->setVisible(static_cast<std::int32_t>(i) < count);
    }
}

void CPerformancePage::show_pointer_values() {
    m_ui->mouse_move_speed_value->setText(QString::number(m_profile->pointer_speed()));
    m_ui->scroll_speed_value->setText(QString::number(m_profile->wheel_lines()));
    m_ui->double_click_speed_value->setText(
        ui::Texts::text("perf_ms_text").arg(double_click_time_ms(m_profile->double_click_level())));
}

template <typename Member>
std::size_t CPerformancePage::stage_of(const QObject* control, Member member) const {
    for (std::size_t i = 0; i < kStages; ++i) {
        if (m_rows[i].*member == control) {
            return i;
        }
    }
    return kStages;
}

void CPerformancePage::on_select(const ui::Notification& n) {
    if (n.wparam == 0) {
        return; // the option that lost its mark; the new one reports too
    }
    for (std::size_t i = 0; i < kPollingRates; ++i) {
        if (m_pollingOptions[i] == n.control) {
            m_profile->set_polling_rate_index(static_cast<std::int32_t>(i));
            return;
        }
    }
    if (const std::size_t stage = stage_of(n.control, &StageRow::option); stage < kStages) {
        m_profile->set_active_stage(static_cast<std::int32_t>(stage));
        show_active_stage(stage);
    }
}

void CPerformancePage::on_value_set(const ui::Notification& n) {
    on_value(n, true);
}

void CPerformancePage::on_value_dragged(const ui::Notification& n) {
    on_value(n, false);
}

void CPerformancePage::on_value(const ui::Notification& n, bool released) {
    const auto value = static_cast<std::int32_t>(n.wparam);
    if (const std::size_t stage = stage_of(n.control, &StageRow::slider); stage < kStages) {
        // Stored while dragging too, so the label and the profile never disagree.
        m_profile->set_stage_dpi_code(stage, value);
        show_dpi(stage, value);
        return;
    }
    // The pointer settings reach the desktop only on apply, yet their labels follow the thumb
    // and only the value it is released at is kept.
    if (n.control == m_ui->mouse_move_speed_slider) {
        m_ui->mouse_move_speed_value->setText(QString::number(value));
        if (released) {
            m_profile->set_pointer_speed(value);
        }
    } else if (n.control == m_ui->scroll_speed_slider) {
        m_ui->scroll_speed_value->setText(QString::number(value));
        if (released) {
            m_profile->set_wheel_lines(value);
        }
    } else if (n.control == m_ui->double_click_speed_slider) {
        m_ui->double_click_speed_value->setText(
            ui::Texts::text("perf_ms_text").arg(double_click_time_ms(value)));
        if (released) {
            m_profile->set_double_click_level(value);
        }
    }
}

void CPerformancePage::on_check(const ui::Notification& n) {
    const bool on = n.wparam != 0;
    if (n.control == m_ui->enhance_pointer_checkbox) {
        m_profile->set_enhance_precision(on ? 1 : 0);
    } else if (n.control == m_ui->one_page_checkbox) {
        m_profile->set_page_scroll(on ? 1 : 0);
        // A page per notch leaves the line count without effect.
        m_ui->scroll_speed_slider->setEnabled(!on);
    } else if (const std::size_t stage = stage_of(n.control, &StageRow::check); stage < kStages) {
        m_profile->set_stage_enabled(stage, on);
        show_stage_enabled(stage, on);
    }
}

void CPerformancePage::on_item_select(const ui::Notification& n) {
    if (n.control != m_ui->max_dpi_combo || n.wparam < 0 ||
        n.wparam >= static_cast<qint64>(kStages)) {
        return;
    }
    const auto count = static_cast<std::int32_t>(n.wparam) + 1;
    m_profile->set_stage_count(count);
    show_rows(count);
}

void CPerformancePage::on_click(const ui::Notification& n) {
    const std::size_t stage = stage_of(n.control, &StageRow::swatch);
    if (stage == kStages) {
        return;
    }
    if (const std::optional<Colour> picked =
            ui::pick_colour(*m_host, m_profile->stage_colour(stage))) {
        m_profile->set_stage_colour(stage, *picked);
        show_colour(stage, *picked);
    }
}

} // namespace zemrak::pages
