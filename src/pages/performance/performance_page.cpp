#include "pages/performance/performance_page.h"

#include "model/active_stage.h"
#include "model/device_params.h"
#include "pages/profile_model.h"
#include "platform/pointer_settings.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"
#include "ui_performance.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

namespace zemrak::pages {
namespace {

// Unchecks every option of an exclusive set, which Qt otherwise refuses to leave empty.
void uncheck_all(QPushButton* option) {
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

QString number_text(int value) {
    return QString::number(value);
}

QString double_click_text(int level) {
    return ui::Texts::text("perf_ms_text").arg(double_click_time_ms(level));
}

} // namespace

CPerformancePage::CPerformancePage() : m_ui(std::make_unique<Ui::PerformancePage>()) {}

CPerformancePage::~CPerformancePage() = default;

void CPerformancePage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    QObject::connect(&host.model(), &ProfileModel::profileChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });
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
    show_rows(offered_rows());
    connect_controls();

    ui::Texts::apply(body);
    show_pointer_support(m_support);
}

void CPerformancePage::show_pointer_support(const PointerSupport& support) {
    m_support = support;
    const auto show = [](const std::string& reason, QLabel* note,
                         std::initializer_list<QWidget*> controls) {
        const QString text = reason.empty() ? QString() : ui::Texts::text(std::string_view(reason));
        note->setText(text);
        note->setVisible(!reason.empty());
        for (QWidget* control : controls) {
            control->setToolTip(text);
            control->setEnabled(reason.empty());
        }
    };
    show(support.motion, m_ui->mouse_move_unsupported_label,
         {m_ui->mouse_move_speed_slider, m_ui->enhance_pointer_checkbox});
    show(support.wheel, m_ui->scroll_unsupported_label,
         {m_ui->scroll_speed_slider, m_ui->one_page_checkbox});
    show(support.double_click, m_ui->double_click_unsupported_label,
         {m_ui->double_click_speed_slider});
    m_ui->scroll_speed_slider->setEnabled(wheel_lines_editable());
}

bool CPerformancePage::wheel_lines_editable() const {
    // A page per notch leaves the line count without effect.
    return m_support.wheel.empty() && !m_ui->one_page_checkbox->isChecked();
}

void CPerformancePage::build_stage_rows(QWidget* parent) {
    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    m_rows.reserve(kStages);
    for (std::size_t i = 0; i < kStages; ++i) {
        m_rows.emplace_back(static_cast<int>(i) + 1, m_sensor, parent, group);
    }
}

