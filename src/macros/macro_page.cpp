#include "macros/macro_page.h"

#include "application/app_data.h"
#include "macros/edit_macro_name.h"
#include "macros/macro_action_row.h"
#include "macros/macro_library.h"
#include "macros/macro_recording.h"
#include "model/key_tables.h"
#include "model/library_error.h"
#include "model/profile_list.h"
#include "model/unicode.h"
#include "pages/profile_model.h"
#include "ui/file_dialogs.h"
#include "ui/lock_mark.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/number_edit.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "ui_macro.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

namespace zemrak::pages {
namespace {

using ui::to_qstring;
using ui::to_u16string;

constexpr int kFolderRowHeight = 25;
constexpr int kMacroRowHeight = 30;
constexpr std::uint8_t kFirstMouseButton = 240;
constexpr std::uint8_t kLastMouseButton = 244;
constexpr std::uint8_t kMouseMoveCode = 246;
// A new move waits this long; the next action's own timing follows.
constexpr std::uint16_t kNewMoveDelay = 2;

constexpr NumberLimits kDelayLimits{10, 65535};
constexpr NumberLimits kLoopLimits{1, 255};
constexpr NumberLimits kMoveLimits{-127, 127};

ui::FileDialogSpec macro_files(const AppData& data, bool folder) {
    return {QStringLiteral("Macro Data"),
            folder ? QStringLiteral("*.mbins *.MBINS") : QStringLiteral("*.mbin *.MBIN"),
            folder ? QStringLiteral("mbins") : QStringLiteral("mbin"),
            QString::fromStdString(data.folders().data.string())};
}

bool refused(const LibraryResult& result) {
    return result.error && result.error.category() == library_category();
}

} // namespace

CMacroPage::CMacroPage() : m_ui(std::make_unique<Ui::MacroPage>()) {}

CMacroPage::~CMacroPage() = default;

void CMacroPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    if (auto* placeholder = container->findChild<QWidget*>("macro_page_placeholder")) {
        placeholder->hide();
    }
    auto* body = new QWidget(container);
    m_ui->setupUi(body);
    container->layout()->addWidget(body);
    container->layout()->setContentsMargins(16, 14, 16, 14);
    ui::Texts::apply(body);

