#include "test_support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_text;

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs zemrakctl with the given arguments (already shell-quoted where needed).
CtlRun zemrakctl(const TempDir& scratch, const std::string& args,
                 const std::string& environment = "") {
    const std::filesystem::path out = scratch / "stdout";
    const std::filesystem::path err = scratch / "stderr";
    const std::string command = environment + " '" + ZEMRAKCTL_PATH + "' " + args + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
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
    std::vector<std::string> received() const {
        std::vector<std::string> lines;
        for (const std::string& line : lines_of(slurp(log_file()))) {
            lines.push_back(line.substr(line.find(' ') + 1));
        }
        return lines;
    }
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

TEST_F(ZemrakctlTest, HelpDescribesEveryCommand) {
    const CtlRun help = zemrakctl(m_scratch, "--help");
    EXPECT_EQ(0, help.status);
    for (const char* word : {"--program-folder", "profiles", "device-params", "reports", "apply"}) {
        EXPECT_NE(std::string::npos, help.out.find(word)) << word;
    }
}

} // namespace
} // namespace zemrak
