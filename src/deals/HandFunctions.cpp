// The hand functions of the condition language on a hand's card places; the
// rules themselves are in HandRules.h.
#include "deals/Hand.h"
#include "deals/internal/HandRules.h"

int32_t THand::PointsOfFirstSuitWithLength(int32_t length) {
    return HandRules::PointsOfFirstSuitWithLength(*this, length);
}

bool THand::Range(int32_t min, int32_t max) { return HandRules::Range(*this, min, max); }

bool THand::Balanced(int32_t min, int32_t max) { return HandRules::Balanced(*this, min, max); }

bool THand::Polish1c(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    return HandRules::Polish1c(*this, a1, a2, a3, a4);
}

bool THand::Prec1d(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    return HandRules::Prec1d(*this, a1, a2, a3, a4);
}

bool THand::Unbal1d(int32_t a1, int32_t a2) { return HandRules::Unbal1d(*this, a1, a2); }

bool THand::Prec1h(int32_t a1, int32_t a2) { return HandRules::Prec1h(*this, a1, a2); }

bool THand::Prec1s(int32_t a1, int32_t a2) { return HandRules::Prec1s(*this, a1, a2); }

bool THand::Prec2c(int32_t a1, int32_t a2) { return HandRules::Prec2c(*this, a1, a2); }

bool THand::Multy(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6) {
    return HandRules::Multy(*this, a1, a2, a3, a4, a5, a6);
}

bool THand::Suits(int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) {
    return HandRules::Suits(*this, mode, s, h, d, c);
}

bool THand::Shape(int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    return HandRules::Shape(*this, mode, l1, l2, l3, l4);
}
