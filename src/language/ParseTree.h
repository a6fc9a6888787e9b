#pragma once
// The parse tree of a condition and the table-driven engine that builds it.
// The engine expands the leftmost unexpanded node with the first rule whose
// node kind and lookahead set fit the node and the current lexeme; the rules
// themselves (the grammar) are data handed in as a TRuleList.
//
// Trees may be as deep as the condition is long (operators group to the
// right), so building, binding, evaluating and destroying a tree never
// recurse along its depth.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "language/Lexem.h"

class TDeal;
class TRule;

// Node kinds, continuing the lexeme kinds.
enum TNodeKind : uint8_t {
    nkExpression = 9,
    nkRPart = 10,
    nkFCall = 11,
    nkFParameters = 12,
    nkParamList = 13,
    nkParamTail = 14,
    nkParameter = 15,
    nkNotExpression = 16,
    nkExprInBrackets = 17,
    nkExprTail = 18,
    nkExpressionClose = 19,
};

// The node name of a kind ("Expression", "RPart", ...), empty for other codes.
std::string NodeName(uint8_t kind);

class TNonTerminal : public TLexem {
public:
    // The most children a build action gives one node.
    static constexpr int32_t MaxChildren = 3;

    // A pending, unexpanded node without children.
    TNonTerminal(std::string name, int32_t position, uint8_t kind);
    // Destroys the child nodes and the lexemes made for this node, iteratively.
    ~TNonTerminal() override;

    TNonTerminal* AsNode() override { return this; }

    // The cached value; computed by the rule's evaluation action when there is
    // none since the last Bind. A node that once failed (vtNone) stays failed.
    // Child nodes are computed first, deepest first, so the actions only ever
    // read cached values of their children and nothing recurses along the tree.
    const std::string& GetValue() override;

    // For this node and every node below it: refer to the deal (nullptr for the
    // type check) and forget the value. Value types are kept. The first Bind
    // of a node lists the nodes below it once, so that later Binds and
    // GetValues of that node run down a flat list: the tree must be complete.
    void Bind(TDeal* deal);

    int32_t ChildCount() const { return childCount_; }
    // The child at the index, or nullptr outside 0 .. ChildCount() - 1.
    TLexem* Child(int32_t index) const {
        if (index < 0 || index >= childCount_) return nullptr;
        return children_[static_cast<std::size_t>(index)];
    }
    // The child at the index when it is a node, else nullptr.
    TNonTerminal* ChildNode(int32_t index) const {
        if (index < 0 || index >= childCount_ || (nodeMask_ >> index & 1u) == 0) return nullptr;
        return static_cast<TNonTerminal*>(children_[static_cast<std::size_t>(index)]);
    }

    // Build-action helpers. A lexeme of the condition's list, shared, not owned:
    void AddChild(TLexem& lexeme);
    // A lexeme made for this node and owned by it (an omitted parameter):
    void AddOwnedChild(std::unique_ptr<TLexem> lexeme);
    // A new unexpanded node of the kind, owned by this node:
    TNonTerminal& AddChildNode(uint8_t kind);

    TDeal* Deal = nullptr;        // the deal evaluation reads; nullptr during the check
    const TRule* Rule = nullptr;  // the rule that expanded the node; nullptr while unexpanded
    TNonTerminal* Parent = nullptr;

private:
    friend TNonTerminal* NextNonTerminal(TNonTerminal* node, bool descend);
    void Append(TLexem& child, bool owned);
    // The first child node at index `from` or later, optionally only those
    // whose value is still to be computed.
    TNonTerminal* FirstChildNode(int32_t from, bool onlyUncomputed) const;
    const std::string& Evaluate();
    void ComputeDescendants();

    // The nodes of the subtree, for repeated evaluation: all of them in
    // pre-order, and those with an evaluation action in post-order.
    struct TPlan {
        std::vector<TNonTerminal*> nodes;
        std::vector<TNonTerminal*> evaluated;
    };
    std::unique_ptr<TPlan> plan_;

    std::array<TLexem*, MaxChildren> children_{};
    uint8_t childCount_ = 0;
    uint8_t ownedMask_ = 0;  // bit k: child k is owned (a node or a made lexeme)
    uint8_t nodeMask_ = 0;   // bit k: child k is a node
    uint8_t indexInParent_ = 0;
};

// An evaluation action: sets the node's ValueType and Value and returns Value.
using TEvalAction = const std::string& (*)(TNonTerminal& node);
// A build action: expands the node at the current lexeme; 1 when the lexeme
// was consumed, 0 when not, -1 after reporting a syntax error.
using TBuildAction = int32_t (*)(TNonTerminal& node, TLexem& current);

class TRule {
public:
    TRule(uint8_t nonTerminal, uint32_t lookahead, TEvalAction eval, TBuildAction build)
        : Eval(eval), Build(build), NonTerminal(nonTerminal), Lookahead(lookahead) {}

    // True for the node kind and a lexeme kind of the lookahead set.
    bool Matches(uint8_t nodeKind, uint8_t lexemKind) const {
        return NonTerminal == nodeKind && lexemKind <= 31 && ((Lookahead >> lexemKind) & 1u) != 0;
    }

    TEvalAction Eval;
    TBuildAction Build;
    uint8_t NonTerminal;
    uint32_t Lookahead;  // bit k set: the rule applies when the current lexeme has kind k
};

// The grammar's rule set, tried in order; empty entries are skipped.
inline constexpr int32_t ConditionRuleCount = 27;
struct TRuleList {
    std::array<std::unique_ptr<TRule>, ConditionRuleCount> Rules;
};

// Expands the node with the first matching rule, which is stored in the node;
// the build action's result, or -1 (nothing reported) when no rule matches.
int32_t MatchRule(TNonTerminal& node, const TRuleList& rules, TLexem& lexeme);

// The pre-order successor of the node among nodes; with descend false the
// node's own children are skipped. nullptr after the last node.
TNonTerminal* NextNonTerminal(TNonTerminal* node, bool descend);
// The next node after this one, in pre-order, that has not been expanded.
TNonTerminal* NextUnexpanded(TNonTerminal* node);