    for (std::uint8_t code = kFirstMouseButton; code <= kLastMouseButton; ++code) {
        m_ui->macro_mouse_action_combo->addItem(ui::Texts::text(key_name_key(code)));
    }
    for (QLabel* empty : {m_ui->macro_list_empty_label, m_ui->macro_action_empty_label}) {
        // The hint lies over its list; clicks go through to the list.
        empty->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_ui->edit_default_delay->setText(QStringLiteral("10"));
    m_ui->edit_insert_x->setText(QStringLiteral("0"));
    m_ui->edit_insert_y->setText(QStringLiteral("0"));
    connect_controls();
    m_recording = std::make_unique<MacroRecording>(body, *this, host.input_capture());
    list_folder(-1);
}

void CMacroPage::connect_controls() {
    const auto click = [this](const QObject* control, void (CMacroPage::*command)()) {
        on(control, "click", [this, command](const ui::Notification&) { (this->*command)(); });
    };
    click(m_ui->btn_add_macro_floder, &CMacroPage::add_folder);
    click(m_ui->btn_delete_macro_floder, &CMacroPage::delete_folder);
    click(m_ui->btn_add_macro, &CMacroPage::add_macro);
    click(m_ui->btn_delete_macro, &CMacroPage::delete_macro);
    click(m_ui->btn_macro_action_delete, &CMacroPage::delete_action);
    click(m_ui->btn_macro_clear_all, &CMacroPage::clear_actions);
    click(m_ui->btn_insert_move, &CMacroPage::insert_move);
    on(m_ui->btn_menu_macro_floder, "click", [this](const ui::Notification&) {
        open_menu(m_ui->btn_menu_macro_floder, QStringLiteral("macrodirmenu.xml"));
    });
    on(m_ui->btn_menu_macro, "click", [this](const ui::Notification&) {
        open_menu(m_ui->btn_menu_macro, QStringLiteral("macromenu.xml"));
    });
    on(m_ui->btn_macro_move_up, "click", [this](const ui::Notification&) { move_action(-1); });
    on(m_ui->btn_macro_move_down, "click", [this](const ui::Notification&) { move_action(1); });

    const std::array<QObject*, 3> options{m_ui->macro_delay_option_1, m_ui->macro_delay_option_2,
                                          m_ui->macro_delay_option_3};
    for (std::size_t mode = 0; mode < options.size(); ++mode) {
        on(options.at(mode), "selectchanged", [this, mode](const ui::Notification& n) {
            // The option losing its mark reports too; only the chosen one counts.
            if (n.wparam != 0) {
                m_delayMode = static_cast<RecordDelayMode>(mode);
            }
        });
    }

    on(m_ui->macro_combo, "itemselect",
       [this](const ui::Notification& n) { list_folder(static_cast<int>(n.wparam)); });
    on(m_ui->macro_list, "itemselect", [this](const ui::Notification& n) {
        const auto row = static_cast<std::size_t>(n.wparam);
        // A list that is emptied reports no row: that keeps what is shown.
        if (n.wparam >= 0 && row < m_listed.size()) {
            load_macro(m_listed.at(row));
        }
    });
    on(m_ui->macro_action_list, "itemselect",
       [this](const ui::Notification& n) { select_action(static_cast<int>(n.wparam)); });
    on(m_ui->macro_mouse_action_combo, "itemselect",
       [this](const ui::Notification& n) { choose_mouse_button(static_cast<int>(n.wparam)); });

    on_edit(m_ui->edit_macro_delay, &CMacroPage::take_delay);
    on_edit(m_ui->edit_loop_time, &CMacroPage::take_loop_count);
    on_edit(m_ui->edit_macro_action_x, &CMacroPage::take_move_x);
    on_edit(m_ui->edit_macro_action_y, &CMacroPage::take_move_y);
    on_edit(m_ui->edit_macro_name, &CMacroPage::rename_macro_to_typed);
    for (QLineEdit* movement : {m_ui->edit_macro_action_x, m_ui->edit_macro_action_y,
                                m_ui->edit_insert_x, m_ui->edit_insert_y}) {
        on(movement, "textchanged",
           [movement](const ui::Notification&) { ui::filter_number_edit(movement); });
    }
}

void CMacroPage::on_edit(QLineEdit* edit, void (CMacroPage::*take)()) {
    // The value is taken when the field is left, and on Return for those who stay in it. Each
    // take commits only a change, so leaving after Return saves nothing twice.
    on(edit, "killfocus", [this, take](const ui::Notification&) { (this->*take)(); });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this, take] { (this->*take)(); });
}

const MacroLibrary& CMacroPage::library() const {
    return m_host->model().data().macros();
}

std::optional<std::u16string> CMacroPage::folder_name() const {
    if (m_folder < 0 || static_cast<std::size_t>(m_folder) >= m_folders.size()) {
        return std::nullopt;
    }
    return m_folders.at(static_cast<std::size_t>(m_folder));
}

int CMacroPage::action_count() const {
    return m_working ? static_cast<int>(m_working->action_count()) : 0;
}

MacroRecord* CMacroPage::editing_macro() {
    return m_working && !m_working->locked() ? &*m_working : nullptr;
}

std::uint16_t CMacroPage::default_delay() const {
    return static_cast<std::uint16_t>(ui::edit_number(m_ui->edit_default_delay) & 0xFFFF);
}

std::uint32_t CMacroPage::play_time_ms(const MacroRecord& macro) {
    std::uint32_t total = 0;
    const std::size_t count = macro.action_count();
    for (std::size_t slot = 0; slot < count; ++slot) {
        total += macro.action(slot).delay();
    }
    return total;
}

// ---- folders and macros ----------------------------------------------------------------

void CMacroPage::fill_folders() {
    m_folders.clear();
    {
        const QSignalBlocker quiet(m_ui->macro_combo);
        m_ui->macro_combo->clear();
        const MacroLibrary& records = library();
        const auto size = static_cast<std::int32_t>(records.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (records.is_folder_entry(position)) {
                add_folder_row(records.folder_name_at(position).value_or(u""));
            }
        }
    }
    select_folder_row(m_folders.empty() ? -1 : 0);
}

