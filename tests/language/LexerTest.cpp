#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/ErrorReport.h"
#include "language/Lexem.h"
#include "support/RecordingSink.h"
#include "text/Utf8Text.h"

namespace {

struct TExpectedLexem {
    std::string text;
    uint8_t kind;
    TValueType valueType;
    std::string value;
    int32_t position;
};

struct TTokenizeCase {
    std::string name;
    std::string condition;
    std::vector<TExpectedLexem> lexemes;  // the end lexeme included
};

void PrintTo(const TTokenizeCase& c, std::ostream* out) { *out << c.condition; }

const TExpectedLexem End(int32_t position) {
    return {std::string(EndLexemText), lkEnd, vtNone, "", position};
}

const std::vector<TTokenizeCase> TokenizeCases = {
    {"LowerCaseCall",
     "hcp(n)>12",
     {{"HCP", lkFunction, vtNone, "", 0},
      {"(", lkOpen, vtNone, "", 3},
      {"N", lkValue, vtPosition, "N", 4},
      {")", lkClose, vtNone, "", 5},
      {">", lkOperator, vtNone, "", 6},
      {"12", lkValue, vtInteger, "12", 7},
      End(8)}},
    {"MinusBeforeDigitIsLiteral",
     "HCP(N)-5",
     {{"HCP", lkFunction, vtNone, "", 0},
      {"(", lkOpen, vtNone, "", 3},
      {"N", lkValue, vtPosition, "N", 4},
      {")", lkClose, vtNone, "", 5},
      {"-5", lkValue, vtInteger, "-5", 6},
      End(7)}},
    {"MinusWithSpaceIsOperator",
     "HCP(N) - 5",
     {{"HCP", lkFunction, vtNone, "", 0},
      {"(", lkOpen, vtNone, "", 3},
      {"N", lkValue, vtPosition, "N", 4},
      {")", lkClose, vtNone, "", 5},
      {"-", lkOperator, vtNone, "", 7},
      {"5", lkValue, vtInteger, "5", 9},
      End(9)}},
    {"TwoMinusSigns",
     "7--5",
     {{"7", lkValue, vtInteger, "7", 0},
      {"-", lkOperator, vtNone, "", 1},
      {"-5", lkValue, vtInteger, "-5", 2},
      End(3)}},
    {"CompareCharacterPair",
     "N<=S",
     {{"N", lkValue, vtPosition, "N", 0},
      {"<=", lkOperator, vtNone, "", 1},
      {"S", lkValue, vtPosition, "S", 3},
      End(3)}},
    {"SuitsAndSeats",
     "sp Spades s",
     {{"SP", lkValue, vtSuit, "SP", 0},
      {"SPADES", lkValue, vtSuit, "SPADES", 3},
      {"S", lkValue, vtPosition, "S", 10},
      End(10)}},
    {"BooleansAndNot",
     "not t or False",
     {{"NOT", lkNot, vtNone, "", 0},
      {"T", lkValue, vtBoolean, "1", 4},
      {"OR", lkOperator, vtNone, "", 6},
      {"FALSE", lkValue, vtBoolean, "0", 9},
      End(13)}},
    {"WordAfterNegativeLiteral",
     "-5N",
     {{"-5", lkValue, vtInteger, "-5", 0}, {"N", lkValue, vtPosition, "N", 2}, End(2)}},
    {"CommaAndPlus",
     "Balanced(N,,17)+1",
     {{"BALANCED", lkFunction, vtNone, "", 0},
      {"(", lkOpen, vtNone, "", 8},
      {"N", lkValue, vtPosition, "N", 9},
      {",", lkComma, vtNone, "", 10},
      {",", lkComma, vtNone, "", 11},
      {"17", lkValue, vtInteger, "17", 12},
      {")", lkClose, vtNone, "", 14},
      {"+", lkOperator, vtNone, "", 15},
      {"1", lkValue, vtInteger, "1", 16},
      End(16)}},
    {"Int32Limits",
     "-2147483648 2147483647 -0 007",
     {{"-2147483648", lkValue, vtInteger, "-2147483648", 0},
      {"2147483647", lkValue, vtInteger, "2147483647", 12},
      {"-0", lkValue, vtInteger, "-0", 23},
      {"007", lkValue, vtInteger, "007", 26},
      End(28)}},
    {"TrailingSpacesMoveTheEnd", "N  ", {{"N", lkValue, vtPosition, "N", 0}, End(2)}},
    {"Empty", "", {}},
    {"BlanksOnly", "   ", {}},
};

class Tokenize : public testing::TestWithParam<TTokenizeCase> {};

TEST_P(Tokenize, GivesLexemesWithKindsTypesAndOffsets) {
    TRecordingSink sink;
    const TTokenizeCase& c = GetParam();
    TLexems lexemes;
    ASSERT_TRUE(lexemes.Tokenize(c.condition));
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(lexemes.Count(), static_cast<int32_t>(c.lexemes.size()));
    for (int32_t k = 0; k < lexemes.Count(); ++k) {
        const TLexem& got = *lexemes.GetLexem(k);
        const TExpectedLexem& want = c.lexemes[static_cast<std::size_t>(k)];
        SCOPED_TRACE("lexeme " + std::to_string(k));
        EXPECT_EQ(got.Text, want.text);
        EXPECT_EQ(got.Kind, want.kind);
        EXPECT_EQ(got.ValueType, want.valueType);
        EXPECT_EQ(got.Value, want.value);
        EXPECT_EQ(got.Position, want.position);
    }
    EXPECT_EQ(lexemes.GetLexem(-1), nullptr);
    EXPECT_EQ(lexemes.GetLexem(lexemes.Count()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Lexer, Tokenize, testing::ValuesIn(TokenizeCases),
                         [](const auto& info) { return info.param.name; });

TEST(Lexer, KeepsTheLexemesMadeBeforeAnError) {
    TRecordingSink sink;
    TLexems lexemes;
    EXPECT_FALSE(lexemes.Tokenize("HCP(N) > X"));
    ASSERT_EQ(lexemes.Count(), 5);
    EXPECT_EQ(lexemes.GetLexem(4)->Text, ">");
}

TEST(Lexer, NewRunResetsTheErrorState) {
    TRecordingSink sink;
    TLexems failing;
    EXPECT_FALSE(failing.Tokenize("XX"));
    TLexems passing;
    EXPECT_TRUE(passing.Tokenize("N"));
    EXPECT_FALSE(ErrorReported());
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(Lexer, OneMegabyteWordGivesOneShortMessage) {
    TRecordingSink sink;
    const std::string word(1 << 20, 'q');
    TLexems lexemes;
    EXPECT_FALSE(lexemes.Tokenize("N " + word));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Нераспознанный идентификатор: \"" + std::string(MaxQuotedCharacters, 'Q') + "…\"");
    EXPECT_EQ(sink.messages[0].position, 2);
}

TEST(Lexer, OneMegabyteOfDigitsIsOutOfRange) {
    TRecordingSink sink;
    TLexems lexemes;
    EXPECT_FALSE(lexemes.Tokenize("(" + std::string(1 << 20, '7') + ")"));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].position, 1);
}

TEST(ErrorReport, MessagesOfEveryCode) {
    const std::vector<std::pair<int32_t, std::string>> cases = {
        {1, "Нераспознанный идентификатор: \"t\""},
        {2, "Пропущено выражение"},
        {3, "Пропущен оператор"},
        {4, "Пропущена ("},
        {5, "Пропущена )"},
        {6, "Несоответствие типов: требуется \"t\""},
        {7, "Лишний идентификатор \"t\""},
        {8, "Пропущен параметр (t)"},
        {9, "Число вне допустимого диапазона (от -2147483648 до 2147483647): \"t\""},
        {10, "Слишком длинное условие"},
        {0, "Нераспознанная ошибкаt"},
        {42, "Нераспознанная ошибкаt"},
    };
    for (const auto& [code, message] : cases) EXPECT_EQ(ErrorMessage(code, "t"), message) << code;
}

TEST(ErrorReport, OnlyTheFirstErrorIsShownUntilReset) {
    TRecordingSink sink;
    ResetErrorState();
    ReportError(ecMissingOperator, {}, 4);
    ReportError(ecMissingClose, {}, 9);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Пропущен оператор");
    EXPECT_EQ(ErrorPosition(), 4);
    ResetErrorState();
    EXPECT_FALSE(ErrorReported());
    ReportError(ecMissingClose, {}, 9);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(ErrorPosition(), 9);
}

TEST(Utf8Text, UpperCaseOfTheWindows1251Letters) {
    const std::u32string lower = U"abcxyzабвгдежзийклмнопрстуфхцчшщъыьэюяёђѓєѕіїјљњћќўџґ";
    const std::u32string upper = U"ABCXYZАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁЂЃЄЅІЇЈЉЊЋЌЎЏҐ";
    ASSERT_EQ(lower.size(), upper.size());
    for (std::size_t k = 0; k < lower.size(); ++k)
        EXPECT_EQ(UpperCase1251(lower[k]), upper[k]) << k;
    // Characters outside the code page, and upper-case ones, stay as they are.
    for (char32_t c : std::u32string(U"ABZ09-(ЯЁѝµäß\u03b1"))
        EXPECT_EQ(UpperCase1251(c), c) << static_cast<uint32_t>(c);
}

TEST(Utf8Text, DecodesEveryByteOnce) {
    EXPECT_EQ(DecodeUtf8("aЖ€😀"), U"aЖ€😀");
    // A lone continuation byte, a truncated sequence and an overlong form.
    EXPECT_EQ(DecodeUtf8("\x80x\xD0"), U"\uFFFDx\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(EncodeUtf8(U"aЖ€😀"), "aЖ€😀");
    EXPECT_EQ(ShortenedText("ЖЖЖЖ", 2), "ЖЖ…");
    EXPECT_EQ(ShortenedText("ЖЖ", 2), "ЖЖ");
}

}  // namespace
