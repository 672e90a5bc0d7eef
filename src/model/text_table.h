#pragma once
// The language texts: every text the user sees is looked up by key in Language/lan.xml.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <system_error>

namespace zemrak {

// Texts by key, read once from a language file. The file is UTF-8 XML with the root element
// <Language> and one <Text key="..." value="..."/> element per key; other tools read and write
// the same file, so that format is fixed.
class TextTable {
public:
    TextTable() = default;

    // Reads the language file. Nothing fails: a file that is missing, unreadable, not well-formed
    // XML or whose root is not <Language> gives an empty table. <Text> elements without a key
    // are skipped; one without a value holds an empty text. When a key appears more than once the
    // first element wins.
    [[nodiscard]] static TextTable load(const std::filesystem::path& lan_xml);
    // The same; `error` says why a file that exists was not read (empty for a missing one).
    [[nodiscard]] static TextTable load(const std::filesystem::path& lan_xml,
                                        std::error_code& error);

    // The UTF-8 text of the key (matched exactly, letter case included), or an empty view when
    // the table has no such key. The view stays valid as long as the table does.
    [[nodiscard]] std::string_view text(std::string_view key) const;

    // Takes every text of `other`, replacing the text of the same key here; keys that only
    // this table has keep their text. A translation laid over the English texts this way
    // leaves English wherever it lacks a key.
    void overlay(const TextTable& other);

    // Number of distinct keys.
    [[nodiscard]] std::size_t size() const { return m_texts.size(); }

private:
    // std::less<> lets lookups take a string_view without building a std::string.
    std::map<std::string, std::string, std::less<>> m_texts;
};

} // namespace zemrak
