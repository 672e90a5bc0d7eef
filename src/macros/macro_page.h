#pragma once

#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QString>

class QWidget;

namespace zemrak {
class ConfigBlock;
}

namespace zemrak::pages {

// The macro page: macro folders and macros, their actions and the recorder.
// Its controls live in the container registered under the virtual-window name below.
class CMacroPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "MacroPage";

    CMacroPage();
    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Commands of the macro folder and macro menus, on what the page has selected.
    void rename_macro_dir();
    void import_macro_dir();
    void export_macro_dir();
    void export_pw_macro_dir();
    void rename_macro();
    void import_macro();
    void export_macro();
    void export_pw_macro();

private:
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
};

} // namespace zemrak::pages
