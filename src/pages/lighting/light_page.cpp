#include "pages/lighting/light_page.h"

namespace zemrak::pages {

CLightPage::CLightPage() {
    // The notification types this page takes; their handlers fill in as the page is built.
    on("click", [](const ui::Notification&) {});
    on("selectchanged", [](const ui::Notification&) {});
    on("valuechanged", [](const ui::Notification&) {});
    on("colorchanged", [](const ui::Notification&) {});
    on("colorchangedbuttonup", [](const ui::Notification&) {});
    on("textchanged", [](const ui::Notification&) {});
}

void CLightPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
}

void CLightPage::refresh(ConfigBlock* profile) {
    m_profile = profile;
}

} // namespace zemrak::pages
