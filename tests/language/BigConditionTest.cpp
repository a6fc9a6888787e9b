// Conditions of a megabyte: each is refused with the message and position its
// small equivalent gets, or, when it is correct but its tree would be too
// large, with the size message; nothing crashes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/ErrorReport.h"
#include "support/RecordingSink.h"

namespace {

constexpr int32_t Megabyte = 1 << 20;

std::string Repeated(const std::string& unit, int32_t times) {
    std::string text;
    text.reserve(unit.size() * static_cast<std::size_t>(times));
    for (int32_t k = 0; k < times; ++k) text += unit;
    return text;
}

struct TAnswer {
    bool ready = false;
    std::vector<TRecordedMessage> messages;
    int32_t errorPosition = 0;
};

TAnswer Prepare(const std::string& text) {
    TRecordingSink sink;
    TCompiledCondition condition;
    TAnswer answer;
    answer.ready = condition.Prepare(text, TestRules());
    answer.messages = sink.messages;
    answer.errorPosition = condition.ErrorPosition();
    return answer;
}

struct TBigCase {
    std::string name;
    std::function<std::string(int32_t)> text;  // the condition for n repetitions
    int32_t small;                             // n of the small equivalent
    int32_t big;                               // n of about a megabyte
    std::function<int32_t(int32_t)> position;  // the error's position for n
};

void PrintTo(const TBigCase& c, std::ostream* out) { *out << c.name; }

const std::vector<TBigCase> BigCases = {
    {"OpenBrackets", [](int32_t n) { return std::string(static_cast<std::size_t>(n), '('); }, 3,
     Megabyte, [](int32_t n) { return n - 1; }},
    {"CloseBrackets", [](int32_t n) { return std::string(static_cast<std::size_t>(n), ')'); }, 3,
     Megabyte, [](int32_t) { return 0; }},
    {"Commas", [](int32_t n) { return std::string(static_cast<std::size_t>(n), ','); }, 3, Megabyte,
     [](int32_t) { return 0; }},
    {"Nots", [](int32_t n) { return Repeated("NOT ", n); }, 3, Megabyte / 4,
     [](int32_t n) { return 4 * n - 1; }},
    {"OpenCalls", [](int32_t n) { return Repeated("HCP(", n); }, 3, Megabyte / 4,
     [](int32_t n) { return 4 * n - 1; }},
    {"UnclosedParameters", [](int32_t n) { return "BALANCED(N" + Repeated(",1", n); }, 3,
     Megabyte / 2, [](int32_t n) { return 2 * n + 9; }},
    {"UnclosedBracketsAroundACall",
     [](int32_t n) {
         return std::string(static_cast<std::size_t>(n), '(') + "HCP(N)>=1" +
                std::string(static_cast<std::size_t>(n - 1), ')');
     },
     3, Megabyte / 2, [](int32_t n) { return 2 * n + 7; }},
    {"BracketAfterAChainOfAnds", [](int32_t n) { return Repeated("(HCP(N)>=1) AND ", n) + "T )"; },
     3, Megabyte / 16, [](int32_t n) { return 16 * n + 2; }},
    {"OperandAfterASum", [](int32_t n) { return Repeated("1+", n) + "1 1"; }, 3, Megabyte / 2,
     [](int32_t n) { return 2 * n + 2; }},
    {"NegativeLiterals", [](int32_t n) { return Repeated("-1", n); }, 3, Megabyte / 2,
     [](int32_t) { return 2; }},
    // Words of more than MaxQuotedCharacters characters are quoted shortened.
    {"Word", [](int32_t n) { return std::string(static_cast<std::size_t>(n), 'A'); }, 100, Megabyte,
     [](int32_t) { return 0; }},
    {"Digits", [](int32_t n) { return std::string(static_cast<std::size_t>(n), '7'); }, 100,
     Megabyte, [](int32_t) { return 0; }},
    {"CyrillicWord", [](int32_t n) { return Repeated("ж", n); }, 100, Megabyte / 2,
     [](int32_t) { return 0; }},
    {"Nuls", [](int32_t n) { return std::string(static_cast<std::size_t>(n), '\0'); }, 100,
     Megabyte, [](int32_t) { return 0; }},
    {"WordAfterAChainOfOrs", [](int32_t n) { return Repeated("T OR ", n) + "Ж"; }, 3, Megabyte / 5,
     [](int32_t n) { return 5 * n; }},
};

class BigCondition : public testing::TestWithParam<TBigCase> {};

TEST_P(BigCondition, IsRefusedAsItsSmallEquivalent) {
    const TBigCase& c = GetParam();
    const TAnswer small = Prepare(c.text(c.small));
    ASSERT_FALSE(small.ready);
    ASSERT_EQ(small.messages.size(), 1u);
    EXPECT_EQ(small.messages[0].position, c.position(c.small));

    const std::string text = c.text(c.big);
    ASSERT_GE(text.size(), static_cast<std::size_t>(Megabyte) - 16);
    const TAnswer big = Prepare(text);
    EXPECT_FALSE(big.ready);
    ASSERT_EQ(big.messages.size(), 1u);
    EXPECT_EQ(big.messages[0].text, small.messages[0].text);
    EXPECT_EQ(big.messages[0].position, c.position(c.big));
    EXPECT_EQ(big.errorPosition, c.position(c.big));
}

INSTANTIATE_TEST_SUITE_P(Language, BigCondition, testing::ValuesIn(BigCases),
                         [](const auto& info) { return info.param.name; });

const std::string TooLarge = "Слишком длинное условие";

// Correct or only mistyped texts whose tree would be too large: one message,
// at the lexeme where the tree outgrows the limit, however long the rest is.
TEST(BigCondition, CorrectTextsOverTheNodeLimitAreRefusedBySize) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Brackets", std::string(Megabyte / 2, '(') + "HCP(N)>=1" + std::string(Megabyte / 2, ')')},
        {"Ands", Repeated("(HCP(N)>=1) AND ", Megabyte / 16) + "T"},
        {"Nots", Repeated("NOT ", Megabyte / 4) + "T"},
        {"Sum", Repeated("1+", Megabyte / 2) + "1"},
        {"Parameters", "BALANCED(N" + Repeated(",1", Megabyte / 2) + ")"},
        {"TypeErrorAtTheEnd", Repeated("T AND ", Megabyte / 6) + "5"},
    };
    for (const auto& [name, text] : cases) {
        const TAnswer answer = Prepare(text);
        EXPECT_FALSE(answer.ready) << name;
        ASSERT_EQ(answer.messages.size(), 1u) << name;
        EXPECT_EQ(answer.messages[0].text, TooLarge) << name;
        EXPECT_GT(answer.errorPosition, 0) << name;
        // About MaxTreeNodes nodes in: far from the end of the text.
        EXPECT_LT(answer.errorPosition, static_cast<int32_t>(text.size()) / 2) << name;
        EXPECT_EQ(answer.messages[0].position, answer.errorPosition) << name;
    }
}

