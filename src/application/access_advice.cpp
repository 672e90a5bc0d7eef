#include "application/access_advice.h"

#include "platform/folders.h"

namespace zemrak {
namespace {

constexpr std::string_view kEnglishLead =
    "This user may not write to the mouse (%1: %2). Install the udev rule that comes with the "
    "program, then unplug the mouse and plug it in again:";

// 'text', with each ' written as '\'' so that any path stays one word.
[[nodiscard]] std::string shell_quoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
    }
    quoted += '\'';
    return quoted;
}

void replace_all(std::string& text, std::string_view placeholder, std::string_view value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

} // namespace

std::vector<std::string> udev_rule_commands(const std::filesystem::path& program_folder) {
    const std::filesystem::path rule = program_folder / kUdevRuleFileName;
    return {"sudo cp " + shell_quoted(rule.string()) + " /etc/udev/rules.d/",
            "sudo udevadm control --reload", "sudo udevadm trigger"};
}

std::string access_advice(std::string_view lead, const HidNodeAccess& denied,
                          const std::filesystem::path& program_folder) {
    std::string advice(lead.empty() ? kEnglishLead : lead);
    // The reason first: a node path cannot hold "%2", but nothing is lost if it did.
    replace_all(advice, "%2", denied.error.message());
    replace_all(advice, "%1", denied.node.string());
    for (const std::string& command : udev_rule_commands(program_folder)) {
        advice += "\n    " + command;
    }
    return advice;
}

} // namespace zemrak
