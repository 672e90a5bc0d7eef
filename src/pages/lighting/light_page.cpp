#include "pages/lighting/light_page.h"

#include "model/config_block.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"
#include "ui_light.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
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
// changed on other pages (the stage colour) show as soon as the page is seen again.
class EffectPreview final : public QWidget {
public:
    EffectPreview(std::function<EffectLook()> look, QWidget* parent)
        : QWidget(parent), m_look(std::move(look)) {
        setObjectName(QStringLiteral("effect_preview"));
        setMinimumHeight(34);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override;

private:
    std::function<EffectLook()> m_look;
};

namespace {

// The effects by the mode number the mouse receives. Effects 2 to 5 send their speed as an
// entry of the timing table; colour cycle and strobe show the speed too, but no report carries
// it for them, so it only stays in the profile.
enum Effect : int {
    kOff = 0,
    kStageColour,
    kBreathing,
    kPulse,
    kSpectrum,
    kWave,
    kComet,
    kMarquee,
    kStatic,
    kColourCycle,
    kStrobe,
    kReactive,
};

// Which parameter groups each effect uses.
struct Groups {
    bool brightness;
    bool breathing;
    bool colour;
    bool length;
};
constexpr std::array<Groups, CLightPage::kModeCount> kVisibility{{
    {false, false, false, false}, // off
    {true, false, false, false},  // stage colour
    {false, true, false, false},  // breathing
    {false, true, true, false},   // pulse
    {true, true, false, false},   // spectrum
    {true, true, false, false},   // wave
    {false, false, true, true},   // comet
    {false, false, true, true},   // marquee
    {true, false, true, false},   // static
    {true, true, true, false},    // colour cycle
    {true, true, false, false},   // strobe
    {true, false, false, false},  // reactive
}};

constexpr int kColourModeSingle = 0;
const QColor kDark(0x0b, 0x0c, 0x0f);

// The number after `prefix` in a control name ("btn_cycle_color_3" -> 3), or 0.
[[nodiscard]] int number_after(const QString& name, QLatin1String prefix) {
    if (!name.startsWith(prefix)) {
        return 0;
    }
    bool ok = false;
    const int number = name.sliced(prefix.size()).toInt(&ok);
    return ok ? number : 0;
}

[[nodiscard]] double share(int value, int low, int high) {
    return std::clamp(static_cast<double>(value - low) / (high - low), 0.0, 1.0);
}

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

void paint_effect(QPainter& painter, const QRectF& area, const EffectLook& look) {
    const bool dims = look.mode >= 0 && look.mode < CLightPage::kModeCount &&
                      kVisibility.at(static_cast<std::size_t>(look.mode)).brightness;
    const double brightness = dims ? look.brightness : 1.0;
    std::vector<QColor> colours;
    for (const QColor& colour : look.colours) {
        colours.push_back(dimmed(colour, brightness));
    }
    if (colours.empty()) {
        colours.push_back(Qt::white);
    }
    const QColor stage = dimmed(look.stage, brightness);
    const auto count = static_cast<double>(colours.size());
    const double width = area.width();

    switch (look.mode) {
    case kStageColour:
        painter.fillRect(area, stage);
        break;
    case kBreathing:
        fill_gradient(painter, area,
                      {{0.0, kDark}, {0.25, stage}, {0.5, kDark}, {0.75, stage}, {1.0, kDark}});
        break;
    case kPulse: {
        if (colours.size() == 1) {
            colours.push_back(colours.front()); // two breaths, like the stage colour's
        }
        std::vector<std::pair<double, QColor>> stops{{0.0, kDark}};
        const auto breaths = static_cast<double>(colours.size());
        for (std::size_t i = 0; i < colours.size(); ++i) {
            stops.emplace_back((static_cast<double>(i) + 0.5) / breaths, colours[i]);
            stops.emplace_back((static_cast<double>(i) + 1.0) / breaths, kDark);
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kSpectrum:
    case kWave: {
        // The wave shows the spectrum twice over: it travels along the mouse, not in time.
        const int turns = look.mode == kWave ? 2 : 1;
        std::vector<std::pair<double, QColor>> stops;
        for (int step = 0; step <= 6 * turns; ++step) {
            stops.emplace_back(static_cast<double>(step) / (6.0 * turns),
                               hue(step * 60, brightness));
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kComet: {
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
            painter.fillRect(QRectF(head - 2.0, area.top(), 4.0, area.height()), Qt::white);
        }
        break;
    }
    case kMarquee: {
        const double dash = 5.0 + 14.0 * look.length;
        std::size_t i = 0;
        for (double x = area.left() + 2.0; x < area.right(); x += dash * 1.6, ++i) {
            painter.fillRect(QRectF(x, area.top() + 5.0, dash, area.height() - 10.0),
                             colours[i % colours.size()]);
        }
        break;
    }
    case kStatic:
        for (std::size_t i = 0; i < colours.size(); ++i) {
            painter.fillRect(QRectF(area.left() + width * static_cast<double>(i) / count,
                                    area.top(), width / count + 1.0, area.height()),
                             colours[i]);
        }
        break;
    case kColourCycle: {
        std::vector<std::pair<double, QColor>> stops;
        for (std::size_t i = 0; i <= colours.size(); ++i) {
            stops.emplace_back(static_cast<double>(i) / count, colours[i % colours.size()]);
        }
        fill_gradient(painter, area, stops);
        break;
    }
    case kStrobe: {
        int degrees = 0;
        for (double x = area.left() + 6.0; x < area.right() - 4.0; x += 16.0, degrees += 40) {
            painter.fillRect(QRectF(x, area.top(), 5.0, area.height()), hue(degrees, brightness));
        }
        break;
    }
    case kReactive: {
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
        painter.setPen(QPen(QColor(0x2c, 0x30, 0x38), 1.0, Qt::DashLine));
        painter.drawLine(QPointF(area.left() + 8.0, area.center().y()),
                         QPointF(area.right() - 8.0, area.center().y()));
        break;
    }
    }
}

} // namespace

void EffectPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(area, 4.0, 4.0);
    painter.fillPath(shape, kDark);
    painter.save();
    painter.setClipPath(shape);
    paint_effect(painter, area, m_look());
    painter.restore();
    painter.setPen(QPen(QColor(0x2c, 0x30, 0x38), 1.0));
    painter.drawPath(shape);
}

CLightPage::CLightPage() {
    on("selectchanged", [this](const ui::Notification& n) { on_select(n); });
    on("valuechanged", [this](const ui::Notification& n) { on_value(n, true); });
    // The value labels and the preview follow the thumb; the profile takes the value when the
    // thumb is let go.
    on("movevaluechanged", [this](const ui::Notification& n) { on_value(n, false); });
    on("colorchanged", [this](const ui::Notification&) {
        // Only a preview: the stored colour changes when the drag ends.
        show_fixed_colour(m_ui->select_color_Pallet->colour());
    });
    on("colorchangedbuttonup", [this](const ui::Notification&) {
        if (m_profile == nullptr) {
            return;
        }
        const QRgb chosen = m_ui->select_color_Pallet->colour();
        m_profile->set_fixed_colour(ui::to_colour(chosen));
        show_fixed_colour(chosen);
        ui::show_swatch(m_ui->btn_fix_color, chosen);
    });
    on("textchanged", [this](const ui::Notification& n) { on_text(n); });
    on("click", [this](const ui::Notification& n) { on_click(n.sender); });
}

CLightPage::~CLightPage() = default;

void CLightPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
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
    ui::Texts::apply(m_root);
    refresh(nullptr);
}

void CLightPage::build_controls() {
    auto* grid = new QGridLayout(m_ui->light_mode_grid);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    for (int i = 0; i < kModeCount; ++i) {
        auto* option = new QRadioButton(m_ui->light_mode_grid);
        const QString name = QStringLiteral("light_mode_option_%1").arg(i + 1);
        option->setObjectName(name);
        option->setProperty("textkey", name + QStringLiteral("_text"));
        option->setProperty("tipkey", QStringLiteral("light_mode_desc_%1_text").arg(i + 1));
        option->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(option, i / 2, i % 2);
        m_modeOptions.at(static_cast<std::size_t>(i)) = option;
    }

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

    m_preview = new EffectPreview(
        [this] {
            EffectLook look;
            if (m_profile == nullptr) {
                return look;
            }
            look.mode = m_profile->light_mode();
            look.brightness =
                share(m_ui->brightness_slider->value(), kBrightnessMin, kBrightnessMax);
            look.length = share(m_ui->length_slider->value(), kLengthMin, kLengthMax);
            const std::int32_t stage = m_profile->active_stage();
            look.stage = QColor(ui::to_qrgb(
                m_profile->stage_colour(static_cast<std::size_t>(std::clamp(stage, 0, 7)))));
            if (m_profile->colour_mode() == kColourModeSingle) {
                look.colours.emplace_back(m_shownFixed);
            } else {
                for (std::size_t i = 0; i < kCycleColourCount; ++i) {
                    look.colours.emplace_back(ui::to_qrgb(m_profile->cycle_colour(i)));
                }
            }
            return look;
        },
        m_ui->effect_card);
    m_ui->effect_card_ver->addWidget(m_preview);

    m_ui->brightness_slider->setRange(kBrightnessMin, kBrightnessMax);
    m_ui->frequency_slider->setRange(kFrequencyMin, kFrequencyMax);
    m_ui->length_slider->setRange(kLengthMin, kLengthMax);
    m_ui->length_slider->setPageStep(5);
    for (QSlider* slider : {m_ui->brightness_slider, m_ui->frequency_slider, m_ui->length_slider}) {
        slider->setTickPosition(QSlider::NoTicks);
    }
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
    const std::array<std::pair<QSlider*, std::int32_t>, 3> sliders{{
        {m_ui->brightness_slider, profile->light_brightness()},
        {m_ui->frequency_slider, profile->light_frequency()},
        {m_ui->length_slider, profile->light_length()},
    }};
    for (const auto& [slider, value] : sliders) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
        show_slider_value(slider, slider->value());
    }

