#pragma once

#include "model/config_block.h"
#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <memory>

class QPushButton;
class QWidget;

namespace Ui {
class ButtonPage;
}

namespace zemrak::pages {

// The button page: the function of each of the sixteen buttons in office and game mode.
// Its controls live in the container registered under the virtual-window name below:
// button1_btn .. button32_btn show records 1..32 of the current profile (1..16 office mode,
// 17..32 game mode; n and n + 16 are the same physical button), eight of a mode on each side
// of the mouse picture. A click on one opens the function menu; the item chosen comes back
// through the window's menu dispatch to assign_function(). The page changes the profile in
// memory only; Apply writes it.
class CButtonPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "ButtonPage";
    static constexpr int kControls = static_cast<int>(ConfigBlock::kButtonCount);
    static constexpr int kButtonsPerMode = static_cast<int>(ConfigBlock::kButtonsPerMode);

    CButtonPage();
    ~CButtonPage() override;
    CButtonPage(const CButtonPage&) = delete;
    CButtonPage& operator=(const CButtonPage&) = delete;

    // Builds the page's controls in its container; `host` outlives the page. From then on the
    // page follows the host's profile model.
    void init(QWidget* container, PageHost& host);
    // Redraws the page from `profile` (null when no profile is current): its button mode and
    // the label of every button.
    void refresh(ConfigBlock* profile);
    // The profile the page shows.
    [[nodiscard]] const ConfigBlock* profile() const { return m_profile; }
    // Assigns the function named by a menu item (any letter case; an unknown name is a click)
    // to the button whose menu was opened last, under the rules of model/button_assignment.h.
    // Shortcuts, macros and recoil patterns are asked for in their dialogs first.
    void assign_function(const QString& item_name);
    // The button control whose menu was opened last, 1..32; 0 before the first.
    [[nodiscard]] int current_button() const { return m_current; }

    // Where a menu `menu_height` pixels high opens for a control at `control` (global
    // coordinates): its top-left corner below the control's bottom-left corner, or, when it
    // would reach past the bottom of `screen`, its bottom against the control's top.
    [[nodiscard]] static QPoint menu_anchor(const QRect& control, int menu_height,
                                            const QRect& screen);

private:
    void build_controls();
    void connect_controls();
    void click_button(int number);
    void open_menu(int number);
    void select_mode(int mode);
    void show_mode(int mode);
    void show_label(int number);
    void pick_shortcut(std::size_t record);
    void pick_macro(std::size_t record);
    void pick_recoil(std::size_t record);
    // The mouse picture marks the physical button of control `number` (1..32), or none (0).
    void highlight_in_picture(int number);

    std::unique_ptr<Ui::ButtonPage> m_ui;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;
    // Control n shows record n; index n - 1 here.
    std::array<QPushButton*, kControls> m_buttons{};
    std::array<QWidget*, 4> m_containers{};
    int m_current = 0;
    // Set while refresh() selects the mode option: that selection writes nothing.
    bool m_refreshing = false;
};

} // namespace zemrak::pages
