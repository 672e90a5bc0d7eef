#include "macros/macro_record.h"
#include "model/button_functions.h"
#include "model/config_block.h"
#include "model/profile_files.h"
#include "recoil/recoil_record.h"
#include "test_support/library_support.h"
#include "test_support/malformed_files.h"
#include "test_support/mouse_log.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"
#include "zemrak_version.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::bytes_of;
using test::read_bytes;
using test::TempDir;
using test::write_text;

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs zemrakctl with the given arguments (already shell-quoted where needed).
CtlRun zemrakctl(const TempDir& scratch, const std::string& args,
                 const std::string& environment = "") {
    const std::filesystem::path out = scratch / "stdout";
    const std::filesystem::path err = scratch / "stderr";
    const std::string command = environment + " '" + ZEMRAKCTL_PATH + "' " + args + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, zemrak::test::read_text(out),
            zemrak::test::read_text(err)};
}

// A program folder with the shipped Data.ini, language file and factory profile.
class ZemrakctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
        std::filesystem::create_directories(m_program.path() / "Language");
        for (const char* file : {"Data.ini", "Default.pbin", "Language/lan.xml"}) {
            std::filesystem::copy_file(shipped / file, m_program / file);
        }
    }
    CtlRun run(const std::string& args) {
        return zemrakctl(m_scratch, "--program-folder '" + m_program.path().string() + "' " + args);
    }

    TempDir m_program;
    TempDir m_scratch;
};

