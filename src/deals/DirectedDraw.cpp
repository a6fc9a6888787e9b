#include "deals/DirectedDraw.h"

#include <sodium.h>

#include <bit>
#include <cmath>

#include "deals/FreePlaces.h"
#include "deals/RandomSource.h"

namespace {

TBound Meet(TBound a, TBound b) { return {std::max(a.Low, b.Low), std::min(a.High, b.High)}; }
TBound Hull(TBound a, TBound b) { return {std::min(a.Low, b.Low), std::max(a.High, b.High)}; }
bool Within(int32_t value, TBound bound) { return bound.Low <= value && value <= bound.High; }

constexpr uint64_t AllCards = ((uint64_t{1} << 53) - 1) & ~uint64_t{1};

// The ways to choose k of n, as a real number.
double Choose(int32_t n, int32_t k) {
    if (k < 0 || k > n) return 0;
    double ways = 1;
    for (int32_t i = 1; i <= k; ++i) ways = ways * (n - k + i) / i;
    return ways;
}

// Draws from the key's seed, as plain dealing draws: the upper bits of seed x range.
struct TKeyDraws {
    uint32_t Seed;
    uint32_t Below(uint32_t range) {
        Seed = TRandomSource::NextSeed(Seed);
        return static_cast<uint32_t>(TRandomSource::Scale(Seed, static_cast<int32_t>(range)));
    }
    // A number below a range that may pass 2^32: two draws as one 64-bit fraction.
    uint64_t Below64(uint64_t range) {
        Seed = TRandomSource::NextSeed(Seed);
        const uint64_t high = Seed;
        Seed = TRandomSource::NextSeed(Seed);
        const uint64_t fraction = high << 32 | Seed;
        return static_cast<uint64_t>((static_cast<unsigned __int128>(fraction) * range) >> 64);
    }
};

// Draws of one secure deal: 64-bit words of the ChaCha20 keystream under
// nonce 2, blocks 8 index .. 8 index + 7, then, if ever needed, nonce 3 from
// block index x 2^20 on (the secure dealer's own deals use nonces 0 and 1).
// A word that would favour some results is refused and another taken.
class TSecureDraws {
public:
    TSecureDraws(const TSecret& secret, uint64_t index) : secret_(secret), index_(index) {
        Fill(2, index * 8);
    }
    uint64_t Below64(uint64_t range) {
        auto product = static_cast<unsigned __int128>(Word()) * range;
        if (static_cast<uint64_t>(product) < range) {
            const uint64_t refused = (0 - range) % range;  // 2^64 mod range
            while (static_cast<uint64_t>(product) < refused)
                product = static_cast<unsigned __int128>(Word()) * range;
        }
        return static_cast<uint64_t>(product >> 64);
    }
    uint32_t Below(uint32_t range) { return static_cast<uint32_t>(Below64(range)); }

private:
    static constexpr std::size_t Blocks = 8;
    void Fill(uint8_t nonceByte, uint64_t block) {
        static constexpr std::array<uint8_t, 64 * Blocks> Zeros{};
        std::array<uint8_t, crypto_stream_chacha20_NONCEBYTES> nonce{nonceByte};
        crypto_stream_chacha20_xor_ic(bytes_.data(), Zeros.data(), Zeros.size(), nonce.data(),
                                      block, secret_.Bytes.data());
        at_ = 0;
    }
    uint64_t Word() {
        if (at_ == bytes_.size()) Fill(3, (index_ << 20) + Blocks * overflows_++);
        uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | bytes_[at_ + static_cast<std::size_t>(i)];
        at_ += 8;
        return value;
    }

    const TSecret& secret_;
    uint64_t index_;
    uint64_t overflows_ = 0;
    std::size_t at_ = 0;
    std::array<uint8_t, 64 * Blocks> bytes_;
};

}  // namespace

bool THandBounds::Empty() const {
    if (Total.Empty()) return true;
    for (std::size_t k = 0; k < 4; ++k)
        if (Length[k].Empty() || Points[k].Empty()) return true;
    return false;
}

