#include "pages/lighting/light_page.h"

#include "model/config_block.h"
#include "pages/lighting/effect_preview.h"
#include "pages/profile_model.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/qt_text.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"
#include "ui_light.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace zemrak::pages {
namespace {

constexpr int kColourModeSingle = 0;

[[nodiscard]] double share(int value, int low, int high) {
    return std::clamp(static_cast<double>(value - low) / (high - low), 0.0, 1.0);
}

} // namespace

CLightPage::CLightPage() = default;

CLightPage::~CLightPage() = default;

void CLightPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    QObject::connect(&host.model(), &ProfileModel::profileChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });
    if (auto* placeholder =
            container->findChild<QWidget*>(QStringLiteral("light_page_placeholder"))) {
        placeholder->hide();
    }
    m_root = new QWidget(container);
    m_ui = std::make_unique<Ui::LightPage>();
    m_ui->setupUi(m_root);
    if (container->layout() != nullptr) {
        container->layout()->addWidget(m_root);
    }
    build_controls();
    connect_controls();
    ui::Texts::apply(m_root);
    refresh(nullptr);
}

void CLightPage::build_controls() {
    auto* grid = new QGridLayout(m_ui->light_mode_grid);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    for (const LightEffect& effect : light_effects()) {
        const int mode = effect.mode;
        auto* option = new QRadioButton(m_ui->light_mode_grid);
        option->setObjectName(QStringLiteral("light_mode_option_%1").arg(mode + 1));
        option->setProperty("textkey", ui::to_qstring(effect.name_key));
        option->setProperty("tipkey", ui::to_qstring(effect.description_key));
        option->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(option, mode / 2, mode % 2);
        m_modeOptions.at(static_cast<std::size_t>(mode)) = option;
    }
    m_colourModeOptions = {m_ui->option_color_mode_1, m_ui->option_color_mode_2};

    auto* row = new QHBoxLayout(m_ui->cycle_color_hor);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (int i = 0; i < kCycleColourCount; ++i) {
        auto* button = new QPushButton(m_ui->cycle_color_hor);
        button->setObjectName(QStringLiteral("btn_cycle_color_%1").arg(i + 1));
        button->setProperty("tipkey", QStringLiteral("cycle_color_tip_text"));
        button->setFixedSize(28, 22);
        row->addWidget(button);
        m_cycleButtons.at(static_cast<std::size_t>(i)) = button;
    }
    row->addStretch();

    m_preview = new EffectPreview([this] { return current_look(); }, m_ui->effect_card);
    m_ui->effect_card_ver->addWidget(m_preview);

    const auto number_in = [](QLabel* label) {
        return [label](int value) { label->setText(QString::number(value)); };
    };
    m_parameters = {{
        {m_ui->brightness_slider, &ConfigBlock::light_brightness,
         &ConfigBlock::set_light_brightness, number_in(m_ui->brightness_value_label)},
        {m_ui->frequency_slider, &ConfigBlock::light_frequency, &ConfigBlock::set_light_frequency,
         [label = m_ui->frequency_value_label](int value) {
             label->setText(ui::Texts::text(QStringLiteral("frequency_value_%1_text").arg(value)));
         }},
        {m_ui->length_slider, &ConfigBlock::light_length, &ConfigBlock::set_light_length,
         number_in(m_ui->length_value_label)},
    }};
    m_ui->brightness_slider->setRange(kBrightnessMin, kBrightnessMax);
    m_ui->frequency_slider->setRange(kFrequencyMin, kFrequencyMax);
    m_ui->length_slider->setRange(kLengthMin, kLengthMax);
    m_ui->length_slider->setPageStep(5);
    for (const Parameter& parameter : m_parameters) {
        parameter.slider->setTickPosition(QSlider::NoTicks);
    }
}