void CMacroPage::add_folder_row(std::u16string name) {
    const QSignalBlocker quiet(m_ui->macro_combo);
    m_ui->macro_combo->addItem(to_qstring(name));
    m_ui->macro_combo->setItemData(m_ui->macro_combo->count() - 1, QSize(0, kFolderRowHeight),
                                   Qt::SizeHintRole);
    m_folders.push_back(std::move(name));
}

void CMacroPage::select_folder_row(int index) {
    {
        const QSignalBlocker quiet(m_ui->macro_combo);
        m_ui->macro_combo->setCurrentIndex(index);
    }
    list_folder(index);
}

void CMacroPage::list_folder(int index) {
    m_folder = index >= 0 && static_cast<std::size_t>(index) < m_folders.size() ? index : -1;
    {
        const QSignalBlocker quiet(m_ui->macro_list);
        m_ui->macro_list->clear();
        m_listed.clear();
    }
    if (const std::optional<std::u16string> folder = folder_name()) {
        const MacroLibrary& records = library();
        const auto size = static_cast<std::int32_t>(records.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (!records.is_folder_entry(position) &&
                equal_ignoring_case(records.folder_name_at(position).value_or(u""), *folder)) {
                add_macro_row(position);
            }
        }
    }
    reset_editor();
}

void CMacroPage::add_macro_row(std::int32_t position) {
    auto* item = new QListWidgetItem(to_qstring(library().item_name_at(position).value_or(u"")));
    item->setSizeHint(QSize(0, kMacroRowHeight));
    if (library().is_locked(position)) {
        item->setIcon(ui::lock_icon());
        item->setToolTip(ui::Texts::text("locked_item_tip_text"));
    } else {
        item->setIcon(ui::no_lock_icon());
    }
    {
        const QSignalBlocker quiet(m_ui->macro_list);
        m_ui->macro_list->addItem(item);
    }
    m_listed.push_back(position);
}

void CMacroPage::reset_editor() {
    end_recording();
    {
        const QSignalBlocker quiet(m_ui->macro_list);
        m_ui->macro_list->setCurrentRow(-1);
    }
    m_position = -1;
    m_working.reset();
    m_selected = -1;
    m_ui->edit_macro_name->clear();
    m_ui->edit_loop_time->setText(QStringLiteral("1"));
    show_actions(-1);
}

void CMacroPage::end_recording() {
    if (m_recording) {
        m_recording->stop();
    }
}

void CMacroPage::load_macro(std::int32_t position) {
    // A recording belongs to the macro it started on: it ends, stored, before another shows.
    end_recording();
    std::optional<MacroRecord> record = library().record_at(position);
    if (!record || record->is_folder_entry()) {
        reset_editor();
        return;
    }
    const auto row = std::ranges::find(m_listed, position);
    if (row != m_listed.end()) {
        const QSignalBlocker quiet(m_ui->macro_list);
        m_ui->macro_list->setCurrentRow(static_cast<int>(row - m_listed.begin()));
    }
    m_position = position;
    m_working = std::move(record);
    m_selected = -1;
    m_ui->edit_macro_name->setText(to_qstring(m_working->item_name()));
    // A locked macro's loop count is part of what it keeps to itself.
    m_ui->edit_loop_time->setText(m_working->locked() ? QStringLiteral("1")
                                                      : QString::number(m_working->loop_count()));
    show_actions(-1);
}

void CMacroPage::add_folder() {
    CEditMacroName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::add_folder);
    m_host->show_busy_cover();
    const int answer = dialog.show_modal();
    m_host->hide_busy_cover();
    if (answer != ui::kDialogOk) {
        return;
    }
    const std::u16string name = to_u16string(dialog.name());
    const LibraryResult result =
        change([&](MacroLibrary& macros, ProfileList&) { return macros.add_folder(name); });
    if (refused(result)) {
        return;
    }
    add_folder_row(result.name.empty() ? name : result.name);
    select_folder_row(static_cast<int>(m_folders.size()) - 1);
}

