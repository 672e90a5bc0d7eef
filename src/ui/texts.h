#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

class QWidget;

namespace zemrak {
class TextTable;
}

namespace zemrak::ui {

// The language texts of the running program, loaded once at start-up from
// Language/lan.xml. Like the toolkit's resource manager they are process-wide: every window
// and dialog looks its texts up here.
class Texts {
public:
    // Replaces the loaded texts; a missing or broken file leaves every text empty.
    static void load(const std::filesystem::path& lan_xml);
    // Replaces the loaded texts with a table the program has already read.
    static void use(const TextTable& table);
    // The text of a key; empty when the file lacks it.
    [[nodiscard]] static QString text(std::string_view key);
    [[nodiscard]] static QString text(const QString& key);
    [[nodiscard]] static QString text(const char* key) { return text(std::string_view(key)); }
    // The loaded texts themselves, for the core's rules that compose texts.
    [[nodiscard]] static const TextTable& table();
    // Gives every widget under `root` that carries the dynamic property "textkey" the text of
    // that key (labels, buttons, window titles), and "tipkey" its tool tip.
    static void apply(QWidget* root);
};

} // namespace zemrak::ui
