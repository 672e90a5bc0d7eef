#include "application/app_data.h"
#include "model/profile_files.h"
#include "platform/data_folder_lock.h"
#include "platform/file_io.h"
#include "test_support/named_pipe.h"
#include "test_support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_bytes;
using test::write_text;

// A program folder with the shipped settings and language file.
class AppDataTest : public ::testing::Test {
protected:
    void SetUp() override { make_program_folder(m_dir.path()); }

    static void make_program_folder(const std::filesystem::path& folder) {
        const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
        std::filesystem::create_directories(folder / "Language");
        for (const char* file : {kSettingsFileName, kLanguageFileName, kFactoryProfileFileName}) {
            std::filesystem::copy_file(shipped / file, folder / file);
        }
    }

    [[nodiscard]] static ConfigBlock profile_named(std::u16string_view name) {
        ConfigBlock block;
        block.set_name(name);
        return block;
    }

    TempDir m_dir;
    AppData m_data{folders_in(m_dir.path())};
};

TEST_F(AppDataTest, AFirstStartCreatesTheProfileFilesAndEmptyLibraries) {
    m_data.load_settings();
    EXPECT_NE(-1, m_data.params().sensor) << "the shipped Data.ini names the sensor";
    const StartupLoad load = m_data.load_data();
    EXPECT_TRUE(load.profiles.default_profile_created);
    EXPECT_TRUE(load.profiles.index_file_created);
    EXPECT_FALSE(load.macros.opened);
    EXPECT_FALSE(load.recoils.opened);
    ASSERT_EQ(1u, m_data.profiles().size());
    // The default profile is named from the language file's base text.
    EXPECT_TRUE(m_data.profiles().at(0).name().starts_with(m_data.profile_base_name()));
    EXPECT_FALSE(m_data.profile_base_name().empty());
    EXPECT_EQ(ConfigBlock::kSize, read_bytes(m_dir / "Data" / kProfilesFileName).size());
    EXPECT_EQ(8u, read_bytes(m_dir / "Data" / kIndexFileName).size());
}

// A translation lies over the English texts: what it lacks, and a language without a file,
// shows English rather than nothing.
TEST_F(AppDataTest, TextsOfTheLanguageFallBackToEnglishKeyByKey) {
    const std::filesystem::path german = m_dir / "Language" / "de" / "lan.xml";
    write_text(german, "<Language>\n"
                       "  <Text key=\"profile_text\" value=\"Profil\"/>\n"
                       "  <Text key=\"apply_text\" value=\"\"/>\n"
                       "</Language>\n");
    m_data.load_settings("de");
    EXPECT_EQ("Profil", m_data.texts().text("profile_text"));
    EXPECT_EQ(u"Profil", m_data.profile_base_name());
    EXPECT_EQ("", m_data.texts().text("apply_text")) << "an empty translation is kept";
    EXPECT_EQ("Cancel", m_data.texts().text("cancel_text"));
    EXPECT_TRUE(m_data.settings_problems().empty());

    for (const char* language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        m_data.load_settings(language);
        EXPECT_EQ("Profile", m_data.texts().text("profile_text"));
        EXPECT_EQ("Apply", m_data.texts().text("apply_text"));
        EXPECT_TRUE(m_data.settings_problems().empty()) << "a missing translation is no problem";
    }

    // A translation that cannot be read is reported and leaves the English texts whole.
    std::filesystem::remove(german);
    std::filesystem::create_directory(german);
    m_data.load_settings("de");
    EXPECT_EQ("Profile", m_data.texts().text("profile_text"));
    ASSERT_EQ(1u, m_data.settings_problems().size());
    EXPECT_EQ(german, m_data.settings_problems()[0].file);
}

TEST_F(AppDataTest, ImportedProfilesGetAFreeNameAndAreSavedAtOnce) {
    m_data.load_settings();
    static_cast<void>(m_data.load_data());
    const std::u16string first = m_data.profiles().at(0).name();
    ASSERT_FALSE(save_profile_image(m_dir / "a.pbin", profile_named(first)));

    const ProfileImport imported = m_data.import_profile(m_dir / "a.pbin");
    ASSERT_TRUE(imported.added);
    EXPECT_FALSE(imported.error);
    EXPECT_EQ(1u, imported.index);
    EXPECT_EQ(first + u"_1", imported.name);
    EXPECT_EQ(0, m_data.profiles().current_index()) << "importing switches nothing";
    EXPECT_EQ(2 * ConfigBlock::kSize, read_bytes(m_dir / "Data" / kProfilesFileName).size());

    // Exported as it is in the list, and imported again under a name of its own.
    ASSERT_FALSE(m_data.export_profile(1, m_dir / "b.pbin"));
    ConfigBlock exported;
    ASSERT_FALSE(load_profile_image(m_dir / "b.pbin", exported));
    EXPECT_TRUE(exported == m_data.profiles().at(1));
    EXPECT_EQ(first + u"_1_1", m_data.import_profile(m_dir / "b.pbin").name);
    EXPECT_EQ(std::make_error_code(std::errc::invalid_argument),
              m_data.export_profile(3, m_dir / "c.pbin"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "c.pbin"));

    // The data files are never an export's target.
    const auto profiles = read_bytes(m_dir / "Data" / kProfilesFileName);
    EXPECT_EQ(FileError::data_file, m_data.export_profile(0, m_dir / "Data" / kProfilesFileName));
    EXPECT_EQ(profiles, read_bytes(m_dir / "Data" / kProfilesFileName));
}

