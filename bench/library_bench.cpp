// The macro library at the size of a heavy user's collection: loading and saving a
// macro.bin of 10,000 records, looking a folder up, and bringing 100 profiles up to date
// after a macro changed or was removed.

#include "macros/macro_library.h"
#include "model/profile_list.h"
#include "model/sensors.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kRecords = 10'000;
constexpr std::size_t kPerFolder = 100; // a folder entry and 99 macros
constexpr std::size_t kProfiles = 100;
constexpr std::int32_t kChanged = 5'000;

std::u16string numbered(std::u16string_view stem, std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(stem) + std::u16string(digits.begin(), digits.end());
}

// Full macros: 30 actions each, so every record's bytes are in play.
zemrak::MacroLibrary make_library(const std::filesystem::path& data) {
    zemrak::MacroLibrary library(data);
    for (std::size_t i = 0; i < kRecords; ++i) {
        const std::u16string folder = numbered(u"Folder", i / kPerFolder);
        if (i % kPerFolder == 0) {
            library.append_record(zemrak::MacroRecord::make_folder(folder));
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
        library.append_record(macro);
    }
    return library;
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
        if (make_library(data()).save()) {
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
    zemrak::MacroLibrary loaded(scratch().data());
    static_cast<void>(loaded.load());
    zemrak::MacroLibrary library(scratch().other());
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(loaded.size()); ++i) {
        library.append(loaded.record_bytes(i));
    }
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

void BM_PropagateChange(benchmark::State& state) {
    zemrak::MacroLibrary library(scratch().data());
    static_cast<void>(library.load());
    zemrak::ProfileList& profiles = scratch().profiles();
    assign_macros(profiles);
    for (auto _ : state) {
        if (!library.propagate(kChanged, profiles, zemrak::LibraryChange::changed)) {
            state.SkipWithError("the current profile was not touched");
        }
    }
    state.SetItemsProcessed(
        state.iterations() *
        static_cast<std::int64_t>(kProfiles * zemrak::ConfigBlock::kButtonCount));
}
BENCHMARK(BM_PropagateChange)->Unit(benchmark::kMicrosecond);

// A removal also lowers every later position held by any button.
void BM_PropagateRemoval(benchmark::State& state) {
    zemrak::MacroLibrary library(scratch().data());
    static_cast<void>(library.load());
    zemrak::ProfileList& profiles = scratch().profiles();
    for (auto _ : state) {
        state.PauseTiming();
        assign_macros(profiles);
        state.ResumeTiming();
        if (!library.propagate(kChanged, profiles, zemrak::LibraryChange::removed)) {
            state.SkipWithError("the current profile was not touched");
        }
    }
    state.SetItemsProcessed(
        state.iterations() *
        static_cast<std::int64_t>(kProfiles * zemrak::ConfigBlock::kButtonCount));
}
BENCHMARK(BM_PropagateRemoval)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
