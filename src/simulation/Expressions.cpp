#include "simulation/internal/Expressions.h"

#include "language/ErrorReport.h"
#include "language/SyntaxCheck.h"
#include "text/MessageSink.h"
#include "text/StringFunctions.h"

namespace {

// Keeps the first message of the language while it is installed.
class TFirstMessage : public TInstalledSink {
public:
    void Show(const std::string& message, int32_t) override {
        if (first_.empty()) first_ = message;
    }
    const std::string& First() const { return first_; }

private:
    std::string first_;
};

bool RefuseText(std::string_view text, std::string message, int32_t position, TInputError& error) {
    error.Kind = TInputError::TKind::Condition;
    error.Message = std::move(message);
    error.Text = std::string(text);
    error.Position = position;
    return false;
}

constexpr std::string_view BlankText = "пустое выражение";

}  // namespace

bool PrepareCondition(TCompiledCondition& condition, std::string_view text, const TRuleList& rules,
                      TInputError& error) {
    TFirstMessage messages;
    if (condition.Prepare(text, rules) && !condition.IsEmpty()) return true;
    if (condition.IsEmpty() && messages.First().empty())
        return RefuseText(text, std::string(BlankText), 0, error);
    return RefuseText(text, messages.First(), condition.ErrorPosition(), error);
}

TExpression::TExpression() = default;

TExpression::~TExpression() {
    root_.reset();  // the tree refers to the lexemes
    lexemes_.reset();
}

bool TExpression::Prepare(std::string_view text, const TRuleList& rules, TInputError& error) {
    root_.reset();
    lexemes_.reset();
    TFirstMessage messages;
    ResetErrorState();
    const TSyntaxCheck syntax = CheckSyntax(text, TCompiledCondition::MaxTreeNodes);
    bool ready = false;
    if (syntax.Passed && syntax.OverLimitPosition >= 0) {
        ReportError(ecTooLarge, {}, syntax.OverLimitPosition);
    } else if (syntax.Passed && syntax.LexemeCount > 0) {
        lexemes_ = std::make_unique<TLexems>();
        ready = lexemes_->Tokenize(text);
    }
    if (ready) {
        root_ = lexemes_->Parse(rules);
        ready = root_ != nullptr;
    }
    if (ready) {
        root_->Bind(nullptr);
        root_->GetValue();
        const TValueType type = root_->ValueType;
        // Here an integer or a Boolean; the language names the integer as
        // the type wanted of anything else.
        if (type != vtBoolean && type != vtInteger && !ErrorReported())
            ReportError(ecTypeMismatch, TypeName(vtInteger), 0);
        boolean_ = type == vtBoolean;
        ready = !ErrorReported();
    }
    if (ready) return true;
    const int32_t position = ErrorPosition();
    root_.reset();
    lexemes_.reset();
    if (messages.First().empty()) return RefuseText(text, std::string(BlankText), 0, error);
    return RefuseText(text, messages.First(), position, error);
}

int32_t TExpression::Value(TDeal& deal) {
    root_->Bind(&deal);
    const std::string& value = root_->GetValue();
    if (boolean_) return TextToBool(value, false) ? 1 : 0;
    return TextToInt(value, 0);
}
