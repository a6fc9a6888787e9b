#pragma once
// Helpers shared by the condition-language tests.
#include <memory>
#include <string>

#include "language/Grammar.h"
#include "language/ParseTree.h"

// The tree in bracket notation, e.g. Expression[N, RPart[Конец файла]]: a node
// as its name followed by its children in brackets, a lexeme as its text.
// Recursive: for the small trees of the tests only.
inline std::string TreeText(const TLexem& item) {
    const TNonTerminal* node = const_cast<TLexem&>(item).AsNode();
    if (node == nullptr) return item.Text;
    std::string text = node->Text + "[";
    for (int32_t k = 0; k < node->ChildCount(); ++k) {
        if (k > 0) text += ", ";
        text += TreeText(*node->Child(k));
    }
    return text + "]";
}

// One rule set for a whole test program, as the main window keeps one.
inline const TRuleList& TestRules() {
    static const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    return *rules;
}
