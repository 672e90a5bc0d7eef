#pragma once
// How the stage DPI codes of each sensor are offered on the performance page: the range of the
// stage sliders, the DPI their two ends stand for, and the DPI text of every code. The code is
// what the profile stores and the mouse receives; the text is for the eye only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zemrak::pages {

struct StageRange {
    std::int32_t min_code = 0;
    std::int32_t max_code = 0;
    // The DPI of the lowest and highest setting, shown at the ends of the sliders.
    std::string_view low_text;
    std::string_view high_text;

    friend bool operator==(const StageRange&, const StageRange&) = default;
};

// The range of a known sensor (3050, 3212, 3325, 3327, 5050); none for any other, whose
// sliders keep the page's own range and blank end labels.
[[nodiscard]] std::optional<StageRange> stage_range(std::int32_t sensor);

// The DPI shown for stage code `code`:
//   3050  250, 500, ... 2000 for codes 1..8, then 2500, 3000, 3500, 4000; any other code 1000
//   3212  40 x code, except 13 -> 500, 31 -> 1250, 38 -> 1500, 44 -> 1750, 63 -> 2500
//   3325, 3327  100 x code
//   5050  the DPI of the byte the mouse receives for the code: codes 1..10 go out as 1..10,
//         steps of 125 DPI (125..1250); codes 12..17 as 0x46..0x4B, steps of 250 DPI in the
//         low six bits (1500..2750); code 11 goes out as 0x01 and so shows 125, and any other
//         code goes out as 0x06 and shows 750. The text never promises more than the mouse
//         is set to, even where the slider and the mouse disagree on the order.
//   any other sensor: empty, as we know nothing of what its codes stand for.
[[nodiscard]] std::string dpi_text(std::int32_t sensor, std::int32_t code);

} // namespace zemrak::pages
