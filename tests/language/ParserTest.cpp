#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "language/ConditionCheck.h"
#include "language/ErrorReport.h"
#include "language/SyntaxCheck.h"
#include "language/internal/Evaluation.h"
#include "support/RecordingSink.h"

namespace {

struct TParsed {
    std::unique_ptr<TLexems> lexemes = std::make_unique<TLexems>();
    std::unique_ptr<TNonTerminal> root;
};

TParsed ParseText(const std::string& text) {
    TParsed parsed;
    if (parsed.lexemes->Tokenize(text)) parsed.root = parsed.lexemes->Parse(TestRules());
    return parsed;
}

TEST(Grammar, RulesHaveTheStoredNodeKindsAndMasks) {
    const std::vector<std::pair<uint8_t, uint32_t>> table = {
        {9, 2},    {9, 16},   {9, 4},    {9, 32},   {10, 448}, {10, 8},   {11, 16},
        {12, 32},  {13, 64},  {13, 182}, {14, 64},  {14, 128}, {15, 192}, {15, 54},
        {16, 4},   {17, 32},  {18, 64},  {18, 54},  {19, 64},  {9, 456},  {10, 246},
        {12, 478}, {13, 264}, {14, 318}, {15, 264}, {18, 392}, {19, 256}};
    const TRuleList& rules = TestRules();
    ASSERT_EQ(table.size(), rules.Rules.size());
    for (std::size_t k = 0; k < table.size(); ++k) {
        EXPECT_EQ(rules.Rules[k]->NonTerminal, table[k].first) << "rule " << k + 1;
        EXPECT_EQ(rules.Rules[k]->Lookahead, table[k].second) << "rule " << k + 1;
    }
    // Evaluation actions sit on rules 1-4, 7, 13-16 only.
    for (std::size_t k = 0; k < table.size(); ++k) {
        const bool evaluates = k <= 3 || k == 6 || (k >= 12 && k <= 15);
        EXPECT_EQ(rules.Rules[k]->Eval != nullptr, evaluates) << "rule " << k + 1;
    }
}

// The first pass (CheckSyntax) expands nodes by the shapes alone; every shape
// must say what its rule's build action does.
TEST(Grammar, RuleShapesTellWhatTheBuildActionsDo) {
    const std::vector<std::pair<uint8_t, std::string>> lexemes = {
        {lkValue, "N"}, {lkNot, "NOT"}, {lkOperator, "+"}, {lkFunction, "HCP"},
        {lkOpen, "("},  {lkClose, ")"}, {lkComma, ","},    {lkEnd, std::string(EndLexemText)}};
    int32_t shapes = 0;
    for (uint8_t nodeKind = nkExpression; nodeKind <= nkExpressionClose; ++nodeKind) {
        for (const auto& [lexemKind, text] : lexemes) {
            TRecordingSink sink;
            ResetErrorState();
            TNonTerminal node(NodeName(nodeKind), 0, nodeKind);
            TLexem lexeme(text, 5, lexemKind == lkEnd ? lexemKind : static_cast<uint8_t>(lkNone));
            ASSERT_EQ(lexeme.Kind, lexemKind);
            const TRuleShape* shape = ConditionRuleShape(nodeKind, lexemKind);
            const int32_t result = MatchRule(node, TestRules(), lexeme);
            const std::string where = NodeName(nodeKind) + " at " + text;
            if (shape == nullptr) {
                EXPECT_EQ(result, -1) << where;
                EXPECT_TRUE(sink.messages.empty()) << where;
                continue;
            }
            ++shapes;
            EXPECT_EQ(result, shape->Consumed) << where;
            if (shape->Consumed < 0) {
                ASSERT_EQ(sink.messages.size(), 1u) << where;
                EXPECT_EQ(sink.messages[0].text, ErrorMessage(shape->ErrorCode, {})) << where;
                EXPECT_EQ(sink.messages[0].position, 5) << where;
                continue;
            }
            EXPECT_TRUE(sink.messages.empty()) << where;
            std::vector<int> made;
            for (int32_t k = 0; k < node.ChildCount(); ++k)
                if (TNonTerminal* child = node.ChildNode(k)) made.push_back(child->Kind);
            const std::vector<int> expected(shape->Nodes.begin(),
                                            shape->Nodes.begin() + shape->NodeCount);
            EXPECT_EQ(made, expected) << where;
        }
    }
    // FCall, NotExpression and ExprInBrackets have a rule for one lexeme kind,
    // ExpressionClose for two, every other node for all eight.
    EXPECT_EQ(shapes, 7 * 8 + 3 + 2);
}

struct TTreeCase {
    std::string name;
    std::string condition;
    std::string tree;
};

void PrintTo(const TTreeCase& c, std::ostream* out) { *out << c.condition; }

std::vector<TTreeCase> TreeCases() {
    std::vector<TTreeCase> cases;
    for (const std::vector<std::string>& fields : ReadCaseFile("trees.txt"))  // a bad line fails
        cases.push_back(fields.size() == 3
                            ? TTreeCase{fields[0], fields[1], fields[2]}
                            : TTreeCase{"Unreadable" + std::to_string(cases.size()), "", ""});
    return cases;
}

class ParseTree : public testing::TestWithParam<TTreeCase> {};

TEST_P(ParseTree, BuildsTheTree) {
    TRecordingSink sink;
    TParsed parsed = ParseText(GetParam().condition);
    ASSERT_NE(parsed.root, nullptr);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(TreeText(*parsed.root), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(Parser, ParseTree, testing::ValuesIn(TreeCases()),
                         [](const auto& info) { return info.param.name; });

TEST_P(ParseTree, FirstPassAcceptsAndCountsTheNodesOfTheTree) {
    TRecordingSink sink;
    TParsed parsed = ParseText(GetParam().condition);
    ASSERT_NE(parsed.root, nullptr);
    int64_t nodes = 0;
    for (TNonTerminal* node = parsed.root.get(); node != nullptr;
         node = NextNonTerminal(node, true))
        ++nodes;
    const TSyntaxCheck check = CheckSyntax(GetParam().condition, nodes);
    EXPECT_TRUE(check.Passed);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(check.NodeCount, nodes);
    EXPECT_EQ(check.LexemeCount, parsed.lexemes->Count());
    EXPECT_EQ(check.OverLimitPosition, -1);
}

TEST(Parser, ClosingBracketIsSharedByTheEmptyRPartAndTheParamTail) {
    TParsed parsed = ParseText("HCP(N) >= 12");
    ASSERT_NE(parsed.root, nullptr);
    TNonTerminal* list = parsed.root->ChildNode(0)->ChildNode(1)->ChildNode(1);
    TNonTerminal* innerRPart = list->ChildNode(0)->ChildNode(0)->ChildNode(1);
    TNonTerminal* tail = list->ChildNode(1);
    EXPECT_EQ(innerRPart->Child(0), tail->Child(0));
    EXPECT_EQ(innerRPart->Child(0), parsed.lexemes->GetLexem(3));
}

TEST(Parser, NodesTakeThePositionOfTheirFirstLexeme) {
    TParsed parsed = ParseText("  NOT (HCP(N, ) > 3)");
    ASSERT_NE(parsed.root, nullptr);
    TNonTerminal* negation = parsed.root->ChildNode(0);
    EXPECT_EQ(parsed.root->Position, 2);
    EXPECT_EQ(negation->Position, 2);
    TNonTerminal* brackets = negation->ChildNode(1)->ChildNode(0);
    EXPECT_EQ(brackets->Text, "ExprInBrackets");
    EXPECT_EQ(brackets->Position, 6);
    TNonTerminal* call = brackets->ChildNode(1)->ChildNode(0)->ChildNode(0);
    EXPECT_EQ(call->Text, "FCall");
    EXPECT_EQ(call->Position, 7);
    // The omitted parameter takes the position of the ")" that follows it.
    const TParameters parameters = CollectParameters(*call);
    ASSERT_EQ(parameters.Count, 2);
    EXPECT_EQ(parameters[1]->Position, 14);
    EXPECT_EQ(parameters[1]->Child(0)->Text, "-1");
}

struct TParameterCase {
    std::string condition;
    std::vector<std::string> parameters;  // the text of each parameter's first lexeme
};

TEST(Parser, CollectsWrittenAndOmittedParameters) {
    const std::vector<TParameterCase> cases = {
        {"Balanced(N,,17)", {"Expression", "-1", "Expression"}},
        {"Balanced(N,)", {"Expression", "-1"}},
        {"Balanced(,N)", {"-1", "Expression"}},
        {"Balanced()", {}},
        {"Multy(N,1,2,3,4,5,6,7,8)", std::vector<std::string>(9, "Expression")},
    };
    for (const TParameterCase& c : cases) {
        TParsed parsed = ParseText(c.condition);
        ASSERT_NE(parsed.root, nullptr) << c.condition;
        const TParameters parameters = CollectParameters(*parsed.root->ChildNode(0));
        ASSERT_EQ(parameters.Count, static_cast<int32_t>(c.parameters.size())) << c.condition;
        for (int32_t k = 0; k < parameters.Count && k < TParameters::MaxKept; ++k)
            EXPECT_EQ(parameters[k]->Child(0)->Text, c.parameters[static_cast<std::size_t>(k)])
                << c.condition << " parameter " << k;
        EXPECT_EQ(parameters[parameters.Count], nullptr);
    }
}

// NOT NOT T has 8 nodes: the root, then 3 for each NOT and 1 for T.
TEST(Parser, NodeLimitIsCrossedAtTheLexemeThatGrowsTheTreeBeyondIt) {
    TRecordingSink sink;
    const std::vector<std::pair<int64_t, int32_t>> cases = {
        {8, -1}, {100, -1}, {7, 8}, {6, 4}, {5, 4}, {4, 4}, {3, 0}, {2, 0}, {0, 0}};
    for (const auto& [limit, position] : cases) {
        const TSyntaxCheck check = CheckSyntax("NOT NOT T", limit);
        EXPECT_TRUE(check.Passed) << limit;
        EXPECT_EQ(check.NodeCount, 8) << limit;
        EXPECT_EQ(check.OverLimitPosition, position) << limit;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(Parser, BlanksOnlyGiveNoTreeAndNoMessage) {
    TRecordingSink sink;
    TParsed parsed = ParseText("    ");
    EXPECT_EQ(parsed.lexemes->Count(), 0);
    EXPECT_EQ(parsed.root, nullptr);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(ErrorReported());
}

TEST(Parser, NoMatchingRuleInAnIncompleteRuleSetIsReported) {
    TRecordingSink sink;
    TRuleList rules;  // only rule 1: Expression -> value RPart; RPart has no rule
    rules.Rules[0] = std::make_unique<TRule>(*TestRules().Rules[0]);
    TLexems lexemes;
    ASSERT_TRUE(lexemes.Tokenize("T"));
    EXPECT_EQ(lexemes.Parse(rules), nullptr);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Нераспознанная ошибкаКонец файла");
    EXPECT_EQ(sink.messages[0].position, 1);
}

TEST(Parser, NextUnexpandedWalksNodesInPreOrder) {
    TParsed parsed = ParseText("NOT (T)");
    ASSERT_NE(parsed.root, nullptr);
    std::vector<std::string> names;
    for (TNonTerminal* node = parsed.root.get(); node != nullptr;
         node = NextNonTerminal(node, true))
        names.push_back(node->Text);
    EXPECT_EQ(names, (std::vector<std::string>{"Expression", "NotExpression", "Expression",
                                               "ExprInBrackets", "ExprTail", "Expression", "RPart",
                                               "ExpressionClose", "RPart", "RPart"}));
    TNonTerminal* negation = parsed.root->ChildNode(0);
    EXPECT_EQ(NextNonTerminal(negation, false)->Text, "RPart");
    EXPECT_EQ(NextUnexpanded(parsed.root.get()), nullptr);  // every node is expanded
}

// Counts the calls of rule 1's action, which the engine reaches only through the table.
int valueExpressionEvaluations = 0;
const std::string& CountingEvalExpression(TNonTerminal& node) {
    ++valueExpressionEvaluations;
    return EvalExpression(node);
}

TEST(Parser, ValuesAreCachedUntilTheNextBind) {
    TRuleList rules;
    for (std::size_t k = 0; k < rules.Rules.size(); ++k)
        rules.Rules[k] = std::make_unique<TRule>(*TestRules().Rules[k]);
    rules.Rules[0]->Eval = CountingEvalExpression;
    TLexems lexemes;
    ASSERT_TRUE(lexemes.Tokenize("(1 + 2) = 3"));
    std::unique_ptr<TNonTerminal> root = lexemes.Parse(rules);
    ASSERT_NE(root, nullptr);
    valueExpressionEvaluations = 0;
    EXPECT_EQ(root->GetValue(), "1");
    EXPECT_EQ(valueExpressionEvaluations, 3);  // 1 + 2, 2, 3
    EXPECT_EQ(root->GetValue(), "1");
    EXPECT_EQ(valueExpressionEvaluations, 3);

    root->Bind(nullptr);
    for (TNonTerminal* node = root.get(); node != nullptr; node = NextNonTerminal(node, true)) {
        EXPECT_TRUE(node->Value.empty()) << node->Text;
        const bool evaluated = node->Rule->Eval != nullptr;
        EXPECT_EQ(node->ValueType == vtPending, !evaluated) << node->Text;
    }
    EXPECT_EQ(root->ValueType, vtBoolean);
    EXPECT_EQ(root->GetValue(), "1");
    EXPECT_EQ(valueExpressionEvaluations, 6);
}

TEST(Parser, FailedNodeStaysFailedAfterBind) {
    TRecordingSink sink;
    TParsed parsed = ParseText("N + 1");
    ASSERT_NE(parsed.root, nullptr);
    EXPECT_EQ(parsed.root->GetValue(), "");
    EXPECT_EQ(parsed.root->ValueType, vtNone);
    parsed.root->Bind(nullptr);
    EXPECT_EQ(parsed.root->GetValue(), "");
    EXPECT_EQ(parsed.root->ValueType, vtNone);
    EXPECT_EQ(sink.messages.size(), 1u);  // reported once, never computed again
}

TEST(Parser, NodeWithoutEvaluationFails) {
    TParsed parsed = ParseText("T");
    ASSERT_NE(parsed.root, nullptr);
    TNonTerminal* rest = parsed.root->ChildNode(1);
    EXPECT_EQ(rest->GetValue(), "");
    EXPECT_EQ(rest->ValueType, vtNone);
}

}  // namespace
