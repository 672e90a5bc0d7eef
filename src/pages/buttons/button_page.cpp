#include "pages/buttons/button_page.h"

namespace zemrak::pages {

CButtonPage::CButtonPage() {
    // The notification types this page takes; their handlers fill in as the page is built.
    on("click", [](const ui::Notification&) {});
    on("selectchanged", [](const ui::Notification&) {});
    on("mouseenter", [](const ui::Notification&) {});
    on("mouseleave", [](const ui::Notification&) {});
}

void CButtonPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
}

void CButtonPage::refresh(ConfigBlock* profile) {
    m_profile = profile;
}

void CButtonPage::assign_function(const QString& /*item_name*/) {}

} // namespace zemrak::pages
