#include "recoil/gun_page.h"

#include "application/app_data.h"
#include "model/library_error.h"
#include "model/unicode.h"
#include "pages/profile_model.h"
#include "recoil/bullet_row.h"
#include "recoil/edit_gun_name.h"
#include "recoil/recoil_library.h"
#include "ui/file_dialogs.h"
#include "ui/lock_mark.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/row_controls.h"
#include "ui/texts.h"
#include "ui_gun.h"

#include <QComboBox>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace zemrak::pages {
namespace {

using ui::to_qstring;
using ui::to_u16string;

constexpr int kFolderRowHeight = 25;
constexpr int kItemRowHeight = 30;
constexpr int kLibraryWidth = 184;

ui::FileDialogSpec gun_files(const AppData& data, bool folder) {
    return {QStringLiteral("Gun Data"),
            folder ? QStringLiteral("*.gbins *.GBINS") : QStringLiteral("*.gbin *.GBIN"),
            folder ? QStringLiteral("gbins") : QStringLiteral("gbin"),
            QString::fromStdString(data.folders().data.string())};
}

bool refused(const LibraryResult& result) {
    return result.error && result.error.category() == library_category();
}

// The message key of a name the library refused.
const char* name_refusal_key(const std::error_code& error) {
    if (error == LibraryError::name_taken) {
        return "same_macro_text";
    }
    return "no_name_text";
}

} // namespace

CGunPage::CGunPage() : m_ui(std::make_unique<Ui::GunPage>()) {}

CGunPage::~CGunPage() = default;

void CGunPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    if (auto* placeholder = container->findChild<QWidget*>("gun_page_placeholder")) {
        placeholder->hide();
    }
    auto* body = new QWidget(container);
    m_ui->setupUi(body);
    container->layout()->addWidget(body);
    container->layout()->setContentsMargins(16, 14, 16, 14);

    for (QWidget* column :
         {static_cast<QWidget*>(m_ui->gun_combo), static_cast<QWidget*>(m_ui->gun_list)}) {
        column->setFixedWidth(kLibraryWidth);
    }
    for (int entry = 1; entry <= kRows; ++entry) {
        m_ui->zidan_combo->addItem(QString::number(entry));
        m_ui->zidan_combo->setItemData(entry - 1, QSize(0, kFolderRowHeight), Qt::SizeHintRole);
    }
    BulletRow::add_header(m_ui->zidan_head_hor);
    for (int number = 1; number <= kRows; ++number) {
        m_rows.push_back(std::make_unique<BulletRow>(number, m_ui->zidan_rows_ver));
    }
    static_cast<QVBoxLayout*>(m_ui->zidan_rows_ver->layout())->addStretch(1);
    m_ui->zidan_scroll->setMinimumWidth(m_rows.front()->row()->sizeHint().width() + 12);
    ui::Texts::apply(body);
    connect_controls();
    display(-1);
}

PatternPlot* CGunPage::plot() const {
    return m_ui->gun_plot;
}

RecoilLibrary& CGunPage::library() const {
    return m_host->model().data().recoils();
}

std::u16string CGunPage::folder_name() const {
    if (m_currentFolder < 0 || static_cast<std::size_t>(m_currentFolder) >= m_folderNames.size()) {
        return {};
    }
    return m_folderNames.at(static_cast<std::size_t>(m_currentFolder));
}

