#pragma once
// Cards given to seats before dealing: the generator deals only the others.
// Read from the usual hand notation, spades first, suits separated by dots
// ("AKQJ.K.." is four spades and a heart), each hand after its seat letter
// ("N:AKQJ.K.. S:..A2.") or, as in a PBN deal, hands one after another
// clockwise from the first seat, "-" for a hand with nothing fixed
// ("N:AKQJ.K.. - ..A2. -").
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TFixedCards {
public:
    // Nothing fixed.
    TFixedCards() = default;

    bool Empty() const { return total_ == 0; }
    // The seat 1..4 a card 1..52 is fixed to; 0 when it is dealt at random or is no card.
    int32_t SeatOf(int32_t card) const {
        return card >= 1 && card <= 52 ? seats_[static_cast<std::size_t>(card)] : 0;
    }
    // Cards fixed to seat 1..4; 0 for another seat.
    int32_t Count(int32_t seat) const {
        return seat >= 1 && seat <= 4 ? counts_[static_cast<std::size_t>(seat - 1)] : 0;
    }
    int32_t Total() const { return total_; }
    // Draws of the random source one deal takes: one for every card dealt at
    // random but the last, which goes to the one place left.
    int32_t DrawsPerDeal() const { return total_ >= 51 ? 0 : 51 - total_; }

    // Fixes the card to the seat. False, changing nothing, when the card or the
    // seat is out of range, the card is already fixed or the seat has 13 cards.
    bool Fix(int32_t card, int32_t seat);

    // "N:AKQJ.K.. S:..A2.": the seats that have fixed cards, clockwise from North;
    // the empty text when nothing is fixed. ReadFixedCards reads it back.
    std::string ToText() const;
    // One seat's cards as "AKQJ.K.."; "" when the seat has none.
    std::string HandText(int32_t seat) const;

    friend bool operator==(const TFixedCards&, const TFixedCards&) = default;

private:
    std::array<int8_t, 53> seats_{};  // [card]; [0] unused
    std::array<int8_t, 4> counts_{};
    int32_t total_ = 0;
};

struct TFixedCardsReading {
    TFixedCards Cards;
    std::string Error;  // empty when the text was read; else the message, in Russian
};

// Reads fixed cards; blanks alone fix nothing. The first hand without a seat
// letter belongs to North. Letters are read in either case, "10" as the ten,
// the Russian Т К Д В as A K Q J and the seats С В Ю З as N E S W;
// a whole PBN deal tag ([Deal "N:..."]) is read as its value.
// Refused, with a message that names the card or the seat: a card given twice,
// a seat with more than 13 cards, a character that is no card, a seat named
// twice, a hand that is not four suits, a seat letter that is none.
TFixedCardsReading ReadFixedCards(std::string_view text);
