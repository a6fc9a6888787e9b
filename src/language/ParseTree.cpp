#include "language/ParseTree.h"

#include <stdexcept>
#include <vector>

#include "language/ErrorReport.h"

namespace {

const std::string EmptyText;

bool IsUncomputed(const TNonTerminal& node) {
    return node.ValueType != vtNone && node.Value.empty();
}

}  // namespace

std::string NodeName(uint8_t kind) {
    switch (kind) {
        case nkExpression:
            return "Expression";
        case nkRPart:
            return "RPart";
        case nkFCall:
            return "FCall";
        case nkFParameters:
            return "FParameters";
        case nkParamList:
            return "ParamList";
        case nkParamTail:
            return "ParamTail";
        case nkParameter:
            return "Parameter";
        case nkNotExpression:
            return "NotExpression";
        case nkExprInBrackets:
            return "ExprInBrackets";
        case nkExprTail:
            return "ExprTail";
        case nkExpressionClose:
            return "ExpressionClose";
        default:
            return {};
    }
}

TNonTerminal::TNonTerminal(std::string name, int32_t position, uint8_t kind)
    : TLexem(std::move(name), position, kind) {
    ValueType = vtPending;
}

TNonTerminal::~TNonTerminal() {
    // Child nodes are detached from their own children before they are
    // destroyed, so each destructor call only ever sees a flat node.
    std::vector<TNonTerminal*> pending;
    auto detachChildren = [&pending](TNonTerminal& node) {
        for (int32_t k = 0; k < node.childCount_; ++k) {
            if ((node.ownedMask_ >> k & 1u) == 0) continue;
            if (node.nodeMask_ >> k & 1u)
                pending.push_back(node.children_[static_cast<std::size_t>(k)]->AsNode());
            else
                delete node.children_[static_cast<std::size_t>(k)];
        }
        node.childCount_ = 0;
        node.ownedMask_ = 0;
        node.nodeMask_ = 0;
    };
    detachChildren(*this);
    while (!pending.empty()) {
        TNonTerminal* node = pending.back();
        pending.pop_back();
        detachChildren(*node);
        delete node;
    }
}

TNonTerminal* TNonTerminal::FirstChildNode(int32_t from, bool onlyUncomputed) const {
    for (int32_t k = from; k < childCount_; ++k) {
        if ((nodeMask_ >> k & 1u) == 0) continue;
        auto* node = static_cast<TNonTerminal*>(children_[static_cast<std::size_t>(k)]);
        if (!onlyUncomputed || IsUncomputed(*node)) return node;
    }
    return nullptr;
}

void TNonTerminal::Append(TLexem& child, bool owned) {
    const auto k = childCount_;
    children_[k] = &child;
    if (owned) ownedMask_ |= static_cast<uint8_t>(1u << k);
    if (TNonTerminal* node = child.AsNode()) {
        nodeMask_ |= static_cast<uint8_t>(1u << k);
        node->indexInParent_ = k;
    }
    ++childCount_;
}

void TNonTerminal::AddChild(TLexem& lexeme) {
    if (childCount_ == MaxChildren) throw std::logic_error("too many children for a tree node");
    Append(lexeme, false);
}

void TNonTerminal::AddOwnedChild(std::unique_ptr<TLexem> lexeme) {
    if (childCount_ == MaxChildren) throw std::logic_error("too many children for a tree node");
    Append(*lexeme.release(), true);
}

TNonTerminal& TNonTerminal::AddChildNode(uint8_t kind) {
    if (childCount_ == MaxChildren) throw std::logic_error("too many children for a tree node");
    auto node = std::make_unique<TNonTerminal>(NodeName(kind), 0, kind);
    node->Parent = this;
    TNonTerminal& added = *node;
    Append(*node.release(), true);
    return added;
}

void TNonTerminal::Bind(TDeal* deal) {
    if (plan_ == nullptr) {
        auto plan = std::make_unique<TPlan>();
        // Pre-order without a stack: first child node, else the next child node
        // of the nearest ancestor within this subtree that has one.
        TNonTerminal* node = this;
        while (node != nullptr) {
            plan->nodes.push_back(node);
            if (TNonTerminal* child = node->FirstChildNode(0, false)) {
                node = child;
                continue;
            }
            TNonTerminal* next = nullptr;
            while (node != this && next == nullptr) {
                next = node->Parent->FirstChildNode(node->indexInParent_ + 1, false);
                if (next == nullptr) node = node->Parent;
            }
            node = next;
        }
        // Post-order of the nodes with an action: the reverse of the pre-order
        // of the mirrored tree, gathered the same way from the last child.
        std::vector<TNonTerminal*> mirrored;
        node = this;
        while (node != nullptr) {
            if (node->Rule != nullptr && node->Rule->Eval != nullptr) mirrored.push_back(node);
            TNonTerminal* child = nullptr;
            for (int32_t k = node->childCount_ - 1; k >= 0 && child == nullptr; --k)
                child = node->ChildNode(k);
            if (child != nullptr) {
                node = child;
                continue;
            }
            TNonTerminal* next = nullptr;
            while (node != this && next == nullptr) {
                for (int32_t k = node->indexInParent_ - 1; k >= 0 && next == nullptr; --k)
                    next = node->Parent->ChildNode(k);
                if (next == nullptr) node = node->Parent;
            }
            node = next;
        }
        plan->evaluated.assign(mirrored.rbegin(), mirrored.rend());
        plan_ = std::move(plan);
    }
    for (TNonTerminal* node : plan_->nodes) {
        node->Deal = deal;
        node->Value.clear();
    }
}