void CMacroPage::delete_folder() {
    const std::optional<std::u16string> folder = folder_name();
    if (!folder || !confirm(QStringLiteral("delete_macro_dir_text"))) {
        return;
    }
    const LibraryResult result = change([&](MacroLibrary& macros, ProfileList& profiles) {
        return macros.delete_folder(*folder, profiles);
    });
    if (refused(result)) {
        return;
    }
    const int removed = m_folder;
    m_folders.erase(m_folders.begin() + removed);
    {
        const QSignalBlocker quiet(m_ui->macro_combo);
        m_ui->macro_combo->removeItem(removed);
    }
    // The folder that took the removed one's place is shown, or the new last one.
    const int count = static_cast<int>(m_folders.size());
    select_folder_row(removed < count ? removed : count - 1);
}

void CMacroPage::rename_macro_dir() {
    const std::optional<std::u16string> folder = folder_name();
    if (!folder) {
        return;
    }
    CEditMacroName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::rename_folder);
    dialog.set_name(to_qstring(*folder));
    m_host->show_busy_cover();
    const int answer = dialog.show_modal();
    m_host->hide_busy_cover();
    if (answer != ui::kDialogOk) {
        return;
    }
    const std::u16string name = to_u16string(dialog.name());
    const LibraryResult result = change(
        [&](MacroLibrary& macros, ProfileList&) { return macros.rename_folder(*folder, name); });
    if (refused(result)) {
        return;
    }
    m_folders.at(static_cast<std::size_t>(m_folder)) = name;
    m_ui->macro_combo->setItemText(m_folder, to_qstring(name));
    if (m_working) {
        m_working->set_folder_name(name);
    }
}

void CMacroPage::add_macro() {
    const std::optional<std::u16string> folder = folder_name();
    if (!folder) {
        return;
    }
    CEditMacroName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::add_item);
    dialog.set_folder_name(to_qstring(*folder));
    m_host->show_busy_cover();
    const int answer = dialog.show_modal();
    m_host->hide_busy_cover();
    if (answer != ui::kDialogOk) {
        return;
    }
    const std::u16string name = to_u16string(dialog.name());
    const LibraryResult result =
        change([&](MacroLibrary& macros, ProfileList&) { return macros.add_item(*folder, name); });
    if (result.position >= 0) {
        add_macro_row(result.position);
        load_macro(result.position);
    }
}

void CMacroPage::delete_macro() {
    const int row = m_ui->macro_list->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_listed.size() ||
        !confirm(QStringLiteral("delete_macro_text"))) {
        return;
    }
    const std::int32_t position = m_listed.at(static_cast<std::size_t>(row));
    const LibraryResult result = change([&](MacroLibrary& macros, ProfileList& profiles) {
        return macros.delete_item(position, profiles);
    });
    if (refused(result)) {
        return;
    }
    m_listed.erase(m_listed.begin() + row);
    for (std::int32_t& listed : m_listed) {
        if (listed > position) {
            --listed;
        }
    }
    {
        const QSignalBlocker quiet(m_ui->macro_list);
        delete m_ui->macro_list->takeItem(row);
    }
    if (m_position == position) {
        // The editor never keeps working on a record that is gone.
        reset_editor();
    } else if (m_position > position) {
        --m_position;
    }
}

void CMacroPage::rename_macro() {
    const std::optional<std::u16string> folder = folder_name();
    if (!m_working || !folder) {
        return;
    }
    CEditMacroName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::rename_item);
    dialog.set_folder_name(to_qstring(*folder));
    dialog.set_name(to_qstring(m_working->item_name()));
    m_host->show_busy_cover();
    const int answer = dialog.show_modal();
    m_host->hide_busy_cover();
    if (answer == ui::kDialogOk) {
        m_ui->edit_macro_name->setText(dialog.name());
        rename_macro_to_typed();
    } else {
        m_ui->edit_macro_name->setText(to_qstring(m_working->item_name()));
    }
}

