#include "deals/Deal.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <stdexcept>

#include "deals/BridgeTerms.h"
#include "deals/FreePlaces.h"
#include "deals/Patterns.h"

THand& TDeal::Hand(int32_t seat) {
    if (THand* hand = Seat(seat)) return *hand;
    throw std::out_of_range("TDeal::Hand: no such seat");
}

const THand& TDeal::Hand(int32_t seat) const { return const_cast<TDeal*>(this)->Hand(seat); }

void TDeal::DealRandom(TRandomSource& source) {
    uint32_t before = source.Seed();
    uint32_t seed = before;
    DealFromSeed(seed);
    source.CommitSeed(before, seed);
}

void TDeal::DealFromSeed(uint32_t& seed) {
    // Everything stays in registers: a store of a card (a byte, which may alias
    // anything) would otherwise force the seed and the counts to memory.
    uint32_t current = seed;
    TFreePlaces places(13, 13, 13);
    // The free places of each seat, one byte each, West's in byte 0.
    uint32_t rest = 0x0D0D0D0Du;
#if defined(__clang__)
#pragma clang loop unroll(full)
#elif defined(__GNUC__)
#pragma GCC unroll 51
#endif
    for (uint32_t card = 1; card <= 51; ++card) {
        current = TRandomSource::NextSeed(current);
        auto r =
            static_cast<uint32_t>(TRandomSource::Scale(current, static_cast<int32_t>(53 - card)));
        const uint32_t seat = places.Take(r);
        const uint32_t shift = 8 * (3 - seat);
        rest -= 1u << shift;
        hands_[seat].cards_[(rest >> shift) & 0xFF] = static_cast<int8_t>(card);
    }
    seed = current;
    // The ace of spades takes the one place left, without a draw.
    hands_[places.Take(0)].cards_[0] = 52;
    for (THand& hand : hands_) hand.ResetFigures();
}

void TDeal::DealFromSeed(uint32_t& seed, const TFixedCards& fixed) {
    if (fixed.Empty()) {
        DealFromSeed(seed);
        return;
    }
    // The loop above with two changes: the free places are only those left
    // for random cards, and a fixed card takes its seat's next place without a draw.
    uint32_t current = seed;
    TFreePlaces places(13 - static_cast<uint32_t>(fixed.Count(North)),
                       13 - static_cast<uint32_t>(fixed.Count(East)),
                       13 - static_cast<uint32_t>(fixed.Count(South)));
    uint32_t rest = 0x0D0D0D0Du;
    auto left = static_cast<int32_t>(52 - fixed.Total());  // random cards still to deal
    for (int32_t card = 1; card <= 52; ++card) {
        uint32_t seat = 0;
        if (int32_t fixedSeat = fixed.SeatOf(card); fixedSeat != 0) {
            seat = static_cast<uint32_t>(fixedSeat - 1);
        } else {
            uint32_t r = 0;  // the last random card: the one place left
            if (left > 1) {
                current = TRandomSource::NextSeed(current);
                r = static_cast<uint32_t>(TRandomSource::Scale(current, left));
            }
            --left;
            seat = places.Take(r);
        }
        const uint32_t shift = 8 * (3 - seat);
        rest -= 1u << shift;
        hands_[seat].cards_[(rest >> shift) & 0xFF] = static_cast<int8_t>(card);
    }
    seed = current;
    for (THand& hand : hands_) hand.ResetFigures();
}

void TDeal::SetCardSets(const TCardSets& sets) {
    for (std::size_t i = 0; i < hands_.size(); ++i) {
        uint64_t set = sets.Hands[i];
        THand& hand = hands_[i];
        // The highest card first; places past the last card stay empty.
        hand.cards_.fill(0);
        for (std::size_t place = 0; set != 0 && place < hand.cards_.size(); ++place) {
            const int card = 63 - std::countl_zero(set);
            hand.cards_[place] = static_cast<int8_t>(card);
            set &= ~(uint64_t{1} << card);
        }
        hand.ResetFigures();
    }
}

TCardSets TDeal::CardSets() const {
    TCardSets sets;
    for (std::size_t i = 0; i < hands_.size(); ++i) sets.Hands[i] = hands_[i].CardSet();
    return sets;
}

