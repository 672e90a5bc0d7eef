#pragma once

#include "application/app_data.h"

#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace zemrak::app {

// The profile bar: switching, adding, deleting, renaming, resetting, importing and
// exporting profiles of the program's data.
class ProfileBar {
public:
    struct Hooks {
        std::function<void()> refresh_pages;
        std::function<void()> post_apply;
        // Shows a confirmation over the busy cover; true when the user chose OK.
        std::function<bool(const char* message_key)> confirm;
        // Shows an information box over the busy cover.
        std::function<void(const char* message_key)> inform;
        // Tells the user, without blocking, that something could not be saved.
        std::function<void(const QString& problem)> notice;
    };

    ProfileBar(AppData& data, QComboBox* combo, QLineEdit* name_edit, QWidget* owner, Hooks hooks);

    // Lists the profiles, selects the current one and shows its name (at start-up).
    void fill();
    // "itemselect" from the combo: makes profile `index` current.
    void on_item_select(qint64 index);
    void add();
    void remove();
    // The name field lost the focus.
    void rename();
    void reset();
    void import_profile();
    void export_profile();

private:
    void select_item(int index);
    void save_profiles();
    [[nodiscard]] QString current_name() const;

    AppData& m_data;
    QComboBox* m_combo;
    QLineEdit* m_nameEdit;
    QWidget* m_owner;
    Hooks m_hooks;
    bool m_forceReselect = false;
};

} // namespace zemrak::app
