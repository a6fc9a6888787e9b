#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ConditionTestSupport.h"
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

// One lexeme written as text@position:kind[=value], or End@position.
TExpectedLexem ReadLexem(const std::string& word) {
    static const std::map<std::string, std::pair<uint8_t, TValueType>> kinds = {
        {"Function", {lkFunction, vtNone}},  {"Open", {lkOpen, vtNone}},
        {"Close", {lkClose, vtNone}},        {"Operator", {lkOperator, vtNone}},
        {"Comma", {lkComma, vtNone}},        {"Not", {lkNot, vtNone}},
        {"Position", {lkValue, vtPosition}}, {"Integer", {lkValue, vtInteger}},
        {"Suit", {lkValue, vtSuit}},         {"Boolean", {lkValue, vtBoolean}}};
    const std::size_t at = word.rfind('@');
    const int32_t position = std::atoi(word.c_str() + at + 1);
    if (word.compare(0, at, "End") == 0)
        return {std::string(EndLexemText), lkEnd, vtNone, "", position};
    const std::size_t colon = word.find(':', at), equals = word.find('=', at);
    const auto kind = kinds.find(word.substr(colon + 1, equals - colon - 1));
    if (colon == std::string::npos || kind == kinds.end()) return {word, lkNone, vtNone, "", -1};
    const std::string text = word.substr(0, at);
    const std::string value = equals != std::string::npos     ? word.substr(equals + 1)
                              : kind->second.first == lkValue ? text
                                                              : "";
    return {text, kind->second.first, kind->second.second, value, position};
}

std::vector<TTokenizeCase> TokenizeCases() {
    std::vector<TTokenizeCase> cases;
    for (const std::vector<std::string>& fields : ReadCaseFile("lexemes.txt")) {
        cases.push_back({fields[0], fields.size() == 3 ? fields[1] : "unreadable line", {}});
        std::istringstream words(fields.size() == 3 && fields[2] != "none" ? fields[2] : "");
        for (std::string word; words >> word;) cases.back().lexemes.push_back(ReadLexem(word));
    }
    return cases;
}

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

INSTANTIATE_TEST_SUITE_P(Lexer, Tokenize, testing::ValuesIn(TokenizeCases()),
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