void CMacroPage::rename_macro_to_typed() {
    if (!m_working) {
        m_ui->edit_macro_name->clear();
        return;
    }
    const std::u16string typed = fit_name(to_u16string(m_ui->edit_macro_name->text()));
    const std::u16string old_name = m_working->item_name();
    if (typed == old_name) {
        return;
    }
    const std::int32_t position = m_position;
    const LibraryResult result = change([&](MacroLibrary& macros, ProfileList& profiles) {
        return macros.rename_item(position, typed, profiles);
    });
    if (refused(result)) {
        // An empty or taken name was explained; the field shows the name the macro kept.
        m_ui->edit_macro_name->setText(to_qstring(old_name));
        return;
    }
    m_working->set_item_name(typed);
    const auto row = std::ranges::find(m_listed, position);
    if (row != m_listed.end()) {
        m_ui->macro_list->item(static_cast<int>(row - m_listed.begin()))
            ->setText(to_qstring(typed));
    }
}

void CMacroPage::open_menu(QWidget* button, const QString& layout) {
    ui::PopupMenu& menu = m_host->make_menu(layout);
    menu.open(button->mapToGlobal(QPoint(0, button->height())));
}

void CMacroPage::import_macro() {
    const auto file =
        ui::choose_file_to_open(m_host->host_window(), macro_files(m_host->model().data(), false));
    if (!file) {
        return;
    }
    const std::optional<std::u16string> folder = folder_name();
    const std::filesystem::path path = file->toStdString();
    const LibraryResult result = change(
        [&](MacroLibrary& macros, ProfileList&) {
            return folder ? macros.import_item(path, *folder) : macros.import_item(path);
        },
        "macro_file_unreadable_text");
    if (result.position < 0) {
        return;
    }
    if (!folder) {
        // The macro brought its own folder along.
        add_folder_row(library().folder_name_at(result.position).value_or(u""));
        select_folder_row(static_cast<int>(m_folders.size()) - 1);
    } else {
        add_macro_row(result.position);
    }
    load_macro(result.position);
}

void CMacroPage::import_macro_dir() {
    const auto file =
        ui::choose_file_to_open(m_host->host_window(), macro_files(m_host->model().data(), true));
    if (!file) {
        return;
    }
    const std::filesystem::path path = file->toStdString();
    const std::size_t before = library().size();
    const LibraryResult result =
        change([&](MacroLibrary& macros, ProfileList&) { return macros.import_folder(path); },
               "macro_file_unreadable_text");
    if (library().size() == before) {
        return;
    }
    add_folder_row(
        library().folder_name_at(static_cast<std::int32_t>(before)).value_or(result.name));
    select_folder_row(static_cast<int>(m_folders.size()) - 1);
}

void CMacroPage::export_macro_dir() {
    export_folder(ExportMode::plain);
}

void CMacroPage::export_pw_macro_dir() {
    export_folder(ExportMode::locked);
}

void CMacroPage::export_macro() {
    export_item(ExportMode::plain);
}

void CMacroPage::export_pw_macro() {
    export_item(ExportMode::locked);
}

void CMacroPage::export_folder(ExportMode mode) {
    const std::optional<std::u16string> folder = folder_name();
    if (!folder) {
        return;
    }
    const auto file =
        ui::choose_file_to_save(m_host->host_window(), macro_files(m_host->model().data(), true));
    if (file) {
        report(library().export_folder(*folder, file->toStdString(), mode),
               "macro_export_failed_text");
    }
}

void CMacroPage::export_item(ExportMode mode) {
    if (!m_working) {
        return;
    }
    const auto file =
        ui::choose_file_to_save(m_host->host_window(), macro_files(m_host->model().data(), false));
    if (file) {
        report(library().export_item(m_position, file->toStdString(), mode),
               "macro_export_failed_text");
    }
}

// ---- actions ---------------------------------------------------------------------------

void CMacroPage::set_selected_action(int row) {
    m_selected = row >= 0 && row < action_count() ? row : -1;
}

