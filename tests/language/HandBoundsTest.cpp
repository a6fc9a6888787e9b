// The bounds of typical conditions, and, over random conditions, that every
// deal a condition keeps meets its bounds.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ConditionTestSupport.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/HandBounds.h"
#include "support/RecordingSink.h"

namespace {

// "N: C0-1 D0-1 H5-6 S7-8 #4 P10-12": each seat's bounds that impose something, lengths
// by suit letter, a suit's points as pS, the hand's as P; "empty" when no
// deal can meet them.
std::string BoundsText(const std::array<THandBounds, 4>& bounds) {
    if (bounds[0].Empty()) return "empty";
    std::string text;
    const THandBounds none;
    auto range = [](TBound b) { return std::to_string(b.Low) + "-" + std::to_string(b.High); };
    for (std::size_t s = 0; s < 4; ++s) {
        if (bounds[s].Unbounded()) continue;
        text += (text.empty() ? "" : " ") + std::string(1, SeatLetters[s]) + ":";
        int patterns = 0;
        for (std::size_t i = 0; i < TShapes::Count; ++i) patterns += bounds[s].Shapes.Has(i);
        for (std::size_t k = 0; k < 4; ++k)
            if (const TBound length = bounds[s].Shapes.Lengths(k); length != TBound{0, 13})
                text += std::string(" ") + "CDHS"[k] + range(length);
        if (patterns < static_cast<int>(TShapes::Count)) text += " #" + std::to_string(patterns);
        for (std::size_t k = 0; k < 4; ++k)
            if (bounds[s].Points[k] != none.Points[k])
                text += std::string(" p") + "CDHS"[k] + range(bounds[s].Points[k]);
        if (bounds[s].Total != none.Total) text += " P" + range(bounds[s].Total);
    }
    return text;
}

TEST(HandBounds, TypicalConditions) {
    const std::pair<const char*, const char*> cases[] = {
        {"(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 5) AND (HCP(N) >= 10) AND "
         "(HCP(N) <= 12)",
         "N: C0-1 D0-1 H5-6 S7-8 #4 P10-12"},
        {"Shape(N, 0, 4, 4, 4, 1) AND Range(N, 22, 24)", "N: C1-4 D1-4 H1-4 S1-4 #4 P22-24"},
        {"NOT (HCP(S) < 20) OR (HCP(S) >= 25)", "S: P20-24"},
        {"(HCP(N) - HCP(S)) >= 30", "N: P30-37 S: P0-7"},
        {"Balanced(W, 15, 17) AND (HCP(W, Spades) >= 7)",
         "W: C2-5 D2-5 H2-4 S2-4 #22 pS7-10 P15-17"},
        {"Suits(S, 1, 5, -1, -1, 4) AND NOT (SuitLength(S, Spades) = 13)",
         "S: C4-8 D0-4 H0-4 S5-9 #35"},
        {"Prec2c(W) OR Prec1d(W, 11, 13, 11, 13)", "W: H0-4 S0-4 #249 P11-15"},
        {"(HCP(N) >= 20) AND (HCP(N) <= 10)", "empty"},
        {"(Losers(N) <= 5) AND (HCP(N) >= 2147483647 + 1)", ""},
    };
    for (const auto& [condition, expected] : cases) {
        TCompiledCondition prepared;
        ASSERT_TRUE(prepared.Prepare(condition, TestRules())) << condition;
        EXPECT_EQ(BoundsText(ConditionBounds(*prepared.Root())), expected) << condition;
    }
}

// A random condition of comparisons of sums of figures and the Boolean hand
// functions, every operation in brackets (the language groups to the right).
std::string RandomCondition(std::mt19937& random, int depth) {
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::string seat(1, SeatLetters[pick(4)]);
    const char* suits[] = {"Clubs", "Diamonds", "Hearts", "Spades"};
    auto integer = [&](auto& self, int d) -> std::string {
        const std::string suit = suits[pick(4)], other(1, SeatLetters[pick(4)]);
        const std::string values[] = {
            std::to_string(pick(16)), "HCP(" + other + ")", "HCP(" + other + ", " + suit + ")",
            "SuitLength(" + seat + ", " + suit + ")",
            "SuitByLength(" + seat + ", " + std::to_string(1 + pick(4)) + ")"};
        if (d == 0 || pick(3) > 0) return values[pick(5)];
        return "(" + self(self, d - 1) + (pick(2) ? " + " : " - ") + self(self, d - 1) + ")";
    };
    const char* comparisons[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
    const char* functions[] = {"Balanced", "Polish1c", "Prec1d", "Unbal1d", "Prec1h", "Prec1s",
                               "Prec2c",   "Multy",    "Range",  "Suits",   "Shape"};
    switch (depth > 0 ? pick(8) : pick(2)) {
        case 0:
            return "(" + integer(integer, 2) + comparisons[pick(6)] + integer(integer, 1) + ")";
        case 1: {
            std::string call = std::string(functions[pick(11)]) + "(" + seat;
            for (int k = pick(7); k > 0; --k) call += ", " + std::to_string(pick(18) - 1);
            return call + ")";
        }
        case 2:
            return "NOT " + RandomCondition(random, depth - 1);
        default:
            return "(" + RandomCondition(random, depth - 1) + (pick(4) ? " AND " : " OR ") +
                   RandomCondition(random, depth - 1) + ")";
    }
}

bool Meets(const TCardSets& deal, const std::array<THandBounds, 4>& bounds) {
    auto in = [](int32_t value, TBound b) { return b.Low <= value && value <= b.High; };
    for (int32_t seat = 1; seat <= 4; ++seat) {
        const THandBounds& b = bounds[static_cast<std::size_t>(seat - 1)];
        bool met = in(deal.HCP(seat, 0), b.Total);
        for (std::size_t i = 0; i < TShapes::Count; ++i) {
            const auto& l = TShapes::Patterns()[i];
            met = met && (b.Shapes.Has(i) || l[0] != deal.SuitLength(seat, 1) ||
                          l[1] != deal.SuitLength(seat, 2) || l[2] != deal.SuitLength(seat, 3));
        }
        for (int32_t suit = 1; suit <= 4; ++suit)
            met = met && in(deal.HCP(seat, suit), b.Points[static_cast<std::size_t>(suit - 1)]);
        if (!met) return false;
    }
    return true;
}

TEST(HandBounds, EveryKeptDealMeetsTheBounds) {
    std::mt19937 random(20261210u);
    uint32_t seed = 5;
    TDeal deal;
    int kept = 0, bounded = 0;
    for (int run = 0; run < 400; ++run) {
        const std::string text = RandomCondition(random, run % 3);
        TRecordingSink sink;  // a call with arguments its function refuses is left out
        TCompiledCondition condition;
        if (!condition.Prepare(text, TestRules())) continue;
        const std::array<THandBounds, 4> bounds = ConditionBounds(*condition.Root());
        bounded += BoundsText(bounds) != "";
        for (int d = 0; d < 1000; ++d) {
            deal.DealFromSeed(seed);
            if (!condition.Matches(deal)) continue;
            ++kept;
            ASSERT_TRUE(Meets(deal.CardSets(), bounds)) << text << "\n" << BoundsText(bounds);
        }
    }
    EXPECT_GT(kept, 50000);
    EXPECT_GT(bounded, 150);
}

}  // namespace
