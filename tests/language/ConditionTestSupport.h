#pragma once
// Helpers shared by the condition-language tests.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

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

// A file of cases in tests/language/cases: every line that is not empty and
// does not start with '#', split at " | " into fields, in which \t, \xHH and
// \\ stand for a tab, a byte and a backslash.
inline std::vector<std::vector<std::string>> ReadCaseFile(const char* file) {
    std::vector<std::vector<std::string>> cases;
    std::ifstream in(std::filesystem::path(KORVANA_LANGUAGE_CASES_DIR) / file);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::string field;
        cases.emplace_back();
        for (std::size_t i = 0; i <= line.size(); ++i) {
            if (i == line.size() || line.compare(i, 3, " | ") == 0) {
                cases.back().push_back(field);
                field.clear();
                i += 2;
            } else if (line[i] != '\\' || i + 1 == line.size()) {
                field += line[i];
            } else if (line[++i] == 't') {
                field += '\t';
            } else if (line[i] == 'x') {
                field += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                field += line[i];
            }
        }
    }
    return cases;
}
