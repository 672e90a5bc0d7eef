#include "macros/macro_page.h"

namespace zemrak::pages {

CMacroPage::CMacroPage() {
    // The notification types this page takes; their handlers fill in as the page is built.
    on("click", [](const ui::Notification&) {});
    on("selectchanged", [](const ui::Notification&) {});
    on("itemselect", [](const ui::Notification&) {});
    on("checkclick", [](const ui::Notification&) {});
    on("mouseleave", [](const ui::Notification&) {});
    on("mouseenter", [](const ui::Notification&) {});
    on("timer", [](const ui::Notification&) {});
    on("setfocus", [](const ui::Notification&) {});
    on("killfocus", [](const ui::Notification&) {});
    on("textchanged", [](const ui::Notification&) {});
}

void CMacroPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
}

void CMacroPage::rename_macro_dir() {}

void CMacroPage::import_macro_dir() {}

void CMacroPage::export_macro_dir() {}

void CMacroPage::export_pw_macro_dir() {}

void CMacroPage::rename_macro() {}

void CMacroPage::import_macro() {}

void CMacroPage::export_macro() {}

void CMacroPage::export_pw_macro() {}

} // namespace zemrak::pages
