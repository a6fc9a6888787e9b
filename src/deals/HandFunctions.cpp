// The hand functions of the condition language. Only an argument of exactly -1
// takes the default (or, in Balanced, drops the bound); every other value,
// negative ones included, is used as given.
#include "deals/BridgeTerms.h"
#include "deals/Hand.h"

namespace {
int32_t OrDefault(int32_t argument, int32_t defaultValue) {
    return argument == -1 ? defaultValue : argument;
}

bool Within(int32_t value, int32_t low, int32_t high) { return low <= value && value <= high; }

// mode < 0: at most, 0: exactly, > 0: at least; a negative wanted length imposes nothing.
bool LengthMatches(int32_t mode, int32_t length, int32_t wanted) {
    if (wanted < 0) return true;
    if (mode < 0) return length <= wanted;
    if (mode == 0) return length == wanted;
    return length >= wanted;
}
}  // namespace

int32_t THand::PointsOfFirstSuitWithLength(int32_t length) {
    for (int32_t suit : {Spades, Hearts, Diamonds, Clubs})
        if (SuitLength(suit) == length) return HCP(suit);
    return -1;
}

bool THand::Range(int32_t min, int32_t max) { return Within(HCP(0), min, max); }

bool THand::Balanced(int32_t min, int32_t max) {
    int32_t points = HCP(0);
    if (min != -1 && points < min) return false;
    if (max != -1 && points > max) return false;
    return Within(SuitLength(Spades), 2, 4) && Within(SuitLength(Hearts), 2, 4) &&
           Within(SuitLength(Diamonds), 2, 5) && Within(SuitLength(Clubs), 2, 5) &&
           SuitByLength(1) + SuitByLength(2) <= 8;
}

bool THand::Polish1c(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    a1 = OrDefault(a1, 12);
    a2 = OrDefault(a2, 14);
    a3 = OrDefault(a3, 16);
    a4 = OrDefault(a4, 18);
    int32_t points = HCP(0);
    if (Balanced(-1, -1)) return points >= a4 || Within(points, a1, a2);
    return points >= a3;
}

bool THand::Prec1d(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    a1 = OrDefault(a1, 11);
    a2 = OrDefault(a2, 14);
    a3 = OrDefault(a3, 11);
    a4 = OrDefault(a4, 15);
    int32_t points = HCP(0);
    if (Balanced(-1, -1)) return Within(points, a1, a2);
    return Within(points, a3, a4) && SuitLength(Diamonds) >= 4 && SuitLength(Hearts) <= 4 &&
           SuitLength(Spades) <= 4;
}

bool THand::Unbal1d(int32_t a1, int32_t a2) {
    return Within(HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && !Balanced(-1, -1) &&
           SuitLength(Diamonds) >= 4 && SuitLength(Hearts) <= 4 && SuitLength(Spades) <= 4;
}

bool THand::Prec1h(int32_t a1, int32_t a2) {
    int32_t hearts = SuitLength(Hearts);
    return Within(HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && hearts >= 5 &&
           hearts >= SuitLength(Spades) + 2;
}

bool THand::Prec1s(int32_t a1, int32_t a2) {
    int32_t spades = SuitLength(Spades);
    return Within(HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && spades >= 5 &&
           SuitLength(Hearts) <= spades + 1;
}

bool THand::Prec2c(int32_t a1, int32_t a2) {
    if (!Within(HCP(0), OrDefault(a1, 11), OrDefault(a2, 15))) return false;
    int32_t clubs = SuitLength(Clubs), diamonds = SuitLength(Diamonds);
    int32_t hearts = SuitLength(Hearts), spades = SuitLength(Spades);
    bool fiveClubsWithMajor =
        clubs == 5 && diamonds <= 3 && hearts <= 4 && spades <= 4 && (hearts == 4 || spades == 4);
    bool longClubs = clubs >= 6 && diamonds <= 4 && hearts <= 4 && spades <= 4;
    return fiveClubsWithMajor || longClubs;
}

bool THand::Multy(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6) {
    int32_t spades = SuitLength(Spades), hearts = SuitLength(Hearts);
    if (!Within(spades, 6, 7) && !Within(hearts, 6, 7)) return false;
    int32_t major = spades >= 6 ? Spades : Hearts;
    int32_t majorLength = SuitLength(major);
    if (!Within(HCP(0), OrDefault(a1, 6), OrDefault(a2, 10))) return false;
    int32_t majorPoints = HCP(major);
    bool majorFits = (majorLength == 6 && majorPoints >= OrDefault(a3, 0)) ||
                     (majorLength == 7 && majorPoints <= OrDefault(a4, 10));
    if (!majorFits) return false;
    int32_t second = SuitByLength(2);
    if (second <= 3) return true;
    if (second >= 6) return false;
    // A four- or five-card side suit: its points are bounded by a5 or a6.
    int32_t sidePoints = PointsOfFirstSuitWithLength(second);
    return sidePoints <= (second == 4 ? OrDefault(a5, 10) : OrDefault(a6, 10));
}

bool THand::Suits(int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) {
    return LengthMatches(mode, SuitLength(Spades), s) &&
           LengthMatches(mode, SuitLength(Hearts), h) &&
           LengthMatches(mode, SuitLength(Diamonds), d) &&
           LengthMatches(mode, SuitLength(Clubs), c);
}

bool THand::Shape(int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    return LengthMatches(mode, SuitByLength(1), l1) && LengthMatches(mode, SuitByLength(2), l2) &&
           LengthMatches(mode, SuitByLength(3), l3) && LengthMatches(mode, SuitByLength(4), l4);
}