const std::string& TNonTerminal::GetValue() {
    if (ValueType == vtNone) return EmptyText;
    if (!Value.empty()) return Value;
    ComputeDescendants();
    return Evaluate();
}

void TNonTerminal::ComputeDescendants() {
    // Children are computed before their parents, so no action ever waits on
    // a GetValue deeper down.
    if (plan_ != nullptr) {
        for (TNonTerminal* node : plan_->evaluated)
            if (node != this && IsUncomputed(*node)) node->Evaluate();
        return;
    }
    // Post-order walk over the nodes below that still need a value, without a
    // stack: descend to the deepest first uncomputed node, compute, then move
    // to the next uncomputed sibling's deepest node or up to the parent.
    auto deepest = [](TNonTerminal* node) {
        while (TNonTerminal* child = node->FirstChildNode(0, true)) node = child;
        return node;
    };
    TNonTerminal* node = deepest(this);
    while (node != this) {
        if (node->Rule != nullptr && node->Rule->Eval != nullptr) node->Evaluate();
        TNonTerminal* parent = node->Parent;
        TNonTerminal* sibling = parent->FirstChildNode(node->indexInParent_ + 1, true);
        node = sibling != nullptr ? deepest(sibling) : parent;
    }
}

const std::string& TNonTerminal::Evaluate() {
    if (Rule == nullptr || Rule->Eval == nullptr) {
        ValueType = vtNone;
        Value.clear();
        return EmptyText;
    }
    return Rule->Eval(*this);
}

int32_t MatchRule(TNonTerminal& node, const TRuleList& rules, TLexem& lexeme) {
    for (const auto& rule : rules.Rules) {
        if (rule == nullptr || !rule->Matches(node.Kind, lexeme.Kind)) continue;
        node.Rule = rule.get();
        return rule->Build(node, lexeme);
    }
    return -1;
}

TNonTerminal* NextNonTerminal(TNonTerminal* node, bool descend) {
    if (descend) {
        if (TNonTerminal* child = node->FirstChildNode(0, false)) return child;
    }
    while (node->Parent != nullptr) {
        if (TNonTerminal* sibling = node->Parent->FirstChildNode(node->indexInParent_ + 1, false))
            return sibling;
        node = node->Parent;
    }
    return nullptr;
}

TNonTerminal* NextUnexpanded(TNonTerminal* node) {
    do {
        node = NextNonTerminal(node, true);
    } while (node != nullptr && node->Rule != nullptr);
    return node;
}

std::unique_ptr<TNonTerminal> TLexems::Parse(const TRuleList& rules) const {
    ResetErrorState();
    if (items_.empty()) return nullptr;
    auto root = std::make_unique<TNonTerminal>(NodeName(nkExpression), 0, nkExpression);
    TNonTerminal* current = root.get();
    const int32_t count = Count();
    int32_t i = 0;
    bool failed = false;
    while (!failed && i < count && current != nullptr) {
        TLexem& lexeme = *items_[static_cast<std::size_t>(i)];
        const int32_t consumed = MatchRule(*current, rules, lexeme);
        if (consumed < 0) {
            if (!ErrorReported()) ReportError(ecUnknown, lexeme.Text, lexeme.Position + 1);
            failed = true;
        } else {
            current = NextUnexpanded(current);
            i += consumed;
        }
    }
    if (!failed && current == nullptr && i >= count - 1) return root;
    if (!ErrorReported()) {
        // Lexemes left after a complete tree; a list without its end lexeme
        // can also run out while the tree is unfinished.
        if (i < count)
            ReportError(ecExtraWord, items_[static_cast<std::size_t>(i)]->Text,
                        items_[static_cast<std::size_t>(i)]->Position);
        else
            ReportError(ecMissingExpression, {}, items_.back()->Position);
    }
    return nullptr;
}
