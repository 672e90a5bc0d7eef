#include "commands.h"

#include "device/apply.h"
#include "device/device_presence.h"
#include "device/hid_library.h"
#include "device/report_plan.h"
#include "model/byte_io.h"
#include "model/device_params.h"
#include "model/profile_store.h"
#include "model/text_table.h"
#include "model/unicode.h"
#include "platform/pointer_settings_backend.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

namespace zemrak::ctl {
namespace {

constexpr const char* kSettingsFile = "Data.ini";
constexpr const char* kLanguageFile = "Language/lan.xml";

std::string hex4(std::uint32_t value) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04x", value);
    return text.data();
}

void report_startup(const Context& context, const StartupReport& report) {
    if (!report.damaged_copy.empty()) {
        context.err << "zemrakctl: profile.bin was incomplete; the original is kept as "
                    << report.damaged_copy.string() << '\n';
    }
    if (report.save_error) {
        context.err << "zemrakctl: could not save in " << context.folders.data.string() << ": "
                    << report.save_error.message() << '\n';
    }
}

// The program's start-up load: Data.ini, the language file's profile base name, the factory
// image, then Data.bin and profile.bin (created on a first start).
struct Startup {
    DeviceParams params;
    ProfileStore store;
    StartupReport report;
};

Startup start_up(const Context& context) {
    Startup s{read_device_params(context.folders.program / kSettingsFile),
              ProfileStore(context.folders),
              {}};
    const TextTable texts = TextTable::load(context.folders.program / kLanguageFile);
    s.store.load_factory_image(s.params.sensor);
    s.report = s.store.load_all(s.params.sensor, to_utf16(texts.text("profile_text")));
    report_startup(context, s.report);
    return s;
}

int list_profiles(const Context& context, std::span<const std::string>) {
    const Startup s = start_up(context);
    const ProfileList& profiles = s.store.profiles();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const bool current = static_cast<std::int32_t>(i) == profiles.current_index();
        context.out << (current ? '*' : ' ') << i << '\t' << to_utf8(profiles.at(i).name()) << '\n';
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

int print_reports(const Context& context, std::span<const std::string>) {
    const Startup s = start_up(context);
    const ConfigBlock* current = s.store.profiles().current();
    if (current == nullptr) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    for (const ReportStep& step : plan_reports(*current, s.params)) {
        context.out << "cmd " << to_hex(step.command) << '\n';
        if (step.data) {
            context.out << "data " << to_hex(*step.data) << '\n';
        }
    }
    return s.report.save_error ? kExitFailure : kExitOk;
}

int apply_profile(const Context& context, std::span<const std::string>) {
    Startup s = start_up(context);
    const std::filesystem::path library_file =
        hid_library_path(context.folders.libraries, std::getenv(kHidLibraryVariable));
    const auto library = HidLibrary::load(library_file);
    library->set_identity(s.params.vendor_id, s.params.product_id);
    library->open_monitor([](unsigned long) {});
    SleepingPause pause;
    DevicePresence presence(*library, pause, {});
    const DeviceState state = presence.start();

    const std::optional<ApplySnapshot> snapshot = take_apply_snapshot(s.store);
    if (!snapshot) {
        context.err << "zemrakctl: no current profile\n";
        return kExitFailure;
    }
    const auto pointer = make_pointer_settings_backend();
    const ApplyOutcome outcome = run_apply(*snapshot, s.store.profiles().last_applied(),
                                           {*library, pause, *pointer, s.params});

    int status = s.report.save_error ? kExitFailure : kExitOk;
    if (state != DeviceState::Connected) {
        context.err << "zemrakctl: the mouse " << hex4(s.params.vendor_id) << ':'
                    << hex4(s.params.product_id) << " is not connected";
        if (!library->usable()) {
            context.err << " (" << library->error() << ')';
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
        if (error) {
            context.err << "zemrakctl: could not save in " << context.folders.data.string() << ": "
                        << error.message() << '\n';
            status = kExitFailure;
        }
    }
    if (status == kExitOk) {
        context.out << "applied " << to_utf8(snapshot->profile.name()) << ": "
                    << outcome.reports.written << " reports written\n";
    }
    return status;
}

int print_device_params(const Context& context, std::span<const std::string>) {
    const DeviceParams params = read_device_params(context.folders.program / kSettingsFile);
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
    Command{"device-params", "", 0,
            "Print the device settings read from Data.ini: vid, pid, stages, sensor,\n"
            "sensitivity_template, colour_template, light_timing and password (hex).",
            &print_device_params},
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
