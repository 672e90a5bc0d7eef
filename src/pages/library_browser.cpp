#include "pages/library_browser.h"

#include "application/app_data.h"
#include "model/library_error.h"
#include "model/profile_list.h"
#include "pages/page_host.h"
#include "pages/profile_model.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/texts.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <mutex>

namespace zemrak::pages {
namespace {

using ui::to_qstring;
using ui::to_u16string;

bool refused(const LibraryResult& result) {
    return result.error && result.error.category() == library_category();
}

} // namespace

LibraryBrowser::LibraryBrowser(PageHost& host, Setup setup)
    : m_host(host), m_setup(std::move(setup)),
      m_listing(m_setup.folders, m_setup.items, *m_setup.library) {
    connect_controls();
}

void LibraryBrowser::connect_controls() {
    const auto click = [this](const QObject* control, std::function<void()> action) {
        m_setup.listen(control, QStringLiteral("click"),
                       [action = std::move(action)](const ui::Notification&) { action(); });
    };
    click(m_setup.add_folder, [this] { add_folder(); });
    click(m_setup.delete_folder, [this] { delete_folder(); });
    click(m_setup.add_item, [this] { add_item(); });
    click(m_setup.delete_item, [this] { delete_item(); });
    click(m_setup.folder_menu,
          [this] { open_menu(m_setup.folder_menu, m_setup.folder_menu_layout); });
    click(m_setup.item_menu, [this] { open_menu(m_setup.item_menu, m_setup.item_menu_layout); });
    m_setup.listen(m_setup.folders, QStringLiteral("itemselect"),
                   [this](const ui::Notification& n) { open_folder(static_cast<int>(n.wparam)); });
    m_setup.listen(m_setup.items, QStringLiteral("itemselect"),
                   [this](const ui::Notification& n) { show_row(static_cast<int>(n.wparam)); });

    // The name is taken when the field is left, and on Return for those who stay in it; a
    // name that did not change renames nothing, so leaving after Return saves nothing twice.
    QLineEdit* edit = m_setup.name_edit;
    m_setup.listen(edit, QStringLiteral("killfocus"),
                   [this](const ui::Notification&) { rename_from_field(); });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] { rename_from_field(); });
}

void LibraryBrowser::fill_folders() {
    m_listing.fill_folders();
    open_folder(m_listing.folder_names().empty() ? -1 : 0);
}

void LibraryBrowser::reload(RecordLibrary& library) {
    const int open = m_listing.current_folder();
    const std::u16string folder =
        open >= 0 && static_cast<std::size_t>(open) < m_listing.folder_names().size()
            ? m_listing.folder_names()[static_cast<std::size_t>(open)]
            : std::u16string();
    leave();
    {
        const std::lock_guard hold(m_host.model().data().folder_lock());
        static_cast<void>(library.load());
    }
    m_listing.fill_folders();
    const int row = m_listing.folder_row(folder);
    open_folder(row >= 0 ? row : (m_listing.folder_names().empty() ? -1 : 0));
}

void LibraryBrowser::open_folder(int index) {
    m_listing.open_folder(index);
    show_item(-1);
}

void LibraryBrowser::show_row(int row) {
    show_item(m_listing.position_at(row));
}

void LibraryBrowser::show_item(std::int32_t position) {
    leave();
    const RecordLibrary& library = *m_setup.library;
    if (position < 0 || !library.contains(position) || library.is_folder_entry(position)) {
        position = -1;
    }
    m_position = position;
    m_listing.mark_item(position);
    if (position < 0) {
        m_setup.none_shown();
    } else {
        m_setup.item_shown(position);
    }
}

// ---- folders ----------------------------------------------------------------------------

void LibraryBrowser::add_folder() {
    const std::optional<std::u16string> name = ask_name(ui::NameMode::add_folder, {}, {});
    if (!name) {
        return;
    }
    const LibraryResult result = change(
        [&](RecordLibrary& library, ProfileList&) { return library.add_folder(*name); }, true);
    if (refused(result)) {
        return;
    }
    m_listing.add_folder_row(result.name.empty() ? *name : result.name);
    open_folder(static_cast<int>(m_listing.folder_names().size()) - 1);
}

