#include "model/ini_file.h"
#include "test_support/temp_dir.h"

#include <array>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(IniFileTest, LooksUpNamesWithoutCaseAndKeepsTheFirstSectionAndKey) {
    const IniFile ini = IniFile::parse("orphan=1\n"
                                       "[Main]\n"
                                       "Key=first\n"
                                       "KEY=second\n"
                                       "  [ main ]  \n"
                                       "other=hidden\n"
                                       "[Next]\n"
                                       "  spaced key  =  spaced value  \n"
                                       "no equals sign\n");
    EXPECT_EQ(ini.value("MAIN", "key"), "first");
    EXPECT_EQ(ini.value("main", "other"), std::nullopt);
    EXPECT_EQ(ini.value("next", "Spaced Key"), "spaced value");
    EXPECT_EQ(ini.value("next", "no equals sign"), std::nullopt);
    EXPECT_EQ(ini.value("", "orphan"), std::nullopt);
    EXPECT_EQ(ini.value("Absent", "Key"), std::nullopt);
}

TEST(IniFileTest, ReadsCommentsQuotesAndLineEndsLikeTheProfileFunctions) {
    const IniFile ini = IniFile::parse("\xEF\xBB\xBF[s]\r\n"
                                       "; a=comment\r\n"
                                       "  ;b=indented comment\r\n"
                                       "c=value ; not a comment\r\n"
                                       "d=\" quoted \"\r\n"
                                       "e='single'\r\n"
                                       "f=\"unmatched'\r\n"
                                       "g=\"\r\n"
                                       "h=\r\n"
                                       "i=\"inner\" quotes \"stay\"\r\n");
    EXPECT_EQ(ini.value("s", "a"), std::nullopt);
    EXPECT_EQ(ini.value("s", ";b"), std::nullopt);
    EXPECT_EQ(ini.value("s", "c"), "value ; not a comment");
    EXPECT_EQ(ini.value("s", "d"), " quoted ");
    EXPECT_EQ(ini.value("s", "e"), "single");
    EXPECT_EQ(ini.value("s", "f"), "\"unmatched'");
    EXPECT_EQ(ini.value("s", "g"), "\"");
    EXPECT_EQ(ini.value("s", "h"), "");
    EXPECT_EQ(ini.value("s", "i"), "inner\" quotes \"stay");
}

TEST(IniFileTest, DecodesUtf16TextWithAByteOrderMark) {
    // Literals with embedded zero bytes, without their terminator.
    const auto bytes = [](const auto& literal) { return std::string(literal, sizeof literal - 1); };
    const std::string little = bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0\xE9\0\x3D\xD8\x00\xDE");
    EXPECT_EQ(IniFile::parse(little).value("s", "k"), "\xC3\xA9\xF0\x9F\x98\x80");
    const std::string big = bytes("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v");
    EXPECT_EQ(IniFile::parse(big).value("s", "k"), "v");
}

TEST(IniFileTest, CutsValuesToTheBufferWithoutSplittingACharacter) {
    const std::string ascii(5000, 'a');
    EXPECT_EQ(IniFile::parse("[s]\nk=" + ascii).value("s", "k"), std::string(4095, 'a'));

    // A character outside the basic plane takes two of the 4,095 units; it does not fit
    // behind 4,094 others and is dropped whole.
    const std::string emoji = "\xF0\x9F\x98\x80";
    EXPECT_EQ(IniFile::parse("[s]\nk=" + std::string(4094, 'a') + emoji).value("s", "k"),
              std::string(4094, 'a'));
    EXPECT_EQ(IniFile::parse("[s]\nk=" + std::string(4093, 'a') + emoji + "b").value("s", "k"),
              std::string(4093, 'a') + emoji);
}

