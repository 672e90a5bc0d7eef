#include "app/profile_bar.h"

#include "model/profile_files.h"
#include "model/unicode.h"
#include "ui/file_dialogs.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zemrak::app {
namespace {

using ui::to_qstring;
using ui::to_u16string;

ui::FileDialogSpec profile_files(const AppData& data) {
    return {QStringLiteral("Profile Data"), QStringLiteral("*.pbin *.PBIN"), QStringLiteral("pbin"),
            QString::fromStdString(data.folders().data.string())};
}

} // namespace

ProfileBar::ProfileBar(AppData& data, QComboBox* combo, QLineEdit* name_edit, QWidget* owner,
                       Hooks hooks)
    : m_data(data), m_combo(combo), m_nameEdit(name_edit), m_owner(owner),
      m_hooks(std::move(hooks)) {}

QString ProfileBar::current_name() const {
    const ConfigBlock* current = m_data.profiles().current();
    return current != nullptr ? to_qstring(current->name()) : QString();
}

void ProfileBar::fill() {
    const ProfileList& profiles = m_data.profiles();
    {
        // The list is filled quietly: it shows the profiles as loaded, it switches nothing.
        const QSignalBlocker quiet(m_combo);
        m_combo->clear();
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            m_combo->addItem(to_qstring(profiles.at(i).name()));
        }
        m_combo->setCurrentIndex(profiles.current_index());
    }
    m_nameEdit->setText(current_name());
}

void ProfileBar::select_item(int index) {
    // The combo only reports a change of index; a selection of the item already shown must
    // still reach the switch (after a deletion it is a different profile).
    if (m_combo->currentIndex() == index) {
        on_item_select(index);
    } else {
        m_combo->setCurrentIndex(index);
    }
}

void ProfileBar::on_item_select(qint64 index) {
    ProfileList& profiles = m_data.profiles();
    if (index == profiles.current_index() && !m_forceReselect) {
        return;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= profiles.size()) {
        return;
    }
    m_forceReselect = false;
    static_cast<void>(profiles.select(static_cast<std::int32_t>(index)));
    m_nameEdit->setText(current_name());
    m_hooks.refresh_pages();
}

void ProfileBar::save_profiles() {
    if (const std::error_code error = m_data.store().save_profiles()) {
        m_hooks.notice(QString::fromStdString(error.message()));
    }
}

void ProfileBar::add() {
    ProfileList& profiles = m_data.profiles();
    if (profiles.size() >= kMaxProfiles) {
        m_hooks.inform("profiles_full_text");
        return;
    }
    const std::u16string name = profiles.default_name(m_data.profile_base_name());
    ConfigBlock& added = profiles.append(profiles.factory_image());
    added.set_name(name);
    save_profiles();
    m_combo->addItem(to_qstring(name));
    select_item(m_combo->count() - 1);
}

void ProfileBar::remove() {
    ProfileList& profiles = m_data.profiles();
    if (profiles.size() < 2) {
        return;
    }
    if (!m_hooks.confirm("delete_profile_text")) {
        return;
    }
    const int k = profiles.current_index();
    profiles.remove(static_cast<std::size_t>(k));
    save_profiles();
    m_forceReselect = true;
    {
        // Removing the shown item would make the combo pick a neighbour on its own.
        const QSignalBlocker quiet(m_combo);
        m_combo->removeItem(k);
        m_combo->setCurrentIndex(-1);
    }
    select_item(k < static_cast<int>(profiles.size()) ? k : k - 1);
}

void ProfileBar::rename() {
    ConfigBlock* current = m_data.profiles().current();
    if (current == nullptr) {
        return;
    }
    const std::u16string typed = fit_name(to_u16string(m_nameEdit->text()));
    const std::u16string old_name = current->name();
    if (equal_ignoring_case(typed, old_name)) {
        return;
    }
    if (m_data.profiles().name_exists(typed)) {
        m_nameEdit->setText(to_qstring(old_name));
        return;
    }
    current->set_name(typed);
    m_combo->setItemText(m_data.profiles().current_index(), to_qstring(typed));
    save_profiles();
}

void ProfileBar::reset() {
    ConfigBlock* current = m_data.profiles().current();
    if (current == nullptr || !m_hooks.confirm("reset_profile_text")) {
        return;
    }
    // The profile keeps its own name: the factory image's name would leave the bar showing
    // a name the profile no longer has.
    const std::u16string name = current->name();
    *current = m_data.profiles().factory_image();
    current->set_name(name);
    m_hooks.refresh_pages();
    m_hooks.post_apply();
}

void ProfileBar::import_profile() {
    const auto file = ui::choose_file_to_open(m_owner, profile_files(m_data));
    if (!file) {
        return;
    }
    const ProfileImport imported = m_data.import_profile(file->toStdString());
    if (imported.error == make_error_code(ProfileFileError::list_full)) {
        m_hooks.inform("profiles_full_text");
        return;
    }
    if (!imported.added) {
        m_hooks.inform("import_profile_failed_text");
        return;
    }
    if (imported.error) {
        m_hooks.notice(QString::fromStdString(imported.error.message()));
    }
    m_combo->addItem(to_qstring(imported.name));
    select_item(m_combo->count() - 1);
}

void ProfileBar::export_profile() {
    const ConfigBlock* current = m_data.profiles().current();
    if (current == nullptr) {
        return;
    }
    const auto file = ui::choose_file_to_save(m_owner, profile_files(m_data));
    if (!file) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_data.profiles().current_index());
    if (const std::error_code error = m_data.export_profile(index, file->toStdString())) {
        m_hooks.notice(QString::fromStdString(error.message()));
    }
}

} // namespace zemrak::app
