#include "model/number_text.h"

#include <algorithm>
#include <limits>

namespace zemrak {
namespace {

bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string decimal_text(std::int32_t value) {
    const std::string narrow = std::to_string(value);
    return {narrow.begin(), narrow.end()};
}

} // namespace

std::int32_t read_number_text(std::u16string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    // Gathered as a magnitude one past int32's largest, so that the smallest int32 fits too.
    constexpr std::int64_t kMagnitudeCap =
        static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && is_digit(text[at]); ++at) {
        magnitude = std::min(kMagnitudeCap, magnitude * 10 + (text[at] - u'0'));
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

HeldNumber hold_number_text(std::u16string_view text, NumberLimits limits) {
    const std::int32_t typed = read_number_text(text);
    if (typed < limits.low) {
        return {limits.low, decimal_text(limits.low)};
    }
    if (typed > limits.high) {
        return {limits.high, decimal_text(limits.high)};
    }
    return {typed, std::nullopt};
}

FilteredText filter_number_text(std::u16string_view text) {
    FilteredText filtered;
    filtered.text.reserve(text.size());
    for (const char16_t c : text) {
        if (is_digit(c) || c == u'-') {
            filtered.text.push_back(c);
        } else {
            filtered.removed = true;
        }
    }
    return filtered;
}

} // namespace zemrak