TEST(IniFileTest, ReadsIntegersByThePlatformRule) {
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"12abc", 12},     {"abc", 0},
        {" -3", -3},       {"+7", 7},
        {"0x10", 16},      {"0X1f", 31},
        {"-0x10", -16},    {"0x", 0},
        {"08", 8},         {"\"8\"", 8},
        {"4294967297", 1}, {"2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-", 0},          {"0xffffffff", -1},
    };
    for (const auto& c : cases) {
        const IniFile ini = IniFile::parse(std::string("[s]\nk=") + c.text);
        EXPECT_EQ(ini.integer("s", "k", -99), c.expected) << c.text;
    }
    const IniFile ini = IniFile::parse("[s]\nempty=\nquoted=\"\"\nblank=   \n");
    EXPECT_EQ(ini.integer("s", "empty", -1), -1);
    EXPECT_EQ(ini.integer("s", "quoted", -1), -1);
    EXPECT_EQ(ini.integer("s", "blank", -1), -1);
    EXPECT_EQ(ini.integer("s", "missing", 42), 42);
}

TEST(IniFileTest, LoadsFilesAndTreatsAMissingFileAsEmpty) {
    const test::TempDir dir;
    test::write_text(dir / "a.ini", "[s]\r\nk=v\r\n");
    EXPECT_EQ(IniFile::load(dir / "a.ini").value("s", "k"), "v");
    EXPECT_EQ(IniFile::load(dir / "missing.ini").value("s", "k"), std::nullopt);
    EXPECT_EQ(IniFile::load(dir.path()).integer("s", "k", 5), 5);
}

TEST(IniScanTest, Hex4FollowsScanfWithAWidthOfFour) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"04d9", 0x04D9},     {"4D9", 0x04D9},    {" \ta09f", 0xA09F}, {"12345", 0x1234},
        {"0x12ab", 0x12},     {"+0x1", 0x1},      {"-1", 0xFFFFFFFF},  {"0xg", 0},
        {"4d9 tail", 0x4D9},  {"", std::nullopt}, {"-", std::nullopt}, {"x1", std::nullopt},
        {"zz", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scan_hex4(c.text), c.expected) << c.text;
    }
}

TEST(IniScanTest, HexRowStopsAtTheFirstMismatchAndWritesOnlyWhatItRead) {
    const struct {
        const char* text;
        std::size_t count;
        std::array<std::uint8_t, 4> head;
    } cases[] = {
        {"01,02,zz,04", 2, {0x01, 0x02, 0xEE, 0xEE}},
        {"01, 02,ff", 3, {0x01, 0x02, 0xFF, 0xEE}}, // a conversion skips blanks
        {"01 ,02", 1, {0x01, 0xEE, 0xEE, 0xEE}},    // a literal comma does not
        {"0102,03", 1, {0x01, 0xEE, 0xEE, 0xEE}},   // two digits at most
        {"-1,+2,0x,3", 4, {0xFF, 0x02, 0x00, 0x03}},
        {"", 0, {0xEE, 0xEE, 0xEE, 0xEE}},
    };
    for (const auto& c : cases) {
        std::array<std::uint8_t, kHexRowBytes> bytes;
        bytes.fill(0xEE);
        EXPECT_EQ(scan_hex_row(c.text, bytes), c.count) << c.text;
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), bytes.begin())) << c.text;
    }

    std::array<std::uint8_t, kHexRowBytes> bytes{};
    EXPECT_EQ(scan_hex_row("1,2,3,4,5,6,7,8,9,a,b,c,d,e,f,10,11", bytes), 16u);
    EXPECT_EQ(bytes[9], 0x0A);
    EXPECT_EQ(bytes[15], 0x10);
}

TEST(IniScanTest, IntTripleReadsUpToThreeNumbers) {
    const struct {
        const char* text;
        std::size_t count;
        std::array<std::int32_t, 3> values;
    } cases[] = {
        {"300,0,0", 3, {300, 0, 0}}, {" -3, 4,5", 3, {-3, 4, 5}},        {"1 ,2,3", 1, {1, -9, -9}},
        {"1,x,3", 1, {1, -9, -9}},   {"4294967297,1,2,9", 3, {1, 1, 2}}, {"", 0, {-9, -9, -9}},
    };
    for (const auto& c : cases) {
        std::array<std::int32_t, kIntTripleCount> values{-9, -9, -9};
        EXPECT_EQ(scan_int_triple(c.text, values), c.count) << c.text;
        EXPECT_EQ(values, c.values) << c.text;
    }
}

} // namespace
} // namespace zemrak
