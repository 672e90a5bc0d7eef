#include "platform/folders.h"
#include "test_support/temp_dir.h"

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

TEST(DataFolder, ExplicitProgramFolderKeepsDataBesideIt) {
    const Folders folders = folders_in("/opt/zm");
    EXPECT_EQ(std::filesystem::path("/opt/zm"), folders.program);
    EXPECT_EQ(std::filesystem::path("/opt/zm/Data"), folders.data);
}

} // namespace
} // namespace zemrak
