#pragma once
// Which seat a dealt card goes to, as every way of dealing chooses it. The
// running sums of the seats' free places (North's; North's and East's; up to
// South's) sit in bytes 0..2 of one word, each plus 0x7F: subtracting a draw
// r from every byte leaves bit 7 of a byte set exactly when r is below that
// sum. The choice is random, so it is made without branches, and the word
// stays in a register.
#include <cstdint>

class TFreePlaces {
public:
    // North, East and South have this many free places; West the rest.
    constexpr TFreePlaces(uint32_t north, uint32_t east, uint32_t south)
        : sums_((north | (north + east) << 8 | (north + east + south) << 16) + 0x7F7F7Fu) {}

    // The seat index (0 North .. 3 West) of the card that drew r, a number
    // below the free places left; that seat has one free place fewer. A draw
    // of 0 finds the first seat with a free place: the last card's seat.
    uint32_t Take(uint32_t r) {
        const uint32_t below = ((sums_ - r * 0x010101u) & 0x808080u) >> 7;  // 1 where r is below
        sums_ -= below;
        return 3 - (((below * 0x010101u) >> 16) & 0xFF);  // 3 less the sums r lies above
    }

private:
    uint32_t sums_;
};