void CMacroPage::show_actions(int row) {
    QListWidget* list = m_ui->macro_action_list;
    const int count = editing_macro() != nullptr ? action_count() : 0;
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (int slot = 0; slot < count; ++slot) {
            MacroActionRow::append_to(list)->show_action(
                m_working->action(static_cast<std::size_t>(slot)));
        }
        const int target = count == 0 ? -1 : (row < 0 || row >= count ? count - 1 : row);
        list->setCurrentRow(target);
        m_selected = target;
        if (target >= 0) {
            list->scrollToItem(list->item(target));
        }
    }
    show_action_details();
    show_empty_states();
    show_duration();
}

void CMacroPage::select_action(int row) {
    set_selected_action(row);
    show_action_details();
}

void CMacroPage::show_action_details() {
    const bool shown = editing_macro() != nullptr && m_selected >= 0;
    if (!shown) {
        m_ui->edit_macro_action->clear();
        m_ui->edit_macro_delay->clear();
        m_ui->macro_key_hor->hide();
        m_ui->macro_delay_hor->hide();
        m_ui->macro_mouse_move_hor->hide();
        const QSignalBlocker quiet(m_ui->macro_mouse_action_combo);
        m_ui->macro_mouse_action_combo->setCurrentIndex(0);
        return;
    }
    // The row follows too: a captured key changes the code under it.
    redraw_row(m_selected);
    const MacroAction action = m_working->action(static_cast<std::size_t>(m_selected));
    const std::uint8_t code = action.code();
    m_ui->macro_delay_hor->show();
    if (code >= kFirstMouseButton && code <= kLastMouseButton) {
        m_ui->macro_key_hor->show();
        m_ui->macro_mouse_move_hor->hide();
        m_ui->edit_macro_action->hide();
        m_ui->macro_mouse_action_combo->show();
        const QSignalBlocker quiet(m_ui->macro_mouse_action_combo);
        m_ui->macro_mouse_action_combo->setCurrentIndex(code - kFirstMouseButton);
    } else if (code == kMouseMoveCode) {
        m_ui->macro_key_hor->hide();
        m_ui->macro_mouse_move_hor->show();
        m_ui->edit_macro_action_x->setText(QString::number(action.move_x()));
        m_ui->edit_macro_action_y->setText(QString::number(action.move_y()));
    } else {
        m_ui->macro_key_hor->show();
        m_ui->macro_mouse_move_hor->hide();
        m_ui->edit_macro_action->show();
        m_ui->macro_mouse_action_combo->hide();
        m_ui->edit_macro_action->setText(ui::Texts::text(key_name_key(code)));
    }
    m_ui->edit_macro_delay->setText(QString::number(action.delay()));
}

void CMacroPage::commit() {
    if (editing_macro() == nullptr) {
        return;
    }
    const std::int32_t position = m_position;
    const MacroRecord& working = *m_working;
    // A failed save has been shown; the working copy stays as it is, and the next commit
    // writes it.
    static_cast<void>(change([&](MacroLibrary& macros, ProfileList& profiles) {
        return macros.update_item(position, working, profiles);
    }));
    show_empty_states();
    show_duration();
}

void CMacroPage::redraw_row(int row) {
    if (MacroActionRow* shown = MacroActionRow::at(m_ui->macro_action_list, row)) {
        shown->show_action(m_working->action(static_cast<std::size_t>(row)));
    }
}

void CMacroPage::take_delay() {
    const std::int32_t value = ui::hold_edit_number(m_ui->edit_macro_delay, kDelayLimits);
    if (editing_macro() == nullptr || m_selected < 0) {
        return;
    }
    const auto slot = static_cast<std::size_t>(m_selected);
    MacroAction action = m_working->action(slot);
    if (action.delay() == value) {
        return;
    }
    action.set_delay(static_cast<std::uint16_t>(value));
    m_working->set_action(slot, action);
    redraw_row(m_selected);
    commit();
}

void CMacroPage::take_loop_count() {
    const std::int32_t value = ui::hold_edit_number(m_ui->edit_loop_time, kLoopLimits);
    if (editing_macro() == nullptr || m_working->loop_count() == value) {
        return;
    }
    m_working->set_loop_count(static_cast<std::uint16_t>(value));
    commit();
}

void CMacroPage::take_move_x() {
    take_move(true);
}

