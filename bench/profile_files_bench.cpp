// Loading and saving a profile.bin of 1,000 profiles, beside a plain read of the same file.

#include "model/config_defaults.h"
#include "model/profile_files.h"
#include "platform/folders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kProfiles = 1000;

// One scratch folder with a 1,000-profile file for the whole run.
class Scratch {
public:
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zemrak-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_folder = pattern;
        zemrak::ProfileList list;
        for (std::size_t i = 0; i < kProfiles; ++i) {
            list.add_default_profile(3327, u"Profile");
        }
        if (zemrak::save_profiles(file(), list)) {
            std::abort();
        }
    }
    ~Scratch() { std::filesystem::remove_all(m_folder); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    [[nodiscard]] std::filesystem::path file() const {
        return m_folder / zemrak::kProfilesFileName;
    }
    [[nodiscard]] std::filesystem::path folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

const Scratch& scratch() {
    static const Scratch instance;
    return instance;
}

void set_bytes(benchmark::State& state) {
    constexpr auto kFileBytes = static_cast<std::int64_t>(kProfiles * zemrak::ConfigBlock::kSize);
    state.SetBytesProcessed(state.iterations() * kFileBytes);
}

// The yardstick: one fread of the whole file into an uninitialised buffer.
void BM_PlainRead(benchmark::State& state) {
    const std::string path = scratch().file().string();
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<char[]>(size);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const std::size_t read = std::fread(buffer.get(), 1, size, f);
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.get());
        if (read != size) {
            state.SkipWithError("short read");
        }
    }
    set_bytes(state);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_LoadProfiles(benchmark::State& state) {
    for (auto _ : state) {
        zemrak::ProfileList list;
        const zemrak::ProfilesLoad load = zemrak::load_profiles(scratch().file(), list);
        benchmark::DoNotOptimize(list.size());
        if (load.loaded != kProfiles) {
            state.SkipWithError("wrong profile count");
        }
    }
    set_bytes(state);
}
BENCHMARK(BM_LoadProfiles)->Unit(benchmark::kMillisecond);

// Includes the flush to disk that makes the save atomic and durable.
void BM_SaveProfiles(benchmark::State& state) {
    zemrak::ProfileList list;
    static_cast<void>(zemrak::load_profiles(scratch().file(), list));
    const std::filesystem::path target = scratch().folder() / "saved.bin";
    for (auto _ : state) {
        if (zemrak::save_profiles(target, list)) {
            state.SkipWithError("save failed");
        }
    }
    set_bytes(state);
}
BENCHMARK(BM_SaveProfiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
