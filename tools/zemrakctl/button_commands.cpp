#include "button_commands.h"

#include "command_line.h"
#include "model/button_assignment.h"
#include "model/button_functions.h"
#include "model/button_label.h"
#include "model/unicode.h"
#include "printable.h"
#include "startup.h"

#include <optional>
#include <string>

namespace zemrak::ctl {
namespace {

// The menu item that assigns the record's function, or its code for one no menu offers.
std::string item_of(std::uint8_t code) {
    const ButtonFunction* function = find_button_function(code);
    if (function == nullptr || function->item.empty()) {
        return std::to_string(code);
    }
    return std::string(function->item);
}

void print_record(const Context& context, const Startup& s, const ConfigBlock& profile,
                  std::size_t record) {
    const ButtonRecord& button = profile.button(record);
    context.out << record + 1 << '\t' << item_of(button.function_code()) << '\t'
                << printable(button_label(button, s.data.texts())) << '\n';
}

} // namespace

int list_buttons(const Context& context, std::span<const std::string>) {
    const Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const ConfigBlock* profile = s.data.profiles().current();
    if (profile == nullptr) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    for (std::size_t record = 0; record < ConfigBlock::kButtonCount; ++record) {
        print_record(context, s, *profile, record);
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

int set_button(const Context& context, std::span<const std::string> operands) {
    const std::optional<std::size_t> number = parse_index(operands[0]);
    if (!number || *number < 1 || *number > ConfigBlock::kButtonCount) {
        context.err << "zemrakctl: set-button: '" << printable(std::string_view(operands[0]))
                    << "' is not a button record (1 to 32, see 'zemrakctl buttons')\n";
        return kExitUsage;
    }
    // A name the table lacks would be a click in the program's menu; here it is a typing
    // mistake.
    const std::string& name = operands[1];
    const std::uint8_t code = function_code_of(name);
    const ButtonFunction* function = find_button_function(code);
    if (!equal_ignoring_ascii_case(function->item, name)) {
        context.err << "zemrakctl: set-button: '" << printable(std::string_view(name))
                    << "' is no button function (see 'zemrakctl buttons')\n";
        return kExitUsage;
    }
    if (function->composed) {
        context.err << "zemrakctl: set-button: " << function->item
                    << " needs a choice made in the program's button page\n";
        return kExitUsage;
    }

    Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    ConfigBlock* profile = s.data.profiles().current();
    if (profile == nullptr) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    const std::size_t record = *number - 1;
    const AssignmentRefusal refusal = check_assignment(*profile, record, code);
    if (refusal != AssignmentRefusal::none) {
        context.err << "zemrakctl: " << s.data.texts().text(refusal_text_key(refusal)) << '\n';
        return kExitFailure;
    }
    const std::size_t twin = store_function(*profile, record, code);
    if (const std::error_code error = s.data.store().save_profiles()) {
        context.err << "zemrakctl: could not save in " << printable_path(context.folders.data)
                    << ": " << error.message() << '\n';
        return kExitFailure;
    }
    print_record(context, s, *profile, record);
    if (twin != record) {
        print_record(context, s, *profile, twin);
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

} // namespace zemrak::ctl
