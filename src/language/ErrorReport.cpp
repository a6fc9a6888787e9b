#include "language/ErrorReport.h"

#include <atomic>

#include "text/MessageSink.h"
#include "text/Utf8Text.h"

namespace {

// Atomics only so that a stray read from another thread is not a data race;
// reports come from the user-interface thread alone.
std::atomic<bool> errorReported{false};
std::atomic<int32_t> errorPosition{0};

std::string Quoted(std::string_view text) {
    return "\"" + ShortenedText(text, MaxQuotedCharacters) + "\"";
}

}  // namespace

std::string ErrorMessage(int32_t code, std::string_view text) {
    switch (code) {
        case ecUnknownWord:
            return "Нераспознанный идентификатор: " + Quoted(text);
        case ecMissingExpression:
            return "Пропущено выражение";
        case ecMissingOperator:
            return "Пропущен оператор";
        case ecMissingOpen:
            return "Пропущена (";
        case ecMissingClose:
            return "Пропущена )";
        case ecTypeMismatch:
            return "Несоответствие типов: требуется " + Quoted(text);
        case ecExtraWord:
            return "Лишний идентификатор " + Quoted(text);
        case ecMissingParameter:
            return "Пропущен параметр (" + std::string(text) + ")";
        case ecNumberOutOfRange:
            return "Число вне допустимого диапазона (от -2147483648 до 2147483647): " +
                   Quoted(text);
        case ecTooLarge:
            return "Слишком длинное условие";
        default:
            return "Нераспознанная ошибка" + ShortenedText(text, MaxQuotedCharacters);
    }
}

void ReportError(int32_t code, std::string_view text, int32_t position) {
    if (errorReported.load(std::memory_order_relaxed)) return;
    ShowMessage(ErrorMessage(code, text), position);
    errorReported.store(true, std::memory_order_relaxed);
    errorPosition.store(position, std::memory_order_relaxed);
}

void ResetErrorState() {
    errorReported.store(false, std::memory_order_relaxed);
    errorPosition.store(0, std::memory_order_relaxed);
}

bool ErrorReported() { return errorReported.load(std::memory_order_relaxed); }

int32_t ErrorPosition() { return errorPosition.load(std::memory_order_relaxed); }

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

}  // namespace

TStatus QuietCheck(const std::function<bool()>& check, std::string_view unreported) {
    TFirstMessage messages;
    if (check()) return TStatus::Ok();
    if (messages.First().empty()) return TStatus::Condition(std::string(unreported), 0);
    return TStatus::Condition(messages.First(), ErrorPosition());
}