// A syntax error anywhere wins over the size: it is what today's user sees.
TEST(BigCondition, SyntaxErrorsBeyondTheNodeLimitAreStillReported) {
    const std::string text = Repeated("(HCP(N)>=1) AND ", Megabyte / 16) + "T T";
    const TAnswer answer = Prepare(text);
    ASSERT_EQ(answer.messages.size(), 1u);
    EXPECT_EQ(answer.messages[0].text, "Пропущен оператор");
    EXPECT_EQ(answer.messages[0].position, static_cast<int32_t>(text.size()) - 1);
}

// Just under the limit: accepted, evaluated deal after deal without
// recursion, and the same decision as for a small equivalent.
TEST(BigCondition, DeepestTreesUnderTheNodeLimitAreEvaluated) {
    const int64_t limit = TCompiledCondition::MaxTreeNodes;
    // Nodes per level: 5 for brackets, 3 for NOT, 2 for an operator.
    const int32_t brackets = static_cast<int32_t>(limit / 5) - 20;
    const int32_t nots = static_cast<int32_t>(limit / 3) - 20;
    const int32_t operators = static_cast<int32_t>(limit / 2) - 20;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(static_cast<std::size_t>(brackets), '(') + "HCP(N)>=0" +
             std::string(static_cast<std::size_t>(brackets), ')'),
         "(HCP(N)>=0)"},
        {Repeated("NOT ", nots - nots % 2) + "HCP(S)>5", "HCP(S)>5"},
        {Repeated("T AND ", operators) + "HCP(E)<7", "HCP(E)<7"},
        {"HCP(W) = " + Repeated("0+", operators) + "HCP(W)", "HCP(W) = HCP(W)"},
    };
    TDeal deal;
    uint32_t seed = 17u;
    for (const auto& [text, small] : cases) {
        TRecordingSink sink;
        TCompiledCondition big;
        TCompiledCondition equivalent;
        ASSERT_TRUE(big.Prepare(text, TestRules())) << small;
        ASSERT_TRUE(equivalent.Prepare(small, TestRules())) << small;
        for (int k = 0; k < 20; ++k) {
            deal.DealFromSeed(seed);
            EXPECT_EQ(big.Matches(deal), equivalent.Matches(deal)) << small;
        }
        EXPECT_TRUE(sink.messages.empty()) << small;
    }
}

}  // namespace
