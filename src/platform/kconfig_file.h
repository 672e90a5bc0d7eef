#pragma once
// Changes to the configuration files of KDE programs (kdeglobals, kcminputrc, ...) that keep
// everything else in them as it was.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace zemrak {

// One value to store under a key. Both are written as given: they must be plain text that the
// KDE file format needs no escapes for (letters, digits, '.', '-'), as numbers and true/false
// are.
struct KConfigEntry {
    std::string key;
    std::string value;

    friend bool operator==(const KConfigEntry&, const KConfigEntry&) = default;
};

// `text` (the content of such a file) with every entry of `entries` stored in the top-level
// group `group`: a line "key=value" of that group with the same key (compared with letter
// case, as KDE does; a key with options such as "key[$e]" counts, one with a language suffix
// such as "key[de]" does not) is replaced in place, in every section of that name; a key
// the group lacks is added after the group's last entry of its first section; a missing
// group is added at the end. Every other line, comments and blank lines included, stays as it
// was. The result ends in a line break.
[[nodiscard]] std::string set_kconfig_entries(std::string_view text, std::string_view group,
                                              std::span<const KConfigEntry> entries);

// Stores `entries` in `group` of `file` as above and writes the file atomically (see
// write_file_atomically); a missing file, or missing folders, are created. A file that exists
// but cannot be read is left alone. Returns the first error.
[[nodiscard]] std::error_code update_kconfig_file(const std::filesystem::path& file,
                                                  std::string_view group,
                                                  std::span<const KConfigEntry> entries);

} // namespace zemrak
