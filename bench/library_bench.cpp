// The macro library at the size of a heavy user's collection: loading and saving a
// macro.bin of 10,000 records, looking a folder up, and bringing 100 profiles up to date
// after a macro changed or was removed.

#include "macros/macro_library.h"
#include "model/profile_list.h"
#include "model/sensors.h"
#include "platform/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kRecords = 10'000;
constexpr std::size_t kPerFolder = 100; // a folder entry and 99 macros
constexpr std::size_t kProfiles = 100;
constexpr std::int32_t kChanged = 5'001; // a macro: 5,000 is a folder entry

std::u16string numbered(std::u16string_view stem, std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(stem) + std::u16string(digits.begin(), digits.end());
}

void append_to(std::vector<std::uint8_t>& image, const zemrak::MacroRecord& record) {
    image.insert(image.end(), record.bytes().begin(), record.bytes().end());
}

// Full macros: 30 actions each, so every record's bytes are in play. Written as a file and
// loaded, as start-up meets it: building it through the operations would save it 10,000 times.
std::error_code write_library(const std::filesystem::path& data) {
    std::vector<std::uint8_t> image;
    image.reserve(kRecords * zemrak::MacroRecord::kSize);
    for (std::size_t i = 0; i < kRecords; ++i) {
        const std::u16string folder = numbered(u"Folder", i / kPerFolder);
        if (i % kPerFolder == 0) {
            append_to(image, zemrak::MacroRecord::make_folder(folder));
            continue;
        }
        zemrak::MacroRecord macro = zemrak::MacroRecord::make_macro(folder, numbered(u"Macro", i));
        for (std::size_t slot = 0; slot < zemrak::MacroRecord::kMaxActions; ++slot) {
            zemrak::MacroAction action;
            action.set_code(static_cast<std::uint8_t>(4 + slot));
            action.set_kind(slot % 2 == 0 ? zemrak::MacroAction::Press
                                          : zemrak::MacroAction::Release);
            action.set_delay(static_cast<std::uint16_t>(10 + i % 50));
            macro.set_action(slot, action);
        }
        macro.set_action_count(zemrak::MacroRecord::kMaxActions);
        append_to(image, macro);
    }
    return zemrak::write_file_atomically(data / zemrak::kMacroFileName, image);
}

// 100 profiles whose 32 buttons refer to macros spread over the library; every profile has
// one button on the macro that the benchmarks change.
void assign_macros(zemrak::ProfileList& profiles) {
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        for (std::size_t slot = 0; slot < zemrak::ConfigBlock::kButtonCount; ++slot) {
            const auto position = static_cast<std::int32_t>((p * 97 + slot * 331) % kRecords);
            profiles.at(p).button(slot).set_macro_index(slot == 3 ? kChanged : position);
        }
    }
}

class Scratch {
public:
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zemrak-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_folder = pattern;
        if (write_library(data())) {
            std::abort();
        }
        for (std::size_t i = 0; i < kProfiles; ++i) {
            m_profiles.add_default_profile(zemrak::kSensor3327, u"Profile");
        }
        static_cast<void>(m_profiles.select(0));
    }
    ~Scratch() { std::filesystem::remove_all(m_folder); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    [[nodiscard]] std::filesystem::path data() const { return m_folder / "Data"; }
    [[nodiscard]] std::filesystem::path other() const { return m_folder / "Saved"; }

    // A library of its own in other(), loaded from a copy of the one in data(): for the
    // benchmarks whose operations save.
    [[nodiscard]] zemrak::MacroLibrary copy() const {
        std::filesystem::create_directories(other());
        std::filesystem::copy_file(data() / zemrak::kMacroFileName,
                                   other() / zemrak::kMacroFileName,
                                   std::filesystem::copy_options::overwrite_existing);
        zemrak::MacroLibrary library(other());
        static_cast<void>(library.load());
        return library;
    }
    [[nodiscard]] zemrak::ProfileList& profiles() { return m_profiles; }

private:
    std::filesystem::path m_folder;
    zemrak::ProfileList m_profiles;
};

