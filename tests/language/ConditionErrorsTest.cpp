// Refused conditions kept as data in tests/language/cases: each file holds the
// errors of one stage (lexer, grammar, types) as lines of
// "name | condition | position | message". Every case is refused at its own
// stage and, with the same message at the same position, by the facade.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "language/ConditionCheck.h"
#include "language/ErrorReport.h"
#include "language/Lexem.h"
#include "language/SyntaxCheck.h"
#include "support/RecordingSink.h"

namespace {

enum class TStage { Lexer, Grammar, Types };

struct TErrorCase {
    TStage stage;
    std::string name;
    std::string condition;
    int32_t position;
    std::string message;
};

void PrintTo(const TErrorCase& c, std::ostream* out) { *out << c.condition; }

// The cases of one file; a line that does not read is a case no condition meets.
void ReadCases(const char* file, TStage stage, std::vector<TErrorCase>& cases) {
    for (std::vector<std::string> fields : ReadCaseFile(file)) {
        if (fields.size() != 4 || fields[2].empty() ||
            fields[2].find_first_not_of("0123456789") != std::string::npos)
            fields = {"Unreadable" + std::to_string(cases.size()), "T", "-1", fields[0]};
        cases.push_back({stage, fields[0], fields[1], std::stoi(fields[2]), fields[3]});
    }
}

std::vector<TErrorCase> AllCases() {
    std::vector<TErrorCase> cases;
    ReadCases("lexer-errors.txt", TStage::Lexer, cases);
    ReadCases("syntax-errors.txt", TStage::Grammar, cases);
    ReadCases("type-errors.txt", TStage::Types, cases);
    return cases;
}

class ConditionError : public testing::TestWithParam<TErrorCase> {
protected:
    void ExpectTheMessage(const TRecordingSink& sink) const {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, GetParam().message);
        EXPECT_EQ(sink.messages[0].position, GetParam().position);
        EXPECT_EQ(ErrorPosition(), GetParam().position);
    }
};

TEST_P(ConditionError, IsRefusedAtItsStageWithOneMessage) {
    const TErrorCase& c = GetParam();
    {
        TRecordingSink sink;
        TLexems lexemes;
        const bool tokenized = lexemes.Tokenize(c.condition);
        EXPECT_EQ(tokenized, c.stage != TStage::Lexer);
        if (!tokenized) {
            ExpectTheMessage(sink);
            EXPECT_TRUE(ErrorReported());
            for (int32_t k = 0; k < lexemes.Count(); ++k)
                EXPECT_NE(lexemes.GetLexem(k)->Kind, lkEnd) << "no end lexeme after a failed run";
        } else {
            const std::unique_ptr<TNonTerminal> root = lexemes.Parse(TestRules());
            EXPECT_EQ(root == nullptr, c.stage == TStage::Grammar);
            if (c.stage == TStage::Grammar)
                ExpectTheMessage(sink);
            else
                EXPECT_TRUE(sink.messages.empty());
        }
    }
    {
        // The first pass, without a tree, finds the same lexer and grammar errors.
        TRecordingSink sink;
        EXPECT_EQ(CheckSyntax(c.condition, TCompiledCondition::MaxTreeNodes).Passed,
                  c.stage == TStage::Types);
        if (c.stage == TStage::Types)
            EXPECT_TRUE(sink.messages.empty());
        else
            ExpectTheMessage(sink);
    }
    TRecordingSink sink;
    TCompiledCondition condition;
    EXPECT_FALSE(condition.Prepare(c.condition, TestRules()));
    ExpectTheMessage(sink);
    EXPECT_EQ(condition.ErrorPosition(), c.position);
    EXPECT_EQ(condition.Root(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Language, ConditionError, testing::ValuesIn(AllCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ConditionErrors, EveryCaseFileHoldsItsCases) {
    EXPECT_GE(ReadCaseFile("lexer-errors.txt").size(), 14u);
    EXPECT_GE(ReadCaseFile("syntax-errors.txt").size(), 20u);
    EXPECT_GE(ReadCaseFile("type-errors.txt").size(), 33u);
    EXPECT_GE(ReadCaseFile("trees.txt").size(), 9u);
    EXPECT_GE(ReadCaseFile("lexemes.txt").size(), 13u);
}

}  // namespace
