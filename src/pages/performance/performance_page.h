#pragma once

#include "model/config_block.h"
#include "pages/page_host.h"
#include "pages/performance/stage_row.h"
#include "platform/pointer_settings.h"
#include "ui/notify_pump.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace Ui {
class PerformancePage;
}

namespace zemrak::pages {

// The performance page: DPI stages with their colours, the polling rate and the pointer settings.
// Its controls live in the container registered under the virtual-window name below. It shows
// the current profile and writes every change straight into it; apply takes it from there.
//
// Stage rows: the model's Data.ini names how many it offers (DPI, 0..8); when that value is
// missing or out of range all eight are offered. The rows shown are those of the profile's stage
// count; a stored count outside 1..8 shows the offered rows instead and stays in the profile
// until the user picks a count.
class CPerformancePage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "PerformancePage";

    CPerformancePage();
    ~CPerformancePage() override;
    CPerformancePage(const CPerformancePage&) = delete;
    CPerformancePage& operator=(const CPerformancePage&) = delete;

    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Redraws the page from `profile` (null when no profile is current).
    void refresh(ConfigBlock* profile);
    // Which pointer settings the desktop takes: the controls of each one it does not take are
    // disabled, with the reason in a line below them and as their tool tip.
    void show_pointer_support(const PointerSupport& support);

private:
    static constexpr std::size_t kStages = ConfigBlock::kStages;
    static constexpr std::size_t kPollingRates = 4;

    void build_stage_rows(QWidget* parent);
    void connect_controls();

    void pick_stage_colour(std::size_t stage);
    void show_active_stage(std::size_t stage);
    void show_rows(std::int32_t count);
    // Keeps the active stage one the mouse can use with `count` stages shown, moving it to the
    // nearest enabled, shown stage; false, and nothing changes, when there is none.
    [[nodiscard]] bool keep_active_stage_usable(std::int32_t count);
    void show_pointer_values();
    [[nodiscard]] std::int32_t offered_rows() const;

    // The wheel's line count can be changed: the desktop takes it and no page per notch is set.
    [[nodiscard]] bool wheel_lines_editable() const;

    std::unique_ptr<Ui::PerformancePage> m_ui;
    PointerSupport m_support;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;
    std::int32_t m_sensor = -1;
    std::int32_t m_stageRows = -1;
    // Set while refresh() fills the controls, whose signals must not write the profile back.
    bool m_refreshing = false;
    // The number of stage rows shown.
    std::int32_t m_shownRows = 0;

    std::vector<StageRow> m_rows;
    std::array<QPushButton*, kPollingRates> m_pollingOptions{};
};

} // namespace zemrak::pages
