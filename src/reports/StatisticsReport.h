#pragma once
// The statistics report: a fixed 90-line text over the figures that
// TDeals::ComputeStatistics left in the collection (hand patterns per seat,
// suit splits per suit, average suit lengths, point counts per seat). The
// report window shows these lines as they are; the command-line program prints
// them.
#include <cstdint>
#include <string>
#include <vector>

class TDeals;

// Width parameter of every count column: 2 below 100 deals, 3 below 1000,
// 4 below 10000, 5 below 100000, 6 otherwise.
int32_t DigitWidth(int32_t dealCount);

// "(" + count + ")" right-aligned in width.
std::string CountField(int64_t count, int32_t width);

// A share or average in five characters with two decimals, the exact value of
// the single-precision number rounded half up. A value too large for five
// characters with two decimals (a share of 100 %) drops to one decimal
// ("100.0"), so every column stays aligned.
std::string ShareField(float value);

// The report's lines (UTF-8, trailing spaces kept) for the collection's deal
// count and statistics arrays as they are; the caller computes the statistics
// first. An empty collection gives zero shares throughout.
std::vector<std::string> StatisticsReportLines(const TDeals& deals);
