#include "model/button_functions.h"

#include "model/config_block.h"
#include "model/unicode.h"

#include <algorithm>
#include <array>
#include <functional>

namespace zemrak {
namespace {

// A function the menus offer, labelled by its own text.
[[nodiscard]] constexpr ButtonFunction offered(std::uint8_t code, std::string_view item,
                                               std::string_view label_key, std::uint8_t key,
                                               std::uint8_t kind) {
    return {code, item, label_key, false, key, kind};
}

// A function the menus offer whose label and map bytes come from the record.
[[nodiscard]] constexpr ButtonFunction composed(std::uint8_t code, std::string_view item) {
    return {code, item, {}, true, 0x00, 0x00};
}

// A code the mouse understands but no menu offers; it can only come from a stored profile.
[[nodiscard]] constexpr ButtonFunction unoffered(std::uint8_t code, std::uint8_t key,
                                                 std::uint8_t kind) {
    return {code, {}, {}, false, key, kind};
}

// Button off, the recoil functions and mode switch exist only for the program: the mouse
// gets 00 00 for them, as for every code not listed.
constexpr auto kFunctions = std::to_array<ButtonFunction>({
    offered(0, "button_off", "button_off_text", 0x00, 0x00),
    offered(1, "click", "click_text", 0xF0, 0x00),
    offered(2, "menu", "menu_text", 0xF1, 0x00),
    offered(3, "scroll", "scroll_text", 0xF2, 0x00),
    offered(4, "forward", "forward_text", 0xF4, 0x00),
    offered(5, "backward", "backward_text", 0xF3, 0x00),
    offered(6, "dpi_cycle", "dpi_cycle_text", 0x05, 0x03),
    offered(7, "dpi_up", "dpi_up_text", 0x03, 0x03),
    offered(8, "dpi_down", "dpi_down_text", 0x04, 0x03),
    offered(9, "double_click", "double_click_text", 0xF0, 0x82),
    unoffered(10, 0xF0, 0x80),
    offered(11, "scroll_up", "scroll_up_text", 0xE8, 0x00),
    offered(12, "scroll_down", "scroll_down_text", 0xE9, 0x00),
    unoffered(13, 0xEA, 0x00),
    unoffered(14, 0xEB, 0x00),
    offered(18, "three_click", "three_click_text", 0xF0, 0x83),
    composed(kShortcutFunction, "shortcut"),
    composed(kMacroFunction, "select_macro"),
    offered(kSendGunFunction, "send_gun", "send_gun_text", 0x00, 0x00),
    offered(kModeSwitchFunction, "mode_switch", "mode_switch_text", 0x00, 0x00),
    offered(27, "juji", "juji_text", 0x0A, 0x03),
    offered(28, "open_explorer", "open_explorer_text", 0x14, 0x02),
    offered(29, "open_feedback", "open_feedback_text", 0x15, 0x02),
    offered(32, "cut", "cut_text", 0x12, 0x02),
    offered(33, "copy", "copy_text", 0x10, 0x02),
    offered(34, "paste", "paste_text", 0x11, 0x02),
    offered(35, "open", "open_text", 0x01, 0x00),
    offered(36, "save", "save_text", 0x15, 0x02),
    offered(37, "find", "find_text", 0x14, 0x02),
    offered(38, "redo", "redo_text", 0x16, 0x02),
    offered(39, "undo", "undo_text", 0x16, 0x02),
    offered(40, "select_all", "select_all_text", 0x13, 0x02),
    offered(41, "print", "print_text", 0x01, 0x00),
    offered(42, "close_windows", "close_windows_text", 0x16, 0x02),
    offered(43, "swap_windows", "swap_windows_text", 0x04, 0x00),
    offered(44, "show_desktop", "show_desktop_text", 0x13, 0x02),
    offered(45, "run_command", "run_command_text", 0x08, 0x00),
    offered(46, "lock_pc", "lock_pc_text", 0x08, 0x00),
    offered(47, "new", "new_text", 0x01, 0x00),
    offered(50, "light_mode_switch", "light_mode_switch_text", 0x09, 0x03),
    offered(64, "media_player", "media_player_text", 0x07, 0x02),
    offered(65, "play_pause", "play_pause_text", 0x03, 0x02),
    offered(66, "media_stop", "media_stop_text", 0x02, 0x02),
    offered(67, "pre_track", "pre_track_text", 0x01, 0x02),
    offered(68, "next_track", "next_track_text", 0x00, 0x02),
    offered(69, "volume_up", "volume_up_text", 0x05, 0x02),
    offered(70, "volume_down", "volume_down_text", 0x06, 0x02),
    offered(71, "mute", "mute_text", 0x04, 0x02),
    offered(72, "browser_home", "browser_home_text", 0x0C, 0x02),
    offered(73, "browser_favorites", "browser_favorites_text", 0x0F, 0x02),
    offered(74, "browser_forward", "browser_forward_text", 0x00, 0x03),
    offered(75, "browser_backward", "browser_backward_text", 0x0D, 0x02),
    offered(76, "browser_stop", "browser_stop_text", 0x00, 0x00),
    offered(77, "browser_refresh", "browser_refresh_text", 0x0E, 0x02),
    offered(78, "browser_search", "browser_search_text", 0x0B, 0x02),
    offered(79, "email", "email_text", 0x08, 0x02),
    offered(80, "calculator", "calculator_text", 0x09, 0x02),
    offered(81, "my_computer", "my_computer_text", 0x0A, 0x02),
    offered(112, "prate_cycle", "prate_cycle_text", 0x02, 0x03),
    unoffered(113, 0x00, 0x07),
    composed(kRecoilFunction, "select_gun"),
});

// Rising codes: each code has one entry.
static_assert(std::ranges::adjacent_find(kFunctions, std::greater_equal<>{},
                                         &ButtonFunction::code) == kFunctions.end());

constexpr std::array<std::uint8_t, ConfigBlock::kButtonCount> kDefaultFunctionCodes = {
    1,  2, 3, 4, 5, 7, 8,  0, 0, 0, 0, 0, 0, 0, 11, 12, // office mode
    25, 2, 3, 4, 5, 6, 50, 0, 0, 0, 0, 0, 0, 0, 11, 12, // game mode
};

// First record whose function code B copies another record's default code.
constexpr std::size_t kFirstCodeBRecord = 20;

constexpr std::string_view kClickLabel = "click_text";

} // namespace

std::span<const ButtonFunction> button_functions() {
    return kFunctions;
}

const ButtonFunction* find_button_function(std::uint8_t code) {
    const auto* found = std::ranges::find(kFunctions, code, &ButtonFunction::code);
    return found == kFunctions.end() ? nullptr : found;
}

std::uint8_t function_code_of(std::string_view item) {
    // The unoffered codes have no item: an empty name must not find them.
    const auto* found = std::ranges::find_if(kFunctions, [item](const ButtonFunction& f) {
        return !f.item.empty() && equal_ignoring_ascii_case(f.item, item);
    });
    return found == kFunctions.end() ? kClickFunction : found->code;
}

std::string_view function_label_key(std::uint8_t code) {
    const ButtonFunction* function = find_button_function(code);
    if (function == nullptr || (!function->composed && function->label_key.empty())) {
        return kClickLabel;
    }
    return function->label_key;
}

ButtonMapBytes function_map_bytes(std::uint8_t code) {
    const ButtonFunction* function = find_button_function(code);
    return function == nullptr ? ButtonMapBytes{}
                               : ButtonMapBytes{function->map_key, function->map_kind};
}

std::uint8_t default_function_code(std::size_t record) {
    return record < kDefaultFunctionCodes.size() ? kDefaultFunctionCodes[record] : 0;
}

std::uint8_t default_function_code_b(std::size_t record) {
    if (record < kFirstCodeBRecord || record >= ConfigBlock::kButtonCount) {
        return 0;
    }
    return kDefaultFunctionCodes[record - kFirstCodeBRecord];
}

} // namespace zemrak
