#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zemrak::test {

// A fresh directory under the system's temporary folder, removed with everything in it when
// the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return m_path / name;
    }

private:
    std::filesystem::path m_path;
};

void write_bytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
void write_text(const std::filesystem::path& file, const std::string& text);
[[nodiscard]] std::vector<std::uint8_t> read_bytes(const std::filesystem::path& file);
// The whole file as text; empty when it cannot be read.
[[nodiscard]] std::string read_text(const std::filesystem::path& file);

} // namespace zemrak::test
