#include "language/Lexem.h"

#include <string_view>

#include "language/ErrorReport.h"
#include "language/FunctionTable.h"

namespace {

const std::string EmptyText;

}  // namespace

uint8_t ClassifyLexem(std::string_view text) {
    if (text == "NOT") return lkNot;
    if (text == "(") return lkOpen;
    if (text == ")") return lkClose;
    if (text == ",") return lkComma;
    if (IsValue(text)) return lkValue;
    if (IsFunctionName(text)) return lkFunction;
    if (IsOperator(text)) return lkOperator;
    return lkNone;
}

TLexem::TLexem(std::string text, int32_t position, uint8_t kind)
    : Position(position), Text(std::move(text)), Kind(kind) {
    if (Kind != lkNone) return;
    Kind = ClassifyLexem(Text);
    if (Kind != lkValue) return;
    if (IsInteger(Text)) {
        ValueType = vtInteger;
        Value = Text;
    } else if (IsBooleanConst(Text)) {
        ValueType = vtBoolean;
        Value.assign(1, Text[0] == 'T' ? '1' : '0');
    } else if (IsSeat(Text)) {
        ValueType = vtPosition;
        Value = Text;
    } else {
        ValueType = vtSuit;
        Value = Text;
    }
}

const std::string& TLexem::GetValue() { return Kind == lkValue ? Value : EmptyText; }

TLexem* TLexems::AddLexeme(std::string text, int32_t position) {
    auto lexeme = std::make_unique<TLexem>(std::move(text), position);
    if (lexeme->Kind == lkNone) {
        ReportError(ecUnknownWord, lexeme->Text, position);
        return nullptr;
    }
    int32_t value = 0;
    if (lexeme->ValueType == vtInteger && !TryTextToInt(lexeme->Value, value)) {
        ReportError(ecNumberOutOfRange, lexeme->Text, position);
        return nullptr;
    }
    return Add(std::move(lexeme));
}

TLexem* TLexems::Add(std::unique_ptr<TLexem> lexeme) {
    items_.push_back(lexeme.get());
    return lexeme.release();
}

TLexem* TLexems::GetLexem(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

void TLexems::FreeLexemes() {
    for (TLexem* lexeme : items_) delete lexeme;
    items_.clear();
}
