#pragma once

#include "macros/macro_record.h"
#include "macros/macro_recording_target.h"
#include "model/record_library.h"
#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace Ui {
class MacroPage;
}

namespace zemrak {
class ConfigBlock;
class MacroLibrary;
} // namespace zemrak

namespace zemrak::pages {

class MacroRecording;

// The macro page: macro folders and macros, the actions of the macro shown and the recorder's
// options. Its controls live in the container registered under the virtual-window name below.
//
// The page edits a working copy of one macro of the library; every change is committed at
// once through the library's own operation (saved, button records brought up to date, the
// button page told when the current profile was touched). A locked macro is shown by name
// only: no actions, loop count 1, and nothing it holds is changed. Folder and macro commands
// (new, delete, rename, import, export) go through the library as well; a failed save is
// shown in a message.
class CMacroPage final : public ui::CNotifyPump, public MacroRecordingTarget {
public:
    static constexpr const char* kVirtualWindow = "MacroPage";
    // Actions a macro may hold before a mouse move is inserted: a move takes room the mouse
    // needs for it.
    static constexpr int kMaxActionsBeforeMove = 26;

    CMacroPage();
    ~CMacroPage() override;
    CMacroPage(const CMacroPage&) = delete;
    CMacroPage& operator=(const CMacroPage&) = delete;

    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Lists the library's folders and shows the first; call once the library is loaded.
    void fill_folders();

    // Commands of the macro folder and macro menus, on what the page has selected. Without a
    // folder or macro to work on they do nothing.
    void rename_macro_dir();
    void import_macro_dir();
    void export_macro_dir();
    void export_pw_macro_dir();
    void rename_macro();
    void import_macro();
    void export_macro();
    void export_pw_macro();

    // MacroRecordingTarget
    [[nodiscard]] MacroRecord* editing_macro() override;
    [[nodiscard]] int selected_action() const override { return m_selected; }
    void set_selected_action(int row) override;
    void show_actions(int row) override;
    void show_action_details() override;
    void commit() override;
    [[nodiscard]] RecordDelayMode delay_mode() const override { return m_delayMode; }
    [[nodiscard]] std::uint16_t default_delay() const override;

    // What the page shows, for the window and its tests.
    [[nodiscard]] const std::vector<std::u16string>& folder_names() const { return m_folders; }
    [[nodiscard]] int current_folder() const { return m_folder; }
    // Library positions of the rows of the macro list.
    [[nodiscard]] const std::vector<std::int32_t>& listed() const { return m_listed; }
    // Library position of the macro shown, -1 for none.
    [[nodiscard]] std::int32_t current_position() const { return m_position; }
    // The working copy of the macro shown, or nothing.
    [[nodiscard]] const std::optional<MacroRecord>& working() const { return m_working; }
    // Total wait of one play of `macro`, in ms: the sum of its actions' delays.
    [[nodiscard]] static std::uint32_t play_time_ms(const MacroRecord& macro);

private:
    void connect_controls();
    void on_edit(QLineEdit* edit, void (CMacroPage::*take)());

    // Folders and macros.
    void list_folder(int index);
    void load_macro(std::int32_t position);
    void reset_editor();
    // Stores and ends a recording of the macro shown; nothing when none runs.
    void end_recording();
    // Adds a folder to the end of macro_combo without listing it.
    void add_folder_row(std::u16string name);
    // Selects row `index` of macro_combo (-1: none) and lists that folder.
    void select_folder_row(int index);
    void add_folder();
    void delete_folder();
    void add_macro();
    void delete_macro();
    void rename_macro_to_typed();
    void open_menu(QWidget* button, const QString& layout);
    void export_folder(ExportMode mode);
    void export_item(ExportMode mode);
    // Adds a row for the macro at `position` to macro_list, with its lock when locked.
    void add_macro_row(std::int32_t position);

    // Actions of the working copy.
    void select_action(int row);
    void take_delay();
    void take_loop_count();
    void take_move_x();
    void take_move_y();
    void take_move(bool x);
    void choose_mouse_button(int index);
    void move_action(int step);
    void delete_action();
    void clear_actions();
    void insert_move();
    void redraw_row(int row);
    void show_empty_states();
    void show_duration();

    // Runs a library operation through the profile model and shows what went wrong.
    // `unread_key` names the message for an operation that failed on its file before it
    // changed anything (an import); a failed save has a message of its own.
    LibraryResult change(const std::function<LibraryResult(MacroLibrary&, ProfileList&)>& edit,
                         const char* unread_key = nullptr);
    // Explains a failed result: a refusal by its reason, any other error with the text of
    // `failed_key` (which takes the error's description as %1).
    void report(const LibraryResult& result, const char* failed_key);
    void warn(const QString& message_key);
    [[nodiscard]] bool confirm(const QString& message_key);
    [[nodiscard]] const MacroLibrary& library() const;
    [[nodiscard]] std::optional<std::u16string> folder_name() const;
    [[nodiscard]] int action_count() const;

    std::unique_ptr<Ui::MacroPage> m_ui;
    // Records into the macro shown; made once the controls exist.
    std::unique_ptr<MacroRecording> m_recording;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;

    // The folder entries' names in library order: the rows of macro_combo.
    std::vector<std::u16string> m_folders;
    int m_folder = -1;
    std::vector<std::int32_t> m_listed;
    std::int32_t m_position = -1;
    std::optional<MacroRecord> m_working;
    int m_selected = -1;
    RecordDelayMode m_delayMode = RecordDelayMode::default_delay;
    // Set while the page fills its own lists: their selections are the page's, not the user's.
    bool m_filling = false;
};

} // namespace zemrak::pages