Scratch& scratch() {
    static Scratch instance;
    return instance;
}

void set_bytes(benchmark::State& state) {
    constexpr auto kFileBytes = static_cast<std::int64_t>(kRecords * zemrak::MacroRecord::kSize);
    state.SetBytesProcessed(state.iterations() * kFileBytes);
}

void BM_LoadMacros(benchmark::State& state) {
    for (auto _ : state) {
        zemrak::MacroLibrary library(scratch().data());
        const zemrak::LibraryLoad load = library.load();
        benchmark::DoNotOptimize(library.bytes().data());
        if (load.loaded != kRecords) {
            state.SkipWithError("wrong record count");
        }
    }
    set_bytes(state);
}
BENCHMARK(BM_LoadMacros)->Unit(benchmark::kMillisecond);

// Includes the flush to disk that makes the save atomic and durable.
void BM_SaveMacros(benchmark::State& state) {
    const zemrak::MacroLibrary library = scratch().copy();
    for (auto _ : state) {
        if (library.save()) {
            state.SkipWithError("save failed");
        }
    }
    set_bytes(state);
}
BENCHMARK(BM_SaveMacros)->Unit(benchmark::kMillisecond);

// The name dialog's check of a new folder name: a miss reads every record.
void BM_FolderExistsMiss(benchmark::State& state) {
    zemrak::MacroLibrary library(scratch().data());
    static_cast<void>(library.load());
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.folder_exists(u"No such folder"));
    }
}
BENCHMARK(BM_FolderExistsMiss)->Unit(benchmark::kMicrosecond);

void set_buttons(benchmark::State& state) {
    state.SetItemsProcessed(
        state.iterations() *
        static_cast<std::int64_t>(kProfiles * zemrak::ConfigBlock::kButtonCount));
}

// Every button of every profile is looked at; one per profile copies the macro again.
void BM_RefreshReferences(benchmark::State& state) {
    zemrak::MacroLibrary library(scratch().data());
    static_cast<void>(library.load());
    zemrak::ProfileList& profiles = scratch().profiles();
    assign_macros(profiles);
    for (auto _ : state) {
        if (!library.refresh_references(kChanged, profiles)) {
            state.SkipWithError("the current profile was not touched");
        }
    }
    set_buttons(state);
}
BENCHMARK(BM_RefreshReferences)->Unit(benchmark::kMicrosecond);

// An edit of the macro editor: the record replaced, the file saved, the buttons updated.
void BM_UpdateItem(benchmark::State& state) {
    zemrak::MacroLibrary library = scratch().copy();
    zemrak::ProfileList& profiles = scratch().profiles();
    assign_macros(profiles);
    zemrak::MacroRecord macro = *library.record_at(kChanged);
    for (auto _ : state) {
        macro.set_loop_count(static_cast<std::uint16_t>(1 + state.iterations() % 255));
        const zemrak::LibraryResult updated = library.update_item(kChanged, macro, profiles);
        if (!updated.ok() || !updated.current_profile_touched) {
            state.SkipWithError("the update failed or missed the current profile");
        }
    }
    set_buttons(state);
}
BENCHMARK(BM_UpdateItem)->Unit(benchmark::kMillisecond);

// A removal also lowers every later position held by any button, and saves.
void BM_DeleteItem(benchmark::State& state) {
    zemrak::ProfileList& profiles = scratch().profiles();
    for (auto _ : state) {
        state.PauseTiming();
        zemrak::MacroLibrary library = scratch().copy();
        assign_macros(profiles);
        state.ResumeTiming();
        const zemrak::LibraryResult deleted = library.delete_item(kChanged, profiles);
        if (!deleted.ok() || !deleted.current_profile_touched) {
            state.SkipWithError("the deletion failed or missed the current profile");
        }
    }
    set_buttons(state);
}
BENCHMARK(BM_DeleteItem)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
