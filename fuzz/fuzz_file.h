#pragma once
// The input of one fuzz run as a file, for the loaders that read their file by name: a file in
// memory (memfd), named through /proc/self/fd, so that runs cost no disk.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace zemrak::fuzz {

class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    [[nodiscard]] std::filesystem::path path() const;

private:
    int m_fd = -1;
};

// A fresh, empty folder for files a loader writes (libraries save what they import).
[[nodiscard]] std::filesystem::path scratch_folder();

} // namespace zemrak::fuzz
