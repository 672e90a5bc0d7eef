#include "commands.h"

#include "application/access_advice.h"
#include "application/app_data.h"
#include "application/device_link.h"
#include "button_commands.h"
#include "command_line.h"
#include "device/report_plan.h"
#include "library_commands.h"
#include "model/byte_io.h"
#include "model/unicode.h"
#include "platform/pointer_settings_backend.h"
#include "printable.h"
#include "startup.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace zemrak::ctl {
namespace {

std::string hex4(std::uint32_t value) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04x", value);
    return text.data();
}

int list_profiles(const Context& context, std::span<const std::string>) {
    const Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const ProfileList& profiles = s.data.profiles();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const bool current = static_cast<std::int32_t>(i) == profiles.current_index();
        context.out << (current ? '*' : ' ') << i << '\t' << printable(profiles.at(i).name())
                    << '\n';
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

int print_reports(const Context& context, std::span<const std::string>) {
    const Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const ConfigBlock* current = s.data.profiles().current();
    if (current == nullptr) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    for (const ReportStep& step : plan_reports(*current, s.data.params())) {
        context.out << "cmd " << to_hex(step.command) << '\n';
        if (step.data) {
            context.out << "data " << to_hex(*step.data) << '\n';
        }
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

int apply_profile(const Context& context, std::span<const std::string>) {
    Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const std::optional<ApplySnapshot> snapshot = take_apply_snapshot(s.data.store());
    if (!snapshot) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    const DeviceParams& params = s.data.params();
    SleepingPause pause;
    const auto pointer = make_pointer_settings_backend();
    SysfsHidNodeProbe nodes;
    ApplyOutcome outcome;
    DeviceState state = DeviceState::NotConnected;
    std::string library_error;
    std::optional<HidNodeAccess> denied;
    // The link writes profile.bin on its own thread, which takes the folder itself; apply
    // changes no profile, so it need not hold the folder from its load on.
    s.hold.unlock();
    {
        DeviceLink link(s.data.store(), {params, pause, *pointer, nodes},
                        {{}, [&outcome](const ApplyOutcome& o) { outcome = o; }, {}});
        const char* forced = std::getenv(kHidLibraryVariable);
        state = link.open({forced != nullptr ? forced : "", context.folders.libraries});
        library_error = link.library_error();
        denied = link.access_denied();
        static_cast<void>(link.request_apply()); // a current profile was checked above
    }                                            // the link finishes the apply before it goes

    int status = s.report.save_error ? kExitFailure : kExitOk;
    if (denied) {
        context.err << "zemrakctl: "
                    << access_advice(s.data.texts().text("no_write_access_text"), *denied,
                                     context.folders.program)
                    << '\n';
        status = kExitFailure;
    } else if (state != DeviceState::Connected) {
        context.err << "zemrakctl: the mouse " << hex4(params.vendor_id) << ':'
                    << hex4(params.product_id) << " is not connected";
        if (!library_error.empty()) {
            context.err << " (" << library_error << ')';
        }
        context.err << "; nothing was written to it\n";
        status = kExitFailure;
    } else if (!outcome.reports.ok()) {
        const std::size_t lost = outcome.reports.failed + outcome.reports.skipped;
        context.err << "zemrakctl: " << lost << " of " << lost + outcome.reports.written
                    << " reports were not written to the mouse\n";
        status = kExitFailure;
    }
    for (const std::error_code& error : {outcome.index_error, outcome.profiles_error}) {
        // Another program saved profile.bin after the load: what it wrote stays, and this
        // apply changed no profile that it would have lost.
        if (error && error != make_error_code(FileError::changed_outside)) {
            context.err << "zemrakctl: could not save in " << printable_path(context.folders.data)
                        << ": " << error.message() << '\n';
            status = kExitFailure;
        }
    }
    if (status == kExitOk) {
        context.out << "applied " << printable(snapshot->profile.name()) << ": "
                    << outcome.reports.written << " reports written\n";
    }
    return status;
}

int print_device_params(const Context& context, std::span<const std::string>) {
    AppData data(context.folders);
    data.load_settings();
    for (const FileProblem& problem : data.settings_problems()) {
        context.err << "zemrakctl: " << printable_path(problem.file) << ": "
                    << problem.error.message() << '\n';
    }
    const DeviceParams& params = data.params();
    std::span<const std::uint8_t> password;
    if (params.password) {
        password = *params.password;
    }
    context.out << "vid " << hex4(params.vendor_id) << '\n'
                << "pid " << hex4(params.product_id) << '\n'
                << "stages " << params.stage_rows << '\n'
                << "sensor " << params.sensor << '\n'
                << "sensitivity_template " << to_hex(params.sensitivity_template) << '\n'
                << "colour_template " << to_hex(params.colour_template) << '\n'
                << "light_timing " << to_hex(params.light_timing) << '\n'
                << "password " << to_hex(password) << '\n';
    return kExitOk;
}

int export_profile(const Context& context, std::span<const std::string> operands) {
    const std::optional<std::size_t> index = parse_index(operands[0]);
    if (!index) {
        context.err << "zemrakctl: export-profile: '" << printable(std::string_view(operands[0]))
                    << "' is not a profile index (see 'zemrakctl profiles')\n";
        return kExitUsage;
    }
    const Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const ProfileList& profiles = s.data.profiles();
    if (*index >= profiles.size()) {
        context.err << "zemrakctl: export-profile: there is no profile " << *index << " (0 to "
                    << profiles.size() - 1 << ")\n";
        return kExitUsage;
    }
    const std::filesystem::path file = operands[1];
    if (const std::error_code error = s.data.export_profile(*index, file)) {
        context.err << "zemrakctl: could not write " << printable_path(file) << ": "
                    << error.message() << '\n';
        return kExitFailure;
    }
    context.out << "exported " << printable(profiles.at(*index).name()) << " to "
                << printable_path(file) << '\n';
    return s.report.save_error ? kExitFailure : kExitOk;
}

int import_profile(const Context& context, std::span<const std::string> operands) {
    const std::filesystem::path file = operands[0];
    Startup s(context);
    if (s.unreadable()) {
        return kExitFailure;
    }
    const ProfileImport imported = s.data.import_profile(file);
    if (!imported.added) {
        context.err << "zemrakctl: cannot import " << printable_path(file) << ": "
                    << imported.error.message() << '\n';
        return kExitFailure;
    }
    if (imported.error) {
        context.err << "zemrakctl: could not save in " << printable_path(context.folders.data)
                    << ": " << imported.error.message() << '\n';
        return kExitFailure;
    }
    context.out << "imported " << printable(imported.name) << " as profile " << imported.index
                << '\n';
    return s.report.save_error ? kExitFailure : kExitOk;
}

constexpr std::array kCommands = {
    Command{"profiles", "", 0,
            "Load the profiles as the program does at start-up (creating the data files\n"
            "of a first start) and list them: '*' marks the current profile, then the\n"
            "0-based index, a tab and the name.",
            &list_profiles},
    Command{"reports", "", 0,
            "Load the profiles as at start-up and print every report that one apply of\n"
            "the current profile writes, in order: 'cmd HEX' for 8-byte command reports,\n"
            "'data HEX' for 65-byte data reports. Touches no device.",
            &print_reports},
    Command{"apply", "", 0,
            "Load the profiles as at start-up, open the mouse through the HID library\n"
            "(the program folder's libzemrak-hid.so, or $ZEMRAK_HID_LIBRARY) and apply the\n"
            "current profile: pointer settings, every report, then Data.bin and\n"
            "profile.bin. Exit status 1 when the mouse is absent or a write failed.",
            &apply_profile},
    Command{"buttons", "", 0,
            "Load the profiles as at start-up and list the 32 button records of the current\n"
            "profile as the button page numbers them (1-16 office mode, 17-32 game mode),\n"
            "one a line: number, a tab, the function's menu item name (shortcut,\n"
            "select_macro and select_gun for those; the code for one no menu offers), a tab\n"
            "and the label the button page shows.",
            &list_buttons},
    Command{"set-button", "INDEX FUNCTION", 2,
            "Give button record INDEX (1-32, as 'buttons' numbers them) of the current\n"
            "profile the function named FUNCTION (a menu item name as 'buttons' lists\n"
            "them, such as forward or volume_up) and save profile.bin. Record 1 keeps its\n"
            "click, and each mode keeps a button that clicks or fires: a change against\n"
            "that is refused (exit status 1). Shortcuts, macros and recoil patterns are\n"
            "chosen in the program.",
            &set_button},
    Command{"device-params", "", 0,
            "Print the device settings read from Data.ini: vid, pid, stages, sensor,\n"
            "sensitivity_template, colour_template, light_timing and password (hex).",
            &print_device_params},
    Command{"macros", "", 0,
            "Load the macro library (Data/macro.bin) as at start-up and list it in library\n"
            "order, one record a line, tab-separated: position, F for a folder entry or I\n"
            "for a macro, folder name, macro name, action count, loop count, locked (0/1).",
            &list_macros},
    Command{"import-macros", "FILE", 1,
            "Add the macros of FILE to the macro library and save it: a .mbins file as a\n"
            "new folder named after the file, a .mbin file (one macro) as a new folder\n"
            "named as the macro's own. A taken folder name gets _1, _2, ... A file that\n"
            "is not a whole number of macros is refused (exit status 1).",
            &import_macros},
    Command{"export-macros", "POSITION FILE", 2,
            "Write the record at POSITION (as 'macros' lists it) to FILE: a folder entry\n"
            "writes the whole folder (.mbins), a macro writes that macro (.mbin).",
            &export_macros},
    Command{"export-macro", "POSITION FILE [--locked]", 2,
            "Write the macro at POSITION (as 'macros' lists it) to FILE as an .mbin file,\n"
            "as the macro page's export does; with --locked the written copy is marked\n"
            "locked (it can be assigned, but its actions are not shown).",
            &export_macro, 1},
    Command{"import-macro", "FILE [FOLDER]", 1,
            "Add the macro held in the .mbin file FILE to the macro library and save it,\n"
            "as the macro page's import does: into the existing FOLDER under the file's\n"
            "base name (a taken name gets _1, _2, ...), or without FOLDER into a new\n"
            "folder named as the macro's own. A file that is not exactly one macro is\n"
            "refused (exit status 1) and nothing changes.",
            &import_macro, 1},
    Command{"export-macro-folder", "FOLDER FILE [--locked]", 2,
            "Write every record of the macro folder FOLDER (its entry and its macros, in\n"
            "library order) to FILE as an .mbins file; with --locked every written macro\n"
            "is marked locked.",
            &export_macro_folder, 1},
    Command{"import-macro-folder", "FILE", 1,
            "Add the macros of the .mbins file FILE to the macro library as a new folder\n"
            "named after the file's base name (a taken name gets _1, _2, ...) and save it.\n"
            "A file that is not a whole number of macros is refused (exit status 1) and\n"
            "nothing changes.",
            &import_macro_folder},
    Command{"recoils", "", 0,
            "Load the recoil library (Data/gun.bin) as at start-up and list it in library\n"
            "order, one record a line, tab-separated: position, F for a folder entry or I\n"
            "for a pattern, folder name, pattern name, bullet count, second parameter\n"
            "byte, locked (0/1).",
            &list_recoils},
    Command{"import-recoils", "FILE", 1,
            "Add the recoil patterns of FILE to the recoil library and save it, as\n"
            "import-macros does for .gbins and .gbin files.",
            &import_recoils},
    Command{"export-recoils", "POSITION FILE", 2,
            "Write the record at POSITION (as 'recoils' lists it) to FILE: a folder entry\n"
            "writes the whole folder (.gbins), a pattern writes that pattern (.gbin).",
            &export_recoils},
    Command{"export-recoil", "POSITION FILE [--locked]", 2,
            "Write the recoil pattern at POSITION (as 'recoils' lists it; not a folder\n"
            "entry) to FILE as a .gbin file of one record. With --locked the written record\n"
            "is marked locked: it can be assigned to a button but not shown or edited.\n"
            "The library keeps its own flag.",
            &export_recoil, 1},
    Command{"import-recoil", "FILE [FOLDER]", 1,
            "Add the recoil pattern held in the .gbin file FILE and save the library:\n"
            "into FOLDER (which must exist) named after the file, or without FOLDER into\n"
            "a new folder named as the pattern's own. A taken name gets _1, _2, ...,\n"
            "shortened to fit 49 characters. A file that is not exactly one pattern\n"
            "is refused and nothing changes (exit status 1).",
            &import_recoil, 1},
    Command{"export-recoil-folder", "FOLDER FILE [--locked]", 2,
            "Write every record of the recoil folder FOLDER (the folder entry and its\n"
            "patterns, in library order) to FILE as a .gbins file; --locked marks every\n"
            "written record locked.",
            &export_recoil_folder, 1},
    Command{"import-recoil-folder", "FILE", 1,
            "Add the records of the .gbins file FILE as a new recoil folder named after\n"
            "the file (a taken name gets _1, _2, ...) and save the library. A file that is\n"
            "not a whole number of patterns is refused and nothing changes (exit status 1).",
            &import_recoil_folder},
    Command{"export-profile", "INDEX FILE", 2,
            "Load the profiles as at start-up and write profile INDEX (0-based, as\n"
            "'profiles' lists it) to FILE as a .pbin file of one profile.",
            &export_profile},
    Command{"import-profile", "FILE", 1,
            "Add the profile held in the .pbin file FILE to the profiles and save\n"
            "profile.bin. A name that is already taken (ignoring case) gets _1, _2, ...\n"
            "A file that does not hold exactly one profile is refused (exit status 1).",
            &import_profile},
};

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

const Command* find_command(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace zemrak::ctl
