#include "model/button_assignment.h"

#include "model/button_functions.h"
#include "model/config_block.h"

#include <algorithm>
#include <array>

namespace zemrak {
namespace {

constexpr std::size_t kFixedRecord = 0;
// The office records past this one (the wheel's up and down) do not keep a mode usable.
constexpr std::size_t kOfficeRecordsThatClick = 14;

[[nodiscard]] bool is_office(std::size_t record) {
    return record < ConfigBlock::kButtonsPerMode;
}

[[nodiscard]] bool clicks(std::uint8_t code) {
    return code == kClickFunction || code == kSendGunFunction;
}

// Whether the mode of `first` (0 or 16) still has a button that clicks or fires when the
// codes are those of `codes`.
[[nodiscard]] bool
mode_keeps_click(const std::array<std::uint8_t, ConfigBlock::kButtonCount>& codes,
                 std::size_t first) {
    const std::size_t count = first == 0 ? kOfficeRecordsThatClick : ConfigBlock::kButtonsPerMode;
    const auto begin = codes.begin() + static_cast<std::ptrdiff_t>(first);
    return std::any_of(begin, begin + static_cast<std::ptrdiff_t>(count), clicks);
}

[[nodiscard]] std::size_t twin_of(std::size_t record) {
    return record + ConfigBlock::kButtonsPerMode;
}

void set_code(ButtonRecord& button, std::uint8_t code) {
    button.set_function_code(code);
    settle_references(button);
}

} // namespace

bool button_is_fixed(std::size_t record) {
    return record == kFixedRecord;
}

AssignmentRefusal check_assignment(const ConfigBlock& profile, std::size_t record,
                                   std::uint8_t code) {
    if (button_is_fixed(record)) {
        return AssignmentRefusal::fixed_button;
    }
    std::array<std::uint8_t, ConfigBlock::kButtonCount> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        codes.at(i) = profile.button(i).function_code();
    }
    codes.at(record) = code;
    const bool office = is_office(record);
    if (!mode_keeps_click(codes, office ? 0 : ConfigBlock::kButtonsPerMode)) {
        return AssignmentRefusal::no_left_click;
    }
    if (office && code == kModeSwitchFunction) {
        codes.at(twin_of(record)) = code;
        if (!mode_keeps_click(codes, ConfigBlock::kButtonsPerMode)) {
            return AssignmentRefusal::no_left_click;
        }
    }
    return AssignmentRefusal::none;
}

std::string_view refusal_text_key(AssignmentRefusal refusal) {
    switch (refusal) {
    case AssignmentRefusal::fixed_button:
        return "no_custom_text";
    case AssignmentRefusal::no_left_click:
        return "one_left_click_text";
    case AssignmentRefusal::none:
        break;
    }
    return {};
}

void settle_references(ButtonRecord& button) {
    if (button.function_code() != kMacroFunction) {
        button.set_macro_index(-1);
    }
    if (button.function_code() != kRecoilFunction) {
        button.set_recoil_index(-1);
    }
}

std::size_t store_function(ConfigBlock& profile, std::size_t record, std::uint8_t code) {
    set_code(profile.button(record), code);
    if (code == kModeSwitchFunction && is_office(record)) {
        set_code(profile.button(twin_of(record)), code);
        return twin_of(record);
    }
    return record;
}

std::size_t count_function(const ConfigBlock& profile, std::uint8_t code) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < ConfigBlock::kButtonCount; ++i) {
        if (profile.button(i).function_code() == code) {
            ++count;
        }
    }
    return count;
}

void prepare_shortcut(ConfigBlock& profile, std::size_t record) {
    ButtonRecord& button = profile.button(record);
    if (button.function_code() != kShortcutFunction) {
        button.set_shortcut_modifiers(0);
        button.set_shortcut_key(0);
    }
}

void assign_shortcut(ConfigBlock& profile, std::size_t record, std::uint8_t modifiers,
                     std::uint8_t key) {
    ButtonRecord& button = profile.button(record);
    button.set_shortcut_modifiers(modifiers);
    button.set_shortcut_key(key);
    set_code(button, kShortcutFunction);
}

bool prepare_macro(ConfigBlock& profile, std::size_t record) {
    ButtonRecord& button = profile.button(record);
    if (button.function_code() == kMacroFunction) {
        return true;
    }
    button.set_macro_index(-1);
    button.set_repeat_mode(0);
    return count_function(profile, kMacroFunction) < kMaxMacroButtons;
}

bool prepare_recoil(ConfigBlock& profile, std::size_t record) {
    ButtonRecord& button = profile.button(record);
    if (button.function_code() == kRecoilFunction) {
        return true;
    }
    button.set_recoil_index(-1);
    button.set_repeat_mode(0);
    button.set_recoil_colour(kNewRecoilColour);
    return count_function(profile, kRecoilFunction) < kMaxRecoilButtons;
}

} // namespace zemrak
