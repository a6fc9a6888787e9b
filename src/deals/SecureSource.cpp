#include "deals/SecureSource.h"

#include <sodium.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

#include "deals/FreePlaces.h"
#include "deals/internal/DealBatchVector.h"

namespace {

constexpr std::size_t BlockBytes = 64;
constexpr uint64_t OverflowBlocks = uint64_t{1} << 20;  // per deal, under nonce 1

// Up to eight draws in a row, below n, n - 1, ... n - 7 (fewer when n is
// below 9), made from one 64-bit word x: multiplied by each range in turn,
// the upper half of the product is the draw and the lower half goes on to the
// next range. The draws are then the digits of (x P) div 2^64, P the product
// of the ranges, and (x P) mod 2^64 is the lower half left at the end: a word
// that leaves less than 2^64 mod P is refused and another drawn, so every
// result is made by exactly the same count of words.
struct TDrawGroup {
    uint32_t Size = 0;
    uint64_t Refused = 0;
};

// [n]: the group whose first range is n, 2..52.
constexpr std::array<TDrawGroup, 53> DrawGroups = [] {
    std::array<TDrawGroup, 53> groups{};
    for (uint32_t n = 2; n < groups.size(); ++n) {
        TDrawGroup& group = groups[n];
        group.Size = n - 1 < 8 ? n - 1 : 8;
        uint64_t product = 1;
        for (uint32_t j = 0; j < group.Size; ++j) product *= n - j;
        group.Refused = (0 - product) % product;  // 2^64 mod product
    }
    return groups;
}();

// The 64-bit words of one deal: its block of the keystream, then, only if the
// draws need more, blocks of the overflow stream.
class TDealWords {
public:
    void Start(const uint8_t* block, const TSecret& secret, uint64_t index) {
        bytes_ = block;
        secret_ = &secret;
        index_ = index;
    }

    uint64_t Next() {
        if (at_ == BlockBytes) Overflow();
        const uint8_t* word = bytes_ + at_;
        at_ += 8;
        uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | word[i];
        return value;
    }

private:
    void Overflow() {
        static constexpr std::array<uint8_t, BlockBytes> Zeros{};
        static constexpr std::array<uint8_t, crypto_stream_chacha20_NONCEBYTES> NonceOne{1};
        crypto_stream_chacha20_xor_ic(overflow_.data(), Zeros.data(), BlockBytes, NonceOne.data(),
                                      index_ * OverflowBlocks + overflowBlocks_++,
                                      secret_->Bytes.data());
        bytes_ = overflow_.data();
        at_ = 0;
    }

    const uint8_t* bytes_ = nullptr;
    const TSecret* secret_ = nullptr;
    uint64_t index_ = 0;
    std::size_t at_ = 0;
    uint64_t overflowBlocks_ = 0;
    std::array<uint8_t, BlockBytes> overflow_;
};

// The draws of eight deals below left, left - 1, ... 2: draws[k][d] is deal
// d's draw below left - k. Each group is drawn for all eight deals in turn, so
// that the eight chains of multiplications overlap in the processor.
void DrawEight(std::array<TDealWords, 8>& words, uint32_t left, uint32_t (*draws)[8]) {
    while (left >= 2) {
        const TDrawGroup& group = DrawGroups[left];
        for (std::size_t d = 0; d < words.size(); ++d) {
            uint64_t rest = 0;
            do {
                rest = words[d].Next();
#pragma GCC unroll 8
                for (uint32_t k = 0; k < 8; ++k) {
                    if (k == group.Size) break;
                    const auto product = static_cast<unsigned __int128>(rest) * (left - k);
                    draws[k][d] = static_cast<uint32_t>(product >> 64);
                    rest = static_cast<uint64_t>(product);
                }
            } while (rest < group.Refused);
        }
        draws += group.Size;
        left -= group.Size;
    }
}

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
        const ssize_t got =
            getrandom(secret.Bytes.data() + filled, secret.Bytes.size() - filled, 0);
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

TSecret SecretCommitment(const TSecret& secret) {
    TSecret hash;
    static_assert(crypto_hash_sha256_BYTES == TSecret::Size);
    crypto_hash_sha256(hash.Bytes.data(), secret.Bytes.data(), secret.Bytes.size());
    return hash;
}

TSecret DelayedSecret(const TSecret& secret, std::string_view text) {
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    crypto_hash_sha256_update(&state, secret.Bytes.data(), secret.Bytes.size());
    static constexpr uint8_t Separator = 0;
    crypto_hash_sha256_update(&state, &Separator, 1);
    crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(text.data()),
                              text.size());
    TSecret key;
    crypto_hash_sha256_final(&state, key.Bytes.data());
    return key;
}

