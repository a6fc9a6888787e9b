#pragma once
// The result of a core function that can fail for a reason the user must see:
// OK, or a code with a Russian message and where the fault lies. An OK status
// holds nothing but a null pointer, so returning one costs nothing. The core
// never shows a status; the desktop program shows it in a window, the CLI on
// stderr with the exit code of its code.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class [[nodiscard]] TStatus {
public:
    enum class TCode : uint8_t {
        Ok,
        Usage,      // an input is refused: a contract, a seat, a count, a variant, an option
        Condition,  // the condition language refused a condition or an expression
        Busy,       // the operation cannot start while another one runs
        Missing,    // a library the operation needs could not be loaded
    };

    TStatus() = default;
    TStatus(const TStatus& other)
        : state_(other.state_ ? std::make_unique<TState>(*other.state_) : nullptr) {}
    TStatus& operator=(const TStatus& other) {
        if (this != &other)
            state_ = other.state_ ? std::make_unique<TState>(*other.state_) : nullptr;
        return *this;
    }
    TStatus(TStatus&&) noexcept = default;
    TStatus& operator=(TStatus&&) noexcept = default;

    static TStatus Ok() { return {}; }
    static TStatus Usage(std::string message, std::string where = {}) {
        TStatus status(TCode::Usage, std::move(message));
        status.SetWhere(std::move(where));
        return status;
    }
    // `text` is what `position` (a character offset) points into.
    static TStatus Condition(std::string message, int32_t position, std::string text = {}) {
        TStatus status(TCode::Condition, std::move(message));
        status.SetText(std::move(text), position);
        return status;
    }
    static TStatus Busy(std::string message) { return TStatus(TCode::Busy, std::move(message)); }
    static TStatus Missing(std::string message) {
        return TStatus(TCode::Missing, std::move(message));
    }

    bool IsOk() const { return state_ == nullptr; }
    TCode Code() const { return state_ ? state_->Code : TCode::Ok; }
    // The message in Russian, starting in lower case; empty when OK.
    const std::string& Message() const { return state_ ? state_->Message : Empty(); }
    // What the message is about ("вариант «Стейман», правило 2", "выражение 3",
    // "--contract"); empty when the message says it.
    const std::string& Where() const { return state_ ? state_->Where : Empty(); }
    // The text Position points into (a condition, an expression, the whole
    // variants text); empty when there is none.
    const std::string& Text() const { return state_ ? state_->Text : Empty(); }
    // The character offset of the fault in Text, -1 when there is no position.
    int32_t Position() const { return state_ ? state_->Position : -1; }
    // Where Text begins in the whole input the user edits (characters), so
    // that the caret goes to TextStart() + Position() there.
    int32_t TextStart() const { return state_ ? state_->TextStart : 0; }
    // The 1-based line of the fault in a text of several lines, 0 when none.
    int32_t Line() const { return state_ ? state_->Line : 0; }

    // These add detail to a failure; on an OK status they do nothing.
    TStatus& SetWhere(std::string where) {
        if (state_) state_->Where = std::move(where);
        return *this;
    }
    TStatus& SetText(std::string text, int32_t position, int32_t textStart = 0) {
        if (state_) {
            state_->Text = std::move(text);
            state_->Position = position;
            state_->TextStart = textStart;
        }
        return *this;
    }
    TStatus& SetTextStart(int32_t textStart) {
        if (state_) state_->TextStart = textStart;
        return *this;
    }
    TStatus& SetLine(int32_t line) {
        if (state_) state_->Line = line;
        return *this;
    }

private:
    struct TState {
        TCode Code = TCode::Ok;
        std::string Message;
        std::string Where;
        std::string Text;
        int32_t Position = -1;
        int32_t TextStart = 0;
        int32_t Line = 0;
    };

    TStatus(TCode code, std::string message) : state_(std::make_unique<TState>()) {
        state_->Code = code;
        state_->Message = std::move(message);
    }
    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }

    std::unique_ptr<TState> state_;
};
