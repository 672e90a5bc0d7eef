#pragma once

#include "model/record_library.h"
#include "pages/library_browser.h"
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
    void fill_folders();
    // Reads the library's file again after another program changed it, and lists it anew.
    void reload_library();

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
    [[nodiscard]] int current_folder() const { return m_browser->current_folder(); }
    [[nodiscard]] std::int32_t current_position() const { return m_browser->current_position(); }
    [[nodiscard]] int shown_count() const { return m_shownCount; }
    [[nodiscard]] PatternPlot* plot() const;

private:
    using Bullets = PatternPlot::Bullets;

    void connect_controls();
    [[nodiscard]] RecoilLibrary& library() const;
    [[nodiscard]] LibraryBrowser::Setup browser_setup();
    // Shows the pattern at `position` (-1: none) in the rows and the plot.
    void display(std::int32_t position);
    // The shown pattern takes the names the library gave it.
    void take_names();
    void show_rows(int count);
    void show_plot();
    void choose_count(int entry);
    void store();
    void select_row(int slot);

    void press(int slot, BulletButton button);
    void take_typed(int slot, BulletField field);
    void drag_bullet(int slot, int x, int y);

    std::unique_ptr<Ui::GunPage> m_ui;
    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    std::vector<std::unique_ptr<BulletRow>> m_rows;

    // The folders and patterns, and the commands on them.
    std::unique_ptr<LibraryBrowser> m_browser;
    // The pattern shown, as the library holds it; set for a locked one too.
    std::optional<RecoilRecord> m_record;
    int m_shownCount = kRows;
    Bullets m_bullets{};
    int m_selectedRow = -1;
};

} // namespace zemrak::pages