TSecureDealer::TSecureDealer(const TSecret& secret) : secret_(secret) {
    // Chooses the fastest implementation for this processor; safe to repeat.
    // Should it fail, the portable implementation stays, which gives the same
    // stream.
    [[maybe_unused]] const int chosen = sodium_init();
}

void TSecureDealer::Deal(uint64_t index, const TFixedCards& fixed, TCardSets& sets) {
    const uint64_t first = index - index % DealsPerCall;
    if (first != first_ || !(fixed == fixed_)) DealGroup(first, fixed);
    sets = sets_[index - first];
}

void TSecureDealer::DealGroup(uint64_t first, const TFixedCards& fixed) {
    static constexpr std::array<uint8_t, BlockBytes * DealsPerCall> Zeros{};
    static constexpr std::array<uint8_t, crypto_stream_chacha20_NONCEBYTES> NonceZero{};
    std::array<uint8_t, BlockBytes * DealsPerCall> bytes;
    crypto_stream_chacha20_xor_ic(bytes.data(), Zeros.data(), bytes.size(), NonceZero.data(), first,
                                  secret_.Bytes.data());
    const auto left = static_cast<uint32_t>(52 - fixed.Total());  // cards dealt at random
    // draws[k][d]: deal d's draw below left - k.
    alignas(32) uint32_t draws[52][DealsPerCall];
    std::array<TDealWords, DealsPerCall> words;
    for (std::size_t d = 0; d < DealsPerCall; ++d)
        words[d].Start(bytes.data() + d * BlockBytes, secret_, first + d);
    DrawEight(words, left, draws);
    if (fixed.Empty() && VectorDealingSupported()) {
        PlaceDrawsVector(draws, sets_.data());
        first_ = first;
        fixed_ = fixed;
        return;
    }
    // Card by card, each card for all eight deals: the deals' seat choices
    // are independent, so the processor works on them side by side.
    const TFreePlaces start(13 - static_cast<uint32_t>(fixed.Count(1)),
                            13 - static_cast<uint32_t>(fixed.Count(2)),
                            13 - static_cast<uint32_t>(fixed.Count(3)));
    std::array<TFreePlaces, DealsPerCall> places = {start, start, start, start,
                                                    start, start, start, start};
    std::array<std::array<uint64_t, 4>, DealsPerCall> hands{};
    if (fixed.Empty()) {
        for (uint32_t card = 1; card <= 51; ++card)
            for (std::size_t d = 0; d < DealsPerCall; ++d)
                hands[d][places[d].Take(draws[card - 1][d])] |= uint64_t{1} << card;
        for (std::size_t d = 0; d < DealsPerCall; ++d)
            hands[d][places[d].Take(0)] |= uint64_t{1} << 52;
    } else {
        std::size_t next = 0;  // the next draw
        for (int32_t card = 1; card <= 52; ++card) {
            const uint64_t bit = uint64_t{1} << card;
            if (const int32_t fixedSeat = fixed.SeatOf(card); fixedSeat != 0) {
                for (std::size_t d = 0; d < DealsPerCall; ++d)
                    hands[d][static_cast<std::size_t>(fixedSeat - 1)] |= bit;
            } else if (next + 1 < left) {
                for (std::size_t d = 0; d < DealsPerCall; ++d)
                    hands[d][places[d].Take(draws[next][d])] |= bit;
                ++next;
            } else {  // the last random card: the one place left
                for (std::size_t d = 0; d < DealsPerCall; ++d) hands[d][places[d].Take(0)] |= bit;
            }
        }
    }
    for (std::size_t d = 0; d < DealsPerCall; ++d) sets_[d].Hands = hands[d];
    first_ = first;
    fixed_ = fixed;
}
