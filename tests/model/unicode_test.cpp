#include "model/unicode.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(Unicode, Utf8AndUtf16RoundTripAcrossPlanes) {
    const std::string text =
        "Pro\xC3\xA9 \xD0\x9C\xD1\x8B\xD1\x88\xD1\x8C \xE2\x82\xAC \xF0\x9F\x8E\xAE";
    const std::u16string wide = to_utf16(text);
    EXPECT_EQ(u"Pro\u00E9 \u041C\u044B\u0448\u044C \u20AC \U0001F3AE", wide);
    EXPECT_EQ(text, to_utf8(wide));
}

TEST(Unicode, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(u"a\uFFFDb", to_utf16("a\xFF"
                                    "b"));
    EXPECT_EQ(u"\uFFFD", to_utf16("\xE2\x82")) << "truncated sequence";
    EXPECT_EQ(u"\uFFFD", to_utf16("\xC0\xAF")) << "overlong form";
    EXPECT_EQ("\xEF\xBF\xBD", to_utf8(u"\xD800")) << "unpaired surrogate";
}

TEST(Unicode, NamesCompareWithoutRegardToCase) {
    EXPECT_TRUE(equal_ignoring_case(u"Profile4", u"pROFILE4"));
    EXPECT_TRUE(equal_ignoring_case(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
    EXPECT_TRUE(equal_ignoring_case(u"\u041C\u042B\u0428\u042C", u"\u043C\u044B\u0448\u044C"));
    EXPECT_TRUE(equal_ignoring_case(u"\u0178\u0141", u"\u00FF\u0142"));
    EXPECT_TRUE(equal_ignoring_case(u"\u0393\u0401", u"\u03B3\u0451"));
    EXPECT_FALSE(equal_ignoring_case(u"Profile", u"Profile1"));
    EXPECT_FALSE(equal_ignoring_case(u"\u00D7", u"\u00F7")) << "signs are not letters";
    EXPECT_FALSE(equal_ignoring_case(u"a", u"b"));
}

TEST(Unicode, AsciiNamesCompareOnlyTheirLettersWithoutRegardToCase) {
    EXPECT_TRUE(equal_ignoring_ascii_case("Select_Macro", "SELECT_macro"));
    EXPECT_TRUE(equal_ignoring_ascii_case("", ""));
    EXPECT_FALSE(equal_ignoring_ascii_case("dpi_up", "dpi_up_"));
    EXPECT_FALSE(equal_ignoring_ascii_case("dpi@", "dpi`")) << "0x40 and 0x60 are not letters";
    EXPECT_FALSE(equal_ignoring_ascii_case("[", "{"));
    EXPECT_FALSE(equal_ignoring_ascii_case("\xC3\x89", "\xC3\xA9")) << "no folding beyond ASCII";
}

} // namespace
} // namespace zemrak
