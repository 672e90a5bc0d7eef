#pragma once
// Bad data files of every kind the program reads, for tests that start it on them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zemrak::test {

// A file the program reads, where it lies in the program folder and what refuses it.
struct DataFileKind {
    const char* path;        // relative to the program folder
    const char* command;     // the zemrakctl command that loads it
    std::uint64_t limit = 0; // the most bytes the program reads of it; 0: it reads a prefix
    std::size_t record = 0;  // the size of one record of a binary file; 0 for text
};

enum class Malformed { empty, truncated, random, oversized, folder, pipe, link_loop };

[[nodiscard]] std::vector<DataFileKind> data_file_kinds();
[[nodiscard]] std::vector<Malformed> malformed_ways();
[[nodiscard]] std::string describe(Malformed way);

// Puts a bad `file` of `kind` in place, made `way`; an oversized file is sparse.
void make_malformed(const std::filesystem::path& file, const DataFileKind& kind, Malformed way);
// True when the program must refuse the file, and so name it to the user.
[[nodiscard]] bool refused(const DataFileKind& kind, Malformed way);

// What a test compares of a file before and after the program ran.
struct FileImage {
    std::filesystem::file_type type = std::filesystem::file_type::not_found;
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes; // of a regular file up to 1 MiB
    friend bool operator==(const FileImage&, const FileImage&) = default;
};
[[nodiscard]] FileImage image_of(const std::filesystem::path& file);

// True when what the user had in `file` (`before`) survived: the file is as it was, held
// nothing, or a copy beside it ("<name>.damaged...") holds what it held.
[[nodiscard]] bool original_kept(const std::filesystem::path& file, const FileImage& before);

} // namespace zemrak::test
