#pragma once
// What a refused input of a simulation says: its message, where it lies, and
// whether the condition language refused it.
#include <cstdint>
#include <string>

struct TInputError {
    enum class TKind {
        None,
        Condition,  // the condition language refused a rule's condition or an expression
        Usage,      // a contract, a declarer, a variant, a seat or a count is refused
    };
    TKind Kind = TKind::None;
    // The message in Russian: the language's own message for a condition,
    // else a message that names the rule or the option.
    std::string Message;
    // What the message is about: "вариант «Стейман», правило 2",
    // "выражение 3", "--contract"; empty when the message says it.
    std::string Where;
    // The text the position points into (a rule's condition, an expression,
    // or the whole variants text), and the character offset of the error in
    // it; -1 when there is no position.
    std::string Text;
    int32_t Position = -1;
    // Where Text begins in the whole input the user edits (characters), so
    // that the caret goes to TextStart + Position there.
    int32_t TextStart = 0;
    // For the variants text: the 1-based line of the error, 0 when none.
    int32_t Line = 0;

    explicit operator bool() const { return Kind != TKind::None; }
};
