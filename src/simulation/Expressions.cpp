#include "simulation/internal/Expressions.h"

#include "language/ErrorReport.h"
#include "language/SyntaxCheck.h"
#include "text/StringFunctions.h"

namespace {

constexpr std::string_view BlankText = "пустое выражение";

}  // namespace

TStatus PrepareCondition(TCompiledCondition& condition, std::string_view text,
                         const TRuleList& rules) {
    TStatus status = QuietCheck(
        [&] { return condition.Prepare(text, rules) && !condition.IsEmpty(); }, BlankText);
    const int32_t position = status.Position();
    status.SetText(std::string(text), position);
    return status;
}

TExpression::TExpression() = default;

TExpression::~TExpression() {
    root_.reset();  // the tree refers to the lexemes
    lexemes_.reset();
}

TStatus TExpression::Prepare(std::string_view text, const TRuleList& rules) {
    root_.reset();
    lexemes_.reset();
    TStatus status = QuietCheck([&] { return Check(text, rules); }, BlankText);
    if (status.IsOk()) return status;
    root_.reset();
    lexemes_.reset();
    const int32_t position = status.Position();
    status.SetText(std::string(text), position);
    return status;
}

bool TExpression::Check(std::string_view text, const TRuleList& rules) {
    ResetErrorState();
    const TSyntaxCheck syntax = CheckSyntax(text, TCompiledCondition::MaxTreeNodes);
    if (syntax.Passed && syntax.OverLimitPosition >= 0) {
        ReportError(ecTooLarge, {}, syntax.OverLimitPosition);
        return false;
    }
    if (!syntax.Passed || syntax.LexemeCount == 0) return false;
    lexemes_ = std::make_unique<TLexems>();
    if (!lexemes_->Tokenize(text)) return false;
    root_ = lexemes_->Parse(rules);
    if (root_ == nullptr) return false;
    root_->Bind(nullptr);
    root_->GetValue();
    const TValueType type = root_->ValueType;
    // Here an integer or a Boolean; the language names the integer as the
    // type wanted of anything else.
    if (type != vtBoolean && type != vtInteger && !ErrorReported())
        ReportError(ecTypeMismatch, TypeName(vtInteger), 0);
    boolean_ = type == vtBoolean;
    return !ErrorReported();
}

int32_t TExpression::Value(TDeal& deal) {
    root_->Bind(&deal);
    const std::string& value = root_->GetValue();
    if (boolean_) return TextToBool(value, false) ? 1 : 0;
    return TextToInt(value, 0);
}
