#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/ExampleDeals.h"

namespace {

constexpr TListingSeats kAllSeats{true, true, true, true};
constexpr TListingSeats kEastOnly{false, true, false, false};
constexpr TListingSeats kNorthSouth{true, false, true, false};

void AddDeals(TDeals& deals, const std::vector<TDeal>& added) {
    for (const TDeal& deal : added) deals.Add(deal);
}

class ListingExamples : public ::testing::Test {
protected:
    void SetUp() override { AddDeals(deals, ListingExampleDeals()); }
    TDeals deals;
};

TEST_F(ListingExamples, FullDealsTwoToARow) {
    EXPECT_EQ(DealListingLines(deals, kAllSeats, 2),
              Dots({
                  "·1.·······J542···············2.·······AJ62···············",
                  "··········9···························KQ·················",
                  "··········AT853·······················T964···············",
                  "··········J86·························J54················",
                  "···98···········AKQT63·········4············K873·········",
                  "···862··········J3·············A965·········JT742········",
                  "···QJ6··········972············2············A753·········",
                  "···KQT54········A3·············AKQT932······-············",
                  "··········7···························QT95···············",
                  "··········AKQT754·····················83·················",
                  "··········K4··························KQJ8···············",
                  "··········972·························876················",
                  "",
                  "·3.·······987················",
                  "··········A973···············",
                  "··········QJT5···············",
                  "··········A5·················",
                  "···KT52·········Q43··········",
                  "···85···········T64··········",
                  "···K8···········A763·········",
                  "···KJ842········Q93··········",
                  "··········AJ6················",
                  "··········KQJ2···············",
                  "··········942················",
                  "··········T76················",
                  "",
              }));
}

TEST_F(ListingExamples, EastAloneThreeToARow) {
    EXPECT_EQ(DealListingLines(deals, kEastOnly, 3),
              Dots({
                  "·1.AKQT63·······2.K873·········3.Q43··········",
                  "···J3·············JT742··········T64··········",
                  "···972············A753···········A763·········",
                  "···A3·············-··············Q93··········",
                  "",
              }));
}

TEST_F(ListingExamples, NorthAndSouthKeepTheirMiddleLineEmpty) {
    EXPECT_EQ(DealListingLines(deals, kNorthSouth, 2), Dots({
                                                           "·1.J542·········2.AJ62·········",
                                                           "···9··············KQ···········",
                                                           "···AT853··········T964·········",
                                                           "···J86············J54··········",
                                                           "",
                                                           "···7··············QT95·········",
                                                           "···AKQT754········83···········",
                                                           "···K4·············KQJ8·········",
                                                           "···972············876··········",
                                                           "",
                                                           "·3.987··········",
                                                           "···A973·········",
                                                           "···QJT5·········",
                                                           "···A5···········",
                                                           "",
                                                           "···AJ6··········",
                                                           "···KQJ2·········",
                                                           "···942··········",
                                                           "···T76··········",
                                                           "",
                                                       }));
}

TEST_F(ListingExamples, ThreeSeatsDrawTheWholeDeal) {
    const std::vector<std::string> full = DealListingLines(deals, kAllSeats, 2);
    for (TListingSeats three :
         {TListingSeats{false, true, true, true}, TListingSeats{true, false, true, true},
          TListingSeats{true, true, false, true}, TListingSeats{true, true, true, false}})
        EXPECT_EQ(DealListingLines(deals, three, 2), full);
}

TEST_F(ListingExamples, ColumnCountsBeyondTheDealsOrBelowOne) {
    const std::vector<std::string> oneRow = DealListingLines(deals, kEastOnly, 3);
    EXPECT_EQ(DealListingLines(deals, kEastOnly, 9), oneRow);  // more columns than deals
    const std::vector<std::string> single = DealListingLines(deals, kEastOnly, 1);
    EXPECT_EQ(DealListingLines(deals, kEastOnly, 0), single);
    EXPECT_EQ(DealListingLines(deals, kEastOnly, -4), single);
    ASSERT_EQ(single.size(), 15u);  // three rows of four lines and an empty line
    EXPECT_EQ(single[10], Dots("·3.Q43··········"));
}

TEST_F(ListingExamples, NoSeatOrNoDealGivesNoLines) {
    EXPECT_TRUE(DealListingLines(deals, TListingSeats{}, 3).empty());
    TDeals none;
    EXPECT_TRUE(DealListingLines(none, kAllSeats, 3).empty());
}

struct ShapeCase {
    const char* name;
    TListingSeats seats;
    std::vector<std::string_view> lines;
};

class BlockShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(BlockShapes, PutEachHandInItsDiagramPlace) {
    TDeals deals;
    deals.Add(ListingExampleDeals()[0]);
    EXPECT_EQ(DealListingLines(deals, GetParam().seats, 1), Dots(GetParam().lines));
}

INSTANTIATE_TEST_SUITE_P(
    ExampleDealOne, BlockShapes,
    ::testing::Values(
        ShapeCase{"NorthEast",
                  {true, true, false, false},
                  {"·1.J542···············", "···9··················", "···AT853··············",
                   "···J86················", "·········AKQT63·······", "·········J3···········",
                   "·········972··········", "·········A3···········", ""}},
        ShapeCase{"SouthWest",
                  {false, false, true, true},
                  {"·1.98·················", "···862················", "···QJ6················",
                   "···KQT54··············", "·········7············", "·········AKQT754······",
                   "·········K4···········", "·········972··········", ""}},
        ShapeCase{"NorthWest",
                  {true, false, false, true},
                  {"·1.·······J542·········", "··········9············", "··········AT853········",
                   "··········J86··········", "···98··················", "···862·················",
                   "···QJ6·················", "···KQT54···············", ""}},
        ShapeCase{"EastSouth",
                  {false, true, true, false},
                  {"·1.·······AKQT63·······", "··········J3···········", "··········972··········",
                   "··········A3···········", "···7···················", "···AKQT754·············",
                   "···K4··················", "···972·················", ""}},
        ShapeCase{"EastWest",
                  {false, true, false, true},
                  {"·1.98············AKQT63·······", "···862···········J3···········",
                   "···QJ6···········972··········", "···KQT54·········A3···········", ""}},
        ShapeCase{
            "SouthAlone",
            {false, false, true, false},
            {"·1.7············", "···AKQT754······", "···K4···········", "···972··········", ""}}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return info.param.name; });

TEST(DealLabel, HasAtLeastThreeCharacters) {
    EXPECT_EQ(DealLabel(1), " 1.");
    EXPECT_EQ(DealLabel(9), " 9.");
    EXPECT_EQ(DealLabel(10), "10.");
    EXPECT_EQ(DealLabel(99), "99.");
    EXPECT_EQ(DealLabel(100), "100.");
    EXPECT_EQ(DealLabel(12345), "12345.");
}

// `count` copies of the example deals in turn.
void AddExampleDeals(TDeals& deals, int32_t count) {
    const std::vector<TDeal> examples = ListingExampleDeals();
    for (int32_t i = 0; i < count; ++i) deals.Add(examples[static_cast<size_t>(i) % 3]);
}

TEST(DealListing, LabelsWidenFromDealOneHundred) {
    TDeals deals;
    AddExampleDeals(deals, 101);
    const std::vector<std::string> lines = DealListingLines(deals, kEastOnly, 2);
    ASSERT_EQ(lines.size(), 51u * 5);
    // Deals 9 and 10 share a row; both labels are three characters wide.
    EXPECT_EQ(lines[4 * 5], Dots("·9.Q43·········10.AKQT63·······"));
    // Deals 99 and 100: the wider label covers two characters of the line before it.
    EXPECT_EQ(lines[49 * 5], Dots("99.Q43········100.AKQT63·······"));
    EXPECT_EQ(lines[49 * 5 + 1], Dots("···T64············J3···········"));
    // Deal 101 begins its row one character further right.
    EXPECT_EQ(lines[50 * 5], Dots("101.K873·········"));
    EXPECT_EQ(lines[50 * 5 + 3], Dots("····-············"));
}

// Four deals, each with all thirteen spades in a different seat and one
// complete other suit in each other seat.
std::vector<TDeal> LongSpadeDeals() {
    const char* const spades = "AKQJT98765432.-.-.-";
    const char* const hearts = "-.AKQJT98765432.-.-";
    const char* const diamonds = "-.-.AKQJT98765432.-";
    const char* const clubs = "-.-.-.AKQJT98765432";
    return {DealOf(spades, hearts, diamonds, clubs), DealOf(clubs, spades, hearts, diamonds),
            DealOf(diamonds, clubs, spades, hearts), DealOf(hearts, diamonds, clubs, spades)};
}

size_t Occurrences(const std::vector<std::string>& lines, const std::string& text) {
    size_t found = 0;
    for (const std::string& line : lines)
        for (size_t at = line.find(text); at != std::string::npos; at = line.find(text, at + 1))
            ++found;
    return found;
}

TEST(DealListing, EveryCardOfAThirteenCardSpadeSuitShowsInEveryShape) {
    TDeals deals;
    const std::vector<TDeal> longSpades = LongSpadeDeals();
    const int32_t count = 1004;  // labels of three, four and five characters
    for (int32_t i = 0; i < count; ++i) deals.Add(longSpades[static_cast<size_t>(i) % 4]);

    for (int32_t mask = 1; mask < 16; ++mask) {
        const TListingSeats seats{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0,
                                  (mask & 8) != 0};
        const int32_t selected = std::popcount(static_cast<unsigned>(mask));
        const int32_t shownHands = selected >= 3 ? 4 : selected;
        for (int32_t columns : {3, 7}) {
            SCOPED_TRACE("seats " + std::to_string(mask) + ", columns " + std::to_string(columns));
            const std::vector<std::string> lines = DealListingLines(deals, seats, columns);
            // Each shown hand holds one complete suit, so each shows it once, whole,
            // and never run into the label after it.
            const std::string suit = "AKQJT98765432";
            EXPECT_EQ(Occurrences(lines, suit),
                      static_cast<size_t>(shownHands) * static_cast<size_t>(count));
            for (const std::string& line : lines)
                for (size_t at = line.find(suit); at != std::string::npos;
                     at = line.find(suit, at + 1))
                    EXPECT_TRUE(at + suit.size() == line.size() ||
                                !std::isdigit(static_cast<unsigned char>(line[at + suit.size()])))
                        << line;
            // All lines of a row stay equally long, but the empty middle line of
            // North and South and the empty line that closes the row.
            const size_t rows = static_cast<size_t>((count - 1) / columns + 1);
            ASSERT_EQ(lines.size() % rows, 0u);
            const size_t height = lines.size() / rows;
            for (size_t row = 0; row < rows; ++row) {
                const size_t top = row * height;
                for (size_t i = 0; i + 1 < height; ++i) {
                    if (mask == 5 && i == 4)
                        EXPECT_TRUE(lines[top + i].empty());
                    else
                        EXPECT_EQ(lines[top + i].size(), lines[top].size()) << lines[top + i];
                }
                EXPECT_TRUE(lines[top + height - 1].empty());
            }
        }
    }
}

TEST(DealListing, FillerSpacesUnderTheLabelAreAllItTakes) {
    // Twelve spades with a label of three characters: the one space left under
    // the label's first character is enough, so the example layout holds.
    TDeals deals;
    deals.Add(DealOf("AKQJT9876543.2.-.-", "-.-.-.-", "-.-.-.-", "-.-.-.-"));
    deals.Add(ListingExampleDeals()[1]);
    EXPECT_EQ(DealListingLines(deals, TListingSeats{true, false, false, false}, 2),
              Dots({"·1.AKQJT9876543·2.AJ62·········", "···2··············KQ···········",
                    "···-··············T964·········", "···-··············J54··········", ""}));
    // Thirteen: the row moves right by one space, on every line.
    TDeals longer;
    longer.Add(LongSpadeDeals()[0]);
    longer.Add(ListingExampleDeals()[1]);
    EXPECT_EQ(DealListingLines(longer, TListingSeats{true, false, false, false}, 2),
              Dots({"·1.AKQJT98765432·2.AJ62·········", "···-···············KQ···········",
                    "···-···············T964·········", "···-···············J54··········", ""}));
}

}  // namespace
