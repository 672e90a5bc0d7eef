#include "recoil/gun_page.h"

#include "application/app_data.h"
#include "model/library_error.h"
#include "pages/profile_model.h"
#include "recoil/bullet_row.h"
#include "recoil/edit_gun_name.h"
#include "recoil/recoil_library.h"
#include "ui/file_dialogs.h"
#include "ui/qt_text.h"
#include "ui/row_controls.h"
#include "ui/texts.h"
#include "ui_gun.h"

#include <QComboBox>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

namespace zemrak::pages {
namespace {

using ui::to_qstring;

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
    m_browser = std::make_unique<LibraryBrowser>(host, browser_setup());
    connect_controls();
    display(-1);
}

PatternPlot* CGunPage::plot() const {
    return m_ui->gun_plot;
}

RecoilLibrary& CGunPage::library() const {
    return m_host->model().data().recoils();
}

LibraryBrowser::Setup CGunPage::browser_setup() {
    LibraryBrowser::Setup setup;
    setup.folders = m_ui->gun_combo;
    setup.items = m_ui->gun_list;
    setup.add_folder = m_ui->btn_add_gun_floder;
    setup.delete_folder = m_ui->btn_delete_gun_floder;
    setup.folder_menu = m_ui->btn_menu_gun_floder;
    setup.add_item = m_ui->btn_add_gun;
    setup.delete_item = m_ui->btn_delete_gun;
    setup.item_menu = m_ui->btn_menu_gun;
    setup.name_edit = m_ui->edit_gun_name;
    setup.folder_menu_layout = QStringLiteral("gundirmenu.xml");
    setup.item_menu_layout = QStringLiteral("gunmenu.xml");
    setup.library = &library();
    setup.change = [this](const LibraryBrowser::Edit& edit) {
        return m_host->model().change_recoils(
            [&](RecoilLibrary& records, ProfileList& profiles) { return edit(records, profiles); });
    };
    setup.name_dialog = [this](QWidget* owner) {
        return std::make_unique<CEditGunName>(owner, library());
    };
    setup.files = [this](bool folder) { return gun_files(m_host->model().data(), folder); };
    setup.listen = [this](const QObject* control, const QString& type, Handler handler) {
        on(control, type, std::move(handler));
    };
    setup.delete_folder_question = "delete_gun_dir_text";
    setup.delete_item_question = "delete_gun_text";
    setup.save_failed = "gun_save_failed_text";
    setup.import_refused = {"gun_import_failed_text", LibraryBrowser::FileArgs::file_and_error};
    setup.import_failed = setup.import_refused;
    setup.export_failed = {"gun_export_failed_text", LibraryBrowser::FileArgs::file_and_error};
    setup.after_item_deleted = LibraryBrowser::AfterItemDeleted::next_item;
    setup.item_shown = [this](std::int32_t position) { display(position); };
    setup.none_shown = [this] { display(-1); };
    setup.renamed = [this] { take_names(); };
    return setup;
}

void CGunPage::connect_controls() {
    const auto click = [this](const QObject* control, std::function<void()> action) {
        on(control, "click", [action = std::move(action)](const ui::Notification&) { action(); });
    };
    on(m_ui->zidan_combo, "itemselect",
       [this](const ui::Notification& n) { choose_count(static_cast<int>(n.wparam)); });

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

void CGunPage::fill_folders() {
    m_browser->fill_folders();
}

void CGunPage::reload_library() {
    m_browser->reload(m_host->model().data().recoils());
}

void CGunPage::display(std::int32_t position) {
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
        plot->show_message(ui::Texts::text(
            m_browser->current_folder() < 0 ? "gun_plot_no_folder_text" : "gun_plot_empty_text"));
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
    const std::int32_t position = m_browser->current_position();
    const LibraryResult result =
        m_browser->change([&](RecordLibrary& records, ProfileList& profiles) {
            return records.update_item(position, record.bytes(), profiles);
        });
    if (!refused(result)) {
        m_record = record;
    }
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

void CGunPage::take_names() {
    const std::int32_t position = m_browser->current_position();
    if (m_record) {
        m_record->set_folder_name(library().folder_name_at(position).value_or(u""));
        m_record->set_item_name(library().item_name_at(position).value_or(u""));
    }
}

void CGunPage::rename_gun_dir() {
    m_browser->rename_folder();
}

void CGunPage::import_gun_dir() {
    m_browser->import_folder();
}

void CGunPage::export_gun_dir() {
    m_browser->export_folder(ExportMode::plain);
}

void CGunPage::export_pw_gun_dir() {
    m_browser->export_folder(ExportMode::locked);
}

void CGunPage::rename_gun() {
    m_browser->rename_item();
}

void CGunPage::import_gun() {
    m_browser->import_item();
}

void CGunPage::export_gun() {
    m_browser->export_item(ExportMode::plain);
}

void CGunPage::export_pw_gun() {
    m_browser->export_item(ExportMode::locked);
}

} // namespace zemrak::pages
