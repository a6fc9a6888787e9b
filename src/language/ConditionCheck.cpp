#include "language/ConditionCheck.h"

#include "language/ErrorReport.h"
#include "language/SyntaxCheck.h"

TCompiledCondition::~TCompiledCondition() { ReleaseCondition(); }

void TCompiledCondition::ReleaseCondition() {
    compiled_.Clear();
    root_.reset();  // the tree refers to the lexemes: it goes first
    lexemes_.reset();
    nodeCount_ = 0;
}

bool TCompiledCondition::Prepare(std::string_view joinedText, const TRuleList& rules) {
    ReleaseCondition();
    ResetErrorState();
    errorPosition_ = 0;
    if (joinedText.empty()) return true;

    bool ready = false;
    const TSyntaxCheck syntax = CheckSyntax(joinedText, MaxTreeNodes);
    if (syntax.Passed && syntax.OverLimitPosition >= 0) {
        ReportError(ecTooLarge, {}, syntax.OverLimitPosition);
    } else if (syntax.Passed && syntax.LexemeCount > 0) {
        nodeCount_ = syntax.NodeCount;
        lexemes_ = std::make_unique<TLexems>();
        ready = lexemes_->Tokenize(joinedText);
    }
    if (ready) {
        root_ = lexemes_->Parse(rules);
        ready = root_ != nullptr;  // nullptr without a message for blanks only
    }
    if (ready) {
        root_->Bind(nullptr);
        root_->GetValue();
        if (root_->ValueType != vtBoolean && !::ErrorReported())
            ReportError(ecTypeMismatch, TypeName(vtBoolean), 0);
        // A parameter beyond a function's signature is checked by nothing above
        // it, so its error can leave a Boolean root: any report refuses.
        ready = !::ErrorReported();
    }
    if (!ready) {
        errorPosition_ = ::ErrorPosition();
        ReleaseCondition();
    } else if (nodeCount_ <= MaxCompiledNodes) {
        compiled_.Compile(*root_);  // when it cannot, the tree is evaluated instead
    }
    return ready;
}

int32_t TCompiledCondition::Cost() const {
    if (root_ == nullptr) return 0;
    const int32_t cost = TCompiledEvaluator::CostOf(*root_);
    const bool slowTree = !compiled_.IsCompiled() && nodeCount_ > MaxCheapTreeNodes;
    return cost > 0 ? cost : (slowTree ? 1 : 0);
}

bool TCompiledCondition::Matches(TDeal& deal) {
    if (root_ == nullptr) return true;
    if (compiled_.IsCompiled()) return compiled_.Matches(deal);
    return MatchesByTree(deal);
}

bool TCompiledCondition::Matches(const TCardSets& deal) {
    if (root_ == nullptr) return true;
    if (compiled_.IsCompiled()) return compiled_.Matches(deal);
    fromCardSets_.SetCardSets(deal);
    return MatchesByTree(fromCardSets_);
}

bool TCompiledCondition::MatchesByTree(TDeal& deal) {
    if (root_ == nullptr) return true;
    root_->Bind(&deal);
    return TextToBool(root_->GetValue(), true);
}
