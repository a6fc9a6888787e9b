#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "text/StringFunctions.h"

namespace {

struct IntCase {
    std::string text;
    int32_t defaultValue;
    int32_t expected;
};

class TextToIntCases : public ::testing::TestWithParam<IntCase> {};

TEST_P(TextToIntCases, ConvertsTrimmedIntegersElseGivesTheDefault) {
    EXPECT_EQ(TextToInt(GetParam().text, GetParam().defaultValue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, TextToIntCases,
    ::testing::Values(IntCase{" 42 ", 0, 42}, IntCase{"4 2", 0, 0}, IntCase{"", 7, 7},
                      IntCase{"\t-8\r\n", 0, -8}, IntCase{"-0", 5, 0}, IntCase{"0012", 0, 12},
                      IntCase{"-", 3, 3}, IntCase{"+4", 3, 3}, IntCase{"x1", 9, 9},
                      IntCase{"2147483647", 0, 2147483647}, IntCase{"-2147483648", 0, INT32_MIN},
                      IntCase{"2147483648", -1, -1}, IntCase{"-2147483649", 11, 11},
                      IntCase{"99999999999999999999", 4, 4}));

TEST(Conversions, TryTextToIntTellsOutOfRangeFromValid) {
    int32_t value = 123;
    EXPECT_FALSE(TryTextToInt("4294967296", value));
    EXPECT_EQ(value, 123);
    EXPECT_TRUE(TryTextToInt(" 17", value));
    EXPECT_EQ(value, 17);
}

TEST(Conversions, BooleanTexts) {
    EXPECT_EQ(BoolToText(true), "1");
    EXPECT_EQ(BoolToText(false), "0");
    EXPECT_TRUE(TextToBool("", true));
    EXPECT_FALSE(TextToBool("", false));
    EXPECT_TRUE(TextToBool("1", false));
    EXPECT_FALSE(TextToBool("0", true));
    for (const char* other : {"TRUE", " 1", "2", "10", "T"}) {
        EXPECT_FALSE(TextToBool(other, false)) << other;
        EXPECT_TRUE(TextToBool(other, true)) << other;
    }
}

TEST(Conversions, SeatAndSuitCodesGoByTheFirstCharacter) {
    const std::vector<std::pair<std::string, int32_t>> seats = {
        {"N", 1}, {"NORTH", 1}, {"E", 2}, {"EAST", 2}, {"S", 3}, {"SOUTH", 3},
        {"W", 4}, {"WEST", 4},  {"", 0},  {"n", 0},    {"X", 0}, {"-1", 0}};
    for (const auto& [text, code] : seats) EXPECT_EQ(SeatCode(text), code) << text;
    const std::vector<std::pair<std::string, int32_t>> suits = {
        {"C", 1},  {"CLUBS", 1},  {"D", 2}, {"DIAMONDS", 2}, {"H", 3}, {"HEARTS", 3},
        {"SP", 4}, {"SPADES", 4}, {"", 0},  {"-1", 0},       {"N", 0}};
    for (const auto& [text, code] : suits) EXPECT_EQ(SuitCode(text), code) << text;
}

TEST(Conversions, NamesOfSeatsAndTypes) {
    EXPECT_EQ(SeatName(1), "North");
    EXPECT_EQ(SeatName(4), "West");
    EXPECT_EQ(SeatName(0), "");
    EXPECT_EQ(SeatName(5), "");
    EXPECT_EQ(TypeName(vtBoolean), "Логический");
    EXPECT_EQ(TypeName(vtInteger), "Целый");
    EXPECT_EQ(TypeName(vtPosition), "Позиция");
    // Three Latin letters, then two Cyrillic ones.
    EXPECT_EQ(TypeName(vtSuit), "Mac\u0442\u044c");
    EXPECT_EQ(TypeName(vtNone), "");
    EXPECT_EQ(TypeName(vtPending), "");
    EXPECT_EQ(TypeName(5), "");
}

struct LayoutCase {
    std::string name;
    std::string actual;
    std::string expected;
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, PadsCutsAndCountsCharacters) {
    EXPECT_EQ(GetParam().actual, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Text, Layout,
    ::testing::Values(LayoutCase{"repeat", RepeatText(3, "ab"), "ababab"},
                      LayoutCase{"repeat zero", RepeatText(0, "ab"), ""},
                      LayoutCase{"repeat negative", RepeatText(-2, "ab"), ""},
                      LayoutCase{"centered odd surplus", Centered("ab", 5), " ab  "},
                      LayoutCase{"centered trims", Centered("  ab\t", 4), " ab "},
                      LayoutCase{"centered cut", Centered("abcdef", 3), "abc"},
                      LayoutCase{"left cut", LeftAligned("abcdef", 3), "abc"},
                      LayoutCase{"right cut", RightAligned("abcdef", 3), "def"},
                      LayoutCase{"left pad", LeftAligned(" ab ", 4), "ab  "},
                      LayoutCase{"right pad", RightAligned(" ab ", 4), "  ab"},
                      LayoutCase{"zero width", LeftAligned("ab", 0), ""},
                      LayoutCase{"negative width", RightAligned("ab", -3), ""},
                      LayoutCase{"cyrillic pad", LeftAligned("Юг", 4), "Юг  "},
                      LayoutCase{"cyrillic right pad", RightAligned("Юг", 3), " Юг"},
                      LayoutCase{"cyrillic cut", LeftAligned("Север", 3), "Сев"},
                      LayoutCase{"cyrillic right cut", RightAligned("Север", 2), "ер"},
                      LayoutCase{"cyrillic centered", Centered("Юг", 5), " Юг  "},
                      LayoutCase{"int left zero hidden", IntLeft(0, 3, false), "   "},
                      LayoutCase{"int left zero shown", IntLeft(0, 3, true), "0  "},
                      LayoutCase{"int right", IntRight(-42, 5, false), "  -42"},
                      LayoutCase{"int right zero hidden", IntRight(0, 2, false), "  "},
                      LayoutCase{"int right cut", IntRight(12345, 3, false), "345"},
                      LayoutCase{"card field", IntLeft(7, 2, true), "7 "}));

struct RealCase {
    float value;
    int32_t width, decimals;
    bool showZero;
    std::string expected;
};

class RealRightCases : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealRightCases, RoundsTheExactSinglePrecisionValueHalfUp) {
    const RealCase& c = GetParam();
    EXPECT_EQ(RealRight(c.value, c.width, c.decimals, c.showZero), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Text, RealRightCases,
    ::testing::Values(RealCase{0.0f, 5, 2, false, "     "}, RealCase{0.0f, 5, 2, true, " 0.00"},
                      RealCase{3.25f, 6, 1, false, "   3.3"},   // exact half rounds up
                      RealCase{0.125f, 6, 2, false, "  0.13"},  // exact half rounds up
                      RealCase{2.5f, 3, 0, false, "  3"},
                      RealCase{1.15f, 6, 1, false, "   1.1"},  // the float is 1.14999997...
                      RealCase{1.45f, 6, 1, false, "   1.5"},  // the float is 1.45000005...
                      RealCase{9.96f, 6, 1, false, "  10.0"},  // carry into a new digit
                      RealCase{99.5f, 4, 0, false, " 100"}, RealCase{-2.5f, 5, 0, false, "   -3"},
                      RealCase{-0.04f, 5, 1, false, "  0.0"},
                      RealCase{6.5f, 8, 3, false, "   6.500"},
                      RealCase{0.1f, 12, 10, false, "0.1000000015"},
                      RealCase{123.456f, 2, 1, false, ".5"}));  // cut to the last width characters

TEST(Files, FolderPartKeepsOnlyARootDelimiter) {
    EXPECT_EQ(FolderPart("/x.dls"), "/");
    EXPECT_EQ(FolderPart("/tmp/x.dls"), "/tmp");
    EXPECT_EQ(FolderPart("a//x.dls"), "a//");
    EXPECT_EQ(FolderPart("x.dls"), "");
    EXPECT_EQ(FolderPart("dir/"), "dir");
}

TEST(Files, FileDirExistsTestsTheFolderPart) {
    const TTempFolder temp;
    const std::filesystem::path& folder = temp.Path();
    std::string inside = (folder / "missing.dls").string();
    EXPECT_TRUE(FileDirExists(inside));
    EXPECT_FALSE(FileDirExists((folder / "nothere" / "x.dls").string()));
    EXPECT_FALSE(FileDirExists("x.dls"));
    EXPECT_TRUE(FileDirExists("/x.dls"));
    // A file in place of the folder is not a folder.
    std::ofstream((folder / "plain").string()) << "x";
    EXPECT_FALSE(FileDirExists((folder / "plain" / "x.dls").string()));
}

}  // namespace
