#pragma once

#include "model/record_library.h"
#include "pages/library_listing.h"
#include "ui/edit_name.h"
#include "ui/file_dialogs.h"
#include "ui/notify_pump.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace zemrak {
class ProfileList;
}

namespace zemrak::pages {

class PageHost;

// The folders and items of one library as the macro and recoil pages show them, with every
// command on them: new, delete (after asking) and rename of folders and items, import and
// export of an item or a folder, plain or locked. Operations run through the page's own way
// into the library; what they refused, failed to read or write, or could not save is shown
// in a message, a failing save once until a save works again. The page shows the item the
// browser opens through `item_shown` / `none_shown` and keeps its editor to itself.
class LibraryBrowser {
public:
    // A library operation as the profile model runs it.
    using Edit = std::function<LibraryResult(RecordLibrary&, ProfileList&)>;

    // What a message about a file says beside its text: nothing, the error, or the file's
    // name and then the error.
    enum class FileArgs { none, error, file_and_error };
    struct FileMessage {
        const char* key = nullptr;
        FileArgs args = FileArgs::error;
    };

    // What the page shows once the item it showed was deleted.
    enum class AfterItemDeleted { nothing, next_item };

    struct Setup {
        QComboBox* folders = nullptr;
        QListWidget* items = nullptr;
        QPushButton* add_folder = nullptr;
        QPushButton* delete_folder = nullptr;
        QPushButton* folder_menu = nullptr;
        QPushButton* add_item = nullptr;
        QPushButton* delete_item = nullptr;
        QPushButton* item_menu = nullptr;
        // The shown item's name, renamed when the field is left or on Return while it is
        // enabled; the page decides when it is.
        QLineEdit* name_edit = nullptr;
        QString folder_menu_layout;
        QString item_menu_layout;

        // The library must outlive the browser; changes go through `change` only.
        const RecordLibrary* library = nullptr;
        std::function<LibraryResult(const Edit&)> change;
        std::function<std::unique_ptr<ui::CEditName>(QWidget* owner)> name_dialog;
        // The file dialog of one item (false) or a whole folder (true).
        std::function<ui::FileDialogSpec(bool folder)> files;
        // Registers a handler of the page's notifications.
        std::function<void(const QObject*, const QString&, ui::CNotifyPump::Handler)> listen;

        const char* delete_folder_question = nullptr;
        const char* delete_item_question = nullptr;
        // Takes the error as %1.
        const char* save_failed = nullptr;
        // A file that is not of this library, and any other file that could not be imported.
        FileMessage import_refused;
        FileMessage import_failed;
        FileMessage export_failed;
        AfterItemDeleted after_item_deleted = AfterItemDeleted::nothing;

        // Before another item is shown or the shown one or its folder is deleted, while the
        // positions the page holds still name what it shows: a page that keeps work on the
        // shown item beyond its edits (a recording) ends and stores it here. May be empty.
        std::function<void()> leaving;
        std::function<void(std::int32_t position)> item_shown;
        std::function<void()> none_shown;
        // After a folder or item was renamed: the page takes the names of what it shows.
        std::function<void()> renamed;
    };

    // Connects the controls; nothing is listed until fill_folders(). `host` outlives the
    // browser.
    LibraryBrowser(PageHost& host, Setup setup);

    // Lists the library's folders again and opens the first.
    void fill_folders();
    // After another program changed the library's file: ends what the page keeps on the shown
    // item, reads `library` (the one the browser shows) again holding the data folder, and
    // lists the folders again, opening the folder that was open when it is still there.
    void reload(RecordLibrary& library);

    // The commands of the menus, on the open folder and the shown item; without one they do
    // nothing.
    void rename_folder();
    void import_folder();
    void export_folder(ExportMode mode);
    void rename_item();
    void import_item();
    void export_item(ExportMode mode);

    // Runs `edit`, an operation of the page's own, through the page's way into the library
    // and shows a refused name (of a folder when `folder_named`) or a failed save.
    LibraryResult change(const Edit& edit, bool folder_named = false);

    [[nodiscard]] const LibraryListing& listing() const { return m_listing; }
    [[nodiscard]] int current_folder() const { return m_listing.current_folder(); }
    // Library position of the item shown, -1 for none.
    [[nodiscard]] std::int32_t current_position() const { return m_position; }

private:
    void connect_controls();
    void open_folder(int index);
    void show_item(std::int32_t position);
    void show_row(int row);
    void add_folder();
    void delete_folder();
    void add_item();
    void delete_item();
    void rename_to(std::u16string name);
    void rename_from_field();
    // Lets the page end what it keeps on the shown item (see Setup::leaving).
    void leave();
    void open_menu(QPushButton* button, const QString& layout);

    // The name the user typed in the page's name dialog, or nothing when cancelled.
    [[nodiscard]] std::optional<std::u16string>
    ask_name(ui::NameMode mode, const std::u16string& folder, const std::u16string& name);
    [[nodiscard]] std::optional<QString> choose_file(bool folder, bool save);
    [[nodiscard]] bool confirm(const char* question_key);
    // Runs `edit` through the page's way into the library; a library whose file another
    // program changed refuses every edit until it is read again, which is told here.
    LibraryResult run(const Edit& edit);
    void report_save(const LibraryResult& result);
    void report_refusal(const LibraryResult& result, bool folder_named);
    void report_file(const FileMessage& message, const QString& file, const std::error_code& error);
    void warn_key(const char* key);
    void warn_text(const QString& text);

    PageHost& m_host;
    Setup m_setup;
    LibraryListing m_listing;
    std::int32_t m_position = -1;
    bool m_saveFailing = false;
    bool m_renaming = false; // rename_to() is running
};

} // namespace zemrak::pages
