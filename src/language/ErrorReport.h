#pragma once
// Error reporting of the condition language. One error per check: the first
// report is formatted and handed to the message sink, later ones are dropped
// until the state is reset. The state is process-wide and belongs to the
// user-interface thread, which runs every check.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "text/Status.h"

// Message codes.
enum TErrorCode : int32_t {
    ecUnknown = 0,            // "Нераспознанная ошибка" + text
    ecUnknownWord = 1,        // unrecognised word
    ecMissingExpression = 2,  // "Пропущено выражение"
    ecMissingOperator = 3,    // "Пропущен оператор"
    ecMissingOpen = 4,        // "Пропущена ("
    ecMissingClose = 5,       // "Пропущена )"
    ecTypeMismatch = 6,       // text: the required type's name
    ecExtraWord = 7,          // text left after a complete condition
    ecMissingParameter = 8,   // text: the missing parameter's type name
    ecNumberOutOfRange = 9,   // an integer literal outside the signed 32-bit range
    ecTooLarge = 10,          // a correct condition whose tree would be too large
};

// Words quoted in messages are cut to this many characters (followed by "…").
inline constexpr int32_t MaxQuotedCharacters = 64;

// The message text for a code; any code not listed above is ecUnknown.
std::string ErrorMessage(int32_t code, std::string_view text);

// Unless an error was already reported since the last reset: shows the message
// through the message sink with the position, then remembers the position.
void ReportError(int32_t code, std::string_view text, int32_t position);

// Forgets the reported error; every check starts with this.
void ResetErrorState();
bool ErrorReported();
// The position given with the reported error (0 after a reset).
int32_t ErrorPosition();

// For callers outside the language that want a status rather than a message:
// runs `check` (false when it refused) with the messages kept from the
// installed sink, and returns its first error as a Condition status (the
// message and ErrorPosition()). A refusal that reported nothing gives
// `unreported` at position 0.
TStatus QuietCheck(const std::function<bool()>& check, std::string_view unreported);