// Every file read at start-up, with a pipe in its place: the start goes on without it, says
// which file it refused and why, and leaves the pipe where it is.
TEST_F(AppDataTest, WhatAnotherProgramSavedIsNeverWrittenOverAndReadingItKeepsUnsavedChanges) {
    m_data.load_settings();
    static_cast<void>(m_data.load_data());
    ASSERT_FALSE(save_profile_image(m_dir / "second.pbin", profile_named(u"Second")));
    ASSERT_TRUE(m_data.import_profile(m_dir / "second.pbin").added);
    ASSERT_TRUE(m_data.profiles().select(1));
    EXPECT_FALSE(m_data.changed_outside().any()) << "its own saves are not changes of others";

    // zemrakctl, say, adds a profile and a macro while the window runs.
    AppData other(folders_in(m_dir.path()));
    other.load_settings();
    static_cast<void>(other.load_data());
    ASSERT_FALSE(save_profile_image(m_dir / "shared.pbin", profile_named(u"Shared")));
    ASSERT_TRUE(other.import_profile(m_dir / "shared.pbin").added);
    ASSERT_FALSE(other.macros().add_folder(u"Games").error);
    const auto shared_file = read_bytes(m_dir / "Data" / kProfilesFileName);
    const OutsideChanges changes = m_data.changed_outside();
    EXPECT_TRUE(changes.profiles);
    EXPECT_TRUE(changes.macros);
    EXPECT_FALSE(changes.recoils);

    // The window changed the second profile but has not saved it: its saves must not wipe
    // the other program's additions.
    m_data.profiles().at(1).bytes()[ConfigBlock::kSize - 1] ^= 0xFF;
    const ConfigBlock edited = m_data.profiles().at(1);
    EXPECT_EQ(make_error_code(FileError::changed_outside), m_data.store().save_profiles());
    EXPECT_EQ(make_error_code(FileError::changed_outside), m_data.macros().save());
    EXPECT_EQ(shared_file, read_bytes(m_dir / "Data" / kProfilesFileName));

    // Read again: the other program's profile joins, the unsaved change stays and is named.
    const ProfileReload reload = m_data.reload_profiles();
    EXPECT_FALSE(reload.error);
    EXPECT_EQ(std::vector<std::u16string>{u"Second"}, reload.kept);
    ASSERT_EQ(3u, m_data.profiles().size());
    EXPECT_TRUE(m_data.profiles().at(1) == edited);
    EXPECT_EQ(u"Shared", m_data.profiles().at(2).name());
    EXPECT_EQ(1, m_data.profiles().current_index()) << "the profile shown stays current";
    EXPECT_FALSE(m_data.changed_outside().profiles);
    ASSERT_FALSE(m_data.store().save_profiles());
    ProfileList saved;
    ASSERT_FALSE(load_profiles(m_dir / "Data" / kProfilesFileName, saved).error);
    ASSERT_EQ(3u, saved.size());
    EXPECT_TRUE(saved.at(1) == edited);
    EXPECT_EQ(u"Shared", saved.at(2).name());

    // A read with nothing unsaved takes the file as it is; a current profile that is gone
    // leaves the one now at its place current.
    ASSERT_FALSE(other.load_data().profiles.save_error);
    other.profiles().remove(2);
    ASSERT_TRUE(other.profiles().select(0));
    ASSERT_FALSE(other.store().save_profiles());
    ASSERT_TRUE(m_data.profiles().select(2));
    const ProfileReload second = m_data.reload_profiles();
    EXPECT_TRUE(second.kept.empty());
    ASSERT_EQ(2u, m_data.profiles().size());
    EXPECT_EQ(1, m_data.profiles().current_index());
}

TEST(DataFolderLock, ASecondWriterWaitsUntilTheFirstIsDone) {
    const TempDir dir;
    // Two locks of one folder stand for two programs: each has its own open folder.
    DataFolderLock first(dir.path());
    DataFolderLock second(dir.path());
    std::atomic<bool> second_holds = false;
    first.lock();
    first.lock(); // a save inside a command that holds the folder
    std::thread writer([&] {
        const std::lock_guard hold(second);
        second_holds = true;
    });
    first.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(second_holds) << "the first writer still holds the folder";
    first.unlock();
    writer.join();
    EXPECT_TRUE(second_holds);
    EXPECT_EQ(
        std::vector<std::filesystem::path>{},
        std::vector<std::filesystem::path>(std::filesystem::directory_iterator(dir.path()), {}))
        << "no lock file is left in the folder";
}

