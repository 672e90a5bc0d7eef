// A commit from the macro page with a heavy user's macro.bin of 10,000 records: the loop
// count typed and the field left, as a person does it. What runs is what runs then: the
// page's working copy stored through the profile model, the record replaced, the whole file
// written atomically, the buttons of 100 profiles brought up to date and the page redrawn.

#include "application/app_data.h"
#include "macros/macro_page.h"
#include "model/profile_list.h"
#include "model/sensors.h"
#include "pages/page_host.h"
#include "pages/profile_model.h"
#include "platform/file_io.h"
#include "ui/input_capture.h"
#include "ui/notification.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

namespace {

using namespace zemrak;

constexpr std::size_t kRecords = 10'000;
constexpr std::size_t kPerFolder = 100; // a folder entry and 99 macros
constexpr std::size_t kProfiles = 100;
constexpr std::int32_t kEdited = 1; // the first macro of the first folder

std::u16string numbered(std::u16string_view stem, std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(stem) + std::u16string(digits.begin(), digits.end());
}

// Full macros of 30 actions in folders of 100 records.
std::vector<std::uint8_t> library_image() {
    std::vector<std::uint8_t> image;
    image.reserve(kRecords * MacroRecord::kSize);
    for (std::size_t i = 0; i < kRecords; ++i) {
        const std::u16string folder = numbered(u"Folder", i / kPerFolder);
        MacroRecord record = i % kPerFolder == 0
                                 ? MacroRecord::make_folder(folder)
                                 : MacroRecord::make_macro(folder, numbered(u"Macro", i));
        if (!record.is_folder_entry()) {
            for (std::size_t slot = 0; slot < MacroRecord::kMaxActions; ++slot) {
                MacroAction action;
                action.set_code(static_cast<std::uint8_t>(4 + slot));
                action.set_kind(slot % 2 == 0 ? MacroAction::Press : MacroAction::Release);
                action.set_delay(static_cast<std::uint16_t>(10 + i % 50));
                record.set_action(slot, action);
            }
            record.set_action_count(MacroRecord::kMaxActions);
        }
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    return image;
}

// The window as far as the page needs it: no dialog opens during a commit.
class BenchHost final : public pages::PageHost {
public:
    explicit BenchHost(AppData& data) : m_model(data), m_capture(nullptr) {}
    QWidget* host_window() override { return &m_window; }
    void show_busy_cover() override {}
    void hide_busy_cover() override {}
    [[nodiscard]] const DeviceParams& device_params() const override { return m_params; }
    [[nodiscard]] pages::ProfileModel& model() override { return m_model; }
    [[nodiscard]] ui::InputCapture& input_capture() override { return m_capture; }
    [[nodiscard]] ui::PopupMenu& make_menu(const QString&) override { std::abort(); }

private:
    QWidget m_window;
    DeviceParams m_params;
    pages::ProfileModel m_model;
    ui::InputCapture m_capture;
};

void BM_PageCommitLoopCount(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zemrak-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::filesystem::path program = pattern;
    {
        AppData data(folders_in(program));
        std::filesystem::create_directories(data.folders().data);
        // The page's texts, as the program has them: the play time is written with one.
        std::filesystem::create_directories(program / "Language");
        std::filesystem::copy_file(ZEMRAK_SOURCE_DIR "/res/Language/lan.xml",
                                   program / kLanguageFileName);
        if (write_file_atomically(data.folders().data / kMacroFileName, library_image())) {
            state.SkipWithError("macro.bin not written");
            return;
        }
        data.load_settings();
        static_cast<void>(data.load_data());
        ProfileList& profiles = data.profiles();
        while (profiles.size() < kProfiles) {
            profiles.add_default_profile(kSensor3327, u"Profile");
        }
        // Every profile has a button on the edited macro, the rest spread over the library.
        for (std::size_t p = 0; p < profiles.size(); ++p) {
            for (std::size_t slot = 0; slot < ConfigBlock::kButtonCount; ++slot) {
                const auto position = static_cast<std::int32_t>((p * 97 + slot * 331) % kRecords);
                profiles.at(p).button(slot).set_macro_index(slot == 3 ? kEdited : position);
            }
        }

        BenchHost host(data);
        QWidget container;
        container.setLayout(new QVBoxLayout);
        pages::CMacroPage page;
        page.init(&container, host);
        page.fill_folders();
        auto* list = container.findChild<QWidget*>("macro_list");
        auto* loops = container.findChild<QLineEdit*>("edit_loop_time");
        page.notify({QStringLiteral("itemselect"),
                     QStringLiteral("macro_list"),
                     0,
                     0,
                     {},
                     QString::fromLatin1(pages::CMacroPage::kVirtualWindow),
                     list});
        if (page.current_position() != kEdited) {
            state.SkipWithError("the macro was not shown");
            return;
        }
        const ui::Notification leave{QStringLiteral("killfocus"),
                                     QStringLiteral("edit_loop_time"),
                                     0,
                                     0,
                                     {},
                                     QString::fromLatin1(pages::CMacroPage::kVirtualWindow),
                                     loops};
        int count = 1;
        for (auto _ : state) {
            count = count % 255 + 1;
            loops->setText(QString::number(count));
            page.notify(leave);
        }
        if (data.macros().record_at(kEdited)->loop_count() != count) {
            state.SkipWithError("the commit did not reach the library");
        }
        state.SetItemsProcessed(state.iterations());
    }
    std::filesystem::remove_all(program);
}
BENCHMARK(BM_PageCommitLoopCount)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