void CPerformancePage::connect_controls() {
    // Nothing is written while no profile is current or while refresh() fills the controls.
    const auto handle = [this](const QObject* control, const char* type, auto act) {
        on(control, QString::fromLatin1(type), [this, act](const ui::Notification& n) {
            if (m_profile != nullptr && !m_refreshing) {
                act(n);
            }
        });
    };
    // An option that loses its mark reports too: only the newly chosen one counts.
    for (std::size_t i = 0; i < kPollingRates; ++i) {
        handle(m_pollingOptions.at(i), "selectchanged", [this, i](const ui::Notification& n) {
            if (n.wparam != 0) {
                m_profile->set_polling_rate_index(static_cast<std::int32_t>(i));
            }
        });
    }
    for (std::size_t i = 0; i < kStages; ++i) {
        const StageRow& row = m_rows.at(i);
        handle(row.option(), "selectchanged", [this, i](const ui::Notification& n) {
            if (n.wparam == 0) {
                return;
            }
            m_profile->set_active_stage(static_cast<std::int32_t>(i));
            show_active_stage(i);
            // The mouse must be able to use the stage it is told to: one that is off goes on.
            if (!m_profile->stage_enabled(i)) {
                m_profile->set_stage_enabled(i, true);
                const QSignalBlocker quiet(m_rows.at(i).check());
                m_rows.at(i).check()->setChecked(true);
                m_rows.at(i).show_enabled(true);
            }
        });
        // Stored while dragging too, so the label and the profile never disagree.
        for (const char* type : {"valuechanged", "movevaluechanged"}) {
            handle(row.slider(), type, [this, i](const ui::Notification& n) {
                const auto code = static_cast<std::int32_t>(n.wparam);
                m_profile->set_stage_dpi_code(i, code);
                m_rows.at(i).show_dpi(code);
            });
        }
        handle(row.check(), "checkclick", [this, i](const ui::Notification& n) {
            m_profile->set_stage_enabled(i, n.wparam != 0);
            if (!keep_active_stage_usable(m_shownRows)) {
                // The last enabled stage stays on: the mouse always has one to use.
                m_profile->set_stage_enabled(i, true);
                const QSignalBlocker quiet(m_rows.at(i).check());
                m_rows.at(i).check()->setChecked(true);
                return;
            }
            m_rows.at(i).show_enabled(n.wparam != 0);
        });
        handle(row.swatch(), "click", [this, i](const ui::Notification&) { pick_stage_colour(i); });
    }

    // The pointer settings reach the desktop only on apply, yet their labels follow the thumb
    // and only the value it is released at is kept.
    const auto pointer_slider = [this, &handle](QSlider* slider, QLabel* label,
                                                QString (*text)(int),
                                                void (ConfigBlock::*store)(std::int32_t)) {
        handle(slider, "movevaluechanged", [label, text](const ui::Notification& n) {
            label->setText(text(static_cast<int>(n.wparam)));
        });
        handle(slider, "valuechanged", [this, label, text, store](const ui::Notification& n) {
            label->setText(text(static_cast<int>(n.wparam)));
            (m_profile->*store)(static_cast<std::int32_t>(n.wparam));
        });
    };
    pointer_slider(m_ui->mouse_move_speed_slider, m_ui->mouse_move_speed_value, number_text,
                   &ConfigBlock::set_pointer_speed);
    pointer_slider(m_ui->scroll_speed_slider, m_ui->scroll_speed_value, number_text,
                   &ConfigBlock::set_wheel_lines);
    pointer_slider(m_ui->double_click_speed_slider, m_ui->double_click_speed_value,
                   double_click_text, &ConfigBlock::set_double_click_level);

    handle(m_ui->enhance_pointer_checkbox, "checkclick", [this](const ui::Notification& n) {
        m_profile->set_enhance_precision(n.wparam != 0 ? 1 : 0);
    });
    handle(m_ui->one_page_checkbox, "checkclick", [this](const ui::Notification& n) {
        m_profile->set_page_scroll(n.wparam != 0 ? 1 : 0);
        m_ui->scroll_speed_slider->setEnabled(wheel_lines_editable());
    });
    handle(m_ui->max_dpi_combo, "itemselect", [this](const ui::Notification& n) {
        if (n.wparam < 0 || n.wparam >= static_cast<qint64>(kStages)) {
            return;
        }
        const auto count = static_cast<std::int32_t>(n.wparam) + 1;
        const std::int32_t stored = m_profile->stage_count();
        m_profile->set_stage_count(count);
        if (!keep_active_stage_usable(count)) {
            // None of the stages left would be enabled: the count stays as it was.
            m_profile->set_stage_count(stored);
            const QSignalBlocker quiet(m_ui->max_dpi_combo);
            m_ui->max_dpi_combo->setCurrentIndex(m_shownRows - 1);
            return;
        }
        show_rows(count);
    });
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
        m_pollingOptions.at(static_cast<std::size_t>(rate))->setChecked(true);
    } else {
        for (QPushButton* option : m_pollingOptions) {
            uncheck_all(option);
        }
    }

    const std::int32_t active = profile->active_stage();
    if (active < 0 || active >= static_cast<std::int32_t>(kStages)) {
        QButtonGroup* group = m_rows.front().option()->group();
        group->setExclusive(false);
        for (const StageRow& row : m_rows) {
            row.option()->setChecked(false);
        }
        group->setExclusive(true);
    }
    show_active_stage(static_cast<std::size_t>(active));

    for (std::size_t i = 0; i < kStages; ++i) {
        StageRow& row = m_rows.at(i);
        row.show_code(profile->stage_dpi_code(i));
        row.show_enabled(profile->stage_enabled(i));
        row.show_colour(profile->stage_colour(i));
    }

    m_ui->mouse_move_speed_slider->setValue(profile->pointer_speed());
    m_ui->scroll_speed_slider->setValue(profile->wheel_lines());
    m_ui->double_click_speed_slider->setValue(profile->double_click_level());
    m_ui->enhance_pointer_checkbox->setChecked(profile->enhance_precision() != 0);
    m_ui->one_page_checkbox->setChecked(profile->page_scroll() != 0);
    m_ui->scroll_speed_slider->setEnabled(wheel_lines_editable());
    show_pointer_values();

    // A count from elsewhere that the combo cannot show stays in the profile untouched.
    const std::int32_t count = profile->stage_count();
    const bool valid = count >= 1 && count <= static_cast<std::int32_t>(kStages);
    const std::int32_t shown = valid ? count : offered_rows();
    m_ui->max_dpi_combo->setCurrentIndex(shown - 1);
    show_rows(shown);
}

void CPerformancePage::show_active_stage(std::size_t stage) {
    for (std::size_t i = 0; i < kStages; ++i) {
        m_rows.at(i).show_active(i == stage);
    }
}

bool CPerformancePage::keep_active_stage_usable(std::int32_t count) {
    const std::int32_t active = m_profile->active_stage();
    // An active stage no row stands for came from elsewhere and stays as it is.
    if (active < 0 || active >= static_cast<std::int32_t>(kStages)) {
        return true;
    }
    const std::optional<std::size_t> usable =
        usable_stage_near(*m_profile, static_cast<std::size_t>(active), count);
    if (!usable) {
        return false;
    }
    if (*usable != static_cast<std::size_t>(active)) {
        m_profile->set_active_stage(static_cast<std::int32_t>(*usable));
        show_active_stage(*usable);
    }
    return true;
}

void CPerformancePage::show_rows(std::int32_t count) {
    m_shownRows = count;
    for (std::size_t i = 0; i < kStages; ++i) {
        m_rows.at(i).row()->setVisible(static_cast<std::int32_t>(i) < count);
    }
}

void CPerformancePage::show_pointer_values() {
    m_ui->mouse_move_speed_value->setText(number_text(m_profile->pointer_speed()));
    m_ui->scroll_speed_value->setText(number_text(m_profile->wheel_lines()));
    m_ui->double_click_speed_value->setText(double_click_text(m_profile->double_click_level()));
}

void CPerformancePage::pick_stage_colour(std::size_t stage) {
    if (const std::optional<Colour> picked =
            ui::pick_colour(*m_host, m_profile->stage_colour(stage))) {
        m_profile->set_stage_colour(stage, *picked);
        m_rows.at(stage).show_colour(*picked);
    }
}

} // namespace zemrak::pages
