#pragma once
// The secure source of deals: a 256-bit secret from the operating system keys
// the ChaCha20 stream cipher, and deal i of a run (every deal dealt, kept or
// not, counted from 0) is drawn from the cipher's block i: the 64-bit block
// counter carries the deal's index (nonce 0), so any thread can deal any deal
// of the run, and eight neighbouring deals take one call of the cipher. In
// the rare deal whose draws run past its 64 bytes, the rest comes from nonce
// 1, blocks i x 2^20 on. Nobody who sees some deals can work out the others
// without the secret.
// The draws below 52, 51, ... 2 are made eight at a time from one 64-bit word
// of the stream, which is refused and drawn again when it would favour some
// results (never reduced by a modulo); so every deal is exactly as likely as
// every other.
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

// The commitment to a secret, published before its deals: the SHA-256 of the
// secret's 32 bytes. It names the secret without giving it away.
TSecret SecretCommitment(const TSecret& secret);
// The key a secure run with a delayed text deals from, in place of the secret:
// SHA-256 of the secret's 32 bytes, one zero byte and the text's bytes (UTF-8).
// Its deals cannot be known before the text is.
TSecret DelayedSecret(const TSecret& secret, std::string_view text);

// Deals the deals of one secret; one dealer for each thread, as it keeps the
// keystream of eight neighbouring deals and deals them together, so that the
// eight chains of seat choices overlap in the processor.
class TSecureDealer {
public:
    static constexpr uint64_t DealsPerCall = 8;

    explicit TSecureDealer(const TSecret& secret);

    // Deal `index`: the fixed cards go to their seats, every other card to a
    // seat drawn in proportion to the seat's free places, in card order. The
    // same secret, index and fixed cards always give the same deal, whatever
    // deals were dealt before.
    void Deal(uint64_t index, const TFixedCards& fixed, TCardSets& sets);

private:
    void DealGroup(uint64_t first, const TFixedCards& fixed);

    TSecret secret_;
    // The eight deals from first_ on, dealt with fixed_; first_ is 1 (never
    // the first of a group) until they are dealt.
    uint64_t first_ = 1;
    TFixedCards fixed_;
    std::array<TCardSets, DealsPerCall> sets_{};
};
