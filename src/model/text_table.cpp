#include "model/text_table.h"

#include "platform/file_io.h"

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

namespace zemrak {

TextTable TextTable::load(const std::filesystem::path& lan_xml) {
    std::error_code ignored;
    return load(lan_xml, ignored);
}

TextTable TextTable::load(const std::filesystem::path& lan_xml, std::error_code& error) {
    TextTable table;
    // Read through our own file layer: pugixml's file loader takes a folder's size from
    // ftell() and then asks for an absurd buffer.
    std::vector<std::uint8_t> bytes;
    error = read_file(lan_xml, bytes);
    if (error) {
        if (file_missing(error)) {
            error.clear();
        }
        return table;
    }
    pugi::xml_document document;
    // A half-parsed document is dropped whole: showing some texts and silently losing the rest
    // would hide a broken file behind a partly labelled window.
    if (!document.load_buffer(bytes.data(), bytes.size())) {
        return table;
    }
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "Language") {
        return table;
    }
    for (const pugi::xml_node entry : root.children("Text")) {
        const std::string_view key = entry.attribute("key").as_string();
        if (key.empty()) {
            continue;
        }
        // emplace keeps the element already there, which gives "first wins".
        table.m_texts.emplace(key, entry.attribute("value").as_string());
    }
    return table;
}

void TextTable::overlay(const TextTable& other) {
    for (const auto& [key, value] : other.m_texts) {
        m_texts.insert_or_assign(key, value);
    }
}

std::string_view TextTable::text(std::string_view key) const {
    const auto found = m_texts.find(key);
    if (found == m_texts.end()) {
        return {};
    }
    return found->second;
}

} // namespace zemrak
