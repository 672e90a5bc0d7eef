#include "pages/performance/performance_page.h"

namespace zemrak::pages {

CPerformancePage::CPerformancePage() {
    // The notification types this page takes; their handlers fill in as the page is built.
    on("click", [](const ui::Notification&) {});
    on("selectchanged", [](const ui::Notification&) {});
    on("valuechanged", [](const ui::Notification&) {});
    on("movevaluechanged", [](const ui::Notification&) {});
    on("checkclick", [](const ui::Notification&) {});
    on("itemselect", [](const ui::Notification&) {});
}

void CPerformancePage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
}

void CPerformancePage::refresh(ConfigBlock* profile) {
    m_profile = profile;
}

} // namespace zemrak::pages
