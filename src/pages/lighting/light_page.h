#pragma once

#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QString>

class QWidget;

namespace zemrak {
class ConfigBlock;
}

namespace zemrak::pages {

// The light page: the lighting effect, its parameters and its colours.
// Its controls live in the container registered under the virtual-window name below.
class CLightPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "LightPage";

    CLightPage();
    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Redraws the page from `profile` (null when no profile is current).
    void refresh(ConfigBlock* profile);

private:
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;
};

} // namespace zemrak::pages