void LibraryBrowser::delete_folder() {
    const std::optional<std::u16string> folder = m_listing.folder_name();
    if (!folder) {
        return;
    }
    leave();
    if (!confirm(m_setup.delete_folder_question)) {
        return;
    }
    const LibraryResult result =
        change([&](RecordLibrary& library,
                   ProfileList& profiles) { return library.delete_folder(*folder, profiles); },
               true);
    if (refused(result)) {
        return;
    }
    const int removed = m_listing.current_folder();
    m_listing.remove_folder_row(removed);
    // The folder that took the removed one's place opens, or the new last one.
    const int left = static_cast<int>(m_listing.folder_names().size());
    open_folder(std::min(removed, left - 1));
}

void LibraryBrowser::rename_folder() {
    const std::optional<std::u16string> folder = m_listing.folder_name();
    if (!folder) {
        return;
    }
    const std::optional<std::u16string> name = ask_name(ui::NameMode::rename_folder, {}, *folder);
    if (!name) {
        return;
    }
    const LibraryResult result = change(
        [&](RecordLibrary& library, ProfileList&) { return library.rename_folder(*folder, *name); },
        true);
    if (refused(result)) {
        return;
    }
    m_listing.rename_folder_row(m_listing.current_folder(),
                                result.name.empty() ? *name : result.name);
    m_setup.renamed();
}

// ---- items ------------------------------------------------------------------------------

void LibraryBrowser::add_item() {
    const std::optional<std::u16string> folder = m_listing.folder_name();
    if (!folder) {
        return;
    }
    const std::optional<std::u16string> name = ask_name(ui::NameMode::add_item, *folder, {});
    if (!name) {
        return;
    }
    const LibraryResult result = change(
        [&](RecordLibrary& library, ProfileList&) { return library.add_item(*folder, *name); },
        false);
    if (result.position >= 0) {
        m_listing.add_item_row(result.position);
        show_item(result.position);
    }
}

void LibraryBrowser::delete_item() {
    const int row = m_listing.row_of(m_position);
    if (row < 0) {
        return;
    }
    leave();
    if (!confirm(m_setup.delete_item_question)) {
        return;
    }
    const std::int32_t position = m_position;
    const LibraryResult result =
        change([&](RecordLibrary& library,
                   ProfileList& profiles) { return library.delete_item(position, profiles); },
               false);
    if (refused(result)) {
        return;
    }
    m_listing.remove_item_row(row);
    const int left = static_cast<int>(m_listing.listed().size());
    // The item that took the removed one's place, or the new last one; the editor never keeps
    // working on a record that is gone.
    show_item(m_setup.after_item_deleted == AfterItemDeleted::next_item
                  ? m_listing.position_at(std::min(row, left - 1))
                  : -1);
}

void LibraryBrowser::rename_item() {
    if (m_position < 0) {
        return;
    }
    const RecordLibrary& library = *m_setup.library;
    const std::u16string old_name = library.item_name_at(m_position).value_or(u"");
    const std::optional<std::u16string> name = ask_name(
        ui::NameMode::rename_item, library.folder_name_at(m_position).value_or(u""), old_name);
    if (name) {
        rename_to(*name);
    } else if (m_setup.name_edit->isEnabled()) {
        m_setup.name_edit->setText(to_qstring(old_name));
    }
}

void LibraryBrowser::rename_from_field() {
    QLineEdit* edit = m_setup.name_edit;
    // A disabled field shows no name of an item that could take one.
    if (m_position < 0 || !edit->isEnabled()) {
        return;
    }
    rename_to(fit_name(to_u16string(edit->text())));
}

