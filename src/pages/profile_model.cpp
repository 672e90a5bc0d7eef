#include "pages/profile_model.h"

#include "application/app_data.h"

namespace zemrak::pages {

ProfileModel::ProfileModel(AppData& data, QObject* parent) : QObject(parent), m_data(data) {}

ConfigBlock* ProfileModel::current() const {
    return m_data.profiles().current();
}

void ProfileModel::current_replaced() {
    emit profileChanged(current());
}

} // namespace zemrak::pages