    const QRgb fixed = ui::to_qrgb(profile->fixed_colour());
    m_ui->select_color_Pallet->set_colour(fixed);
    show_fixed_colour(fixed);

    const std::int32_t colour_mode = profile->colour_mode();
    if (colour_mode == 0 || colour_mode == 1) {
        (colour_mode == 0 ? m_ui->option_color_mode_1 : m_ui->option_color_mode_2)
            ->setChecked(true);
    }
    m_refreshing = false;

    ui::show_swatch(m_ui->btn_fix_color, fixed);
    for (std::size_t i = 0; i < kCycleColourCount; ++i) {
        ui::show_swatch(m_cycleButtons.at(i), ui::to_qrgb(profile->cycle_colour(i)));
    }
    show_light_mode(mode);
}

void CLightPage::on_select(const ui::Notification& n) {
    if (n.wparam == 0 || m_profile == nullptr) {
        return; // the option that lost the selection
    }
    if (const int mode = number_after(n.sender, QLatin1String("light_mode_option_"));
        mode >= 1 && mode <= kModeCount) {
        m_profile->set_light_mode(mode - 1);
        if (!m_refreshing) {
            store_shown_parameters();
        }
        show_light_mode(mode - 1);
    } else if (const int colour_mode = number_after(n.sender, QLatin1String("option_color_mode_"));
               colour_mode == 1 || colour_mode == 2) {
        m_profile->set_colour_mode(colour_mode - 1);
        m_preview->update();
    }
}

void CLightPage::store_shown_parameters() {
    // A value beyond its slider's range (the factory speed is one) is shown at the slider's
    // end. Once the user picks an effect, the mouse gets the parameters the page shows.
    if (m_profile->light_brightness() != m_ui->brightness_slider->value()) {
        m_profile->set_light_brightness(m_ui->brightness_slider->value());
    }
    if (m_profile->light_frequency() != m_ui->frequency_slider->value()) {
        m_profile->set_light_frequency(m_ui->frequency_slider->value());
    }
    if (m_profile->light_length() != m_ui->length_slider->value()) {
        m_profile->set_light_length(m_ui->length_slider->value());
    }
}

void CLightPage::on_value(const ui::Notification& n, bool stored) {
    auto* slider = qobject_cast<QSlider*>(n.control);
    if (slider == nullptr || m_profile == nullptr) {
        return;
    }
    const auto value = static_cast<std::int32_t>(n.wparam);
    if (stored) {
        if (slider == m_ui->brightness_slider) {
            m_profile->set_light_brightness(value);
        } else if (slider == m_ui->frequency_slider) {
            m_profile->set_light_frequency(value);
        } else if (slider == m_ui->length_slider) {
            m_profile->set_light_length(value);
        } else {
            return;
        }
    }
    show_slider_value(slider, value);
    m_preview->update();
}

void CLightPage::on_text(const ui::Notification& n) {
    if (m_profile == nullptr) {
        return;
    }
    QLineEdit* edit = nullptr;
    const Colour stored = m_profile->fixed_colour();
    std::uint8_t red = red_of(stored);
    std::uint8_t green = green_of(stored);
    std::uint8_t blue = blue_of(stored);
    const ui::ChannelText read = ui::read_channel_text(n.text);
    if (n.sender == QLatin1String("r_edit")) {
        edit = m_ui->r_edit;
        red = read.value;
    } else if (n.sender == QLatin1String("g_edit")) {
        edit = m_ui->g_edit;
        green = read.value;
    } else if (n.sender == QLatin1String("b_edit")) {
        edit = m_ui->b_edit;
        blue = read.value;
    } else {
        return;
    }
    if (read.rewrite) {
        edit->setText(read.text);
    }
    const Colour colour = make_colour(red, green, blue);
    m_profile->set_fixed_colour(colour);
    const QRgb shown = ui::to_qrgb(colour);
    m_ui->select_color_Pallet->set_colour(shown);
    m_shownFixed = shown;
    ui::show_swatch(m_ui->current_color_control, shown);
    ui::show_swatch(m_ui->btn_fix_color, shown);
    m_preview->update();
}

void CLightPage::on_click(const QString& sender) {
    if (m_profile == nullptr || m_host == nullptr) {
        return;
    }
    if (sender == QLatin1String("btn_fix_color")) {
        if (const auto chosen = ui::pick_colour(*m_host, m_profile->fixed_colour())) {
            m_profile->set_fixed_colour(*chosen);
            // Unlike a bare swatch, every view of the fixed colour follows the dialog at once.
            const QRgb shown = ui::to_qrgb(*chosen);
            ui::show_swatch(m_ui->btn_fix_color, shown);
            m_ui->select_color_Pallet->set_colour(shown);
            show_fixed_colour(shown);
        }
        return;
    }
    const int slot = number_after(sender, QLatin1String("btn_cycle_color_"));
    if (slot < 1 || slot > kCycleColourCount) {
        return;
    }
    const auto index = static_cast<std::size_t>(slot - 1);
    if (const auto chosen = ui::pick_colour(*m_host, m_profile->cycle_colour(index))) {
        m_profile->set_cycle_colour(index, *chosen);
        ui::show_swatch(m_cycleButtons.at(index), ui::to_qrgb(*chosen));
        m_preview->update();
    }
}

void CLightPage::show_light_mode(int mode) {
    const bool known = mode >= 0 && mode < kModeCount;
    const Groups groups = known ? kVisibility.at(static_cast<std::size_t>(mode)) : Groups{};
    // Hidden first, then shown: the layout never holds two states at once.
    for (QWidget* group :
         {m_ui->brightness_ver, m_ui->breathing_ver, m_ui->color_ver, m_ui->length_ver}) {
        group->hide();
    }
    m_ui->brightness_ver->setVisible(groups.brightness);
    m_ui->breathing_ver->setVisible(groups.breathing);
    m_ui->color_ver->setVisible(groups.colour);
    m_ui->length_ver->setVisible(groups.length);

    // Where the colour group is hidden, say where the colours come from instead.
    const char* hint = nullptr;
    if (mode == kStageColour || mode == kBreathing || mode == kReactive) {
        hint = "light_colours_stage_text";
    } else if (mode == kSpectrum || mode == kWave || mode == kStrobe) {
        hint = "light_colours_spectrum_text";
    }
    m_ui->no_color_label->setText(hint != nullptr ? ui::Texts::text(hint) : QString());
    m_ui->no_color_label->setVisible(hint != nullptr);

    m_ui->effect_name_label->setText(
        known ? ui::Texts::text(QStringLiteral("light_mode_option_%1_text").arg(mode + 1))
              : QString());
    m_ui->effect_desc_label->setText(
        known ? ui::Texts::text(QStringLiteral("light_mode_desc_%1_text").arg(mode + 1))
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

void CLightPage::show_slider_value(const QSlider* slider, int value) {
    if (slider == m_ui->brightness_slider) {
        m_ui->brightness_value_label->setText(QString::number(value));
    } else if (slider == m_ui->frequency_slider) {
        m_ui->frequency_value_label->setText(
            ui::Texts::text(QStringLiteral("frequency_value_%1_text").arg(value)));
    } else if (slider == m_ui->length_slider) {
        m_ui->length_value_label->setText(QString::number(value));
    }
}

} // namespace zemrak::pages