TEST_F(AppDataTest, AFileThatIsNotARegularFileIsRefusedWithoutWaitingAndLeftAlone) {
    const std::error_code not_regular = FileError::not_regular;
    for (const std::filesystem::path& name :
         {std::filesystem::path(kSettingsFileName), std::filesystem::path(kLanguageFileName),
          "Data" / std::filesystem::path(kIndexFileName),
          "Data" / std::filesystem::path(kProfilesFileName),
          "Data" / std::filesystem::path(kMacroFileName),
          "Data" / std::filesystem::path(kRecoilFileName)}) {
        SCOPED_TRACE(name.string());
        const TempDir dir;
        make_program_folder(dir.path());
        const Folders folders = folders_in(dir.path());
        const std::filesystem::path file = dir.path() / name;
        test::make_pipe(file);
        AppData data(folders);
        StartupLoad load;
        ASSERT_TRUE(test::returns_without_waiting(file, [&] {
            data.load_settings();
            load = data.load_data();
        }));
        std::vector<std::error_code> reported{load.profiles.index_read_error,
                                              load.profiles.profiles_read_error, load.macros.error,
                                              load.recoils.error};
        for (const FileProblem& problem : data.settings_problems()) {
            EXPECT_EQ(file, problem.file);
            reported.push_back(problem.error);
        }
        EXPECT_EQ(1, std::ranges::count(reported, not_regular));
        EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(file)));
        EXPECT_FALSE(data.profiles().empty()) << "the window still has a profile to show";
    }
}

// Every file read at start-up, one record or byte beyond what the program reads of its kind
// (made sparse, so that it costs no disk): refused before it is read, reported, and neither
// changed nor written over in that run.
TEST_F(AppDataTest, AFileLargerThanItsKindAllowsIsRefusedAndNeverWritten) {
    const std::error_code too_large = FileError::too_large;
    const std::pair<std::filesystem::path, std::uint64_t> cases[] = {
        {kSettingsFileName, kMaxTextFileBytes + 1},
        {kLanguageFileName, kMaxTextFileBytes + 1},
        {"Data" / std::filesystem::path(kProfilesFileName),
         std::uint64_t{kMaxProfiles + 1} * ConfigBlock::kSize},
        {"Data" / std::filesystem::path(kMacroFileName),
         std::uint64_t{kMaxLibraryRecords + 1} * MacroRecord::kSize},
        {"Data" / std::filesystem::path(kRecoilFileName),
         std::uint64_t{kMaxLibraryRecords + 1} * RecoilRecord::kSize},
    };
    for (const auto& [name, size] : cases) {
        SCOPED_TRACE(name.string());
        const TempDir dir;
        make_program_folder(dir.path());
        const std::filesystem::path file = dir.path() / name;
        std::filesystem::create_directories(file.parent_path());
        write_bytes(file, {});
        std::filesystem::resize_file(file, size);

        AppData data(folders_in(dir.path()));
        data.load_settings();
        const StartupLoad load = data.load_data();
        std::vector<std::error_code> reported{load.profiles.profiles_read_error, load.macros.error,
                                              load.recoils.error};
        for (const FileProblem& problem : data.settings_problems()) {
            EXPECT_EQ(file, problem.file);
            reported.push_back(problem.error);
        }
        EXPECT_EQ(1, std::ranges::count(reported, too_large));
        EXPECT_FALSE(data.profiles().empty());

        static_cast<void>(data.store().save_profiles());
        static_cast<void>(data.macros().save());
        static_cast<void>(data.recoils().save());
        EXPECT_EQ(size, std::filesystem::file_size(file));
    }
}

TEST_F(AppDataTest, AFileThatIsNotOneProfileIsRefusedAndNothingChanges) {
    m_data.load_settings();
    static_cast<void>(m_data.load_data());
    const auto stored = read_bytes(m_dir / "Data" / kProfilesFileName);
    write_bytes(m_dir / "short.pbin", std::vector<std::uint8_t>(ConfigBlock::kSize - 1, 0));
    write_text(m_dir / "two.pbin", std::string(2 * ConfigBlock::kSize, 'x'));
    for (const char* name : {"short.pbin", "two.pbin", "absent.pbin"}) {
        const ProfileImport refused = m_data.import_profile(m_dir / name);
        EXPECT_FALSE(refused.added) << name;
        EXPECT_TRUE(refused.error) << name;
    }
    EXPECT_EQ(1u, m_data.profiles().size());
    EXPECT_EQ(stored, read_bytes(m_dir / "Data" / kProfilesFileName));
}

} // namespace
} // namespace zemrak