THandBounds THandBounds::Meet(const THandBounds& a, const THandBounds& b) {
    THandBounds met;
    for (std::size_t k = 0; k < 4; ++k) {
        met.Length[k] = ::Meet(a.Length[k], b.Length[k]);
        met.Points[k] = ::Meet(a.Points[k], b.Points[k]);
    }
    met.Total = ::Meet(a.Total, b.Total);
    return met;
}

THandBounds THandBounds::Hull(const THandBounds& a, const THandBounds& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    THandBounds hull;
    for (std::size_t k = 0; k < 4; ++k) {
        hull.Length[k] = ::Hull(a.Length[k], b.Length[k]);
        hull.Points[k] = ::Hull(a.Points[k], b.Points[k]);
    }
    hull.Total = ::Hull(a.Total, b.Total);
    return hull;
}

TDirectedDraw::TDirectedDraw(int32_t seat, const THandBounds& bounds, const TFixedCards& fixed)
    : seat_(seat), total_(bounds.Total) {
    uint64_t own = 0;
    for (int32_t card = 1; card <= 52; ++card) {
        const int32_t holder = fixed.SeatOf(card);
        if (holder == 0) continue;
        if (holder == seat) {
            own |= uint64_t{1} << card;
        } else {
            otherFixed_ |= uint64_t{1} << card;
            fixedHands_[static_cast<std::size_t>(holder - 1)] |= uint64_t{1} << card;
        }
    }
    if (seat < 1 || seat > 4 || bounds.Empty()) return;

    // Each suit's holdings by (length, points), counted then placed in order.
    for (std::size_t k = 0; k < 4; ++k) {
        TSuitHoldings& suit = suits_[k];
        const int32_t shift = CardSetTables::SuitShift(static_cast<int32_t>(k) + 1);
        const auto mine = static_cast<uint32_t>(own >> shift) & 0x1FFFu;
        const auto others = static_cast<uint32_t>(otherFixed_ >> shift) & 0x1FFFu;
        auto fits = [&](uint32_t mask, int32_t& length, int32_t& points) {
            length = std::popcount(mask);
            points = CardSetTables::HonourPoints[mask >> 9];
            return (mask & mine) == mine && (mask & others) == 0 &&
                   Within(length, bounds.Length[k]) && Within(points, bounds.Points[k]);
        };
        int32_t length = 0, points = 0;
        for (uint32_t mask = 0; mask < 8192; ++mask)
            if (fits(mask, length, points)) ++suit.Count[length][points];
        uint32_t start = 0;
        for (std::size_t l = 0; l < 14; ++l)
            for (std::size_t p = 0; p < 11; ++p) {
                suit.Start[l][p] = start;
                start += suit.Count[l][p];
            }
        suit.Masks.resize(start);
        std::array<std::array<uint32_t, 11>, 14> next = suit.Start;
        for (uint32_t mask = 0; mask < 8192; ++mask)
            if (fits(mask, length, points))
                suit.Masks[next[length][points]++] = static_cast<uint16_t>(mask);
    }

    auto& ways = ways_;
    ways[4][0][0] = 1;
    for (std::size_t k = 4; k-- > 0;)
        for (std::size_t l = 0; l < 14; ++l)
            for (std::size_t p = 0; p < 11; ++p) {
                const uint64_t count = suits_[k].Count[l][p];
                if (count == 0) continue;
                for (std::size_t restLength = 0; l + restLength < 14; ++restLength)
                    for (std::size_t restPoints = 0; p + restPoints < 38; ++restPoints)
                        ways[k][l + restLength][p + restPoints] +=
                            count * ways[k + 1][restLength][restPoints];
            }
    handCount_ = Completions(0, 13, 0);
    const int32_t free = 52 - fixed.Total();
    share_ = static_cast<double>(handCount_) / Choose(free, 13 - fixed.Count(seat));
    dealtAtRandom_ = free - (13 - fixed.Count(seat));
    for (int32_t other = 1; other <= 3; ++other)
        freePlaces_[static_cast<std::size_t>(other - 1)] =
            other == seat ? 0 : static_cast<uint32_t>(13 - fixed.Count(other));
}

uint64_t TDirectedDraw::Completions(std::size_t k, int32_t length, int32_t points) const {
    uint64_t count = 0;
    const int32_t low = std::max(total_.Low - points, 0);
    const int32_t high = std::min(total_.High - points, THandBounds::MostPoints);
    for (int32_t q = low; q <= high; ++q)
        count += ways_[k][static_cast<std::size_t>(length)][static_cast<std::size_t>(q)];
    return count;
}