void LibraryBrowser::rename_to(std::u16string name) {
    // The message about a refused name takes the focus from the name field, which would ask
    // for the same name again before the field shows the old one.
    if (m_renaming) {
        return;
    }
    const QScopedValueRollback renaming(m_renaming, true);
    const std::int32_t position = m_position;
    const std::u16string old_name = m_setup.library->item_name_at(position).value_or(u"");
    QLineEdit* edit = m_setup.name_edit;
    if (name == old_name) {
        if (edit->isEnabled()) {
            edit->setText(to_qstring(old_name));
        }
        return;
    }
    const LibraryResult result =
        change([&](RecordLibrary& library,
                   ProfileList& profiles) { return library.rename_item(position, name, profiles); },
               false);
    // A refused name was explained; the field shows the name the item kept.
    const std::u16string shown = refused(result)       ? old_name
                                 : result.name.empty() ? name
                                                       : result.name;
    if (edit->isEnabled()) {
        edit->setText(to_qstring(shown));
    }
    if (!refused(result)) {
        m_listing.rename_item_row(position, shown);
        m_setup.renamed();
    }
}

// ---- files ------------------------------------------------------------------------------

void LibraryBrowser::import_item() {
    const std::optional<QString> file = choose_file(false, false);
    if (!file) {
        return;
    }
    const std::optional<std::u16string> folder = m_listing.folder_name();
    const std::filesystem::path path = file->toStdString();
    const LibraryResult result = run([&](RecordLibrary& library, ProfileList&) {
        return folder ? library.import_item(path, std::u16string_view(*folder))
                      : library.import_item(path);
    });
    if (result.error == LibraryError::changed_outside) {
        return;
    }
    if (result.position < 0) {
        report_file(result.error == LibraryError::wrong_size ? m_setup.import_refused
                                                             : m_setup.import_failed,
                    *file, result.error);
        return;
    }
    report_save(result);
    if (folder) {
        m_listing.add_item_row(result.position);
    } else {
        // The item came with a folder of its own, made for it at the end of the list.
        m_listing.fill_folders();
        m_listing.open_folder(
            m_listing.folder_row(m_setup.library->folder_name_at(result.position).value_or(u"")));
    }
    show_item(result.position);
}

void LibraryBrowser::import_folder() {
    const std::optional<QString> file = choose_file(true, false);
    if (!file) {
        return;
    }
    const std::filesystem::path path = file->toStdString();
    const LibraryResult result =
        run([&](RecordLibrary& library, ProfileList&) { return library.import_folder(path); });
    if (result.error == LibraryError::changed_outside) {
        return;
    }
    if (result.position < 0) {
        report_file(result.error == LibraryError::wrong_size ? m_setup.import_refused
                                                             : m_setup.import_failed,
                    *file, result.error);
        return;
    }
    report_save(result);
    m_listing.fill_folders();
    open_folder(m_listing.folder_row(result.name));
}

void LibraryBrowser::export_item(ExportMode mode) {
    if (m_position < 0) {
        return;
    }
    if (const std::optional<QString> file = choose_file(false, true)) {
        const LibraryResult result =
            m_setup.library->export_item(m_position, file->toStdString(), mode);
        if (result.error) {
            report_file(m_setup.export_failed, *file, result.error);
        }
    }
}

void LibraryBrowser::export_folder(ExportMode mode) {
    const std::optional<std::u16string> folder = m_listing.folder_name();
    if (!folder) {
        return;
    }
    if (const std::optional<QString> file = choose_file(true, true)) {
        const LibraryResult result =
            m_setup.library->export_folder(*folder, file->toStdString(), mode);
        if (result.error) {
            report_file(m_setup.export_failed, *file, result.error);
        }
    }
}

// ---- dialogs and messages ---------------------------------------------------------------

void LibraryBrowser::leave() {
    if (m_setup.leaving) {
        m_setup.leaving();
    }
}

void LibraryBrowser::open_menu(QPushButton* button, const QString& layout) {
    m_host.make_menu(layout).open(button->mapToGlobal(QPoint(0, button->height())));
}

