#include "platform/file_io.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"

#include <array>
#include <cstdint>
#include <iterator>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::Unreadable;

TEST(AtomicWrite, NeverRenamesOverAFileThatExistsButCannotBeRead) {
    const std::array<std::uint8_t, 3> bytes{1, 2, 3};
    for (const Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        const test::TempDir dir;
        const std::filesystem::path file = dir / "profile.bin";
        test::make_unreadable(file, way);
        EXPECT_EQ(test::unreadable_reason(way), write_file_atomically(file, bytes));
        EXPECT_TRUE(test::left_as_made(file, way));
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()),
                                   std::filesystem::directory_iterator()))
            << "no temporary file is left behind";
    }
}

} // namespace
} // namespace zemrak
