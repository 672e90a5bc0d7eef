#include "recoil/gun_page.h"

namespace zemrak::pages {

CGunPage::CGunPage() = default;

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
