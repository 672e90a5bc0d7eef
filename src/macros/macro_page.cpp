#include "macros/macro_page.h"

#include "application/app_data.h"
#include "macros/edit_macro_name.h"
#include "macros/macro_action_row.h"
#include "macros/macro_library.h"
#include "macros/macro_recording.h"
#include "model/key_tables.h"
#include "model/profile_list.h"
#include "pages/profile_model.h"
#include "ui/file_dialogs.h"
#include "ui/number_edit.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "ui_macro.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <array>

namespace zemrak::pages {
namespace {

using ui::to_qstring;

constexpr std::uint8_t kFirstMouseButton = 240;
constexpr std::uint8_t kLastMouseButton = 244;
constexpr std::uint8_t kMouseMoveCode = 246;
// A new move waits this long; the next action's own timing follows.
constexpr std::uint16_t kNewMoveDelay = 2;

constexpr NumberLimits kDelayLimits{10, 65535};
constexpr NumberLimits kLoopLimits{1, MacroRecord::kMaxLoopCount};
constexpr NumberLimits kMoveLimits{-127, 127};

ui::FileDialogSpec macro_files(const AppData& data, bool folder) {
    return {QStringLiteral("Macro Data"),
            folder ? QStringLiteral("*.mbins *.MBINS") : QStringLiteral("*.mbin *.MBIN"),
            folder ? QStringLiteral("mbins") : QStringLiteral("mbin"),
            QString::fromStdString(data.folders().data.string())};
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
    m_browser = std::make_unique<LibraryBrowser>(host, browser_setup());
    connect_controls();
    m_recording = std::make_unique<MacroRecording>(body, *this, host.input_capture());
    reset_editor();
}

void CMacroPage::connect_controls() {
    const auto click = [this](const QObject* control, void (CMacroPage::*command)()) {
        on(control, "click", [this, command](const ui::Notification&) { (this->*command)(); });
    };
    click(m_ui->btn_macro_action_delete, &CMacroPage::delete_action);
    click(m_ui->btn_macro_clear_all, &CMacroPage::clear_actions);
    click(m_ui->btn_insert_move, &CMacroPage::insert_move);
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

    on(m_ui->macro_action_list, "itemselect",
       [this](const ui::Notification& n) { select_action(static_cast<int>(n.wparam)); });
    on(m_ui->macro_mouse_action_combo, "itemselect",
       [this](const ui::Notification& n) { choose_mouse_button(static_cast<int>(n.wparam)); });

    on_edit(m_ui->edit_macro_delay, &CMacroPage::take_delay);
    on_edit(m_ui->edit_loop_time, &CMacroPage::take_loop_count);
    on_edit(m_ui->edit_macro_action_x, &CMacroPage::take_move_x);
    on_edit(m_ui->edit_macro_action_y, &CMacroPage::take_move_y);
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

LibraryBrowser::Setup CMacroPage::browser_setup() {
    LibraryBrowser::Setup setup;
    setup.folders = m_ui->macro_combo;
    setup.items = m_ui->macro_list;
    setup.add_folder = m_ui->btn_add_macro_floder;
    setup.delete_folder = m_ui->btn_delete_macro_floder;
    setup.folder_menu = m_ui->btn_menu_macro_floder;
    setup.add_item = m_ui->btn_add_macro;
    setup.delete_item = m_ui->btn_delete_macro;
    setup.item_menu = m_ui->btn_menu_macro;
    setup.name_edit = m_ui->edit_macro_name;
    setup.folder_menu_layout = QStringLiteral("macrodirmenu.xml");
    setup.item_menu_layout = QStringLiteral("macromenu.xml");
    setup.library = &library();
    setup.change = [this](const LibraryBrowser::Edit& edit) {
        return m_host->model().change_macros(
            [&](MacroLibrary& macros, ProfileList& profiles) { return edit(macros, profiles); });
    };
    setup.name_dialog = [this](QWidget* owner) {
        return std::make_unique<CEditMacroName>(owner, library());
    };
    setup.files = [this](bool folder) { return macro_files(m_host->model().data(), folder); };
    setup.listen = [this](const QObject* control, const QString& type, Handler handler) {
        on(control, type, std::move(handler));
    };
    setup.delete_folder_question = "delete_macro_dir_text";
    setup.delete_item_question = "delete_macro_text";
    setup.save_failed = "macro_save_failed_text";
    setup.import_refused = {"macro_import_failed_text", LibraryBrowser::FileArgs::none};
    setup.import_failed = {"macro_file_unreadable_text", LibraryBrowser::FileArgs::error};
    setup.export_failed = {"macro_export_failed_text", LibraryBrowser::FileArgs::error};
    setup.after_item_deleted = LibraryBrowser::AfterItemDeleted::nothing;
    setup.leaving = [this] { end_recording(); };
    setup.item_shown = [this](std::int32_t position) { load_macro(position); };
    setup.none_shown = [this] { reset_editor(); };
    setup.renamed = [this] { take_names(); };
    return setup;
}

void CMacroPage::fill_folders() {
    m_browser->fill_folders();
}

void CMacroPage::reload_library() {
    m_browser->reload(m_host->model().data().macros());
}

void CMacroPage::reset_editor() {
    m_working.reset();
    m_selected = -1;
    m_ui->edit_macro_name->clear();
    m_ui->edit_loop_time->setText(QStringLiteral("1"));
    show_actions(-1);
}

// A recording belongs to the macro it started on: it ends, stored in that macro, before the
// browser shows another one or deletes it.
void CMacroPage::end_recording() {
    if (m_recording) {
        m_recording->stop();
    }
}

void CMacroPage::load_macro(std::int32_t position) {
    std::optional<MacroRecord> record = library().record_at(position);
    if (!record || record->is_folder_entry()) {
        reset_editor();
        return;
    }
    m_working = std::move(record);
    m_selected = -1;
    m_ui->edit_macro_name->setText(to_qstring(m_working->item_name()));
    // A locked macro's loop count is part of what it keeps to itself.
    m_ui->edit_loop_time->setText(m_working->locked() ? QStringLiteral("1")
                                                      : QString::number(m_working->loop_count()));
    show_actions(-1);
}

void CMacroPage::take_names() {
    const std::int32_t position = m_browser->current_position();
    if (m_working) {
        m_working->set_folder_name(library().folder_name_at(position).value_or(u""));
        m_working->set_item_name(library().item_name_at(position).value_or(u""));
    }
}

void CMacroPage::rename_macro_dir() {
    m_browser->rename_folder();
}

void CMacroPage::import_macro_dir() {
    m_browser->import_folder();
}

void CMacroPage::export_macro_dir() {
    m_browser->export_folder(ExportMode::plain);
}

void CMacroPage::export_pw_macro_dir() {
    m_browser->export_folder(ExportMode::locked);
}

void CMacroPage::rename_macro() {
    m_browser->rename_item();
}

void CMacroPage::import_macro() {
    m_browser->import_item();
}

void CMacroPage::export_macro() {
    m_browser->export_item(ExportMode::plain);
}

void CMacroPage::export_pw_macro() {
    m_browser->export_item(ExportMode::locked);
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
    const std::int32_t position = m_browser->current_position();
    const MacroRecord& working = *m_working;
    // A failed save has been shown; the working copy stays as it is, and the next commit
    // writes it.
    static_cast<void>(m_browser->change([&](RecordLibrary& macros, ProfileList& profiles) {
        return macros.update_item(position, working.bytes(), profiles);
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
    // A count from a file beyond what the page sets stays as it is until another is typed.
    if (editing_macro() == nullptr ||
        m_ui->edit_loop_time->text() == QString::number(m_working->loop_count())) {
        return;
    }
    const std::int32_t value = ui::hold_edit_number(m_ui->edit_loop_time, kLoopLimits);
    if (m_working->loop_count() == value) {
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
    const int folder = m_browser->current_folder();
    const bool empty = m_browser->listing().listed().empty();
    QLabel* folder_hint = m_ui->macro_list_empty_label;
    if (folder < 0) {
        folder_hint->setText(ui::Texts::text("macro_no_folder_text"));
    } else if (empty) {
        folder_hint->setText(ui::Texts::text("macro_no_items_text"));
    }
    folder_hint->setVisible(folder < 0 || empty);

    QLabel* action_hint = m_ui->macro_action_empty_label;
    const char* key = nullptr;
    if (!m_working) {
        key = folder < 0 ? nullptr : "macro_no_macro_text";
    } else if (m_working->locked()) {
        key = "macro_locked_text";
    } else if (m_working->action_count() == 0) {
        key = "macro_no_actions_text";
    }
    action_hint->setText(key != nullptr ? ui::Texts::text(key) : QString());
    action_hint->setVisible(key != nullptr);

    const bool editing = editing_macro() != nullptr;
    const int count = action_count();
    m_ui->btn_delete_macro_floder->setEnabled(folder >= 0);
    m_ui->btn_add_macro->setEnabled(folder >= 0);
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

} // namespace zemrak::pages