std::optional<std::u16string> LibraryBrowser::ask_name(ui::NameMode mode,
                                                       const std::u16string& folder,
                                                       const std::u16string& name) {
    const std::unique_ptr<ui::CEditName> dialog = m_setup.name_dialog(m_host.host_window());
    dialog->set_mode(mode);
    if (mode == ui::NameMode::add_item || mode == ui::NameMode::rename_item) {
        dialog->set_folder_name(to_qstring(folder));
    }
    if (mode == ui::NameMode::rename_folder || mode == ui::NameMode::rename_item) {
        dialog->set_name(to_qstring(name));
    }
    m_host.show_busy_cover();
    const int answer = dialog->show_modal();
    m_host.hide_busy_cover();
    if (answer != ui::kDialogOk) {
        return std::nullopt;
    }
    return to_u16string(dialog->name());
}

std::optional<QString> LibraryBrowser::choose_file(bool folder, bool save) {
    const ui::FileDialogSpec spec = m_setup.files(folder);
    return save ? ui::choose_file_to_save(m_host.host_window(), spec)
                : ui::choose_file_to_open(m_host.host_window(), spec);
}

bool LibraryBrowser::confirm(const char* question_key) {
    m_host.show_busy_cover();
    const int answer = ui::show_message(m_host.host_window(), QStringLiteral("warning_title_text"),
                                        QString::fromLatin1(question_key));
    m_host.hide_busy_cover();
    return answer == ui::kDialogOk;
}

LibraryResult LibraryBrowser::run(const Edit& edit) {
    LibraryResult result = m_setup.change(edit);
    if (result.error == LibraryError::changed_outside) {
        // The window's watch on the data folder reads the file again once this message is
        // closed; the edit was not made, so nothing of the user's is lost silently.
        warn_text(ui::Texts::text("library_changed_outside_text")
                      .arg(QFileInfo(m_setup.library->file()).fileName()));
    }
    return result;
}

LibraryResult LibraryBrowser::change(const Edit& edit, bool folder_named) {
    LibraryResult result = run(edit);
    if (refused(result)) {
        report_refusal(result, folder_named);
    } else {
        report_save(result);
    }
    return result;
}

void LibraryBrowser::report_save(const LibraryResult& result) {
    if (!result.error) {
        m_saveFailing = false;
        return;
    }
    // Every edit saves: one failing save would otherwise bring a message per keystroke. The
    // change stays in memory and the next save writes it.
    if (m_saveFailing) {
        return;
    }
    m_saveFailing = true;
    warn_text(
        ui::Texts::text(m_setup.save_failed).arg(QString::fromStdString(result.error.message())));
}

void LibraryBrowser::report_refusal(const LibraryResult& result, bool folder_named) {
    // changed_outside has been told by run().
    if (result.error == LibraryError::name_taken) {
        warn_key(folder_named ? "same_macro_dir_text" : "same_macro_text");
    } else if (result.error == LibraryError::name_empty) {
        warn_key("no_name_text");
    } else if (result.error == LibraryError::full) {
        warn_key("library_full_text");
    }
}

void LibraryBrowser::report_file(const FileMessage& message, const QString& file,
                                 const std::error_code& error) {
    const QString text = ui::Texts::text(message.key);
    const QString reason = QString::fromStdString(error.message());
    switch (message.args) {
    case FileArgs::none:
        warn_text(text);
        break;
    case FileArgs::error:
        warn_text(text.arg(reason));
        break;
    case FileArgs::file_and_error:
        warn_text(text.arg(QFileInfo(file).fileName(), reason));
        break;
    }
}

void LibraryBrowser::warn_key(const char* key) {
    warn_text(ui::Texts::text(key));
}

void LibraryBrowser::warn_text(const QString& text) {
    ui::CMsgWnd box(m_host.host_window());
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_text(text);
    m_host.show_busy_cover();
    static_cast<void>(box.show_modal());
    m_host.hide_busy_cover();
}

} // namespace zemrak::pages