bool TDeal::IsWhole() const {
    // The 52 places give the 52 cards only when no card is missing or twice;
    // a place without a card sets bit 0.
    uint64_t all = 0;
    for (const THand& hand : hands_)
        for (const int8_t card : hand.cards_) all |= uint64_t{1} << (IsCard(card) ? card : 0);
    return all == (uint64_t{1} << 53) - 2;
}

std::string TDeal::ToText() const {
    std::string line;
    line.reserve(LineLength);
    AppendText(line);
    return line;
}

void TDeal::AppendText(std::string& line) const {
    char text[MaxLineLength];
    line.append(text, static_cast<std::size_t>(WriteText(text) - text));
}

void TDeal::FromText(std::string_view line) {
    for (std::size_t i = 0; i < hands_.size(); ++i) {
        std::size_t start = i * THand::TextLength;
        hands_[i].FromText(start < line.size() ? line.substr(start, THand::TextLength - 1)
                                               : std::string_view());
    }
}

int32_t TDeal::SuitSplitIndex(int32_t suit) {
    if (suit < 1 || suit > 4) return 0;
    std::array<int32_t, 4> lengths{};
    for (std::size_t i = 0; i < hands_.size(); ++i) lengths[i] = hands_[i].SuitLength(suit);
    std::sort(lengths.begin(), lengths.end(), std::greater<>());
    return PatternIndexOf(lengths[0], lengths[1], lengths[2], lengths[3]);
}

int32_t TDeal::HCP(int32_t seat, int32_t suit) {
    THand* hand = Seat(seat);
    return hand ? hand->HCP(suit) : 0;
}

int32_t TDeal::SuitLength(int32_t seat, int32_t suit) {
    THand* hand = Seat(seat);
    return hand ? hand->SuitLength(suit) : 0;
}

int32_t TDeal::SuitByLength(int32_t seat, int32_t n) {
    THand* hand = Seat(seat);
    return hand ? hand->SuitByLength(n) : 0;
}

bool TDeal::Range(int32_t seat, int32_t min, int32_t max) {
    THand* hand = Seat(seat);
    return hand && hand->Range(min, max);
}

bool TDeal::Balanced(int32_t seat, int32_t min, int32_t max) {
    THand* hand = Seat(seat);
    return hand && hand->Balanced(min, max);
}

bool TDeal::Polish1c(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    THand* hand = Seat(seat);
    return hand && hand->Polish1c(a1, a2, a3, a4);
}

bool TDeal::Prec1d(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    THand* hand = Seat(seat);
    return hand && hand->Prec1d(a1, a2, a3, a4);
}

bool TDeal::Unbal1d(int32_t seat, int32_t a1, int32_t a2) {
    THand* hand = Seat(seat);
    return hand && hand->Unbal1d(a1, a2);
}

bool TDeal::Prec1h(int32_t seat, int32_t a1, int32_t a2) {
    THand* hand = Seat(seat);
    return hand && hand->Prec1h(a1, a2);
}

bool TDeal::Prec1s(int32_t seat, int32_t a1, int32_t a2) {
    THand* hand = Seat(seat);
    return hand && hand->Prec1s(a1, a2);
}

bool TDeal::Prec2c(int32_t seat, int32_t a1, int32_t a2) {
    THand* hand = Seat(seat);
    return hand && hand->Prec2c(a1, a2);
}

bool TDeal::Multy(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5,
                  int32_t a6) {
    THand* hand = Seat(seat);
    return hand && hand->Multy(a1, a2, a3, a4, a5, a6);
}

bool TDeal::Suits(int32_t seat, int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) {
    THand* hand = Seat(seat);
    return hand && hand->Suits(mode, s, h, d, c);
}

bool TDeal::Shape(int32_t seat, int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    THand* hand = Seat(seat);
    return hand && hand->Shape(mode, l1, l2, l3, l4);
}

int32_t TDeal::Losers(int32_t seat, int32_t suit) {
    THand* hand = Seat(seat);
    return hand ? hand->Losers(suit) : 0;
}

int32_t TDeal::Controls(int32_t seat, int32_t suit) {
    THand* hand = Seat(seat);
    return hand ? hand->Controls(suit) : 0;
}

bool TDeal::HasCard(int32_t seat, int32_t suit, int32_t rank) {
    THand* hand = Seat(seat);
    return hand && hand->HasCard(suit, rank);
}

int32_t TDeal::TopHonours(int32_t seat, int32_t suit, int32_t n) {
    THand* hand = Seat(seat);
    return hand ? hand->TopHonours(suit, n) : 0;
}
