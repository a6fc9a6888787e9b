// Random texts built from the language's own words: every text is either
// accepted as a Boolean condition that evaluates against deals without a
// message, or refused with exactly one message at a position inside the text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "language/ErrorReport.h"
#include "language/SyntaxCheck.h"
#include "support/RecordingSink.h"
#include "text/StringFunctions.h"

namespace {

const std::vector<std::string> Pieces = {"HCP",      "SuitLength", "SuitByLength",
                                         "Balanced", "Range",      "Shape",
                                         "Multy",    "(",          ")",
                                         "(",        ")",          ",",
                                         ",",        "N",          "s",
                                         "SP",       "d",          "1",
                                         "12",       "-1",         "0",
                                         "+",        "-",          "AND",
                                         "OR",       "NOT",        ">=",
                                         "<",        "=",          "<>",
                                         "T",        "false",      " ",
                                         " ",        " ",          "ё",
                                         "7",        "2147483647", "-2147483648",
                                         "=<"};

// A random expression of the language, well formed but not necessarily well typed.
void AddExpression(std::mt19937& random, int depth, std::vector<std::string>& out) {
    static const std::vector<std::string> values = {
        "N", "s", "SP", "hearts", "12", "-1", "0", "T", "false", "2147483647", "-2147483648"};
    static const std::vector<std::string> functions = {
        "HCP", "SuitLength", "SuitByLength", "Balanced", "Range", "Shape", "Multy"};
    static const std::vector<std::string> operators = {"+", "-", "AND", "OR", ">=", "<", "=", "<>"};
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const int choice = std::uniform_int_distribution<int>(0, depth > 0 ? 5 : 1)(random);
    switch (choice) {
        case 0:
            out.push_back(pick(values));
            break;
        case 1: {
            out.push_back(pick(functions));
            out.push_back("(");
            out.push_back(pick({"N", "E", "S", "W"}));
            for (int k = std::uniform_int_distribution<int>(0, 5)(random); k > 0; --k) {
                out.push_back(",");
                if (random() % 5 != 0) out.push_back(pick(values));
            }
            out.push_back(")");
            break;
        }
        case 2:
            out.push_back("NOT");
            AddExpression(random, depth - 1, out);
            break;
        case 3:
            out.push_back("(");
            AddExpression(random, depth - 1, out);
            out.push_back(")");
            break;
        default:
            AddExpression(random, depth - 1, out);
            out.push_back(pick(operators));
            AddExpression(random, depth - 1, out);
    }
}

// A random expression with `strays` random pieces put in random places, its
// words joined by a blank or, one time in four, by nothing.
std::string RandomText(std::mt19937& random, int strays) {
    std::vector<std::string> words;
    AddExpression(random, 4, words);
    std::uniform_int_distribution<std::size_t> piece(0, Pieces.size() - 1);
    for (; strays > 0; --strays) {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, words.size())(random);
        words.insert(words.begin() + static_cast<std::ptrdiff_t>(at), Pieces[piece(random)]);
    }
    std::string text;
    for (const std::string& word : words) text += word + (random() % 4 == 0 ? "" : " ");
    return text;
}

TEST(RandomConditions, AreAcceptedAndEvaluatedOrRefusedWithOneMessage) {
    std::mt19937 random(20261207u);
    std::uniform_int_distribution<int> strays(0, 3);
    TRandomSource source(3u);
    TDeal deal;
    int accepted = 0;
    for (int run = 0; run < 20000; ++run) {
        // Every other text gets a few random words in random places.
        const std::string text = RandomText(random, run % 2 == 0 ? 0 : strays(random));
        TRecordingSink sink;
        TCompiledCondition condition;
        const bool ready = condition.Prepare(text, TestRules());
        if (ready) {
            ++accepted;
            EXPECT_TRUE(sink.messages.empty()) << text;
            ASSERT_NE(condition.Root(), nullptr) << text;
            EXPECT_EQ(condition.Root()->ValueType, vtBoolean) << text;
            // The compiled form (when the tree compiled) and the tree decide alike.
            for (int d = 0; d < 3; ++d) {
                deal.DealRandom(source);
                const bool compiled = condition.Matches(deal);
                const bool byTree = condition.MatchesByTree(deal);
                EXPECT_EQ(compiled, byTree) << text;
                EXPECT_EQ(condition.Root()->Value, byTree ? "1" : "0") << text;
            }
            EXPECT_TRUE(sink.messages.empty()) << text;
        } else if (text.find_first_not_of(' ') == std::string::npos) {
            EXPECT_TRUE(sink.messages.empty()) << text;
        } else {
            ASSERT_EQ(sink.messages.size(), 1u) << text;
            EXPECT_GE(sink.messages[0].position, 0) << text;
            EXPECT_LE(sink.messages[0].position, CharCount(text)) << text;
            EXPECT_EQ(sink.messages[0].position, condition.ErrorPosition()) << text;
        }
    }
    EXPECT_GT(accepted, 1000);
}

// The first pass (CheckSyntax) and the parser proper find the same first
// lexical or syntax error, and for a text without one the same tree size.
TEST(RandomConditions, FirstPassAgreesWithTheParser) {
    std::mt19937 random(20261208u);
    for (int run = 0; run < 20000; ++run) {
        const std::string text = RandomText(random, run % 3);

        TRecordingSink firstSink;
        const TSyntaxCheck check = CheckSyntax(text, TCompiledCondition::MaxTreeNodes);
        const std::vector<TRecordedMessage> first = firstSink.messages;
        firstSink.messages.clear();
        TLexems lexemes;
        std::unique_ptr<TNonTerminal> root;
        if (lexemes.Tokenize(text)) root = lexemes.Parse(TestRules());
        const std::vector<TRecordedMessage>& parsed = firstSink.messages;

        ASSERT_EQ(first.size(), parsed.size()) << text;
        if (!parsed.empty()) {
            EXPECT_FALSE(check.Passed) << text;
            EXPECT_EQ(first[0].text, parsed[0].text) << text;
            EXPECT_EQ(first[0].position, parsed[0].position) << text;
            continue;
        }
        EXPECT_TRUE(check.Passed) << text;
        EXPECT_EQ(check.LexemeCount, lexemes.Count()) << text;
        int64_t nodes = 0;
        for (TNonTerminal* node = root.get(); node != nullptr; node = NextNonTerminal(node, true))
            ++nodes;
        EXPECT_EQ(check.NodeCount, nodes) << text;
    }
}

}  // namespace
