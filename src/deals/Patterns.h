#pragma once
// The 39 ways to split thirteen cards into four suit lengths, each as four
// lengths in descending order, numbered 1 to 39 in descending lexicographic
// order: row 1 is 13-0-0-0, row 36 5-3-3-2, row 39 4-3-3-3. Row 0 (0-0-0-0)
// stands for no pattern. The statistics use the same numbering.
#include <array>
#include <cstdint>

inline constexpr int32_t PatternCount = 39;

using TPattern = std::array<int8_t, 4>;

namespace patterns_detail {
constexpr std::array<TPattern, PatternCount + 1> BuildPatterns() {
    std::array<TPattern, PatternCount + 1> rows{};
    int row = 1;
    for (int a = 13; a >= 0; --a)
        for (int b = a; b >= 0; --b)
            for (int c = b; c >= 0; --c) {
                int d = 13 - a - b - c;
                if (d >= 0 && d <= c && row <= PatternCount)
                    rows[static_cast<std::size_t>(row++)] = {
                        static_cast<int8_t>(a), static_cast<int8_t>(b), static_cast<int8_t>(c),
                        static_cast<int8_t>(d)};
            }
    return rows;
}
}  // namespace patterns_detail

inline constexpr std::array<TPattern, PatternCount + 1> Patterns = patterns_detail::BuildPatterns();

// The first row 1..39 equal to the four lengths (given longest first), 0 if none.
int32_t PatternIndexOf(int32_t l1, int32_t l2, int32_t l3, int32_t l4);
