#include "pages/profile_model.h"

#include "application/app_data.h"
#include "model/library_error.h"

#include <mutex>

namespace zemrak::pages {

ProfileModel::ProfileModel(AppData& data, QObject* parent) : QObject(parent), m_data(data) {}

ConfigBlock* ProfileModel::current() const {
    return m_data.profiles().current();
}

void ProfileModel::current_replaced() {
    emit profileChanged(current());
}

LibraryResult ProfileModel::change_macros(const MacroChange& change) {
    // Held from the look at the file to its save, so no other program writes in between.
    const std::lock_guard hold(m_data.folder_lock());
    LibraryResult result = change(m_data.macros(), m_data.profiles());
    announce(result, &ProfileModel::macrosChanged);
    return result;
}

LibraryResult ProfileModel::change_recoils(const RecoilChange& change) {
    const std::lock_guard hold(m_data.folder_lock());
    LibraryResult result = change(m_data.recoils(), m_data.profiles());
    announce(result, &ProfileModel::recoilsChanged);
    return result;
}

void ProfileModel::announce(const LibraryResult& result, void (ProfileModel::*library_changed)()) {
    // A refused operation changed nothing; one whose save failed did change the list.
    const bool refused = result.error && result.error.category() == library_category();
    if (!refused) {
        emit(this->*library_changed)();
    }
    if (result.current_profile_touched) {
        emit buttonsChanged(current());
    }
}

} // namespace zemrak::pages
