#pragma once

#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QString>

class QWidget;

namespace zemrak {
class ConfigBlock;
}

namespace zemrak::pages {

// The recoil page: recoil folders and patterns, bullet by bullet.
// Its controls live in the container registered under the virtual-window name below.
class CGunPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "GunPage";

    CGunPage();
    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Commands of the recoil folder and pattern menus, on what the page has selected.
    void rename_gun_dir();
    void import_gun_dir();
    void export_gun_dir();
    void export_pw_gun_dir();
    void rename_gun();
    void import_gun();
    void export_gun();
    void export_pw_gun();

private:
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
};

} // namespace zemrak::pages
