#pragma once

#include "model/record_library.h"
#include "pages/page_host.h"
#include "recoil/bullet_rules.h"
#include "recoil/pattern_plot.h"
#include "recoil/recoil_record.h"
#include "ui/notify_pump.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPushButton;
class QWidget;

namespace Ui {
class GunPage;
}

namespace zemrak {
class RecoilLibrary;
}

namespace zemrak::pages {

class BulletRow;

// The recoil page: the folders of the recoil library ("gun_combo"), the patterns of the
// chosen folder ("gun_list", locked ones with a padlock) and the chosen pattern as up to 30
// bullet rows beside a drawing of its path. Every change of a shown pattern goes into the
// library at once through the profile model: the library saves gun.bin and brings the button
// records that use the pattern up to date, and the button page redraws when the current
// profile had one. A locked pattern shows no bullets and is never changed here.
// Its controls live in the container registered under the virtual-window name below.
class CGunPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "GunPage";
    static constexpr int kRows = static_cast<int>(RecoilRecord::kMaxBullets);

    CGunPage();
    ~CGunPage() override;
    CGunPage(const CGunPage&) = delete;
    CGunPage& operator=(const CGunPage&) = delete;

    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Lists the library's folders again and opens the first; called once the libraries have
    // been loaded.
    void refresh_folders();

    // Commands of the recoil folder and pattern menus, on what the page has selected.
    void rename_gun_dir();
    void import_gun_dir();
    void export_gun_dir();
    void export_pw_gun_dir();
    void rename_gun();
    void import_gun();
    void export_gun();
    void export_pw_gun();

    // What the page shows: the open folder (index into the folder list, -1 for none), the
    // library position of the shown pattern (-1 for none) and how many bullet rows show.
    [[nodiscard]] int current_folder() const { return m_currentFolder; }
    [[nodiscard]] std::int32_t current_position() const { return m_currentPosition; }
    [[nodiscard]] int shown_count() const { return m_shownCount; }
    [[nodiscard]] PatternPlot* plot() const;

private:
    using Bullets = PatternPlot::Bullets;

    void connect_controls();
    [[nodiscard]] RecoilLibrary& library() const;
    [[nodiscard]] std::u16string folder_name() const;

    void select_folder(int index);
    void show_folder(int index);
    void add_list_entry(std::int32_t position);
    void select_item(int row);
    void display(std::int32_t position);
    void show_rows(int count);
    void show_plot();
    void choose_count(int entry);
    void store();
    void select_row(int slot);

    void press(int slot, BulletButton button);
    void take_typed(int slot, BulletField field);
    void drag_bullet(int slot, int x, int y);
    void rename_from_field();

    void add_item();
    void delete_item();
    void add_folder();
    void delete_folder();
    void import_item_file(const std::filesystem::path& file);
    void export_item(ExportMode mode);
    void export_folder(ExportMode mode);
    void open_menu(QPushButton* button, const QString& layout);

    // Shows what went wrong with an operation: a refusal through `refusal_text`, a failed
    // save in its own message (once, until a save works again).
    void report(const LibraryResult& result, const QString& refusal_text = {});
    void warn_text(const QString& text);

    std::unique_ptr<Ui::GunPage> m_ui;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    std::vector<std::unique_ptr<BulletRow>> m_rows;

    std::vector<std::u16string> m_folderNames;
    std::vector<std::int32_t> m_itemPositions;
    int m_currentFolder = -1;
    std::int32_t m_currentPosition = -1;
    // The pattern shown, as the library holds it; set for a locked one too.
    std::optional<RecoilRecord> m_record;
    int m_shownCount = kRows;
    Bullets m_bullets{};
    int m_selectedRow = -1;
    bool m_saveFailing = false;
};

} // namespace zemrak::pages
