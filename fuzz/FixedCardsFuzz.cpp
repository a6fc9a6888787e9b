// Fixed-cards text of any content: it is read or refused with a message; what
// is read writes back to the same cards, no seat holds more than thirteen,
// and a deal dealt around them gives every seat its cards and thirteen in all.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "deals/Deal.h"
#include "deals/FixedCards.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TFixedCardsReading reading = ReadFixedCards(text);
    if (!reading.Error.empty()) {
        if (!reading.Cards.Empty()) __builtin_trap();
        return 0;
    }
    const TFixedCards& cards = reading.Cards;
    const TFixedCardsReading again = ReadFixedCards(cards.ToText());
    if (!again.Error.empty() || !(again.Cards == cards)) __builtin_trap();
    int32_t total = 0;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        if (cards.Count(seat) > 13) __builtin_trap();
        total += cards.Count(seat);
    }
    if (total != cards.Total()) __builtin_trap();

    uint32_t seed = static_cast<uint32_t>(size);
    TDeal deal;
    deal.DealFromSeed(seed, cards);
    uint64_t seen = 0;
    for (int32_t seat = 1; seat <= 4; ++seat)
        for (int32_t j = 1; j <= 13; ++j) {
            const int32_t card = deal.Hand(seat).Card(j);
            if (card < 1 || card > 52 || (seen >> card & 1) != 0) __builtin_trap();
            if (cards.SeatOf(card) != 0 && cards.SeatOf(card) != seat) __builtin_trap();
            seen |= uint64_t{1} << card;
        }
    return 0;
}
