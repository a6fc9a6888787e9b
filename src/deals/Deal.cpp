#include "deals/Deal.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

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
    // The seed and the free places stay in registers: a store of a card (a
    // byte, which may alias anything) would otherwise force them to memory.
    uint32_t current = seed;
    uint32_t rest = 0x0D0D0D0Du;  // free places of seat s in byte s
    // Running sums of the free places: North's, North's and East's, up to South's.
    uint32_t upToNorth = 13, upToEast = 26, upToSouth = 39;
    for (uint32_t card = 1; card <= 51; ++card) {
        current = TRandomSource::NextSeed(current);
        auto r = static_cast<uint32_t>(TRandomSource::Scale(current, static_cast<int32_t>(53 - card)));
        // The seat whose share of the free places holds r, found without
        // branches: the choice is random and would defeat branch prediction.
        uint32_t inNorth = r < upToNorth, inEast = r < upToEast, inSouth = r < upToSouth;
        upToNorth -= inNorth;
        upToEast -= inEast;
        upToSouth -= inSouth;
        uint32_t h = 3 - inNorth - inEast - inSouth;
        rest -= 1u << (8 * h);
        hands_[h].cards_[(rest >> (8 * h)) & 0xFF] = static_cast<int8_t>(card);
    }
    seed = current;
    // The ace of spades takes the one place left, without a draw.
    std::size_t last = upToNorth != 0 ? 0 : upToEast != upToNorth ? 1 : upToSouth != upToEast ? 2 : 3;
    hands_[last].cards_[0] = 52;
    for (THand& hand : hands_) hand.ResetFigures();
}

std::string TDeal::ToText() const {
    std::string line;
    line.reserve(LineLength);
    AppendText(line);
    return line;
}

void TDeal::AppendText(std::string& line) const {
    for (const THand& hand : hands_) hand.AppendText(line);
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
