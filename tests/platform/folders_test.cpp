#include "platform/folders.h"
#include "test_support/temp_dir.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

TEST(ProgramFolder, PortableFolderWinsOverAnInstalledLayout) {
    TempDir dir;
    write_text(dir / "bin" / "Data.ini", "");
    write_text(dir / "share" / "zemrak-mouse" / "Data.ini", "");
    EXPECT_EQ(dir / "bin", find_program_folder(dir / "bin"));
}

TEST(ProgramFolder, InstalledProgramFindsItsShareFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir / "bin");
    write_text(dir / "share" / "zemrak-mouse" / "Data.ini", "");
    EXPECT_EQ(dir / "share" / "zemrak-mouse", find_program_folder(dir / "bin"));
    TempDir bare;
    EXPECT_EQ(bare.path(), find_program_folder(bare.path())) << "nothing found: the exe folder";
}

TEST(DataFolder, BesideTheProgramWhenWritable) {
    TempDir dir;
    const XdgEnvironment xdg{"/xdg", "/home/u"};
    EXPECT_EQ(dir / "Data", choose_data_folder(dir.path(), xdg)) << "Data does not exist yet";
    std::filesystem::create_directory(dir / "Data");
    EXPECT_EQ(dir / "Data", choose_data_folder(dir.path(), xdg));
}

TEST(DataFolder, PerUserFolderWhenTheProgramFolderCannotHoldIt) {
    TempDir dir;
    write_text(dir / "file", "");
    // A program folder below a plain file can never be written.
    const std::filesystem::path program = dir / "file" / "program";
    EXPECT_EQ(std::filesystem::path("/xdg/zemrak-mouse/Data"),
              choose_data_folder(program, {"/xdg", "/home/u"}));
    EXPECT_EQ(std::filesystem::path("/home/u/.local/share/zemrak-mouse/Data"),
              choose_data_folder(program, {"", "/home/u"}));
    EXPECT_EQ(std::filesystem::path("/home/u/.local/share/zemrak-mouse/Data"),
              choose_data_folder(program, {"relative/path", "/home/u"}))
        << "a relative XDG_DATA_HOME is ignored";

    write_text(dir / "Data", "");
    EXPECT_EQ(std::filesystem::path("/xdg/zemrak-mouse/Data"),
              choose_data_folder(dir.path(), {"/xdg", "/home/u"}))
        << "a file named Data blocks the folder";
}

// A folder the user cannot write may still hold the data: moving to an empty folder elsewhere
// would look as if it were gone.
TEST(DataFolder, AFolderThatHoldsTheDataIsKeptWhenItCannotBeWritten) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any folder";
    }
    namespace fs = std::filesystem;
    TempDir dir;
    const XdgEnvironment xdg{"/xdg", "/home/u"};
    const fs::path data = dir / "Data";
    fs::create_directory(data);
    const auto read_only = fs::perms::owner_read | fs::perms::owner_exec;
    fs::permissions(data, read_only);
    EXPECT_EQ(fs::path("/xdg/zemrak-mouse/Data"), choose_data_folder(dir.path(), xdg))
        << "an empty folder holds nothing to keep";
    EXPECT_EQ(std::make_error_code(std::errc::permission_denied), folder_write_error(data));

    for (const char* name : {"Data.bin", "profile.bin", "macro.bin", "gun.bin"}) {
        SCOPED_TRACE(name);
        fs::permissions(data, fs::perms::owner_all);
        write_text(data / name, "");
        fs::permissions(data, read_only);
        EXPECT_EQ(data, choose_data_folder(dir.path(), xdg));
        fs::permissions(data, fs::perms::owner_all);
        fs::remove(data / name);
    }
    EXPECT_FALSE(folder_write_error(data));
    EXPECT_FALSE(folder_write_error(dir / "none")) << "a folder not made yet";
}

TEST(DataFolder, ExplicitProgramFolderKeepsDataBesideIt) {
    const Folders folders = folders_in("/opt/zm");
    EXPECT_EQ(std::filesystem::path("/opt/zm"), folders.program);
    EXPECT_EQ(std::filesystem::path("/opt/zm/Data"), folders.data);
}

} // namespace
} // namespace zemrak
