#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>

namespace Ui {
class EditName;
}

namespace zemrak {
class RecordLibrary;
}

namespace zemrak::ui {

// What a name is asked for; the values are the dialog's mode numbers.
enum class NameMode {
    add_folder = 0,
    add_item = 1,
    rename_folder = 2,
    rename_item = 3,
};

// The title and prompt text keys of one mode.
struct NameTextKeys {
    const char* title;
    const char* prompt;
};
// Indexed by mode number.
using NameTextTable = std::array<NameTextKeys, 4>;

// Asks for the name of a new or renamed folder or item of a library and refuses names that
// are empty or already taken. The macro and recoil dialogs differ only in their texts.
// Made on the caller's stack for one question.
class CEditName : public QDialog {
    Q_OBJECT
public:
    ~CEditName() override;

    CEditName(const CEditName&) = delete;
    CEditName& operator=(const CEditName&) = delete;

    // Shows the mode's title and prompt.
    void set_mode(NameMode mode);
    [[nodiscard]] NameMode mode() const { return m_mode; }
    // The folder an item is added to or renamed in; only the item modes use it.
    void set_folder_name(const QString& folder) { m_folder = folder; }
    // The text the edit starts with: the current name when renaming, empty when adding. A
    // name longer than 49 characters is cut.
    void set_name(const QString& name);
    // The accepted name (at most 49 characters) once the dialog closed with kDialogOk; until
    // then the initial name.
    [[nodiscard]] QString name() const { return m_name; }

    // Centres the dialog over its owner and runs it modally: kDialogOk when a new, free name
    // was accepted, kDialogCancel for anything else (cancel, close, an unchanged name).
    int show_modal();

protected:
    // `keys` gives the texts of each mode; `window_name` names the window (its object name).
    CEditName(QWidget* owner, const RecordLibrary& library, const NameTextTable& keys,
              const QString& window_name);

private:
    void on_ok();
    void show_warning(const char* message_key);
    void centre_over_owner();

    std::unique_ptr<Ui::EditName> m_ui;
    const RecordLibrary& m_library;
    NameTextTable m_keys;
    NameMode m_mode = NameMode::add_folder;
    QString m_folder;
    QString m_name;
};

} // namespace zemrak::ui
