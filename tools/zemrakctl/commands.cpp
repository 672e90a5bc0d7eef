#include "commands.h"

#include "model/device_params.h"
#include "model/profile_store.h"
#include "model/text_table.h"
#include "model/unicode.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace zemrak::ctl {
namespace {

constexpr const char* kSettingsFile = "Data.ini";
constexpr const char* kLanguageFile = "Language/lan.xml";

std::string hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

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

int list_profiles(const Context& context, std::span<const std::string>) {
    const DeviceParams params = read_device_params(context.folders.program / kSettingsFile);
    const TextTable texts = TextTable::load(context.folders.program / kLanguageFile);
    ProfileStore store(context.folders);
    store.load_factory_image(params.sensor);
    const StartupReport report =
        store.load_all(params.sensor, to_utf16(texts.text("profile_text")));
    report_startup(context, report);

    const ProfileList& profiles = store.profiles();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const bool current = static_cast<std::int32_t>(i) == profiles.current_index();
        context.out << (current ? '*' : ' ') << i << '\t' << to_utf8(profiles.at(i).name()) << '\n';
    }
    return report.save_error ? kExitFailure : kExitOk;
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
                << "sensitivity_template " << hex(params.sensitivity_template) << '\n'
                << "colour_template " << hex(params.colour_template) << '\n'
                << "light_timing " << hex(params.light_timing) << '\n'
                << "password " << hex(password) << '\n';
    return kExitOk;
}

constexpr std::array kCommands = {
    Command{"profiles", "", 0,
            "Load the profiles as the program does at start-up (creating the data files\n"
            "of a first start) and list them: '*' marks the current profile, then the\n"
            "0-based index, a tab and the name.",
            &list_profiles},
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