void CLightPage::connect_controls() {
    // Nothing is shown or written while no profile is current.
    const auto handle = [this](const QObject* control, const char* type, auto act) {
        on(control, QString::fromLatin1(type), [this, act](const ui::Notification& n) {
            if (m_profile != nullptr) {
                act(n);
            }
        });
    };
    // An option that loses its mark reports too: only the newly chosen one counts.
    for (int mode = 0; mode < kModeCount; ++mode) {
        handle(m_modeOptions.at(static_cast<std::size_t>(mode)), "selectchanged",
               [this, mode](const ui::Notification& n) {
                   if (n.wparam != 0) {
                       select_mode(mode);
                   }
               });
    }
    for (std::size_t mode = 0; mode < m_colourModeOptions.size(); ++mode) {
        handle(m_colourModeOptions.at(mode), "selectchanged",
               [this, mode](const ui::Notification& n) {
                   if (n.wparam != 0) {
                       m_profile->set_colour_mode(static_cast<std::int32_t>(mode));
                       m_preview->update();
                   }
               });
    }

    // The value labels and the preview follow the thumb; the profile takes the value when the
    // thumb is let go.
    for (const Parameter& parameter : m_parameters) {
        handle(parameter.slider, "movevaluechanged", [this, &parameter](const ui::Notification& n) {
            parameter.show(static_cast<int>(n.wparam));
            m_preview->update();
        });
        handle(parameter.slider, "valuechanged", [this, &parameter](const ui::Notification& n) {
            (m_profile->*parameter.store)(static_cast<std::int32_t>(n.wparam));
            parameter.show(static_cast<int>(n.wparam));
            m_preview->update();
        });
    }

    ui::ColourPalette* palette = m_ui->select_color_Pallet;
    handle(palette, "colorchanged", [this, palette](const ui::Notification&) {
        // Only a preview: the stored colour changes when the drag ends.
        show_fixed_colour(palette->colour());
    });
    handle(palette, "colorchangedbuttonup", [this, palette](const ui::Notification&) {
        const QRgb chosen = palette->colour();
        m_profile->set_fixed_colour(ui::to_colour(chosen));
        show_fixed_colour(chosen);
        ui::show_swatch(m_ui->btn_fix_color, chosen);
    });

    const std::array<QLineEdit*, 3> channels{m_ui->r_edit, m_ui->g_edit, m_ui->b_edit};
    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        QLineEdit* edit = channels.at(channel);
        handle(edit, "textchanged", [this, edit, channel](const ui::Notification& n) {
            type_channel(edit, channel, n.text);
        });
    }

    handle(m_ui->btn_fix_color, "click", [this](const ui::Notification&) { pick_fixed_colour(); });
    for (std::size_t i = 0; i < m_cycleButtons.size(); ++i) {
        handle(m_cycleButtons.at(i), "click",
               [this, i](const ui::Notification&) { pick_cycle_colour(i); });
    }
}

EffectLook CLightPage::current_look() const {
    EffectLook look;
    if (m_profile == nullptr) {
        return look;
    }
    look.mode = m_profile->light_mode();
    look.brightness = share(m_ui->brightness_slider->value(), kBrightnessMin, kBrightnessMax);
    look.length = share(m_ui->length_slider->value(), kLengthMin, kLengthMax);
    const std::int32_t stage = m_profile->active_stage();
    look.stage = QColor(ui::to_qrgb(m_profile->stage_colour(static_cast<std::size_t>(
        std::clamp(stage, 0, static_cast<std::int32_t>(ConfigBlock::kStages) - 1)))));
    if (m_profile->colour_mode() == kColourModeSingle) {
        look.colours.emplace_back(m_shownFixed);
    } else {
        for (std::size_t i = 0; i < kCycleColourCount; ++i) {
            look.colours.emplace_back(ui::to_qrgb(m_profile->cycle_colour(i)));
        }
    }
    return look;
}