void CGunPage::connect_controls() {
    const auto click = [this](const QObject* control, std::function<void()> action) {
        on(control, "click", [action = std::move(action)](const ui::Notification&) { action(); });
    };
    on(m_ui->gun_combo, "itemselect",
       [this](const ui::Notification& n) { select_folder(static_cast<int>(n.wparam)); });
    on(m_ui->gun_list, "itemselect",
       [this](const ui::Notification& n) { select_item(static_cast<int>(n.wparam)); });
    on(m_ui->zidan_combo, "itemselect",
       [this](const ui::Notification& n) { choose_count(static_cast<int>(n.wparam)); });
    click(m_ui->btn_add_gun, [this] { add_item(); });
    click(m_ui->btn_delete_gun, [this] { delete_item(); });
    click(m_ui->btn_add_gun_floder, [this] { add_folder(); });
    click(m_ui->btn_delete_gun_floder, [this] { delete_folder(); });
    click(m_ui->btn_menu_gun, [this] { open_menu(m_ui->btn_menu_gun, "gunmenu.xml"); });
    click(m_ui->btn_menu_gun_floder,
          [this] { open_menu(m_ui->btn_menu_gun_floder, "gundirmenu.xml"); });
    on(m_ui->edit_gun_name, "killfocus", [this](const ui::Notification&) { rename_from_field(); });
    QObject::connect(m_ui->edit_gun_name, &QLineEdit::returnPressed, m_ui->edit_gun_name,
                     [this] { rename_from_field(); });

    for (int slot = 0; slot < kRows; ++slot) {
        const BulletRow& row = *m_rows.at(static_cast<std::size_t>(slot));
        for (const BulletButton button : kBulletButtons) {
            click(row.button(button), [this, slot, button] { press(slot, button); });
        }
        for (const BulletField field : kBulletFields) {
            QLineEdit* edit = row.edit(field);
            on(edit, "killfocus",
               [this, slot, field](const ui::Notification&) { take_typed(slot, field); });
            on(edit, "setfocus", [this, slot](const ui::Notification&) { select_row(slot); });
            if (field != BulletField::Delay) {
                on(edit, "textchanged", [this, slot, field](const ui::Notification&) {
                    m_rows.at(static_cast<std::size_t>(slot))->filter_typing(field);
                });
            }
        }
    }

    PatternPlot* plot = m_ui->gun_plot;
    QObject::connect(plot, &PatternPlot::bulletSelected, plot,
                     [this](int slot) { select_row(slot); });
    QObject::connect(plot, &PatternPlot::bulletMoved, plot,
                     [this](int slot, int x, int y) { drag_bullet(slot, x, y); });
    QObject::connect(plot, &PatternPlot::bulletReleased, plot, [this](int) { store(); });
}

void CGunPage::refresh_folders() {
    m_folderNames.clear();
    {
        const QSignalBlocker quiet(m_ui->gun_combo);
        m_ui->gun_combo->clear();
        const RecoilLibrary& records = library();
        const auto size = static_cast<std::int32_t>(records.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (records.is_folder_entry(position)) {
                std::u16string name = records.folder_name_at(position).value_or(u"");
                m_ui->gun_combo->addItem(to_qstring(name));
                m_ui->gun_combo->setItemData(m_ui->gun_combo->count() - 1,
                                             QSize(0, kFolderRowHeight), Qt::SizeHintRole);
                m_folderNames.push_back(std::move(name));
            }
        }
    }
    select_folder(m_folderNames.empty() ? -1 : 0);
}

void CGunPage::select_folder(int index) {
    {
        const QSignalBlocker quiet(m_ui->gun_combo);
        m_ui->gun_combo->setCurrentIndex(index);
    }
    show_folder(index);
}

void CGunPage::show_folder(int index) {
    m_currentFolder =
        index >= 0 && static_cast<std::size_t>(index) < m_folderNames.size() ? index : -1;
    {
        const QSignalBlocker quiet(m_ui->gun_list);
        m_ui->gun_list->clear();
        m_itemPositions.clear();
        if (m_currentFolder >= 0) {
            const std::u16string folder = folder_name();
            const RecoilLibrary& records = library();
            const auto size = static_cast<std::int32_t>(records.size());
            for (std::int32_t position = 0; position < size; ++position) {
                if (!records.is_folder_entry(position) &&
                    equal_ignoring_case(records.folder_name_at(position).value_or(u""), folder)) {
                    add_list_entry(position);
                }
            }
        }
    }
    display(-1);
}

void CGunPage::add_list_entry(std::int32_t position) {
    const RecoilLibrary& records = library();
    auto* item = new QListWidgetItem(to_qstring(records.item_name_at(position).value_or(u"")));
    item->setSizeHint(QSize(0, kItemRowHeight));
    if (records.is_locked(position)) {
        item->setIcon(ui::lock_icon());
        item->setToolTip(ui::Texts::text("locked_item_tip_text"));
    } else {
        item->setIcon(ui::no_lock_icon());
    }
    const QSignalBlocker quiet(m_ui->gun_list);
    m_ui->gun_list->addItem(item);
    m_itemPositions.push_back(position);
}

