#include "text/RussianCount.h"

std::string_view RussianForm(int64_t count, std::string_view one, std::string_view few,
                             std::string_view many) {
    const int64_t tens = (count < 0 ? -count : count) % 100;
    const int64_t units = tens % 10;
    if (tens >= 11 && tens <= 14) return many;
    if (units == 1) return one;
    return units >= 2 && units <= 4 ? few : many;
}

std::string RussianCount(int64_t count, std::string_view one, std::string_view few,
                         std::string_view many) {
    return std::to_string(count) + " " + std::string(RussianForm(count, one, few, many));
}
