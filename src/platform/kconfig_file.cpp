#include "platform/kconfig_file.h"

#include "platform/file_io.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zemrak {
namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The name of the group a header line opens, or nothing for any other line. A header may
// carry options after the name ("[Mouse][$i]"); a nested group's header ("[A][B]") names a
// group of its own, which the whole bracketed text stands for here.
std::optional<std::string_view> header_name(std::string_view line) {
    const std::string_view text = trimmed(line);
    if (text.size() < 2 || text.front() != '[') {
        return std::nullopt;
    }
    std::string_view inside = text.substr(1);
    if (const std::size_t options = inside.find("][$"); options != std::string_view::npos) {
        inside = inside.substr(0, options + 1);
    }
    if (inside.empty() || inside.back() != ']') {
        return std::nullopt;
    }
    return inside.substr(0, inside.size() - 1);
}

// The key of an entry line as it names one of ours: the text before '=' without surrounding
// blanks and without options ("[$e]"). Nothing for comments, blank lines and keys with a
// language suffix, which are left alone.
std::optional<std::string_view> entry_key(std::string_view line) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#' || text.front() == '[') {
        return std::nullopt;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view key = trimmed(text.substr(0, equals));
    if (const std::size_t bracket = key.find('['); bracket != std::string_view::npos) {
        if (key.substr(bracket).rfind("[$", 0) != 0) {
            return std::nullopt;
        }
        key = key.substr(0, bracket);
    }
    return key;
}

std::string entry_line(const KConfigEntry& entry) {
    return entry.key + "=" + entry.value;
}

} // namespace

std::string set_kconfig_entries(std::string_view text, std::string_view group,
                                std::span<const KConfigEntry> entries) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        lines.emplace_back(text.substr(start, stop - start));
        start = stop + 1;
    }

    std::vector<bool> stored(entries.size(), false);
    bool in_group = false;
    bool in_first_section = false;
    // Where keys the group lacks go: after the last line of its first section that is not
    // blank, so that the blank line before the next group stays where it is.
    std::optional<std::size_t> insert_at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = header_name(lines[i])) {
            in_group = *name == group;
            in_first_section = in_group && !insert_at;
            if (in_first_section) {
                insert_at = i + 1;
            }
            continue;
        }
        if (!in_group) {
            continue;
        }
        if (in_first_section && !trimmed(lines[i]).empty()) {
            insert_at = i + 1;
        }
        const auto key = entry_key(lines[i]);
        for (std::size_t e = 0; key && e < entries.size(); ++e) {
            if (*key == entries[e].key) {
                lines[i] = entry_line(entries[e]);
                stored[e] = true;
            }
        }
    }

    std::vector<std::string> added;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (!stored[e]) {
            added.push_back(entry_line(entries[e]));
        }
    }
    if (!insert_at && !added.empty()) {
        // A new group, set off from the one before by a blank line as KDE writes them.
        while (!lines.empty() && trimmed(lines.back()).empty()) {
            lines.pop_back();
        }
        if (!lines.empty()) {
            lines.emplace_back();
        }
        lines.push_back("[" + std::string(group) + "]");
        insert_at = lines.size();
    }
    if (insert_at) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insert_at), added.begin(),
                     added.end());
    }

    std::string result;
    for (const std::string& line : lines) {
        result += line;
        result += '\n';
    }
    return result;
}

std::error_code update_kconfig_file(const std::filesystem::path& file, std::string_view group,
                                    std::span<const KConfigEntry> entries) {
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = read_file(file, bytes); error && !file_missing(error)) {
        return error;
    }
    const std::string text = set_kconfig_entries(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), group,
        entries);
    return write_file_atomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace zemrak