void CGunPage::select_item(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_itemPositions.size()) {
        display(-1);
        return;
    }
    {
        const QSignalBlocker quiet(m_ui->gun_list);
        m_ui->gun_list->setCurrentRow(row);
    }
    display(m_itemPositions.at(static_cast<std::size_t>(row)));
}

void CGunPage::display(std::int32_t position) {
    m_currentPosition = position;
    m_record = position >= 0 ? library().record_at(position) : std::nullopt;
    const bool editable = m_record && !m_record->locked() && !m_record->is_folder_entry();
    m_selectedRow = -1;
    if (!editable) {
        // Nothing to edit: no rows, the values of a new bullet, no name. A locked pattern
        // stays the current record, so that it can still be renamed, exported or deleted.
        if (m_record && m_record->is_folder_entry()) {
            m_record.reset();
        }
        m_shownCount = 0;
        m_bullets.fill(Bullet{0, 0, RecoilRecord::kNewBulletDelay});
    } else {
        m_shownCount = m_record->bullet_count();
        for (std::size_t slot = 0; slot < RecoilRecord::kMaxBullets; ++slot) {
            m_bullets.at(slot) = m_record->bullet(slot);
        }
    }
    for (std::size_t slot = 0; slot < m_rows.size(); ++slot) {
        m_rows.at(slot)->show_bullet(m_bullets.at(slot));
        ui::set_style_flag(m_rows.at(slot)->row(), "selected", false);
    }
    show_rows(m_shownCount);
    {
        // Showing a pattern writes nothing: the count is the stored one.
        const QSignalBlocker quiet(m_ui->zidan_combo);
        m_ui->zidan_combo->setCurrentIndex(m_shownCount - 1);
    }
    m_ui->zidan_combo->setEnabled(editable);
    m_ui->edit_gun_name->setText(editable ? to_qstring(m_record->item_name()) : QString());
    m_ui->edit_gun_name->setEnabled(editable);
    m_ui->zidan_scroll->verticalScrollBar()->setValue(0);
    show_plot();
}

void CGunPage::show_rows(int count) {
    for (int slot = 0; slot < kRows; ++slot) {
        m_rows.at(static_cast<std::size_t>(slot))->row()->setVisible(slot < count);
    }
}

void CGunPage::show_plot() {
    PatternPlot* plot = m_ui->gun_plot;
    if (m_record && m_record->locked()) {
        plot->show_message(ui::Texts::text("gun_plot_locked_text"));
    } else if (!m_record) {
        plot->show_message(ui::Texts::text(m_currentFolder < 0 ? "gun_plot_no_folder_text"
                                                               : "gun_plot_empty_text"));
    } else {
        plot->show_pattern(m_bullets, m_shownCount);
        plot->set_selected_bullet(m_selectedRow);
    }
}

void CGunPage::choose_count(int entry) {
    if (!m_record || m_record->locked() || entry < 0 || entry >= kRows) {
        return;
    }
    m_shownCount = entry + 1;
    show_rows(m_shownCount);
    if (m_selectedRow >= m_shownCount) {
        select_row(-1);
    }
    show_plot();
    store();
}

void CGunPage::store() {
    if (!m_record || m_record->locked()) {
        return;
    }
    RecoilRecord record = *m_record;
    record.set_bullet_count(static_cast<std::uint8_t>(m_shownCount));
    // All 30 slots are written, the hidden ones too: a count chosen smaller and then larger
    // again brings the bullets back.
    for (std::size_t slot = 0; slot < RecoilRecord::kMaxBullets; ++slot) {
        record.set_bullet(slot, m_bullets.at(slot));
    }
    const std::int32_t position = m_currentPosition;
    const LibraryResult result =
        m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList& profiles) {
            return records.update_item(position, record, profiles);
        });
    if (!refused(result)) {
        m_record = record;
    }
    report(result);
}

void CGunPage::select_row(int slot) {
    if (slot >= m_shownCount) {
        slot = -1;
    }
    if (m_selectedRow >= 0) {
        ui::set_style_flag(m_rows.at(static_cast<std::size_t>(m_selectedRow))->row(), "selected",
                           false);
    }
    m_selectedRow = slot;
    m_ui->gun_plot->set_selected_bullet(slot);
    if (slot >= 0) {
        QFrame* row = m_rows.at(static_cast<std::size_t>(slot))->row();
        ui::set_style_flag(row, "selected", true);
        m_ui->zidan_scroll->ensureWidgetVisible(row, 0, 4);
    }
}

