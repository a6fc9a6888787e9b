#pragma once
// The secure source of deals: a 256-bit secret from the operating system keys
// the ChaCha20 stream cipher, and deal i of a run (every deal dealt, kept or
// not, counted from 0) is drawn from the keystream under nonce i. Nobody who
// sees some deals can work out the others without the secret, and any thread
// can deal any deal of the run. Each draw below n takes 16 bits of the stream
// and is refused and drawn again when it would favour some numbers, so every
// deal is exactly as likely as every other.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "deals/CardSets.h"
#include "deals/FixedCards.h"

struct TSecret {
    static constexpr std::size_t Size = 32;
    std::array<uint8_t, Size> Bytes{};
    bool operator==(const TSecret&) const = default;
};

// A new secret from the system's random source (getrandom); nothing when the
// system gives no random bytes.
std::optional<TSecret> NewSecret();
// The secret as 64 lower-case hexadecimal digits.
std::string SecretText(const TSecret& secret);
// Reads 64 hexadecimal digits in either case and nothing else; nothing for
// any other text.
std::optional<TSecret> ReadSecret(std::string_view text);

// Deals the deals of one secret. Deal is const and keeps no state between
// deals, so threads may share one dealer.
class TSecureDealer {
public:
    explicit TSecureDealer(const TSecret& secret);

    // Deal `index`: the fixed cards go to their seats, every other card to a
    // seat drawn in proportion to the seat's free places, in card order. The
    // same secret, index and fixed cards always give the same deal.
    void Deal(uint64_t index, const TFixedCards& fixed, TCardSets& sets) const;

private:
    TSecret secret_;
};
