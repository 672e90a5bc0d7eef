#include "recoil/gun_page.h"

namespace zemrak::pages {

CGunPage::CGunPage() {
    // The notification types this page takes; their handlers fill in as the page is built.
    on("click", [](const ui::Notification&) {});
    on("selectchanged", [](const ui::Notification&) {});
    on("itemselect", [](const ui::Notification&) {});
    on("checkclick", [](const ui::Notification&) {});
    on("killfocus", [](const ui::Notification&) {});
    on("textchanged", [](const ui::Notification&) {});
}

void CGunPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
}

void CGunPage::rename_gun_dir() {}

void CGunPage::import_gun_dir() {}

void CGunPage::export_gun_dir() {}

void CGunPage::export_pw_gun_dir() {}

void CGunPage::rename_gun() {}

void CGunPage::import_gun() {}

void CGunPage::export_gun() {}

void CGunPage::export_pw_gun() {}

} // namespace zemrak::pages
