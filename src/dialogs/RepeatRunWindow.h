#pragma once
// The dialogs that deal a run again: from the key it started from, or from the
// secret of a secure run. Each refuses a text that is neither with a message
// under its field and stays open.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "deals/SecureSource.h"

class QWidget;

// The key of a run as typed: a 32-bit number, signed as files name keys
// (-2147483648 to 2147483647) or unsigned (0 to 4294967295); blanks at both
// ends are dropped. Nothing for any other text.
std::optional<uint32_t> ReadRunKey(const QString& text);

// Asks for the key a run starts from, `last` filled in when given; `what`
// says what is dealt. The key after OK; nothing after Cancel, Esc or the close box.
std::optional<uint32_t> AskRunKey(QWidget* owner, const QString& title, const QString& what,
                                  std::optional<uint32_t> last);
// What is asked with a secret: the delayed text its set was dealt with
// (empty: none) and, when asked for, the commitment published before (none
// when left empty).
struct TSecretAnswer {
    TSecret Secret;
    std::string Delayed;
    std::optional<TSecret> Commitment;
};
// Asks for a secret as "Секрет последней раздачи" shows it (blanks and line
// breaks anywhere are dropped), the delayed text and, `withCommitment`, the
// commitment; the answer after OK, nothing otherwise.
std::optional<TSecretAnswer> AskRunSecret(QWidget* owner, const QString& title, const QString& what,
                                          bool withCommitment = false);
