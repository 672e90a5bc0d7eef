#include "macros/macro_page.h"

namespace zemrak::pages {

CMacroPage::CMacroPage() = default;

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