void CMacroPage::take_move_y() {
    take_move(false);
}

void CMacroPage::take_move(bool x) {
    QLineEdit* edit = x ? m_ui->edit_macro_action_x : m_ui->edit_macro_action_y;
    const std::int32_t value = ui::hold_edit_number(edit, kMoveLimits);
    if (editing_macro() == nullptr || m_selected < 0) {
        return;
    }
    const auto slot = static_cast<std::size_t>(m_selected);
    MacroAction action = m_working->action(slot);
    if ((x ? action.move_x() : action.move_y()) == value) {
        return;
    }
    x ? action.set_move_x(value) : action.set_move_y(value);
    m_working->set_action(slot, action);
    redraw_row(m_selected);
    commit();
}

void CMacroPage::choose_mouse_button(int index) {
    if (editing_macro() == nullptr || m_selected < 0 || index < 0 ||
        index > kLastMouseButton - kFirstMouseButton) {
        return;
    }
    const auto slot = static_cast<std::size_t>(m_selected);
    MacroAction action = m_working->action(slot);
    action.set_code(static_cast<std::uint8_t>(kFirstMouseButton + index));
    m_working->set_action(slot, action);
    redraw_row(m_selected);
    commit();
}

void CMacroPage::move_action(int step) {
    const int from = m_selected;
    const int to = from + step;
    if (editing_macro() == nullptr || from < 0 || to < 0 || to >= action_count()) {
        return;
    }
    const MacroAction moved = m_working->action(static_cast<std::size_t>(from));
    m_working->set_action(static_cast<std::size_t>(from),
                          m_working->action(static_cast<std::size_t>(to)));
    m_working->set_action(static_cast<std::size_t>(to), moved);
    redraw_row(from);
    redraw_row(to);
    {
        const QSignalBlocker quiet(m_ui->macro_action_list);
        m_ui->macro_action_list->setCurrentRow(to);
    }
    select_action(to);
    commit();
}

void CMacroPage::delete_action() {
    const int removed = m_selected;
    const int count = action_count();
    if (editing_macro() == nullptr || removed < 0 || removed >= count) {
        return;
    }
    for (int slot = removed; slot + 1 < count; ++slot) {
        m_working->set_action(static_cast<std::size_t>(slot),
                              m_working->action(static_cast<std::size_t>(slot) + 1));
    }
    m_working->set_action(static_cast<std::size_t>(count - 1), MacroAction{});
    m_working->set_action_count(static_cast<std::uint16_t>(count - 1));
    commit();
    // The action that took the removed one's place is selected, or the new last one.
    show_actions(removed < count - 1 ? removed : count - 2);
}

void CMacroPage::clear_actions() {
    if (editing_macro() == nullptr) {
        return;
    }
    for (std::size_t slot = 0; slot < MacroRecord::kMaxActions; ++slot) {
        m_working->set_action(slot, MacroAction{});
    }
    m_working->set_action_count(0);
    commit();
    show_actions(-1);
}

void CMacroPage::insert_move() {
    const int count = action_count();
    if (editing_macro() == nullptr || count >= kMaxActionsBeforeMove) {
        return;
    }
    MacroAction move;
    move.set_code(kMouseMoveCode);
    move.set_kind(MacroAction::Move);
    move.set_delay(kNewMoveDelay);
    move.set_move_x(ui::hold_edit_number(m_ui->edit_insert_x, kMoveLimits));
    move.set_move_y(ui::hold_edit_number(m_ui->edit_insert_y, kMoveLimits));
    const int at = m_selected >= 0 ? m_selected + 1 : count;
    for (int slot = count; slot > at; --slot) {
        m_working->set_action(static_cast<std::size_t>(slot),
                              m_working->action(static_cast<std::size_t>(slot) - 1));
    }
    m_working->set_action(static_cast<std::size_t>(at), move);
    m_working->set_action_count(static_cast<std::uint16_t>(count + 1));
    commit();
    show_actions(at);
}

// ---- what the page says about itself ----------------------------------------------------