void CGunPage::press(int slot, BulletButton button) {
    if (!m_record || m_record->locked()) {
        return;
    }
    m_rows.at(static_cast<std::size_t>(slot))
        ->press(button, m_bullets.at(static_cast<std::size_t>(slot)));
    select_row(slot);
    show_plot();
    store();
}

void CGunPage::take_typed(int slot, BulletField field) {
    if (!m_record || m_record->locked()) {
        return;
    }
    Bullet& bullet = m_bullets.at(static_cast<std::size_t>(slot));
    const Bullet before = bullet;
    m_rows.at(static_cast<std::size_t>(slot))->take_typed(field, bullet);
    show_plot();
    // Leaving an edit that was only passed through changes nothing, and writes nothing.
    if (bullet != before) {
        store();
    }
}

void CGunPage::drag_bullet(int slot, int x, int y) {
    if (!m_record || m_record->locked() || slot < 0 || slot >= m_shownCount) {
        return;
    }
    Bullet& bullet = m_bullets.at(static_cast<std::size_t>(slot));
    bullet.x = x;
    bullet.y = y;
    m_rows.at(static_cast<std::size_t>(slot))->show_bullet(bullet);
    m_ui->gun_plot->show_pattern(m_bullets, m_shownCount);
}

void CGunPage::rename_from_field() {
    if (!m_record || m_record->locked() || m_currentPosition < 0) {
        return;
    }
    const std::u16string typed = to_u16string(m_ui->edit_gun_name->text());
    const std::u16string old_name = m_record->item_name();
    if (typed == old_name) {
        return;
    }
    const std::int32_t position = m_currentPosition;
    const LibraryResult result =
        m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList& profiles) {
            return records.rename_item(position, typed, profiles);
        });
    if (refused(result)) {
        m_ui->edit_gun_name->setText(to_qstring(old_name));
        report(result, ui::Texts::text(name_refusal_key(result.error)));
        return;
    }
    m_record->set_item_name(result.name);
    if (QListWidgetItem* item = m_ui->gun_list->currentItem()) {
        item->setText(to_qstring(result.name));
    }
    report(result);
}

void CGunPage::rename_gun() {
    if (m_currentPosition < 0 || !m_record) {
        return;
    }
    m_host->show_busy_cover();
    CEditGunName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::rename_item);
    dialog.set_folder_name(to_qstring(m_record->folder_name()));
    dialog.set_name(to_qstring(m_record->item_name()));
    if (dialog.show_modal() == ui::kDialogOk) {
        const std::int32_t position = m_currentPosition;
        const std::u16string name = to_u16string(dialog.name());
        const LibraryResult result =
            m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList& profiles) {
                return records.rename_item(position, name, profiles);
            });
        if (!refused(result)) {
            m_record->set_item_name(result.name);
            if (QListWidgetItem* item = m_ui->gun_list->currentItem()) {
                item->setText(to_qstring(result.name));
            }
            if (!m_record->locked()) {
                m_ui->edit_gun_name->setText(to_qstring(result.name));
            }
        }
        report(result, ui::Texts::text(name_refusal_key(result.error)));
    }
    m_host->hide_busy_cover();
}

void CGunPage::add_item() {
    if (m_currentFolder < 0) {
        return;
    }
    m_host->show_busy_cover();
    CEditGunName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::add_item);
    dialog.set_folder_name(to_qstring(folder_name()));
    if (dialog.show_modal() == ui::kDialogOk) {
        const std::u16string folder = folder_name();
        const std::u16string name = to_u16string(dialog.name());
        const LibraryResult result = m_host->model().change_recoils(
            [&](RecoilLibrary& records, ProfileList&) { return records.add_item(folder, name); });
        if (!refused(result) && result.position >= 0) {
            add_list_entry(result.position);
            select_item(m_ui->gun_list->count() - 1);
        }
        report(result, ui::Texts::text(name_refusal_key(result.error)));
    }
    m_host->hide_busy_cover();
}