void CLightPage::refresh(ConfigBlock* profile) {
    m_profile = profile;
    if (m_ui == nullptr) {
        return;
    }
    m_root->setEnabled(profile != nullptr);
    if (profile == nullptr) {
        return;
    }
    m_refreshing = true;
    const std::int32_t mode = profile->light_mode();
    if (mode >= 0 && mode < kModeCount) {
        // Raises "selectchanged" when the option changes, as a click would.
        m_modeOptions.at(static_cast<std::size_t>(mode))->setChecked(true);
    } else {
        // A mode no option stands for: no option is shown as chosen.
        for (QRadioButton* option : m_modeOptions) {
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
    }

    // Shown, not stored: a stored value outside a slider's range stays as it is until the
    // user moves that slider.
    for (const Parameter& parameter : m_parameters) {
        const QSignalBlocker quiet(parameter.slider);
        parameter.slider->setValue((profile->*parameter.stored)());
        parameter.show(parameter.slider->value());
    }

    const QRgb fixed = ui::to_qrgb(profile->fixed_colour());
    m_ui->select_color_Pallet->set_colour(fixed);
    show_fixed_colour(fixed);

    const std::int32_t colour_mode = profile->colour_mode();
    if (colour_mode >= 0 && colour_mode < static_cast<std::int32_t>(m_colourModeOptions.size())) {
        m_colourModeOptions.at(static_cast<std::size_t>(colour_mode))->setChecked(true);
    }
    m_refreshing = false;

    ui::show_swatch(m_ui->btn_fix_color, fixed);
    for (std::size_t i = 0; i < kCycleColourCount; ++i) {
        ui::show_swatch(m_cycleButtons.at(i), ui::to_qrgb(profile->cycle_colour(i)));
    }
    show_light_mode(mode);
}

void CLightPage::select_mode(int mode) {
    m_profile->set_light_mode(mode);
    if (!m_refreshing) {
        store_shown_parameters();
    }
    show_light_mode(mode);
}

void CLightPage::store_shown_parameters() {
    // A value beyond its slider's range (the factory speed is one) is shown at the slider's
    // end. Once the user picks an effect, the mouse gets the parameters the page shows.
    for (const Parameter& parameter : m_parameters) {
        if ((m_profile->*parameter.stored)() != parameter.slider->value()) {
            (m_profile->*parameter.store)(parameter.slider->value());
        }
    }
}

void CLightPage::type_channel(QLineEdit* edit, std::size_t channel, const QString& text) {
    const Colour stored = m_profile->fixed_colour();
    std::array<std::uint8_t, 3> rgb{red_of(stored), green_of(stored), blue_of(stored)};
    const ui::ChannelText read = ui::read_channel_text(text);
    rgb.at(channel) = read.value;
    if (read.rewrite) {
        edit->setText(read.text);
    }
    const Colour colour = make_colour(rgb[0], rgb[1], rgb[2]);
    m_profile->set_fixed_colour(colour);
    const QRgb shown = ui::to_qrgb(colour);
    m_ui->select_color_Pallet->set_colour(shown);
    m_shownFixed = shown;
    ui::show_swatch(m_ui->current_color_control, shown);
    ui::show_swatch(m_ui->btn_fix_color, shown);
    m_preview->update();
}

void CLightPage::pick_fixed_colour() {
    if (const auto chosen = ui::pick_colour(*m_host, m_profile->fixed_colour())) {
        m_profile->set_fixed_colour(*chosen);
        // Unlike a bare swatch, every view of the fixed colour follows the dialog at once.
        const QRgb shown = ui::to_qrgb(*chosen);
        ui::show_swatch(m_ui->btn_fix_color, shown);
        m_ui->select_color_Pallet->set_colour(shown);
        show_fixed_colour(shown);
    }
}

void CLightPage::pick_cycle_colour(std::size_t index) {
    if (const auto chosen = ui::pick_colour(*m_host, m_profile->cycle_colour(index))) {
        m_profile->set_cycle_colour(index, *chosen);
        ui::show_swatch(m_cycleButtons.at(index), ui::to_qrgb(*chosen));
        m_preview->update();
    }
}

void CLightPage::show_light_mode(int mode) {
    const LightEffect* effect = find_light_effect(mode);
    const LightParameters groups = effect != nullptr ? effect->parameters : LightParameters{};
    // Hidden first, then shown: the layout never holds two states at once.
    for (QWidget* group :
         {m_ui->brightness_ver, m_ui->breathing_ver, m_ui->color_ver, m_ui->length_ver}) {
        group->hide();
    }
    m_ui->brightness_ver->setVisible(groups.brightness);
    m_ui->breathing_ver->setVisible(groups.speed);
    m_ui->color_ver->setVisible(groups.colour);
    m_ui->length_ver->setVisible(groups.length);

    // Where the colour group is hidden, say where the colours come from instead.
    const std::string_view hint = effect != nullptr ? effect->colour_hint_key : std::string_view();
    m_ui->no_color_label->setText(hint.empty() ? QString() : ui::Texts::text(hint));
    m_ui->no_color_label->setVisible(!hint.empty());

    m_ui->effect_name_label->setText(effect != nullptr ? ui::Texts::text(effect->name_key)
                                                       : QString());
    m_ui->effect_desc_label->setText(effect != nullptr ? ui::Texts::text(effect->description_key)
                                                       : QString());
    m_preview->update();
}

void CLightPage::show_fixed_colour(QRgb argb) {
    m_shownFixed = argb | 0xFF000000u;
    ui::show_swatch(m_ui->current_color_control, m_shownFixed);
    m_ui->r_edit->setText(QString::number(qRed(m_shownFixed)));
    m_ui->g_edit->setText(QString::number(qGreen(m_shownFixed)));
    m_ui->b_edit->setText(QString::number(qBlue(m_shownFixed)));
    m_preview->update();
}

} // namespace zemrak::pages
