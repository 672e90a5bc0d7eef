#pragma once

#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QString>

class QWidget;

namespace zemrak {
class ConfigBlock;
}

namespace zemrak::pages {

// The button page: the function of each of the sixteen buttons in office and game mode.
// Its controls live in the container registered under the virtual-window name below.
class CButtonPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "ButtonPage";

    CButtonPage();
    // Builds the page's controls in its container; `host` outlives the page. From then on the
    // page follows the host's profile model.
    void init(QWidget* container, PageHost& host);
    // Redraws the page from `profile` (null when no profile is current).
    void refresh(ConfigBlock* profile);
    // The profile the page shows.
    [[nodiscard]] const ConfigBlock* profile() const { return m_profile; }
    // Assigns the function named by a menu item to the button whose menu was open.
    void assign_function(const QString& item_name);

private:
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;
};

} // namespace zemrak::pages
