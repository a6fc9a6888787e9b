#include "deals/SecureSource.h"

#include <sodium.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

#include "deals/FreePlaces.h"

namespace {

// 2^16 mod n for every range a deal draws from: a 16-bit draw x gives
// (x n) div 2^16, refused when (x n) mod 2^16 is below this, which leaves
// exactly the same count of draws for every result.
constexpr std::array<uint32_t, 53> Refused = [] {
    std::array<uint32_t, 53> table{};
    for (uint32_t n = 1; n < table.size(); ++n) table[n] = 65536u % n;
    return table;
}();

// The keystream of one deal, read 16 bits at a time; blocks past the first
// ones are made only for the rare deal that refuses many draws.
class TKeystream {
public:
    static constexpr std::size_t BlockBytes = 64;

    TKeystream(const TSecret& secret, uint64_t index, std::size_t blocks) : secret_(secret) {
        for (std::size_t i = 0; i < nonce_.size(); ++i)
            nonce_[i] = static_cast<uint8_t>(index >> (8 * i));
        length_ = blocks * BlockBytes;
        crypto_stream_chacha20(bytes_.data(), length_, nonce_.data(), secret_.Bytes.data());
        nextBlock_ = blocks;
    }

    // A number below n (1..52), every one equally likely.
    uint32_t Below(uint32_t n) {
        while (true) {
            const uint32_t product = NextWord() * n;
            if ((product & 0xFFFFu) >= Refused[n]) return product >> 16;
        }
    }

private:
    uint32_t NextWord() {
        if (at_ + 2 > length_) Refill();
        const uint32_t word = bytes_[at_] | static_cast<uint32_t>(bytes_[at_ + 1]) << 8;
        at_ += 2;
        return word;
    }

    void Refill() {
        static constexpr std::array<uint8_t, sizeof(bytes_)> Zeros{};
        length_ = bytes_.size();
        crypto_stream_chacha20_xor_ic(bytes_.data(), Zeros.data(), length_, nonce_.data(),
                                      nextBlock_, secret_.Bytes.data());
        nextBlock_ += length_ / BlockBytes;
        at_ = 0;
    }

    const TSecret& secret_;
    std::array<uint8_t, crypto_stream_chacha20_NONCEBYTES> nonce_{};
    std::array<uint8_t, 2 * BlockBytes> bytes_;
    std::size_t length_ = 0;
    std::size_t at_ = 0;
    uint64_t nextBlock_ = 0;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<TSecret> NewSecret() {
    TSecret secret;
    std::size_t filled = 0;
    while (filled < secret.Bytes.size()) {
        const ssize_t got = getrandom(secret.Bytes.data() + filled, secret.Bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(got);
    }
    return secret;
}

std::string SecretText(const TSecret& secret) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * secret.Bytes.size());
    for (uint8_t byte : secret.Bytes) {
        text += Digits[byte >> 4];
        text += Digits[byte & 0xF];
    }
    return text;
}

std::optional<TSecret> ReadSecret(std::string_view text) {
    TSecret secret;
    if (text.size() != 2 * secret.Bytes.size()) return std::nullopt;
    for (std::size_t i = 0; i < secret.Bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        secret.Bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return secret;
}

TSecureDealer::TSecureDealer(const TSecret& secret) : secret_(secret) {
    // Chooses the fastest implementation for this processor; safe to repeat.
    if (sodium_init() < 0) std::abort();
}

void TSecureDealer::Deal(uint64_t index, const TFixedCards& fixed, TCardSets& sets) const {
    std::array<uint64_t, 4> hands{};
    if (fixed.Empty()) {
        // 51 draws fit in two blocks but for a refusal in a few thousand deals.
        TKeystream stream(secret_, index, 2);
        TFreePlaces places(13, 13, 13);
        for (uint32_t card = 1; card <= 51; ++card)
            hands[places.Take(stream.Below(53 - card))] |= uint64_t{1} << card;
        hands[places.Take(0)] |= uint64_t{1} << 52;
        sets.Hands = hands;
        return;
    }
    const int32_t draws = fixed.DrawsPerDeal();
    TKeystream stream(secret_, index, draws <= 28 ? 1 : 2);
    TFreePlaces places(13 - static_cast<uint32_t>(fixed.Count(1)),
                       13 - static_cast<uint32_t>(fixed.Count(2)),
                       13 - static_cast<uint32_t>(fixed.Count(3)));
    auto left = static_cast<uint32_t>(52 - fixed.Total());  // random cards still to deal
    for (int32_t card = 1; card <= 52; ++card) {
        uint32_t seat = 0;
        if (const int32_t fixedSeat = fixed.SeatOf(card); fixedSeat != 0) {
            seat = static_cast<uint32_t>(fixedSeat - 1);
        } else {
            seat = places.Take(left > 1 ? stream.Below(left) : 0);
            --left;
        }
        hands[seat] |= uint64_t{1} << card;
    }
    sets.Hands = hands;
}
