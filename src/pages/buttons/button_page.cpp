#include "pages/buttons/button_page.h"

#include "pages/profile_model.h"

#include <QWidget>

namespace zemrak::pages {

CButtonPage::CButtonPage() = default;

void CButtonPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    // The page shows what it is told: another profile, or a library change that reached the
    // records of this one.
    ProfileModel& model = host.model();
    QObject::connect(&model, &ProfileModel::profileChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });
    QObject::connect(&model, &ProfileModel::buttonsChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });
}

void CButtonPage::refresh(ConfigBlock* profile) {
    m_profile = profile;
}

void CButtonPage::assign_function(const QString& /*item_name*/) {}

} // namespace zemrak::pages
