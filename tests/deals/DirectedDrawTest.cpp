// The directed draw against distributions counted here: the hand's (length,
// points) in every suit, and its partner's spades, hypergeometric given the
// hand. Chi-square tests with fixed seeds, shown to refuse a biased draw.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <map>

#include "deals/BridgeTerms.h"
#include "deals/DirectedDraw.h"

namespace {

struct TCase {
    int32_t Seat;
    std::array<TBound, 4> Length;  // clubs first
    TBound Total;
    std::string Fixed;
    bool Secure;

    THandBounds Bounds() const {
        THandBounds bounds;
        bounds.Shapes = bounds.Shapes.Where([this](const TShapes::TLengths& l) {
            for (std::size_t k = 0; k < 4; ++k)
                if (l[k] < Length[k].Low || l[k] > Length[k].High) return false;
            return true;
        });
        bounds.Total = Total;
        return bounds;
    }
};

const TBound Any{0, 13};
const TCase Cases[] = {
    {North, {Any, Any, TBound{5, 13}, TBound{7, 13}}, {10, 12}, "", false},
    {East, {TBound{9, 13}, Any, Any, Any}, {6, 9}, "N:AK... E:..Q.", false},
    {South, {TBound{1, 4}, {1, 4}, {1, 4}, {1, 4}}, {22, 24}, "W:.2..", true},
};

uint64_t Drawn(const TCardSets& sets, int32_t seat) {
    return sets.Hands[static_cast<std::size_t>(seat - 1)];
}
constexpr uint64_t Aces =
    uint64_t{1} << 13 | uint64_t{1} << 26 | uint64_t{1} << 39 | uint64_t{1} << 52;

// The chi-square statistic, cells of fewer than five expected pooled into
// one, and the value a fair sample exceeds with probability 0.0005 (by
// Wilson and Hilferty's approximation).
std::pair<double, double> ChiSquare(const std::map<uint64_t, double>& expected,
                                    const std::map<uint64_t, int64_t>& observed, int64_t n) {
    double statistic = 0, pooled[2] = {0, 0};  // expected, observed
    int cells = 0;
    auto add = [&](double e, double o) { statistic += (o - e) * (o - e) / e, ++cells; };
    for (const auto& [key, p] : expected) {
        const auto at = observed.find(key);
        const double o = at == observed.end() ? 0 : static_cast<double>(at->second);
        const double e = p * static_cast<double>(n);
        if (e >= 5)
            add(e, o);
        else
            pooled[0] += e, pooled[1] += o;
    }
    if (pooled[0] > 0) add(pooled[0], pooled[1]);
    const double a = 2.0 / (9.0 * (cells - 1));
    return {statistic, (cells - 1) * std::pow(1 - a + 3.29 * std::sqrt(a), 3)};
}

double Choose(int n, int k) {
    return k < 0 || k > n ? 0
                          : std::round(std::exp(std::lgamma(n + 1) - std::lgamma(k + 1) -
                                                std::lgamma(n - k + 1)));
}

void CheckCase(const TCase& c, bool biased) {
    const TFixedCards fixed = ReadFixedCards(c.Fixed).Cards;
    TDirectedDraw draw(c.Seat, c.Bounds(), fixed);
    draw.Prepare();
    ASSERT_TRUE(draw.Drawable());
    // Every holding of each suit counted by (length, points), its fixed cards
    // in and the others' out; then the hands of every figures key in bounds.
    std::map<uint64_t, double> count[4];
    for (int32_t suit = 1; suit <= 4; ++suit)
        for (uint32_t mask = 0; mask < 8192; ++mask) {
            bool fits = true;
            for (int32_t rank = 0; rank < 13; ++rank) {
                const int32_t holder = fixed.SeatOf((suit - 1) * 13 + rank + 1);
                fits = fits && (holder == 0 || (holder == c.Seat) == ((mask >> rank & 1) != 0));
            }
            const int length = std::popcount(mask), points = CardSetTables::HonourPoints[mask >> 9];
            const auto i = static_cast<std::size_t>(suit - 1);
            if (fits && length >= c.Length[i].Low && length <= c.Length[i].High)
                count[suit - 1][static_cast<uint64_t>(length << 4 | points)] += 1;
        }
    // Suit after suit, in order of length: a loop ends where the lengths pass 13.
    std::map<uint64_t, double> expected;
    double hands = 0;
    auto combine = [&](auto& self, std::size_t k, uint64_t key, int32_t length, int32_t points,
                       double ways) -> void {
        if (k == 4 && length == 13 && points >= c.Total.Low && points <= c.Total.High)
            hands += expected[key] = ways;
        for (const auto& [figures, n] : k < 4 ? count[k] : std::map<uint64_t, double>{}) {
            if (length + static_cast<int32_t>(figures >> 4) > 13) break;
            self(self, k + 1, key << 8 | figures, length + static_cast<int32_t>(figures >> 4),
                 points + static_cast<int32_t>(figures & 15), ways * n);
        }
    };
    combine(combine, 0, 0, 0, 0, 1);
    EXPECT_EQ(static_cast<double>(draw.HandCount()), hands);
    for (auto& [key, p] : expected) p /= hands;
    // The partner's spades: those fixed to it, and among the cards dealt at
    // random as many as it has places left.
    const int32_t partner = (c.Seat + 1) % 4 + 1;
    int32_t partnerFixedSpades = 0, otherFixed = 0, otherFixedSpades = 0;
    for (int32_t card = 1; card <= 52; ++card) {
        const bool other = fixed.SeatOf(card) != 0 && fixed.SeatOf(card) != c.Seat;
        partnerFixedSpades += fixed.SeatOf(card) == partner && CardSuit(card) == Spades;
        otherFixed += other;
        otherFixedSpades += other && CardSuit(card) == Spades;
    }
    const int32_t random = 39 - otherFixed, places = 13 - fixed.Count(partner);

    const int64_t n = 60000;
    std::map<uint64_t, int64_t> observed, partnerObserved;
    std::map<uint64_t, double> partnerExpected;
    uint32_t seed = 20261210;
    TSecret secret;
    secret.Bytes.fill(0xA7);
    TCardSets sets;
    for (int64_t i = 0, drawn = 0; i < n; ++i) {
        do {
            if (c.Secure)
                draw.DealSecure(secret, static_cast<uint64_t>(drawn++), sets);
            else
                draw.Deal(seed, sets);
            // The bias: one hand in two of those without an ace drawn again.
        } while (biased && (Drawn(sets, c.Seat) & Aces) == 0 &&
                 (Drawn(sets, c.Seat) * 0x9E3779B97F4A7C15ull) >> 63 == 0);
        // Thirteen cards each, the 52 in all, and the fixed ones where they belong.
        for (int32_t card = 1; card <= 52; ++card) {
            int32_t holders = 0;
            for (int32_t seat = 1; seat <= 4; ++seat)
                holders += (Drawn(sets, seat) >> card & 1) != 0 &&
                           std::popcount(Drawn(sets, seat)) == 13 &&
                           (fixed.SeatOf(card) == 0 || fixed.SeatOf(card) == seat);
            ASSERT_EQ(holders, 1) << card;
        }
        uint64_t key = 0;  // the (length, points) of the four suits, clubs first
        for (int32_t suit = 1; suit <= 4; ++suit)
            key = key << 8 | static_cast<uint64_t>(sets.SuitLength(c.Seat, suit) << 4 |
                                                   sets.HCP(c.Seat, suit));
        ASSERT_TRUE(expected.contains(key));
        ++observed[key];
        const int32_t spadesLeft = 13 - static_cast<int32_t>(key >> 4 & 15) - otherFixedSpades;
        for (int32_t k = 0; k <= places; ++k)
            partnerExpected[static_cast<uint64_t>(partnerFixedSpades + k)] +=
                Choose(spadesLeft, k) * Choose(random - spadesLeft, places - k) /
                Choose(random, places) / static_cast<double>(n);
        ++partnerObserved[static_cast<uint64_t>(
            TCardSetHand(Drawn(sets, partner)).SuitLength(Spades))];
    }
    const auto [hand, handCritical] = ChiSquare(expected, observed, n);
    const auto [other, otherCritical] = ChiSquare(partnerExpected, partnerObserved, n);
    EXPECT_EQ(hand < handCritical, !biased) << hand << " against " << handCritical;
    EXPECT_LT(other, otherCritical);
}

TEST(DirectedDraw, HandsFollowTheirExactDistributionAndABiasedDrawIsRefused) {
    for (const TCase& c : Cases) CheckCase(c, false);
    CheckCase(Cases[0], true);
}

}  // namespace