void CMacroPage::show_empty_states() {
    QLabel* folder_hint = m_ui->macro_list_empty_label;
    if (m_folder < 0) {
        folder_hint->setText(ui::Texts::text("macro_no_folder_text"));
    } else if (m_listed.empty()) {
        folder_hint->setText(ui::Texts::text("macro_no_items_text"));
    }
    folder_hint->setVisible(m_folder < 0 || m_listed.empty());

    QLabel* action_hint = m_ui->macro_action_empty_label;
    const char* key = nullptr;
    if (!m_working) {
        key = m_folder < 0 ? nullptr : "macro_no_macro_text";
    } else if (m_working->locked()) {
        key = "macro_locked_text";
    } else if (m_working->action_count() == 0) {
        key = "macro_no_actions_text";
    }
    action_hint->setText(key != nullptr ? ui::Texts::text(key) : QString());
    action_hint->setVisible(key != nullptr);

    const bool editing = editing_macro() != nullptr;
    const int count = action_count();
    m_ui->btn_delete_macro_floder->setEnabled(m_folder >= 0);
    m_ui->btn_add_macro->setEnabled(m_folder >= 0);
    m_ui->btn_delete_macro->setEnabled(m_working.has_value());
    m_ui->edit_macro_name->setEnabled(m_working.has_value());
    m_ui->edit_loop_time->setEnabled(editing);
    m_ui->btn_record->setEnabled(editing || m_ui->btn_record->isChecked());
    m_ui->btn_macro_clear_all->setEnabled(editing && count > 0);
    m_ui->btn_insert_move->setEnabled(editing && count < kMaxActionsBeforeMove);
}

void CMacroPage::show_duration() {
    QLabel* label = m_ui->macro_duration_label;
    if (editing_macro() == nullptr || action_count() == 0) {
        label->clear();
        return;
    }
    const std::uint32_t once = play_time_ms(*m_working);
    const std::uint16_t loops = m_working->loop_count();
    if (loops <= 1) {
        label->setText(ui::Texts::text("macro_duration_text").arg(once));
    } else {
        label->setText(ui::Texts::text("macro_duration_loops_text")
                           .arg(once)
                           .arg(loops)
                           .arg(static_cast<qulonglong>(once) * loops));
    }
}

// ---- library operations and messages ----------------------------------------------------

LibraryResult
CMacroPage::change(const std::function<LibraryResult(MacroLibrary&, ProfileList&)>& edit,
                   const char* unread_key) {
    LibraryResult result = m_host->model().change_macros(edit);
    // An operation that added nothing failed on its file, not on the save.
    const bool unread = unread_key != nullptr && result.position < 0;
    report(result, unread ? unread_key : "macro_save_failed_text");
    return result;
}

void CMacroPage::report(const LibraryResult& result, const char* failed_key) {
    if (!result.error) {
        return;
    }
    if (result.error == LibraryError::wrong_size) {
        warn(QStringLiteral("macro_import_failed_text"));
    } else if (result.error == LibraryError::name_taken) {
        warn(QStringLiteral("same_macro_text"));
    } else if (result.error == LibraryError::name_empty) {
        warn(QStringLiteral("no_name_text"));
    } else {
        // A save that failed (the change stays in memory and the next save writes it, but the
        // user must know it is not on disk), or a file that could not be read or written.
        ui::CMsgWnd box(m_host->host_window());
        box.set_title_key(QStringLiteral("warning_title_text"));
        box.set_message_text(
            ui::Texts::text(failed_key).arg(QString::fromStdString(result.error.message())));
        m_host->show_busy_cover();
        static_cast<void>(box.show_modal());
        m_host->hide_busy_cover();
    }
}

void CMacroPage::warn(const QString& message_key) {
    m_host->show_busy_cover();
    static_cast<void>(
        ui::show_message(m_host->host_window(), QStringLiteral("warning_title_text"), message_key));
    m_host->hide_busy_cover();
}

bool CMacroPage::confirm(const QString& message_key) {
    m_host->show_busy_cover();
    const int answer =
        ui::show_message(m_host->host_window(), QStringLiteral("warning_title_text"), message_key);
    m_host->hide_busy_cover();
    return answer == ui::kDialogOk;
}

} // namespace zemrak::pages
