#include "language/SyntaxCheck.h"

#include <string>
#include <vector>

#include "language/ErrorReport.h"
#include "language/Grammar.h"
#include "language/Lexem.h"

TSyntaxCheck CheckSyntax(std::string_view text, int64_t nodeLimit) {
    TSyntaxCheck result;
    std::u32string characters;
    std::vector<TLexemSpan> lexemes;
    if (!ScanLexemes(text, characters, lexemes)) return result;
    result.LexemeCount = static_cast<int32_t>(lexemes.size());
    result.Passed = true;
    if (lexemes.empty()) return result;

    // The unexpanded nodes, the next one to expand last: the rule engine
    // expands in pre-order, so a node's new children are expanded before any
    // node that was pending beside it.
    std::vector<uint8_t> pending{nkExpression};
    result.NodeCount = 1;
    const auto count = static_cast<int32_t>(lexemes.size());
    int32_t i = 0;
    while (i < count && !pending.empty()) {
        const TLexemSpan& lexeme = lexemes[static_cast<std::size_t>(i)];
        const uint8_t node = pending.back();
        pending.pop_back();
        const TRuleShape* shape = ConditionRuleShape(node, lexeme.Kind);
        if (shape == nullptr) {
            ReportError(ecUnknown, LexemText(characters, lexeme), lexeme.Position + 1);
            result.Passed = false;
            return result;
        }
        if (shape->Consumed < 0) {
            ReportError(shape->ErrorCode, {}, lexeme.Position);
            result.Passed = false;
            return result;
        }
        result.NodeCount += shape->NodeCount;
        if (result.NodeCount > nodeLimit && result.OverLimitPosition < 0)
            result.OverLimitPosition = lexeme.Position;
        for (int32_t k = shape->NodeCount - 1; k >= 0; --k)
            pending.push_back(shape->Nodes[static_cast<std::size_t>(k)]);
        i += shape->Consumed;
    }
    if (pending.empty() && i >= count - 1) return result;
    // Lexemes left after a complete tree; a list always ends with the end
    // lexeme, which no rule consumes, so the tree cannot be left unfinished.
    result.Passed = false;
    if (i < count) {
        const TLexemSpan& extra = lexemes[static_cast<std::size_t>(i)];
        ReportError(ecExtraWord, LexemText(characters, extra), extra.Position);
    } else {
        ReportError(ecMissingExpression, {}, lexemes.back().Position);
    }
    return result;
}