void CGunPage::delete_item() {
    const int row = m_ui->gun_list->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_itemPositions.size()) {
        return;
    }
    m_host->show_busy_cover();
    if (ui::show_message(m_host->host_window(), QStringLiteral("warning_title_text"),
                         QStringLiteral("delete_gun_text")) == ui::kDialogOk) {
        const std::int32_t position = m_itemPositions.at(static_cast<std::size_t>(row));
        const LibraryResult result =
            m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList& profiles) {
                return records.delete_item(position, profiles);
            });
        if (!refused(result)) {
            // The list has closed up behind the removed pattern.
            m_itemPositions.erase(m_itemPositions.begin() + row);
            for (std::int32_t& later : m_itemPositions) {
                if (later > position) {
                    --later;
                }
            }
            {
                const QSignalBlocker quiet(m_ui->gun_list);
                delete m_ui->gun_list->takeItem(row);
            }
            const int left = m_ui->gun_list->count();
            select_item(left == 0 ? -1 : std::min(row, left - 1));
        }
        report(result);
    }
    m_host->hide_busy_cover();
}

void CGunPage::add_folder() {
    m_host->show_busy_cover();
    CEditGunName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::add_folder);
    if (dialog.show_modal() == ui::kDialogOk) {
        const std::u16string name = to_u16string(dialog.name());
        const LibraryResult result = m_host->model().change_recoils(
            [&](RecoilLibrary& records, ProfileList&) { return records.add_folder(name); });
        if (!refused(result)) {
            m_folderNames.push_back(result.name);
            {
                const QSignalBlocker quiet(m_ui->gun_combo);
                m_ui->gun_combo->addItem(to_qstring(result.name));
                m_ui->gun_combo->setItemData(m_ui->gun_combo->count() - 1,
                                             QSize(0, kFolderRowHeight), Qt::SizeHintRole);
            }
            select_folder(static_cast<int>(m_folderNames.size()) - 1);
        }
        report(result,
               ui::Texts::text(result.error == LibraryError::name_taken ? "same_macro_dir_text"
                                                                        : "no_name_text"));
    }
    m_host->hide_busy_cover();
}

void CGunPage::delete_folder() {
    if (m_currentFolder < 0) {
        return;
    }
    m_host->show_busy_cover();
    if (ui::show_message(m_host->host_window(), QStringLiteral("warning_title_text"),
                         QStringLiteral("delete_gun_dir_text")) == ui::kDialogOk) {
        const int index = m_currentFolder;
        const std::u16string name = folder_name();
        const LibraryResult result =
            m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList& profiles) {
                return records.delete_folder(name, profiles);
            });
        if (!refused(result)) {
            m_folderNames.erase(m_folderNames.begin() + index);
            {
                const QSignalBlocker quiet(m_ui->gun_combo);
                m_ui->gun_combo->removeItem(index);
            }
            const int left = static_cast<int>(m_folderNames.size());
            select_folder(left == 0 ? -1 : std::min(index, left - 1));
        }
        report(result);
    }
    m_host->hide_busy_cover();
}

void CGunPage::rename_gun_dir() {
    if (m_currentFolder < 0) {
        return;
    }
    m_host->show_busy_cover();
    CEditGunName dialog(m_host->host_window(), library());
    dialog.set_mode(ui::NameMode::rename_folder);
    dialog.set_name(to_qstring(folder_name()));
    if (dialog.show_modal() == ui::kDialogOk) {
        const std::u16string old_name = folder_name();
        const std::u16string name = to_u16string(dialog.name());
        const LibraryResult result =
            m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList&) {
                return records.rename_folder(old_name, name);
            });
        if (!refused(result)) {
            m_folderNames.at(static_cast<std::size_t>(m_currentFolder)) = result.name;
            m_ui->gun_combo->setItemText(m_currentFolder, to_qstring(result.name));
            if (m_record) {
                m_record->set_folder_name(result.name);
            }
        }
        report(result,
               ui::Texts::text(result.error == LibraryError::name_taken ? "same_macro_dir_text"
                                                                        : "no_name_text"));
    }
    m_host->hide_busy_cover();
}

void CGunPage::import_gun() {
    const auto file =
        ui::choose_file_to_open(m_host->host_window(), gun_files(m_host->model().data(), false));
    if (file) {
        import_item_file(file->toStdString());
    }
}

