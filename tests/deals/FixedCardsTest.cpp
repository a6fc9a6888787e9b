// Fixed cards: reading and refusing their texts, dealing around them, and the
// free cards' spread over a million deals against the exact probabilities.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/FixedCards.h"
#include "deals/RandomSource.h"

namespace {

struct TReadCase {
    const char* text;
    const char* canonical;  // ToText of what was read; unused when refused
    const char* error;      // "" when read
};

void PrintTo(const TReadCase& c, std::ostream* out) { *out << "\"" << c.text << "\""; }

class FixedCardsReading : public testing::TestWithParam<TReadCase> {};

TEST_P(FixedCardsReading, ReadsOrRefusesWithAMessageNamingTheCardOrSeat) {
    const TReadCase& c = GetParam();
    const TFixedCardsReading reading = ReadFixedCards(c.text);
    EXPECT_EQ(reading.Error, c.error);
    if (*c.error != '\0') {
        EXPECT_TRUE(reading.Cards.Empty());  // nothing half read
        return;
    }
    EXPECT_EQ(reading.Cards.ToText(), c.canonical);
    // The canonical text reads back to the same cards.
    const TFixedCardsReading again = ReadFixedCards(reading.Cards.ToText());
    EXPECT_EQ(again.Error, "");
    EXPECT_TRUE(again.Cards == reading.Cards);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FixedCardsReading,
    testing::Values(
        TReadCase{"", "", ""}, TReadCase{" \t\r\n ", "", ""},
        TReadCase{"N:AKQJ.K.. S:..A2.", "N:AKQJ.K.. S:..A2.", ""},
        TReadCase{"s:akq.10.-.- n:...2", "N:...2 S:AKQ.T..", ""},
        // A PBN deal: hands clockwise from the first seat, "-" for none.
        TReadCase{"N:AKQJ.AKQ.AKQ.AKQ - - -", "N:AKQJ.AKQ.AKQ.AKQ", ""},
        TReadCase{"E:A... K... Q... J...", "N:J... E:A... S:K... W:Q...", ""},
        TReadCase{"[Deal \"W:- .A.. - ..A.\"]", "N:.A.. S:..A.", ""},
        TReadCase{"AK... W:.Q..", "N:AK... W:.Q..", ""},  // the first hand without a seat: North
        TReadCase{"N:T98765432.AKQJ.. E:.T98765432..AKQJ", "N:T98765432.AKQJ.. E:.T98765432..AKQJ",
                  ""},
        // Russian letters: Т К Д В for the honours, С В Ю З for the seats.
        TReadCase{"N:ТК10.К43.Т762.КД9", "N:AKT.K43.A762.KQ9", ""},
        TReadCase{"ю:тк.д.в.- в:.В..", "E:.J.. S:AK.Q.J.", ""},
        // Refused.
        TReadCase{"N:AKQJT.AKQ.AKQ.AKQ", "",
                  "У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ»."},
        TReadCase{"W:AKQJT98765432.10..", "",
                  "У Запада больше 13 карт (задано 14): «AKQJT98765432.10..»."},
        TReadCase{"N:A... S:A...", "", "Карта ♠A задана дважды: у Севера и у Юга."},
        TReadCase{"E:.KJ.. - W:..Q.J", "E:.KJ.. W:..Q.J", ""},
        TReadCase{"E:.K.. - W:.K..", "", "Карта ♥K задана дважды: у Востока и у Запада."},
        TReadCase{"N:AA...", "", "Карта ♠A задана дважды: у Севера."},
        TReadCase{"N:AKX...", "", "«X» — не карта: рука Севера «AKX...»."},
        TReadCase{"N:AK.1..", "", "«1» — не карта: рука Севера «AK.1..»."},
        TReadCase{"N:AKЖ...", "", "«Ж» — не карта: рука Севера «AKЖ...»."},
        TReadCase{"N:A\xD2...", "", "«\\xD2» — не карта: рука Севера «A\\xD2...»."},
        TReadCase{"Ж:AK...", "",
                  "Не удаётся прочитать «Ж:AK...»: перед двоеточием должна стоять позиция N, E, S "
                  "или W."},
        TReadCase{"N:AKQJ", "",
                  "Не удаётся прочитать руку Севера «AKQJ»: нужны четыре масти через точку, "
                  "пики первыми (AKQJ.K..)."},
        TReadCase{"S:A.K.Q.J.T", "",
                  "Не удаётся прочитать руку Юга «A.K.Q.J.T»: нужны четыре масти через точку, "
                  "пики первыми (AKQJ.K..)."},
        TReadCase{"X:AK...", "",
                  "Не удаётся прочитать «X:AK...»: перед двоеточием должна стоять позиция N, E, S "
                  "или W."},
        TReadCase{"NS:AK...", "",
                  "Не удаётся прочитать «NS:AK...»: перед двоеточием должна стоять позиция N, E, "
                  "S или W."},
        TReadCase{"N:A... N:K...", "", "Карты Севера заданы дважды."},
        TReadCase{"N:A... - - - K...", "", "Карты Севера заданы дважды."}));

TEST(FixedCards, FixRefusesWhatCannotBeHeld) {
    TFixedCards cards;
    EXPECT_TRUE(cards.Empty());
    EXPECT_EQ(cards.DrawsPerDeal(), 51);
    EXPECT_FALSE(cards.Fix(0, North));
    EXPECT_FALSE(cards.Fix(53, North));
    EXPECT_FALSE(cards.Fix(1, 0));
    EXPECT_FALSE(cards.Fix(1, 5));
    for (int32_t card = 1; card <= 13; ++card) EXPECT_TRUE(cards.Fix(card, East));
    EXPECT_FALSE(cards.Fix(14, East));  // thirteen already
    EXPECT_FALSE(cards.Fix(1, North));  // fixed to East
    EXPECT_EQ(cards.Count(East), 13);
    EXPECT_EQ(cards.SeatOf(1), East);
    EXPECT_EQ(cards.SeatOf(14), 0);
    EXPECT_EQ(cards.DrawsPerDeal(), 38);
    EXPECT_EQ(cards.ToText(), "E:...AKQJT98765432");
}

TFixedCards Read(const char* text) {
    const TFixedCardsReading reading = ReadFixedCards(text);
    EXPECT_EQ(reading.Error, "") << text;
    return reading.Cards;
}

// Every seat holds its fixed cards and thirteen in all, each card once, from
// the highest down as dealt hands are; the seed moves by DrawsPerDeal draws.
void ExpectDealtAround(const TFixedCards& fixed, uint32_t seed, int32_t deals) {
    TDeal deal;
    for (int32_t n = 0; n < deals; ++n) {
        const uint32_t before = seed;
        deal.DealFromSeed(seed, fixed);
        ASSERT_EQ(seed,
                  TRandomSource::JumpAhead(before, static_cast<uint64_t>(fixed.DrawsPerDeal())));
        std::set<int32_t> seen;
        for (int32_t seat = North; seat <= West; ++seat) {
            for (int32_t j = 1; j <= 13; ++j) {
                const int32_t card = deal.Hand(seat).Card(j);
                ASSERT_TRUE(IsCard(card));
                ASSERT_TRUE(seen.insert(card).second) << card;
                if (j > 1) {
                    ASSERT_LT(card, deal.Hand(seat).Card(j - 1));
                }
                if (fixed.SeatOf(card) != 0) {
                    ASSERT_EQ(fixed.SeatOf(card), seat) << card;
                }
            }
        }
        for (int32_t card = 1; card <= 52; ++card) {
            if (fixed.SeatOf(card) == 0) continue;
            const THand& hand = deal.Hand(fixed.SeatOf(card));
            bool held = false;
            for (int32_t j = 1; j <= 13; ++j) held = held || hand.Card(j) == card;
            ASSERT_TRUE(held) << card;
        }
    }
}

TEST(FixedCards, DealsOnlyTheOtherCards) {
    const char* texts[] = {
        "N:AKQJ.AKQ.AKQ.AKQ",
        "N:AKQJ.K.. S:..A2.",
        "W:AKQJT98765432...",
        "N:2... E:3... S:4... W:5...",
        "N:...A E:...K S:...Q",  // the last card fixed, as in no free deal
        "N:AKQJ.AKQ.AKQ.AKQ E:T987.JT9.JT9.JT9 S:6543.876.876.876",  // one hand left
        "N:AKQJ.AKQ.AKQ.AKQ E:T987.JT9.JT9.JT9 S:6543.876.876.876 W:2.5432.5432.5432"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        ExpectDealtAround(Read(text), 99u, 2000);
    }
}

TEST(FixedCards, NorthFixedWholeKeepsThatHandInEveryDeal) {
    const TFixedCards fixed = Read("N:AKQJ.AKQ.AKQ.AKQ");
    uint32_t seed = 1;
    TDeal deal;
    for (int32_t n = 0; n < 500; ++n) {
        deal.DealFromSeed(seed, fixed);
        EXPECT_EQ(deal.Hand(North).SuitText(Spades), "AKQJ");
        for (int32_t suit : {Hearts, Diamonds, Clubs})
            EXPECT_EQ(deal.Hand(North).SuitText(suit), "AKQ");
        EXPECT_EQ(deal.HCP(North, -1), 37);
    }
}

TEST(FixedCards, NothingFixedDealsAsBefore) {
    uint32_t plain = 12345, withEmpty = 12345;
    TDeal a, b;
    for (int32_t n = 0; n < 100; ++n) {
        a.DealFromSeed(plain);
        b.DealFromSeed(withEmpty, TFixedCards());
        ASSERT_EQ(a.ToText(), b.ToText());
    }
    EXPECT_EQ(plain, withEmpty);
}

// Pearson's statistic against the exact probabilities; cells expecting fewer
// than five deals are pooled. The bound is the 0.999 quantile (Wilson-Hilferty).
void ExpectFits(const std::map<std::string, int64_t>& observed,
                const std::map<std::string, double>& probability, int64_t total) {
    double statistic = 0, pooledObserved = 0, pooledExpected = 0;
    int32_t cells = 0;
    double sum = 0;
    for (const auto& [cell, p] : probability) {
        sum += p;
        const double expected = p * static_cast<double>(total);
        const auto found = observed.find(cell);
        const double seen = found == observed.end() ? 0.0 : static_cast<double>(found->second);
        if (expected < 5) {
            pooledObserved += seen;
            pooledExpected += expected;
            continue;
        }
        statistic += (seen - expected) * (seen - expected) / expected;
        ++cells;
    }
    for (const auto& [cell, count] : observed) EXPECT_TRUE(probability.contains(cell)) << cell;
    EXPECT_NEAR(sum, 1.0, 1e-9);
    if (pooledExpected > 0) {
        statistic +=
            (pooledObserved - pooledExpected) * (pooledObserved - pooledExpected) / pooledExpected;
        ++cells;
    }
    const double k = cells - 1;
    const double bound = k * std::pow(1 - 2 / (9 * k) + 3.09 * std::sqrt(2 / (9 * k)), 3);
    EXPECT_LT(statistic, bound) << cells << " cells";
}

double Choose(int32_t n, int32_t k) {
    if (k < 0 || k > n) return 0;
    double result = 1;
    for (int32_t i = 1; i <= k; ++i) result = result * (n - k + i) / i;
    return result;
}

TEST(FixedCards, FreeCardsAreDealtUniformly) {
    // Twenty cards fixed, unevenly: 32 free places, 6 + 9 + 9 + 8 over the seats.
    const TFixedCards fixed = Read("N:AKQ.AK.A.A E:J.Q.KQ. S:.J.J.QJ W:T9.T9..T");
    ASSERT_EQ(fixed.Total(), 20);
    std::array<int32_t, 4> freePlaces{};
    std::array<int32_t, 4> fixedHearts{};
    for (int32_t seat = North; seat <= West; ++seat) {
        freePlaces[static_cast<std::size_t>(seat - 1)] = 13 - fixed.Count(seat);
        for (int32_t card = 27; card <= 39; ++card)
            fixedHearts[static_cast<std::size_t>(seat - 1)] += fixed.SeatOf(card) == seat;
    }
    ASSERT_EQ(freePlaces, (std::array<int32_t, 4>{6, 9, 9, 8}));
    const int32_t freeCards = 32;

    constexpr int64_t total = 1000000;
    const int32_t twoOfSpades = 40;
    ASSERT_EQ(fixed.SeatOf(twoOfSpades), 0);
    std::map<std::string, int64_t> seatOfCard, heartSplit;
    uint32_t seed = 2026;
    TDeal deal;
    for (int64_t n = 0; n < total; ++n) {
        deal.DealFromSeed(seed, fixed);
        std::string split;  // the free hearts of each seat, "a-b-c-d"
        for (int32_t seat = North; seat <= West; ++seat) {
            if (deal.HasCard(seat, Spades, 2)) ++seatOfCard[std::to_string(seat)];
            if (seat > North) split += '-';
            split += std::to_string(deal.SuitLength(seat, Hearts) -
                                    fixedHearts[static_cast<std::size_t>(seat - 1)]);
        }
        ++heartSplit[split];
    }
    std::map<std::string, double> seatProbability;
    for (int32_t seat = North; seat <= West; ++seat)
        seatProbability[std::to_string(seat)] =
            static_cast<double>(freePlaces[static_cast<std::size_t>(seat - 1)]) / freeCards;
    ExpectFits(seatOfCard, seatProbability, total);

    // Hearts: 13 less the 6 fixed; the split of the 7 free ones is hypergeometric.
    int32_t freeHearts = 0;
    for (int32_t card = 27; card <= 39; ++card) freeHearts += fixed.SeatOf(card) == 0;
    ASSERT_EQ(freeHearts, 7);
    std::map<std::string, double> splitProbability;
    for (int32_t a = 0; a <= freeHearts; ++a)
        for (int32_t b = 0; a + b <= freeHearts; ++b)
            for (int32_t c = 0; a + b + c <= freeHearts; ++c) {
                const int32_t d = freeHearts - a - b - c;
                const double p = Choose(freePlaces[0], a) * Choose(freePlaces[1], b) *
                                 Choose(freePlaces[2], c) * Choose(freePlaces[3], d) /
                                 Choose(freeCards, freeHearts);
                if (p > 0)
                    splitProbability[std::to_string(a) + "-" + std::to_string(b) + "-" +
                                     std::to_string(c) + "-" + std::to_string(d)] = p;
            }
    ExpectFits(heartSplit, splitProbability, total);
}

}  // namespace
