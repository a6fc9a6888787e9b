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

const std::array<TShapes::TLengths, TShapes::Count>& TShapes::Patterns() {
    static const std::array<TLengths, Count> patterns = [] {
        std::array<TLengths, Count> all{};
        std::size_t i = 0;
        for (int32_t c = 0; c <= 13; ++c)
            for (int32_t d = 0; c + d <= 13; ++d)
                for (int32_t h = 0; c + d + h <= 13; ++h) all[i++] = {c, d, h, 13 - c - d - h};
        return all;
    }();
    return patterns;
}

bool TShapes::None() const {
    return std::all_of(bits_.begin(), bits_.end(), [](uint64_t word) { return word == 0; });
}

TBound TShapes::Lengths(std::size_t k) const {
    TBound range{13, 0};
    for (std::size_t i = 0; i < Count; ++i)
        if (Has(i)) range = ::Hull(range, TBound{Patterns()[i][k], Patterns()[i][k]});
    return range;
}

TShapes TShapes::operator&(const TShapes& other) const {
    TShapes both;
    for (std::size_t w = 0; w < bits_.size(); ++w) both.bits_[w] = bits_[w] & other.bits_[w];
    return both;
}

TShapes TShapes::operator|(const TShapes& other) const {
    TShapes either;
    for (std::size_t w = 0; w < bits_.size(); ++w) either.bits_[w] = bits_[w] | other.bits_[w];
    return either;
}

bool THandBounds::Empty() const {
    if (Total.Empty() || Shapes.None()) return true;
    return std::any_of(Points.begin(), Points.end(), [](TBound b) { return b.Empty(); });
}

THandBounds THandBounds::Meet(const THandBounds& a, const THandBounds& b) {
    THandBounds met;
    met.Shapes = a.Shapes & b.Shapes;
    for (std::size_t k = 0; k < 4; ++k) met.Points[k] = ::Meet(a.Points[k], b.Points[k]);
    met.Total = ::Meet(a.Total, b.Total);
    return met;
}

THandBounds THandBounds::Hull(const THandBounds& a, const THandBounds& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    THandBounds hull;
    hull.Shapes = a.Shapes | b.Shapes;
    for (std::size_t k = 0; k < 4; ++k) hull.Points[k] = ::Hull(a.Points[k], b.Points[k]);
    hull.Total = ::Hull(a.Total, b.Total);
    return hull;
}

TDirectedDraw::TDirectedDraw(int32_t seat, const THandBounds& bounds, const TFixedCards& fixed)
    : seat_(seat), total_(bounds.Total), shapes_(bounds.Shapes) {
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
                   Within(points, bounds.Points[k]);
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

    TPattern pattern;
    for (std::size_t i = 0; i < TShapes::Count; ++i)
        if (shapes_.Has(i)) handCount_ += Tables(TShapes::Patterns()[i], pattern);
    const int32_t free = 52 - fixed.Total();
    share_ = static_cast<double>(handCount_) / Choose(free, 13 - fixed.Count(seat));
    dealtAtRandom_ = free - (13 - fixed.Count(seat));
    for (int32_t other = 1; other <= 3; ++other)
        freePlaces_[static_cast<std::size_t>(other - 1)] =
            other == seat ? 0 : static_cast<uint32_t>(13 - fixed.Count(other));
}

uint64_t TDirectedDraw::Tables(const TShapes::TLengths& lengths, TPattern& pattern) const {
    // Exactly q points first, then summed into "q or fewer".
    auto& ways = pattern.AtMost;
    for (auto& row : ways) row.fill(0);
    ways[4][0] = 1;
    for (std::size_t k = 4; k-- > 0;) {
        const auto& counts = suits_[k].Count[static_cast<std::size_t>(lengths[k])];
        for (std::size_t p = 0; p < counts.size(); ++p)
            for (std::size_t q = 0; counts[p] != 0 && p + q < 38; ++q)
                ways[k][p + q] += counts[p] * ways[k + 1][q];
    }
    for (auto& row : ways)
        for (std::size_t q = 1; q < row.size(); ++q) row[q] += row[q - 1];
    return Completions(pattern, 0, 0);
}

uint64_t TDirectedDraw::Completions(const TPattern& pattern, std::size_t k, int32_t points) const {
    const int32_t low = std::max(total_.Low - points, 0);
    const int32_t high = std::min(total_.High - points, THandBounds::MostPoints);
    if (low > high) return 0;
    const auto& atMost = pattern.AtMost[k];
    return atMost[static_cast<std::size_t>(high)] -
           (low > 0 ? atMost[static_cast<std::size_t>(low - 1)] : 0);
}

void TDirectedDraw::Prepare() {
    if (handCount_ == 0 || prepared_) return;
    uint64_t before = 0;
    for (std::size_t i = 0; i < TShapes::Count; ++i) {
        if (!shapes_.Has(i)) continue;
        TPattern pattern;
        const uint64_t hands = Tables(TShapes::Patterns()[i], pattern);
        if (hands == 0) continue;
        pattern.Before = before;
        pattern.Index = static_cast<uint16_t>(i);
        before += hands;
        patterns_.push_back(pattern);
    }
    patterns_.shrink_to_fit();
    prepared_ = true;
}

// The hand is the number `chosen` below the count of hands, read in turn:
// the pattern whose hands it falls among, then suit by suit the points whose
// hands it falls among, the number within them going on to the later suits;
// the holding of the suit's length and points is a draw of its own.
template <class TDraws>
void TDirectedDraw::DealWith(TDraws& draws, TCardSets& sets) const {
    uint64_t chosen = draws.Below64(handCount_);
    const TPattern& pattern = *std::prev(
        std::upper_bound(patterns_.begin(), patterns_.end(), chosen,
                         [](uint64_t value, const TPattern& p) { return value < p.Before; }));
    chosen -= pattern.Before;
    const TShapes::TLengths& lengths = TShapes::Patterns()[pattern.Index];
    int32_t points = 0;
    uint64_t hand = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const TSuitHoldings& suit = suits_[k];
        const auto l = static_cast<std::size_t>(lengths[k]);
        std::size_t p = 0;  // the most points take what is left
        for (; p < THandBounds::MostSuitPoints; ++p) {
            const uint64_t hands =
                suit.Count[l][p] * Completions(pattern, k + 1, points + static_cast<int32_t>(p));
            if (chosen < hands) break;
            chosen -= hands;
        }
        const uint64_t holdings = suit.Count[l][p];
        chosen /= holdings;
        const uint32_t which = draws.Below(static_cast<uint32_t>(holdings));
        hand |= uint64_t{suit.Masks[suit.Start[l][p] + which]}
                << CardSetTables::SuitShift(static_cast<int32_t>(k) + 1);
        points += static_cast<int32_t>(p);
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