void CGunPage::import_item_file(const std::filesystem::path& file) {
    const std::optional<std::u16string> folder =
        m_currentFolder >= 0 ? std::optional(folder_name()) : std::nullopt;
    const LibraryResult result =
        m_host->model().change_recoils([&](RecoilLibrary& records, ProfileList&) {
            return folder ? records.import_item(file, std::u16string_view(*folder))
                          : records.import_item(file);
        });
    if (refused(result)) {
        report(result, ui::Texts::text("gun_import_failed_text")
                           .arg(QString::fromStdString(file.filename().string()),
                                QString::fromStdString(result.error.message())));
        return;
    }
    if (folder) {
        add_list_entry(result.position);
        select_item(m_ui->gun_list->count() - 1);
    } else {
        // The pattern came with a folder of its own, made for it at the end of the list.
        refresh_folders();
        select_folder(static_cast<int>(m_folderNames.size()) - 1);
        const auto found = std::ranges::find(m_itemPositions, result.position);
        if (found != m_itemPositions.end()) {
            select_item(static_cast<int>(found - m_itemPositions.begin()));
        }
    }
    report(result);
}

void CGunPage::import_gun_dir() {
    const auto file =
        ui::choose_file_to_open(m_host->host_window(), gun_files(m_host->model().data(), true));
    if (!file) {
        return;
    }
    const std::filesystem::path path = file->toStdString();
    const LibraryResult result = m_host->model().change_recoils(
        [&](RecoilLibrary& records, ProfileList&) { return records.import_folder(path); });
    if (refused(result)) {
        report(result, ui::Texts::text("gun_import_failed_text")
                           .arg(QString::fromStdString(path.filename().string()),
                                QString::fromStdString(result.error.message())));
        return;
    }
    refresh_folders();
    const auto found = std::ranges::find_if(m_folderNames, [&](const std::u16string& name) {
        return equal_ignoring_case(name, result.name);
    });
    if (found != m_folderNames.end()) {
        select_folder(static_cast<int>(found - m_folderNames.begin()));
    }
    report(result);
}

void CGunPage::export_gun() {
    export_item(ExportMode::plain);
}

void CGunPage::export_pw_gun() {
    export_item(ExportMode::locked);
}

void CGunPage::export_gun_dir() {
    export_folder(ExportMode::plain);
}

void CGunPage::export_pw_gun_dir() {
    export_folder(ExportMode::locked);
}

void CGunPage::export_item(ExportMode mode) {
    if (!m_record || m_currentPosition < 0) {
        return;
    }
    const auto file =
        ui::choose_file_to_save(m_host->host_window(), gun_files(m_host->model().data(), false));
    if (!file) {
        return;
    }
    const LibraryResult result =
        library().export_item(m_currentPosition, file->toStdString(), mode);
    if (result.error) {
        warn_text(ui::Texts::text("gun_export_failed_text")
                      .arg(*file, QString::fromStdString(result.error.message())));
    }
}

void CGunPage::export_folder(ExportMode mode) {
    if (m_currentFolder < 0) {
        return;
    }
    const auto file =
        ui::choose_file_to_save(m_host->host_window(), gun_files(m_host->model().data(), true));
    if (!file) {
        return;
    }
    const LibraryResult result = library().export_folder(folder_name(), file->toStdString(), mode);
    if (result.error) {
        warn_text(ui::Texts::text("gun_export_failed_text")
                      .arg(*file, QString::fromStdString(result.error.message())));
    }
}

void CGunPage::open_menu(QPushButton* button, const QString& layout) {
    m_host->make_menu(layout).open(button->mapToGlobal(QPoint(0, button->height())));
}

void CGunPage::report(const LibraryResult& result, const QString& refusal_text) {
    if (!result.error) {
        m_saveFailing = false;
        return;
    }
    if (refused(result)) {
        if (!refusal_text.isEmpty()) {
            warn_text(refusal_text);
        }
        return;
    }
    // Every edit saves: one failing save would otherwise bring a message per keystroke.
    if (m_saveFailing) {
        return;
    }
    m_saveFailing = true;
    warn_text(ui::Texts::text("gun_save_failed_text")
                  .arg(QString::fromStdString(result.error.message())));
}

void CGunPage::warn_text(const QString& text) {
    m_host->show_busy_cover();
    ui::CMsgWnd box(m_host->host_window());
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_text(text);
    static_cast<void>(box.show_modal());
    m_host->hide_busy_cover();
}

} // namespace zemrak::pages