TEST_F(ZemrakctlTest, ProfilesOnAFirstStartCreatesAndListsTheDefaultProfile) {
    const CtlRun first = run("profiles");
    EXPECT_EQ(0, first.status) << first.err;
    EXPECT_EQ("*0\tProfile1\n", first.out);
    EXPECT_EQ(51'384u, read_bytes(m_program / "Data" / "profile.bin").size());
    EXPECT_EQ(std::vector<std::uint8_t>(8, 0), read_bytes(m_program / "Data" / "Data.bin"));
    EXPECT_EQ(first.out, run("profiles").out) << "a second start finds the same";
}

TEST_F(ZemrakctlTest, ProfilesMarksTheStoredCurrentProfile) {
    const auto factory = read_bytes(m_program / "Default.pbin");
    auto two = factory;
    two.insert(two.end(), factory.begin(), factory.end());
    two[51'384] = u'\u00C9'; // the second profile is called "Éefault"
    test::write_bytes(m_program / "Data" / "profile.bin", two);
    test::write_bytes(m_program / "Data" / "Data.bin", {1, 0, 0, 0, 0, 0, 0, 0});
    const CtlRun listed = run("profiles");
    EXPECT_EQ(0, listed.status) << listed.err;
    EXPECT_EQ(" 0\tDefault\n*1\t\xC3\x89"
              "efault\n",
              listed.out);
}

TEST_F(ZemrakctlTest, DeviceParamsPrintsTheShippedModel) {
    const CtlRun params = run("device-params");
    EXPECT_EQ(0, params.status) << params.err;
    const std::string zeros64(128, '0');
    EXPECT_EQ("vid 04d9\npid a09f\nstages 8\nsensor 3327\nsensitivity_template " + zeros64 +
                  "\ncolour_template " + zeros64 + "\nlight_timing " + std::string(18, '0') +
                  "\npassword \n",
              params.out);
}

TEST_F(ZemrakctlTest, DeviceParamsShowsEveryField) {
    write_text(m_program / "Data.ini", "[Default]\nVID=1a2B\nPID=3\nDPI=6\nSensor=3050\n"
                                       "Password=abcdef\nLight3=1,255,16\n"
                                       "[BLOCK_5]\n3=ff,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,"
                                       "0e,10\n");
    const CtlRun params = run("device-params");
    std::istringstream lines(params.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line)) {
        got.push_back(line);
    }
    ASSERT_EQ(8u, got.size()) << params.out;
    EXPECT_EQ("vid 1a2b", got[0]);
    EXPECT_EQ("pid 0003", got[1]);
    EXPECT_EQ("stages 6", got[2]);
    EXPECT_EQ("sensor 3050", got[3]);
    EXPECT_EQ("colour_template " + std::string(96, '0') + "ff0102030405060708090a0b0c0d0e10",
              got[5]);
    EXPECT_EQ("light_timing 000000000000"
              "01ff10",
              got[6]);
    EXPECT_EQ("password 616263646566", got[7]);
}

TEST_F(ZemrakctlTest, UsageErrorsExitWithTwoAndOneLine) {
    for (const std::string args : {"", "frobnicate", "profiles extra", "--bogus profiles"}) {
        const CtlRun bad = run(args);
        EXPECT_EQ(2, bad.status) << "'" << args << "'";
        EXPECT_TRUE(bad.out.empty());
        EXPECT_EQ(1, std::count(bad.err.begin(), bad.err.end(), '\n')) << bad.err;
    }
    const CtlRun missing = zemrakctl(m_scratch, "--program-folder");
    EXPECT_EQ(2, missing.status);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(ZemrakctlTest, ReportsListsEveryWriteOfAnApplyInOrder) {
    const CtlRun reports = run("reports");
    EXPECT_EQ(0, reports.status) << reports.err;
    const auto lines = lines_of(reports.out);
    ASSERT_EQ(5u, lines.size()) << reports.out;
    EXPECT_EQ("cmd 01aa040a00000201", lines[0]) << "the factory profile's mode report";
    EXPECT_EQ("cmd 01aa000000040000", lines[1]);
    EXPECT_EQ("cmd 01aa000000050000", lines[3]);
    for (const std::size_t data : {std::size_t{2}, std::size_t{4}}) {
        EXPECT_TRUE(lines[data].starts_with("data 00"));
        EXPECT_EQ(5u + 130u, lines[data].size());
    }
}

// The apply as zemrakctl runs it, against the virtual mouse.
class ZemrakctlApplyTest : public ZemrakctlTest {
protected:
    CtlRun apply(const std::string& environment = "") {
        return zemrakctl(m_scratch, "--program-folder '" + m_program.path().string() + "' apply",
                         "ZEMRAK_HID_LIBRARY='" + std::string(ZEMRAK_VIRTUAL_MOUSE_PATH) +
                             "' ZEMRAK_VIRTUAL_MOUSE_LOG='" + log_file().string() + "' " +
                             environment);
    }
    std::filesystem::path log_file() const { return m_scratch / "mouse.log"; }
    // The mouse's log without the time stamps.
    std::vector<std::string> received() const { return test::received_reports(log_file()); }
};

TEST_F(ZemrakctlApplyTest, TheMouseReceivesExactlyTheListedReports) {
    const CtlRun applied = apply();
    EXPECT_EQ(0, applied.status) << applied.err;
    EXPECT_EQ(lines_of(run("reports").out), received());
    EXPECT_EQ(51'384u, read_bytes(m_program / "Data" / "profile.bin").size());
}

TEST_F(ZemrakctlApplyTest, AbsentMouseOrFailedWriteIsAFailureWithAMessage) {
    const CtlRun absent = apply("ZEMRAK_VIRTUAL_MOUSE_ABSENT=1");
    EXPECT_EQ(1, absent.status);
    EXPECT_NE(std::string::npos, absent.err.find("not connected")) << absent.err;
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(51'384u, read_bytes(m_program / "Data" / "profile.bin").size())
        << "the profiles are saved all the same";

    const CtlRun failing = apply("ZEMRAK_VIRTUAL_MOUSE_FAIL_WRITES=1");
    EXPECT_EQ(1, failing.status);
    EXPECT_NE(std::string::npos, failing.err.find("1 of 5 reports")) << failing.err;
    EXPECT_EQ(4u, received().size());

    const CtlRun no_library =
        zemrakctl(m_scratch, "--program-folder '" + m_program.path().string() + "' apply",
                  "ZEMRAK_HID_LIBRARY=/nonexistent/libzemrak-hid.so");
    EXPECT_EQ(1, no_library.status);
    EXPECT_NE(std::string::npos, no_library.err.find("not connected")) << no_library.err;
}

TEST_F(ZemrakctlTest, VersionIsPrintedWithoutACommandOrAProgramFolder) {
    for (const std::string args : {"--version", "--version profiles"}) {
        SCOPED_TRACE(args);
        // A program folder that does not exist: the version needs none.
        const CtlRun version = zemrakctl(m_scratch, "--program-folder /nonexistent " + args);
        EXPECT_EQ(0, version.status) << version.err;
        EXPECT_EQ(std::string("zemrakctl ") + kVersion + "\n", version.out);
        EXPECT_TRUE(version.err.empty()) << version.err;
    }
    // The version is the project's own.
    const std::string project =
        zemrak::test::read_text(std::filesystem::path(ZEMRAK_SOURCE_DIR) / "CMakeLists.txt");
    EXPECT_NE(std::string::npos,
              project.find(std::string("project(zemrak-mouse VERSION ") + kVersion + " "));
}

TEST_F(ZemrakctlTest, HelpDescribesEveryCommand) {
    const CtlRun help = zemrakctl(m_scratch, "--help");
    EXPECT_EQ(0, help.status);
    for (const char* word : {"--program-folder", "profiles", "device-params", "reports", "apply"}) {
        EXPECT_NE(std::string::npos, help.out.find(word)) << word;
    }
}

template <class Record>
void write_library(const std::filesystem::path& file, const std::vector<Record>& records) {
    std::vector<std::uint8_t> bytes;
    for (const Record& record : records) {
        bytes.insert(bytes.end(), record.bytes().begin(), record.bytes().end());
    }
    test::write_bytes(file, bytes);
}

TEST_F(ZemrakctlTest, MacrosAndRecoilsListTheLibrariesInOrder) {
    EXPECT_EQ("", run("macros").out) << "no macro.bin: an empty library";

    MacroRecord burst = MacroRecord::make_macro(u"Fps", u"Burst \u00E9");
    burst.set_action_count(3);
    burst.set_loop_count(2);
    burst.set_locked(true);
    MacroRecord oversized = MacroRecord::make_macro(u"Fps", u"Long");
    store_u16(oversized.bytes(), MacroRecord::kActionCountOffset, 200);
    write_library(m_program / "Data" / "macro.bin",
                  std::vector{MacroRecord::make_folder(u"Fps"), burst, oversized});
    const CtlRun macros = run("macros");
    EXPECT_EQ(0, macros.status) << macros.err;
    EXPECT_EQ("0\tF\tFps\t\t0\t0\t0\n"
              "1\tI\tFps\tBurst \xC3\xA9\t3\t2\t1\n"
              "2\tI\tFps\tLong\t30\t1\t0\n",
              macros.out);

    RecoilRecord ak = RecoilRecord::make_pattern(u"Rifles", u"Ak");
    ak.set_bullet_count(17);
    ak.set_second_parameter(9);
    write_library(m_program / "Data" / "gun.bin",
                  std::vector{ak, RecoilRecord::make_folder(u"Rifles")});
    const CtlRun recoils = run("recoils");
    EXPECT_EQ(0, recoils.status) << recoils.err;
    EXPECT_EQ("0\tI\tRifles\tAk\t17\t9\t0\n"
              "1\tF\tRifles\t\t0\t0\t0\n",
              recoils.out);
}

// Names come from files users share. Printed raw, a line break in one forges the next line
// and an escape sequence reaches the terminal.
TEST_F(ZemrakctlTest, ControlCharactersInNamesArePrintedAsEscapes) {
    ConfigBlock shared;
    shared.set_name(u"Evil\n*0\tForged\x1b]0;title\x07\\\u202Eend");
    const std::filesystem::path file = m_scratch / "shared.pbin";
    ASSERT_FALSE(save_profile_image(file, shared));
    const std::string escaped = "Evil\\n*0\\tForged\\x1b]0;title\\x07\\\\\\u{202e}end";
    EXPECT_EQ("imported " + escaped + " as profile 1\n",
              run("import-profile '" + file.string() + "'").out);
    EXPECT_EQ("*0\tProfile1\n 1\t" + escaped + "\n", run("profiles").out);

    write_library(m_program / "Data" / "macro.bin",
                  std::vector{MacroRecord::make_folder(u"F\r\x1b[2J"),
                              MacroRecord::make_macro(u"F\r\x1b[2J", u"M\u0085\x7f")});
    EXPECT_EQ("0\tF\tF\\r\\x1b[2J\t\t0\t0\t0\n"
              "1\tI\tF\\r\\x1b[2J\tM\\u{0085}\\x7f\t0\t1\t0\n",
              run("macros").out);

    // What imports and exports say of the names they moved.
    const std::filesystem::path one = m_scratch / "one.mbin";
    ASSERT_EQ(0, run("export-macro 1 '" + one.string() + "'").status);
    EXPECT_EQ("exported macro M\\u{0085}\\x7f to " + one.string() + "\n",
              run("export-macro 1 '" + one.string() + "'").out);
    EXPECT_EQ("imported macro M\\u{0085}\\x7f into folder F\\r\\x1b[2J_1 at 3\n",
              run("import-macro '" + one.string() + "'").out);
    const std::filesystem::path folder = m_scratch / "F\x1b[2J.mbins";
    write_library(folder,
                  std::vector{MacroRecord::make_folder(u"X"), MacroRecord::make_macro(u"X", u"Y")});
    EXPECT_EQ("imported 2 records into folder F\\x1b[2J\n",
              run("import-macro-folder '" + folder.string() + "'").out);
}

TEST_F(ZemrakctlTest, LibraryWithAPartialRecordListsTheWholeOnesAndKeepsTheFile) {
    const RecoilRecord smg = RecoilRecord::make_folder(u"Smg");
    std::vector<std::uint8_t> bytes(smg.bytes().begin(), smg.bytes().end());
    bytes.resize(bytes.size() + 40, 0x7F);
    test::write_bytes(m_program / "Data" / "gun.bin", bytes);
    const CtlRun listed = run("recoils");
    EXPECT_EQ(0, listed.status);
    EXPECT_EQ("0\tF\tSmg\t\t0\t0\t0\n", listed.out);
    EXPECT_NE(std::string::npos, listed.err.find("gun.bin.damaged")) << listed.err;
    EXPECT_EQ(bytes, read_bytes(m_program / "Data" / "gun.bin.damaged"));
}

TEST_F(ZemrakctlTest, RecoilPatternsAndFoldersTravelPlainAndLocked) {
    RecoilRecord ak = RecoilRecord::make_pattern(u"Rifles", u"Ak");
    ak.set_bullet(2, Bullet{-4, 9, 33});
    ak.set_bullet_count(7);
    write_library(m_program / "Data" / "gun.bin",
                  std::vector{RecoilRecord::make_folder(u"Rifles"), ak});
    const auto library = read_bytes(m_program / "Data" / "gun.bin");
    const std::filesystem::path plain = m_scratch / "ak.gbin";
    const std::filesystem::path locked = m_scratch / "ak_locked.gbin";

    const CtlRun folder_entry = run("export-recoil 0 '" + plain.string() + "'");
    EXPECT_EQ(2, folder_entry.status) << "a folder entry is not a pattern";
    EXPECT_FALSE(std::filesystem::exists(plain));
    EXPECT_EQ(2, run("export-recoil 1 '" + plain.string() + "' --lock").status);
    EXPECT_EQ(2, run("export-recoil 1").status);

    const CtlRun exported = run("export-recoil 1 '" + plain.string() + "'");
    EXPECT_EQ(0, exported.status) << exported.err;
    EXPECT_EQ(bytes_of(ak.bytes()), read_bytes(plain));
    ASSERT_EQ(0, run("export-recoil 1 '" + locked.string() + "' --locked").status);
    RecoilRecord marked = ak;
    marked.set_locked(true);
    EXPECT_EQ(bytes_of(marked.bytes()), read_bytes(locked)) << "only the flag differs";
    EXPECT_EQ(library, read_bytes(m_program / "Data" / "gun.bin")) << "exports change nothing";

    // Into the folder under the file's base name, made free; a locked file stays locked.
    for (const std::filesystem::path& file : {plain, plain, locked}) {
        const CtlRun imported = run("import-recoil '" + file.string() + "' Rifles");
        EXPECT_EQ(0, imported.status) << imported.err;
    }
    // Without a folder: a new folder named as the pattern's own, made free.
    EXPECT_EQ(0, run("import-recoil '" + locked.string() + "'").status);
    const std::string listed = run("recoils").out;
    EXPECT_NE(std::string::npos, listed.find("2\tI\tRifles\tak_1\t7\t0\t0\n")) << listed;
    EXPECT_NE(std::string::npos, listed.find("3\tI\tRifles\tak_2\t7\t0\t0\n")) << listed;
    EXPECT_NE(std::string::npos, listed.find("4\tI\tRifles\tak_locked\t7\t0\t1\n")) << listed;
    EXPECT_NE(std::string::npos, listed.find("5\tF\tRifles_1\t\t0\t0\t0\n")) << listed;
    EXPECT_NE(std::string::npos, listed.find("6\tI\tRifles_1\tAk\t7\t0\t1\n")) << listed;

    // A whole folder, locked, comes back as a second folder whose every record is locked.
    const std::filesystem::path folder = m_scratch / "Rifles.gbins";
    const CtlRun out = run("export-recoil-folder rifles '" + folder.string() + "' --locked");
    EXPECT_EQ(0, out.status) << out.err;
    EXPECT_EQ(5 * RecoilRecord::kSize, read_bytes(folder).size());
    const CtlRun back = run("import-recoil-folder '" + folder.string() + "'");
    EXPECT_EQ(0, back.status) << back.err;
    const std::string after = run("recoils").out;
    EXPECT_NE(std::string::npos, after.find("7\tF\tRifles_2\t\t0\t0\t1\n")) << after;
    EXPECT_NE(std::string::npos, after.find("8\tI\tRifles_2\tAk\t7\t0\t1\n")) << after;
    EXPECT_NE(std::string::npos, after.find("\tI\tRifles\tAk\t7\t0\t0\n")) << "kept unlocked";
    EXPECT_EQ(1, run("export-recoil-folder Pistols '" + folder.string() + "'").status);
}

TEST_F(ZemrakctlTest, RecoilFilesOfTheWrongSizeAreRefusedAndChangeNothing) {
    write_library(m_program / "Data" / "gun.bin", std::vector{RecoilRecord::make_folder(u"Smg")});
    const auto before = read_bytes(m_program / "Data" / "gun.bin");
    const std::filesystem::path bad = m_scratch / "bad.gbin";
    const std::filesystem::path bad_folder = m_scratch / "bad.gbins";
    for (const std::size_t size : {std::size_t{0}, std::size_t{575}, std::size_t{577}}) {
        test::write_bytes(bad, std::vector<std::uint8_t>(size, 0x41));
        for (const std::string& args :
             {"import-recoil '" + bad.string() + "'", "import-recoil '" + bad.string() + "' Smg"}) {
            const CtlRun refused = run(args);
            EXPECT_EQ(1, refused.status) << args << ' ' << size;
            EXPECT_NE(std::string::npos, refused.err.find("cannot import")) << refused.err;
            EXPECT_TRUE(refused.out.empty());
        }
    }
    for (const std::size_t size : {std::size_t{0}, std::size_t{576 + 100}}) {
        test::write_bytes(bad_folder, std::vector<std::uint8_t>(size, 0x41));
        const CtlRun refused = run("import-recoil-folder '" + bad_folder.string() + "'");
        EXPECT_EQ(1, refused.status) << size;
        EXPECT_NE(std::string::npos, refused.err.find("cannot import")) << refused.err;
    }
    test::write_bytes(bad, std::vector<std::uint8_t>(576, 0));
    EXPECT_EQ(1, run("import-recoil '" + bad.string() + "' Pistols").status) << "no such folder";
    EXPECT_EQ(before, read_bytes(m_program / "Data" / "gun.bin"));
}

TEST_F(ZemrakctlTest, ExportedProfileImportsUnderAFreeName) {
    const std::filesystem::path exported = m_scratch / "shared.pbin";
    const CtlRun out = run("export-profile 0 '" + exported.string() + "'");
    EXPECT_EQ(0, out.status) << out.err;
    const auto stored = read_bytes(m_program / "Data" / "profile.bin");
    EXPECT_EQ(stored, read_bytes(exported)) << "the profile's image, byte for byte";

    const CtlRun first = run("import-profile '" + exported.string() + "'");
    EXPECT_EQ(0, first.status) << first.err;
    EXPECT_EQ("imported Profile1_1 as profile 1\n", first.out);
    EXPECT_EQ(0, run("import-profile '" + exported.string() + "'").status);
    EXPECT_EQ("*0\tProfile1\n 1\tProfile1_1\n 2\tProfile1_2\n", run("profiles").out)
        << "import saves profile.bin at once";

    // A name that differs only in case is taken as well.
    auto lower = read_bytes(exported);
    lower[0] = 'p';
    test::write_bytes(exported, lower);
    EXPECT_EQ("imported profile1_3 as profile 3\n",
              run("import-profile '" + exported.string() + "'").out);
}

TEST_F(ZemrakctlTest, ImportsRunAtTheSameTimeAreAllKept) {
    // Each run loads, adds and saves; without one writer at a time most runs write over the
    // others' additions while each reports success.
    const std::filesystem::path exported = m_scratch / "shared.pbin";
    ASSERT_EQ(0, run("export-profile 0 '" + exported.string() + "'").status);
    test::write_bytes(m_scratch / "combo.mbin",
                      bytes_of(MacroRecord::make_macro(u"Games", u"Combo").bytes()));
    constexpr int kRuns = 8;
    std::string runs;
    for (int i = 0; i < kRuns; ++i) {
        const std::string ctl = "'" + std::string(ZEMRAKCTL_PATH) + "' --program-folder '" +
                                m_program.path().string() + "' ";
        runs += ctl + "import-profile '" + exported.string() + "' >/dev/null & ";
        runs += ctl + "import-macro '" + (m_scratch / "combo.mbin").string() + "' >/dev/null & ";
    }
    ASSERT_EQ(0, std::system((runs + "wait").c_str()));

    const std::string profiles = run("profiles").out;
    EXPECT_EQ(kRuns + 1, std::count(profiles.begin(), profiles.end(), '\n')) << profiles;
    const std::string macros = run("macros").out;
    std::size_t items = 0;
    for (auto at = macros.find("\tI\t"); at != std::string::npos;
         at = macros.find("\tI\t", at + 1)) {
        ++items;
    }
    EXPECT_EQ(static_cast<std::size_t>(kRuns), items) << macros;
}

TEST(ZemrakctlMalformedFiles, EveryKindIsRefusedOrReadWithoutHarmAndARefusalNamesTheFile) {
    const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
    for (const test::DataFileKind& kind : test::data_file_kinds()) {
        for (const test::Malformed way : test::malformed_ways()) {
            SCOPED_TRACE(std::string(kind.path) + " as " + test::describe(way));
            const TempDir program;
            const TempDir scratch;
            std::filesystem::create_directories(program / "Language");
            for (const char* file : {"Data.ini", "Default.pbin", "Language/lan.xml"}) {
                std::filesystem::copy_file(shipped / file, program / file);
            }
            const std::filesystem::path file = program / kind.path;
            test::make_malformed(file, kind, way);
            const test::FileImage before = test::image_of(file);

            // `timeout` ends a run that hangs with 124; a crash gives 128 and more.
            const CtlRun out = zemrakctl(
                scratch, "--program-folder '" + program.path().string() + "' " + kind.command,
                "timeout 30");
            EXPECT_TRUE(out.status == 0 || out.status == 1) << out.status << ": " << out.err;
            EXPECT_TRUE(test::original_kept(file, before));
            if (test::refused(kind, way)) {
                EXPECT_NE(std::string::npos, out.err.find(file.filename().string())) << out.err;
            }
        }
    }
}

TEST_F(ZemrakctlTest, ImportRefusesAFileThatIsNotOneProfile) {
    ASSERT_EQ(0, run("profiles").status);
    const auto before = read_bytes(m_program / "Data" / "profile.bin");
    const std::filesystem::path bad = m_scratch / "bad.pbin";
    for (const std::size_t size : {std::size_t{0}, std::size_t{51'383}, std::size_t{51'385}}) {
        test::write_bytes(bad, std::vector<std::uint8_t>(size, 0x41));
        const CtlRun refused = run("import-profile '" + bad.string() + "'");
        EXPECT_EQ(1, refused.status) << size;
        EXPECT_NE(std::string::npos, refused.err.find("51384 bytes")) << refused.err;
        EXPECT_TRUE(refused.out.empty());
    }
    const CtlRun missing = run("import-profile '" + (m_scratch / "none.pbin").string() + "'");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(before, read_bytes(m_program / "Data" / "profile.bin"));
}

TEST_F(ZemrakctlTest, ExportNeedsTheIndexOfAProfile) {
    const std::filesystem::path target = m_scratch / "out.pbin";
    for (const std::string index : {"x", "-1", "1", "0x0", "''", "99999999999999999999999"}) {
        const CtlRun bad = run("export-profile " + index + " '" + target.string() + "'");
        EXPECT_EQ(2, bad.status) << index;
        EXPECT_EQ(1, std::count(bad.err.begin(), bad.err.end(), '\n')) << bad.err;
        EXPECT_FALSE(std::filesystem::exists(target)) << index;
    }
    // A folder that cannot be made: its parent is a file.
    write_text(m_scratch / "blocker", "");
    const CtlRun unwritable =
        run("export-profile 0 '" + (m_scratch / "blocker" / "x.pbin").string() + "'");
    EXPECT_EQ(1, unwritable.status);
    EXPECT_FALSE(unwritable.err.empty());
}

TEST_F(ZemrakctlTest, LibraryFoldersAndItemsTravelBetweenInstallations) {
    const MacroRecord folder = MacroRecord::make_folder(u"Games");
    MacroRecord combo = MacroRecord::make_macro(u"Games", u"Combo");
    combo.set_action_count(3);
    std::vector<std::uint8_t> bytes = bytes_of(folder.bytes());
    const std::vector<std::uint8_t> tail = bytes_of(combo.bytes());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    test::write_bytes(m_program / "Data" / "macro.bin", bytes);

    const std::filesystem::path whole = m_scratch / "games.mbins";
    const std::filesystem::path single = m_scratch / "combo.mbin";
    EXPECT_EQ("exported folder Games to " + whole.string() + "\n",
              run("export-macros 0 '" + whole.string() + "'").out);
    EXPECT_EQ(bytes, read_bytes(whole));
    EXPECT_EQ("exported macro Combo to " + single.string() + "\n",
              run("export-macros 1 '" + single.string() + "'").out);
    EXPECT_EQ(bytes_of(combo.bytes()), read_bytes(single));

    // Imported back: every folder under a name of its own (case ignored), the library saved
    // at once.
    EXPECT_EQ("imported 2 records into folder games_1\n",
              run("import-macros '" + whole.string() + "'").out);
    EXPECT_EQ("imported 2 records into folder Games_2\n",
              run("import-macros '" + single.string() + "'").out);
    EXPECT_EQ("0\tF\tGames\t\t0\t0\t0\n"
              "1\tI\tGames\tCombo\t3\t1\t0\n"
              "2\tF\tgames_1\t\t0\t0\t0\n"
              "3\tI\tgames_1\tCombo\t3\t1\t0\n"
              "4\tF\tGames_2\t\t0\t0\t0\n"
              "5\tI\tGames_2\tCombo\t3\t1\t0\n",
              run("macros").out);
}

TEST_F(ZemrakctlTest, LibraryImportsAndExportsRefuseWhatTheyCannotDo) {
    const auto stored = [this] { return read_bytes(m_program / "Data" / "gun.bin"); };
    const std::filesystem::path odd = m_scratch / "odd.gbins";
    test::write_bytes(odd, std::vector<std::uint8_t>(RecoilRecord::kSize + 1, 0));
    const CtlRun refused = run("import-recoils '" + odd.string() + "'");
    EXPECT_EQ(1, refused.status);
    EXPECT_FALSE(refused.err.empty());
    EXPECT_FALSE(std::filesystem::exists(m_program / "Data" / "gun.bin"));

    const RecoilRecord rifles = RecoilRecord::make_folder(u"Rifles");
    test::write_bytes(m_program / "Data" / "gun.bin", bytes_of(rifles.bytes()));
    for (const char* position : {"1", "-1", "x"}) {
        const CtlRun bad = run(std::string("export-recoils ") + position + " '" +
                               (m_scratch / "out.gbin").string() + "'");
        EXPECT_EQ(2, bad.status) << position;
        EXPECT_FALSE(std::filesystem::exists(m_scratch / "out.gbin"));
    }
    const CtlRun single = run("import-recoils '" + odd.string() + "'");
    EXPECT_EQ(1, single.status);
    EXPECT_EQ(bytes_of(rifles.bytes()), stored())
        << "a refused import leaves the library as it was";
}

TEST_F(ZemrakctlTest, SingleMacrosAndMacroFoldersTravelUnderThePagesNamingRules) {
    MacroRecord combo = MacroRecord::make_macro(u"Games", u"Combo");
    combo.set_action_count(2);
    write_library(m_program / "Data" / "macro.bin",
                  std::vector{MacroRecord::make_folder(u"Games"), combo,
                              MacroRecord::make_macro(u"Games", u"Combo_1"),
                              MacroRecord::make_folder(u"Moba")});
    const auto library = [this] { return read_bytes(m_program / "Data" / "macro.bin"); };
    const std::filesystem::path single = m_scratch / "Combo.mbin";
    const std::filesystem::path sealed = m_scratch / "Sealed.mbin";

    EXPECT_EQ("exported macro Combo to " + single.string() + "\n",
              run("export-macro 1 '" + single.string() + "'").out);
    EXPECT_EQ(bytes_of(combo.bytes()), read_bytes(single));
    const CtlRun locked = run("export-macro 1 '" + sealed.string() + "' --locked");
    EXPECT_EQ(0, locked.status) << locked.err;
    MacroRecord expected = combo;
    expected.set_locked(true);
    EXPECT_EQ(bytes_of(expected.bytes()), read_bytes(sealed));

    // Into a folder that holds Combo and Combo_1; without one, into a copy of its own folder.
    const CtlRun into = run("import-macro '" + single.string() + "' games");
    EXPECT_EQ(0, into.status) << into.err;
    EXPECT_EQ("imported macro Combo_2 into folder Games at 4\n", into.out);
    EXPECT_EQ("imported macro Combo into folder Games_1 at 6\n",
              run("import-macro '" + sealed.string() + "'").out);

    const std::filesystem::path folder = m_scratch / "Moba.mbins";
    EXPECT_EQ("exported folder Games locked to " + folder.string() + "\n",
              run("export-macro-folder GAMES '" + folder.string() + "' --locked").out);
    EXPECT_EQ(4 * MacroRecord::kSize, read_bytes(folder).size()) << "entry and three macros";
    EXPECT_EQ("imported 4 records into folder Moba_1\n",
              run("import-macro-folder '" + folder.string() + "'").out);
    EXPECT_EQ("0\tF\tGames\t\t0\t0\t0\n"
              "1\tI\tGames\tCombo\t2\t1\t0\n"
              "2\tI\tGames\tCombo_1\t0\t1\t0\n"
              "3\tF\tMoba\t\t0\t0\t0\n"
              "4\tI\tGames\tCombo_2\t2\t1\t0\n"
              "5\tF\tGames_1\t\t0\t0\t0\n"
              "6\tI\tGames_1\tCombo\t2\t1\t1\n"
              "7\tF\tMoba_1\t\t0\t0\t1\n"
              "8\tI\tMoba_1\tCombo\t2\t1\t1\n"
              "9\tI\tMoba_1\tCombo_1\t0\t1\t1\n"
              "10\tI\tMoba_1\tCombo_2\t2\t1\t1\n",
              run("macros").out)
        << "a locked export comes back locked; the library's own records stay unlocked";

    // Refusals change nothing: files of the wrong size, a folder that is not there, positions
    // that hold no macro and options that do not exist.
    const std::vector<std::uint8_t> before = library();
    const std::filesystem::path odd = m_scratch / "odd.mbins";
    test::write_bytes(odd, std::vector<std::uint8_t>(MacroRecord::kSize + 1, 0));
    for (const std::string& args :
         {"import-macro '" + odd.string() + "'", "import-macro '" + odd.string() + "' Games",
          "import-macro-folder '" + odd.string() + "'",
          "import-macro '" + single.string() + "' Nowhere",
          "import-macro-folder '" + (m_scratch / "none.mbins").string() + "'",
          "export-macro-folder Nowhere '" + (m_scratch / "x.mbins").string() + "'"}) {
        const CtlRun refused = run(args);
        EXPECT_EQ(1, refused.status) << args;
        EXPECT_EQ(1, std::count(refused.err.begin(), refused.err.end(), '\n'))
            << args << refused.err;
        EXPECT_TRUE(refused.out.empty()) << args;
    }
    for (const std::string& args :
         {"export-macro 0 '" + (m_scratch / "x.mbin").string() + "'",
          "export-macro 99 '" + (m_scratch / "x.mbin").string() + "'",
          "export-macro 1 '" + (m_scratch / "x.mbin").string() + "' --force",
          std::string("import-macro a b c")}) {
        EXPECT_EQ(2, run(args).status) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(m_scratch / "x.mbin"));
    EXPECT_FALSE(std::filesystem::exists(m_scratch / "x.mbins"));
    EXPECT_EQ(before, library());

    const CtlRun help = zemrakctl(m_scratch, "--help");
    for (const char* usage :
         {"export-macro POSITION FILE [--locked]", "import-macro FILE [FOLDER]",
          "export-macro-folder FOLDER FILE [--locked]", "import-macro-folder FILE"}) {
        EXPECT_NE(std::string::npos, help.out.find(usage)) << usage;
    }
}

// The function code of button record `number` (1..32) of the first profile in profile.bin.
int stored_code(const std::filesystem::path& program, std::size_t number) {
    const auto bytes = read_bytes(program / "Data" / "profile.bin");
    const std::size_t at = button_record_offset(number - 1) + ButtonRecord::kFunctionOffset;
    return at < bytes.size() ? bytes[at] : -1;
}

TEST_F(ZemrakctlTest, ButtonsListsTheRecordsAsTheButtonPageLabelsThem) {
    const CtlRun first = run("buttons");
    EXPECT_EQ(0, first.status) << first.err;
    const auto lines = lines_of(first.out);
    ASSERT_EQ(32u, lines.size()) << first.out;
    EXPECT_EQ("1\tclick\tLeft Click", lines[0]);
    EXPECT_EQ("8\tbutton_off\tDisabled", lines[7]);
    EXPECT_EQ("16\tscroll_down\tWheel Down", lines[15]);
    EXPECT_EQ("17\tsend_gun\tFire (recoil)", lines[16]);
    EXPECT_EQ("23\tlight_mode_switch\tLighting Mode", lines[22]);

    // Records that show what they hold, and a code no menu offers.
    auto profile = read_bytes(m_program / "Default.pbin");
    ConfigBlock block;
    std::copy(profile.begin(), profile.end(), block.bytes().begin());
    block.button(4).set_function_code(kShortcutFunction);
    block.button(4).set_shortcut_modifiers(ButtonRecord::kCtrl | ButtonRecord::kShift);
    block.button(4).set_shortcut_key(0x04);
    block.button(5).set_function_code(kMacroFunction);
    block.button(5).set_folder_name(u"Fps");
    block.button(5).set_item_name(u"Burst");
    block.button(20).set_function_code(kRecoilFunction);
    block.button(20).set_folder_name(u"R\u00E9");
    block.button(20).set_item_name(u"Ak");
    block.button(6).set_function_code(113);
    test::write_bytes(m_program / "Data" / "profile.bin", bytes_of(block.bytes()));
    const auto listed = lines_of(run("buttons").out);
    ASSERT_EQ(32u, listed.size());
    EXPECT_EQ("5\tshortcut\tCtrl+Shift+A", listed[4]);
    EXPECT_EQ("6\tselect_macro\tMacro: Fps-Burst", listed[5]);
    EXPECT_EQ("7\t113\tLeft Click", listed[6]);
    EXPECT_EQ("21\tselect_gun\tRecoil: R\xC3\xA9-Ak", listed[20]);
}

TEST_F(ZemrakctlTest, SetButtonAssignsUnderTheButtonPagesRulesAndSaves) {
    const CtlRun forward = run("set-button 5 Forward");
    EXPECT_EQ(0, forward.status) << forward.err;
    EXPECT_EQ("5\tforward\tForward\n", forward.out);
    EXPECT_EQ(4, stored_code(m_program.path(), 5));

    // Mode switch on an office button goes on its game twin too.
    const CtlRun mode = run("set-button 3 mode_switch");
    EXPECT_EQ(0, mode.status) << mode.err;
    EXPECT_EQ("3\tmode_switch\tMode Switch\n19\tmode_switch\tMode Switch\n", mode.out);
    EXPECT_EQ(kModeSwitchFunction, stored_code(m_program.path(), 19));

    // Refused: the office left button, and the game mode's only button that fires.
    const auto before = read_bytes(m_program / "Data" / "profile.bin");
    for (const char* args : {"set-button 1 menu", "set-button 17 menu"}) {
        const CtlRun refused = run(args);
        EXPECT_EQ(1, refused.status) << args;
        EXPECT_TRUE(refused.out.empty()) << args;
        EXPECT_EQ(1, std::count(refused.err.begin(), refused.err.end(), '\n')) << refused.err;
    }
    EXPECT_NE(std::string::npos, run("set-button 1 menu").err.find("cannot be reassigned"));
    EXPECT_NE(std::string::npos, run("set-button 17 menu").err.find("must stay on Left Click"));
    EXPECT_EQ(before, read_bytes(m_program / "Data" / "profile.bin"));
    // The wheel's records do not keep the office mode clicking; button 17 may change once
    // another game button clicks.
    EXPECT_EQ(0, run("set-button 18 click").status);
    EXPECT_EQ(0, run("set-button 17 menu").status);

    for (const char* args : {"set-button 0 forward", "set-button 33 forward", "set-button x click",
                             "set-button 5 frobnicate", "set-button 5 shortcut",
                             "set-button 5 select_gun", "set-button 5"}) {
        const CtlRun bad = run(args);
        EXPECT_EQ(2, bad.status) << args;
        EXPECT_EQ(1, std::count(bad.err.begin(), bad.err.end(), '\n')) << bad.err;
    }
    EXPECT_EQ(4, stored_code(m_program.path(), 5));
}

TEST_F(ZemrakctlTest, HelpDescribesTheLibraryAndProfileFileCommands) {
    const CtlRun help = zemrakctl(m_scratch, "--help");
    for (const char* word :
         {"macros", "recoils", "export-profile INDEX FILE", "import-profile FILE",
          "import-macros FILE", "export-macros POSITION FILE", "import-recoils FILE",
          "export-recoils POSITION FILE", "buttons", "set-button INDEX FUNCTION"}) {
        EXPECT_NE(std::string::npos, help.out.find(word)) << word;
    }
}

TEST_F(ZemrakctlApplyTest, EveryCommandThatLoadsAFileThatCannotBeReadFailsAndLeavesIt) {
    const std::filesystem::path profile = m_scratch / "shared.pbin";
    test::write_bytes(profile, read_bytes(m_program / "Default.pbin"));
    const std::filesystem::path macros = m_scratch / "games.mbins";
    write_library(macros, std::vector{MacroRecord::make_folder(u"Games")});
    struct Case {
        const char* file;
        std::string command; // "apply" runs against the virtual mouse
    };
    const std::vector<Case> cases{
        {"profile.bin", "profiles"},
        {"profile.bin", "import-profile '" + profile.string() + "'"},
        {"Data.bin", "reports"},
        {"Data.bin", "apply"},
        {"macro.bin", "import-macros '" + macros.string() + "'"},
        {"gun.bin", "recoils"},
    };
    for (const test::Unreadable way : test::unreadable_ways()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(test::describe(way) + " as " + c.file + ", " + c.command);
            std::filesystem::remove_all(m_program / "Data");
            const std::filesystem::path file = m_program / "Data" / c.file;
            test::make_unreadable(file, way);
            const CtlRun ran = c.command == "apply" ? apply() : run(c.command);
            EXPECT_EQ(1, ran.status);
            EXPECT_NE(std::string::npos,
                      ran.err.find(file.string() + ": " + test::unreadable_reason(way).message()))
                << ran.err;
            EXPECT_TRUE(test::left_as_made(file, way));
        }
    }
    EXPECT_TRUE(received().empty()) << "nothing is applied from a load that failed";
}

} // namespace
} // namespace zemrak
