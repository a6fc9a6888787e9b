#include "deals/Patterns.h"

static_assert(Patterns[1] == TPattern{13, 0, 0, 0} && Patterns[2] == TPattern{12, 1, 0, 0});
static_assert(Patterns[5] == TPattern{10, 3, 0, 0} && Patterns[36] == TPattern{5, 3, 3, 2});
static_assert(Patterns[39] == TPattern{4, 3, 3, 3} && Patterns[0] == TPattern{0, 0, 0, 0});

int32_t PatternIndexOf(int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    for (int32_t row = 1; row <= PatternCount; ++row) {
        const TPattern& p = Patterns[static_cast<std::size_t>(row)];
        if (p[0] == l1 && p[1] == l2 && p[2] == l3 && p[3] == l4) return row;
    }
    return 0;
}