void TDirectedDraw::Prepare() {
    if (handCount_ == 0 || prepared_) return;
    // The states each suit can meet, from 13 cards and no points to place.
    std::array<std::array<std::array<bool, 38>, 14>, 5> reached{};
    reached[0][0][0] = true;
    for (std::size_t k = 0; k < 4; ++k)
        for (int32_t held = 0; held <= 13; ++held)
            for (int32_t points = 0; points <= THandBounds::MostPoints; ++points) {
                if (!reached[k][static_cast<std::size_t>(held)][static_cast<std::size_t>(points)])
                    continue;
                TState& state =
                    states_[k][static_cast<std::size_t>(held)][static_cast<std::size_t>(points)];
                state.First = static_cast<uint32_t>(choices_.size());
                uint64_t before = 0;
                for (int32_t l = 0; held + l <= 13; ++l)
                    for (int32_t p = 0; p <= THandBounds::MostSuitPoints; ++p) {
                        const uint64_t holdings =
                            suits_[k]
                                .Count[static_cast<std::size_t>(l)][static_cast<std::size_t>(p)];
                        const uint64_t rest =
                            holdings == 0 ? 0 : Completions(k + 1, 13 - held - l, points + p);
                        if (rest == 0) continue;
                        choices_.push_back(
                            {before, static_cast<uint8_t>(l), static_cast<uint8_t>(p)});
                        before += holdings * rest;
                        reached[k + 1][static_cast<std::size_t>(held + l)]
                               [static_cast<std::size_t>(points + p)] = true;
                    }
                state.Count = static_cast<uint32_t>(choices_.size()) - state.First;
            }
    choices_.shrink_to_fit();
    prepared_ = true;
}

// The hand is the number `chosen` below the count of hands, read suit by
// suit: the (length, points) choice whose hands it falls among, then, of
// the number within them, the part that picks the later suits' choices; the
// holding within the choice is a draw of its own.
template <class TDraws>
void TDirectedDraw::DealWith(TDraws& draws, TCardSets& sets) const {
    uint64_t chosen = draws.Below64(handCount_);
    std::size_t held = 0, points = 0;
    uint64_t hand = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const TState& state = states_[k][held][points];
        const TChoice* first = choices_.data() + state.First;
        const TChoice* choice = std::prev(
            std::upper_bound(first, first + state.Count, chosen,
                             [](uint64_t value, const TChoice& c) { return value < c.Before; }));
        const TSuitHoldings& suit = suits_[k];
        const uint32_t holdings = suit.Count[choice->Length][choice->Points];
        chosen = (chosen - choice->Before) / holdings;
        const uint32_t which = draws.Below(holdings);
        hand |= uint64_t{suit.Masks[suit.Start[choice->Length][choice->Points] + which]}
                << CardSetTables::SuitShift(static_cast<int32_t>(k) + 1);
        held += choice->Length;
        points += choice->Points;
    }
    sets.Hands = fixedHands_;
    sets.Hands[static_cast<std::size_t>(seat_ - 1)] = hand;
    // The other cards in card order, each to a seat in proportion to its free places.
    TFreePlaces places(freePlaces_[0], freePlaces_[1], freePlaces_[2]);
    uint64_t rest = AllCards & ~hand & ~otherFixed_;
    auto left = static_cast<uint32_t>(dealtAtRandom_);
    while (rest != 0) {
        const int card = std::countr_zero(rest);
        rest &= rest - 1;
        const uint32_t r = left > 1 ? draws.Below(left) : 0;
        --left;
        sets.Hands[places.Take(r)] |= uint64_t{1} << card;
    }
}

void TDirectedDraw::Deal(uint32_t& seed, TCardSets& sets) const {
    TKeyDraws draws{seed};
    DealWith(draws, sets);
    seed = draws.Seed;
}

void TDirectedDraw::DealSecure(const TSecret& secret, uint64_t index, TCardSets& sets) const {
    TSecureDraws draws(secret, index);
    DealWith(draws, sets);
}
