#pragma once

#include "macros/macro_record.h"
#include "macros/macro_recording_target.h"
#include "model/record_library.h"
#include "pages/library_browser.h"
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
    // Reads the library's file again after another program changed it, and lists it anew.
    void reload_library();

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
    [[nodiscard]] const std::vector<std::u16string>& folder_names() const {
        return m_browser->listing().folder_names();
    }
    [[nodiscard]] int current_folder() const { return m_browser->current_folder(); }
    // Library positions of the rows of the macro list.
    [[nodiscard]] const std::vector<std::int32_t>& listed() const {
        return m_browser->listing().listed();
    }
    // Library position of the macro shown, -1 for none.
    [[nodiscard]] std::int32_t current_position() const { return m_browser->current_position(); }
    // The working copy of the macro shown, or nothing.
    [[nodiscard]] const std::optional<MacroRecord>& working() const { return m_working; }
    // Total wait of one play of `macro`, in ms: the sum of its actions' delays.
    [[nodiscard]] static std::uint32_t play_time_ms(const MacroRecord& macro);

private:
    void connect_controls();
    void on_edit(QLineEdit* edit, void (CMacroPage::*take)());

    // Folders and macros.
    [[nodiscard]] LibraryBrowser::Setup browser_setup();
    void load_macro(std::int32_t position);
    void reset_editor();
    // Stores and ends a recording of the macro shown; nothing when none runs.
    void end_recording();
    // The working copy takes the names the library gave the macro shown.
    void take_names();

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

    [[nodiscard]] const MacroLibrary& library() const;
    [[nodiscard]] int action_count() const;

    std::unique_ptr<Ui::MacroPage> m_ui;
    // Records into the macro shown; made once the controls exist.
    std::unique_ptr<MacroRecording> m_recording;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;

    // The folders and macros, and the commands on them.
    std::unique_ptr<LibraryBrowser> m_browser;
    std::optional<MacroRecord> m_working;
    int m_selected = -1;
    RecordDelayMode m_delayMode = RecordDelayMode::default_delay;
};

} // namespace zemrak::pages
