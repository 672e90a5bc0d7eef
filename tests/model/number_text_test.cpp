#include "model/number_text.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(NumberText, ReadsTheLeadingSignAndDigitsOnly) {
    EXPECT_EQ(42, read_number_text(u"42"));
    EXPECT_EQ(-17, read_number_text(u"-17"));
    EXPECT_EQ(5, read_number_text(u"+5"));
    EXPECT_EQ(12, read_number_text(u"12abc3"));
    EXPECT_EQ(7, read_number_text(u"  7"));
    EXPECT_EQ(-8, read_number_text(u"-08"));
    // Text without digits, a lone sign and a sign not in front read as nothing typed.
    EXPECT_EQ(0, read_number_text(u""));
    EXPECT_EQ(0, read_number_text(u"abc"));
    EXPECT_EQ(0, read_number_text(u"-"));
    EXPECT_EQ(0, read_number_text(u"--3"));
    EXPECT_EQ(0, read_number_text(u"x-3"));
    EXPECT_EQ(3, read_number_text(u"3-4"));
}

TEST(NumberText, NumbersBeyond32BitsStopAtTheLimits) {
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), read_number_text(u"2147483647"));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), read_number_text(u"2147483648"));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), read_number_text(u"-2147483648"));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::min(),
              read_number_text(u"-99999999999999999999999999"));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(),
              read_number_text(u"99999999999999999999999999"));
}

TEST(NumberText, HoldingRewritesTheTextOnlyWhenTheNumberWasOutside) {
    constexpr NumberLimits kMove{-127, 127};
    const HeldNumber high = hold_number_text(u"300", kMove);
    EXPECT_EQ(127, high.value);
    EXPECT_EQ(u"127", high.rewrite);
    const HeldNumber low = hold_number_text(u"-200", kMove);
    EXPECT_EQ(-127, low.value);
    EXPECT_EQ(u"-127", low.rewrite);

    // The ends themselves and everything between keep what was typed, however it was written.
    for (const std::u16string_view typed : {u"127", u"-127", u"0", u"+12", u"12abc", u""}) {
        const HeldNumber kept = hold_number_text(typed, kMove);
        EXPECT_EQ(read_number_text(typed), kept.value);
        EXPECT_FALSE(kept.rewrite.has_value());
    }

    constexpr NumberLimits kDelay{10, 1270};
    EXPECT_EQ(u"10", hold_number_text(u"9", kDelay).rewrite);
    EXPECT_EQ(u"10", hold_number_text(u"abc", kDelay).rewrite) << "no digits read as 0";
    EXPECT_FALSE(hold_number_text(u"10", kDelay).rewrite.has_value());
    EXPECT_FALSE(hold_number_text(u"1270", kDelay).rewrite.has_value());
    const HeldNumber long_delay = hold_number_text(u"1271", kDelay);
    EXPECT_EQ(1270, long_delay.value);
    EXPECT_EQ(u"1270", long_delay.rewrite);
}

TEST(NumberText, FilterKeepsDigitsAndMinusSignsInTheirOrder) {
    const FilteredText pasted = filter_number_text(u"1a2b3");
    EXPECT_EQ(u"123", pasted.text);
    EXPECT_TRUE(pasted.removed);

    const FilteredText signs = filter_number_text(u"-1-2 +3\u0663");
    EXPECT_EQ(u"-1-23", signs.text) << "'+', blanks and other scripts' digits go too";
    EXPECT_TRUE(signs.removed);

    const FilteredText clean = filter_number_text(u"-0129");
    EXPECT_EQ(u"-0129", clean.text);
    EXPECT_FALSE(clean.removed);
    EXPECT_FALSE(filter_number_text(u"").removed);
    EXPECT_EQ(u"", filter_number_text(u"abc").text);
}

} // namespace
} // namespace zemrak
