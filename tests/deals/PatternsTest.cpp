#include <gtest/gtest.h>

#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/Patterns.h"

namespace {

TEST(Patterns, RowsAreTheSplitsOfThirteenInDescendingOrder) {
    std::vector<TPattern> splits;
    for (int a = 13; a >= 0; --a)
        for (int b = a; b >= 0; --b)
            for (int c = b; c >= 0; --c)
                for (int d = c; d >= 0; --d)
                    if (a + b + c + d == 13)
                        splits.push_back({static_cast<int8_t>(a), static_cast<int8_t>(b),
                                          static_cast<int8_t>(c), static_cast<int8_t>(d)});
    ASSERT_EQ(splits.size(), 39u);
    for (std::size_t row = 1; row <= 39; ++row) EXPECT_EQ(Patterns[row], splits[row - 1]) << row;
    EXPECT_EQ(Patterns[0], (TPattern{0, 0, 0, 0}));
}

TEST(Patterns, LookupFindsRowsOneToThirtyNineOnly) {
    EXPECT_EQ(PatternIndexOf(4, 3, 3, 3), 39);
    EXPECT_EQ(PatternIndexOf(4, 4, 3, 2), 38);
    EXPECT_EQ(PatternIndexOf(4, 4, 4, 1), 37);
    EXPECT_EQ(PatternIndexOf(5, 3, 3, 2), 36);
    EXPECT_EQ(PatternIndexOf(13, 0, 0, 0), 1);
    EXPECT_EQ(PatternIndexOf(11, 1, 1, 0), 4);
    EXPECT_EQ(PatternIndexOf(0, 0, 0, 0), 0);
    EXPECT_EQ(PatternIndexOf(3, 3, 3, 3), 0);    // twelve cards
    EXPECT_EQ(PatternIndexOf(3, 4, 3, 3), 0);    // not in descending order
    EXPECT_EQ(PatternIndexOf(13, 13, 0, 0), 0);  // repeated cards
}

struct CardCase {
    int32_t card, suit, points;
    std::string_view rank;
};

TEST(BridgeTerms, CardSuitPointsAndRank) {
    const CardCase cases[] = {{1, 1, 0, "2"},  {9, 1, 0, "T"},  {10, 1, 1, "J"}, {13, 1, 4, "A"},
                              {14, 2, 0, "2"}, {26, 2, 4, "A"}, {27, 3, 0, "2"}, {38, 3, 3, "K"},
                              {39, 3, 4, "A"}, {40, 4, 0, "2"}, {50, 4, 2, "Q"}, {52, 4, 4, "A"},
                              {0, 0, 0, ""},   {53, 0, 0, ""},  {-9, 0, 0, ""},  {99, 0, 0, ""}};
    for (const CardCase& c : cases) {
        EXPECT_EQ(CardSuit(c.card), c.suit) << c.card;
        EXPECT_EQ(CardPoints(c.card), c.points) << c.card;
        EXPECT_EQ(CardChar(c.card), c.rank) << c.card;
    }
    int32_t total = 0;
    for (int32_t card = 1; card <= 52; ++card) total += CardPoints(card);
    EXPECT_EQ(total, 40);
}

}  // namespace
