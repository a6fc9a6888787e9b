#include "text/RussianCount.h"

std::string RussianCount(int64_t count, std::string_view one, std::string_view few,
                         std::string_view many) {
    const int64_t tens = (count < 0 ? -count : count) % 100;
    const int64_t units = tens % 10;
    std::string_view word = many;
    if (tens < 11 || tens > 14) {
        if (units == 1) word = one;
        if (units >= 2 && units <= 4) word = few;
    }
    return std::to_string(count) + " " + std::string(word);
}
