// Checks the statistics report against the exact probabilities of bridge
// hands: deals a million deals from key 1 with no condition, builds the report
// and compares every count and share it prints with the exact probability of
// its hand pattern, suit split or point count, and the averages with their
// exact means. Prints the largest deviation in standard errors.
//
// A plain program (its own main), not a timing benchmark:
//   StatisticsAgreement [deal count]
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "deals/Patterns.h"
#include "deals/RandomSource.h"
#include "reports/StatisticsReport.h"

namespace {

constexpr size_t kFirstPatternRow = 3;  // 4-3-3-3, then down to 0-0-0-0
constexpr size_t kFirstLengthRow = 45;
constexpr size_t kFirstPointRow = 51;
constexpr size_t kSumRow = 89;

uint64_t Choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    uint64_t result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * static_cast<uint64_t>(n - k + i) / static_cast<uint64_t>(i);
    return result;
}

const double kHands = static_cast<double>(Choose(52, 13));

// Probability that a hand has the pattern (lengths longest first): the ways to
// give the lengths to the four suits, times the ways to pick the cards.
double PatternProbability(const TPattern& lengths) {
    std::array<int, 4> order = {lengths[0], lengths[1], lengths[2], lengths[3]};
    std::sort(order.begin(), order.end());
    uint64_t suitOrders = 0;
    do ++suitOrders;
    while (std::next_permutation(order.begin(), order.end()));
    uint64_t hands = suitOrders;
    for (int8_t length : lengths) hands *= Choose(13, length);
    return static_cast<double>(hands) / kHands;
}

// Probability of each point count 0..37: the sixteen honours counted by
// dynamic programming over (honours taken, points), the other 36 cards by
// binomial coefficients.
std::array<double, 38> PointProbabilities() {
    uint64_t ways[17][41] = {};  // ways[k][p]: k honours holding p points
    ways[0][0] = 1;
    for (int honourValue : {4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}) {
        for (int k = 16; k >= 1; --k)
            for (int p = 40; p >= honourValue; --p) ways[k][p] += ways[k - 1][p - honourValue];
    }
    std::array<double, 38> probability{};
    for (int p = 0; p <= 37; ++p) {
        uint64_t hands = 0;
        for (int k = 0; k <= 13; ++k) hands += ways[k][p] * Choose(36, 13 - k);
        probability[static_cast<size_t>(p)] = static_cast<double>(hands) / kHands;
    }
    return probability;
}

struct TField {
    int64_t count;
    double share;
};

// The "(count)share" fields of one report line, left to right.
std::vector<TField> Fields(const std::string& line) {
    std::vector<TField> fields;
    for (size_t open = line.find('('); open != std::string::npos; open = line.find('(', open + 1)) {
        size_t close = line.find(')', open);
        fields.push_back({std::stoll(line.substr(open + 1, close - open - 1)),
                          std::stod(line.substr(close + 1, 5))});
    }
    return fields;
}

// The z that a single standard normal exceeds in absolute value with
// probability q (bisection on erfc).
double TwoSidedZ(double q) {
    double low = 0, high = 40;
    for (int i = 0; i < 200; ++i) {
        double mid = (low + high) / 2;
        (std::erfc(mid / std::sqrt(2.0)) > q ? low : high) = mid;
    }
    return low;
}

// Pearson's chi-square of observed counts against probabilities, cells with
// fewer than 10 expected counts merged into one; returned as the normal
// deviate of its Wilson-Hilferty transform (about N(0, 1) when all agrees).
double ChiSquareZ(const std::vector<int64_t>& counts, const std::vector<double>& probabilities,
                  double n, int* degreesOfFreedom) {
    double chiSquare = 0, restObserved = 0, restExpected = 0;
    int cells = 0;
    for (size_t i = 0; i < counts.size(); ++i) {
        double expected = n * probabilities[i];
        if (expected < 10) {
            restObserved += static_cast<double>(counts[i]);
            restExpected += expected;
            continue;
        }
        chiSquare += (counts[i] - expected) * (counts[i] - expected) / expected;
        ++cells;
    }
    if (restExpected > 0) {
        chiSquare += (restObserved - restExpected) * (restObserved - restExpected) / restExpected;
        ++cells;
    }
    const double k = cells - 1;
    *degreesOfFreedom = cells - 1;
    return (std::cbrt(chiSquare / k) - (1 - 2 / (9 * k))) / std::sqrt(2 / (9 * k));
}

struct TWorst {
    double z = 0;
    std::string where;
    int cells = 0;
    void Take(double candidate, const std::string& cell) {
        ++cells;
        if (std::fabs(candidate) > std::fabs(z)) {
            z = candidate;
            where = cell;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    int32_t dealCount = 1000000;
    if (argc > 1 && argv[1][0] != '-') dealCount = std::max(1, std::atoi(argv[1]));

    TRandomSource source;
    source.SetSeed(1);
    TDeals deals;
    TDeal deal;
    for (int32_t i = 0; i < dealCount; ++i) {
        deal.DealRandom(source);
        deals.Add(deal);
    }
    deals.ComputeStatistics();
    const std::vector<std::string> report = StatisticsReportLines(deals);
    const double n = dealCount;

    std::array<double, 40> patternProbability{};
    for (int32_t row = 1; row <= PatternCount; ++row)
        patternProbability[static_cast<size_t>(row)] =
            PatternProbability(Patterns[static_cast<size_t>(row)]);
    const std::array<double, 38> pointProbability = PointProbabilities();
    double meanPoints = 0, meanSquarePoints = 0;
    for (int p = 0; p <= 37; ++p) {
        meanPoints += p * pointProbability[static_cast<size_t>(p)];
        meanSquarePoints += p * p * pointProbability[static_cast<size_t>(p)];
    }
    const double pointVariance = meanSquarePoints - meanPoints * meanPoints;
    const double lengthVariance = 13.0 * 0.25 * 0.75 * 39.0 / 51.0;  // hypergeometric

    // Counts are exact in the report; shares are rounded to 0.01 %, so a share
    // is only held to sampling error beyond its rounding half-width.
    TWorst byCount, byShare;
    const char* const seatNames[] = {"N", "E", "S", "W"};
    const char* const suitNames[] = {"spades", "hearts", "diamonds", "clubs"};
    auto compare = [&](const TField& field, double p, const std::string& cell) {
        if (n * p < 10 || n * (1 - p) < 10) return;  // too rare for the normal approximation
        double se = std::sqrt(p * (1 - p) / n);
        byCount.Take((field.count / n - p) / se, cell);
        double shareGap = std::max(0.0, std::fabs(field.share / 100 - p) - 0.00005);
        byShare.Take(shareGap / se, cell);
    };

    int rareMismatches = 0;
    for (size_t i = 0; i < 40; ++i) {
        const int32_t row = 39 - static_cast<int32_t>(i);
        const std::vector<TField> fields = Fields(report[kFirstPatternRow + i]);
        const double p = patternProbability[static_cast<size_t>(row)];
        const std::string pattern = report[kFirstPatternRow + i].substr(0, 8);
        for (size_t c = 0; c < 4; ++c) {
            compare(fields[c], p, pattern + " " + seatNames[c]);
            compare(fields[5 + c], p, pattern + " " + suitNames[c]);
        }
        if (row == 0 && (fields[4].count != 0 || fields[9].count != 0)) ++rareMismatches;
    }
    for (size_t points = 0; points <= 37; ++points) {
        const std::vector<TField> fields = Fields(report[kFirstPointRow + points]);
        for (size_t c = 0; c < 4; ++c)
            compare(fields[c], pointProbability[points],
                    std::to_string(points) + " points " + seatNames[c]);
    }
    // Each seat's patterns, each suit's splits and each seat's points as one
    // distribution, tested whole.
    std::vector<std::pair<std::string, double>> distributions;
    for (size_t c = 0; c < 8; ++c) {
        std::vector<int64_t> counts;
        std::vector<double> probabilities;
        for (size_t i = 0; i < 39; ++i) {
            counts.push_back(Fields(report[kFirstPatternRow + i])[c < 4 ? c : c + 1].count);
            probabilities.push_back(patternProbability[39 - i]);
        }
        int df = 0;
        double z = ChiSquareZ(counts, probabilities, n, &df);
        distributions.push_back({std::string(c < 4 ? "patterns " : "splits of ") +
                                     (c < 4 ? seatNames[c] : suitNames[c - 4]) + " (" +
                                     std::to_string(df) + " df)",
                                 z});
    }
    for (size_t c = 0; c < 4; ++c) {
        std::vector<int64_t> counts;
        std::vector<double> probabilities(pointProbability.begin(), pointProbability.end());
        for (size_t points = 0; points <= 37; ++points)
            counts.push_back(Fields(report[kFirstPointRow + points])[c].count);
        int df = 0;
        double z = ChiSquareZ(counts, probabilities, n, &df);
        distributions.push_back(
            {std::string("points ") + seatNames[c] + " (" + std::to_string(df) + " df)", z});
    }

    TWorst averages;
    for (size_t seat = 0; seat < 4; ++seat) {
        const std::vector<TField> lengths = Fields(report[kFirstLengthRow + seat]);
        for (size_t suit = 0; suit < 4; ++suit)
            averages.Take((lengths[suit].count / n - 3.25) / std::sqrt(lengthVariance / n),
                          std::string("length of ") + suitNames[suit] + " " + seatNames[seat]);
        const TField sum = Fields(report[kSumRow])[seat];
        averages.Take((sum.count / n - meanPoints) / std::sqrt(pointVariance / n),
                      std::string("points ") + seatNames[seat]);
    }

    std::printf("%d deals of key 1, no condition\n\n", dealCount);
    std::printf("%-22s %8s %8s %8s %8s %9s\n", "share (%)", "N", "E", "S", "W", "exact");
    auto shareRow = [&](const char* name, const std::string& line, double exact) {
        const std::vector<TField> fields = Fields(line);
        std::printf("%-22s %8.2f %8.2f %8.2f %8.2f %9.4f\n", name, fields[0].share, fields[1].share,
                    fields[2].share, fields[3].share, 100 * exact);
    };
    shareRow("4-4-3-2", report[kFirstPatternRow + 1], patternProbability[38]);
    shareRow("5-3-3-2", report[kFirstPatternRow + 3], patternProbability[36]);
    shareRow("4-3-3-3", report[kFirstPatternRow + 0], patternProbability[39]);
    shareRow("10 points", report[kFirstPointRow + 10], pointProbability[10]);
    shareRow("average points", report[kSumRow], meanPoints / 100);
    std::printf("\n(exact average points %.4f, variance %.4f; exact average suit length 3.25)\n\n",
                meanPoints, pointVariance);

    const double sidak = TwoSidedZ(1 - std::pow(0.95, 1.0 / byCount.cells));
    std::printf("largest deviation of a count:  %+.2f standard errors (%s), over %d cells\n",
                byCount.z, byCount.where.c_str(), byCount.cells);
    std::printf("largest deviation of a share beyond its rounding: %.2f standard errors (%s)\n",
                byShare.z, byShare.where.c_str());
    std::printf("largest deviation of an average: %+.2f standard errors (%s), over %d averages\n",
                averages.z, averages.where.c_str(), averages.cells);
    std::printf("95 %% bound for the largest of %d independent cells: %.2f standard errors\n",
                byCount.cells, sidak);
    std::printf("\nchi-square of each whole distribution, as a normal deviate:\n");
    double worstDistribution = 0;
    for (const auto& [name, z] : distributions) {
        std::printf("  %-26s %+.2f\n", name.c_str(), z);
        worstDistribution = std::max(worstDistribution, z);
    }
    std::printf("0-0-0-0 row: %s\n",
                rareMismatches == 0 ? "no hand without a pattern" : "NOT EMPTY");
    const bool agrees = std::fabs(byCount.z) < sidak + 1 && std::fabs(averages.z) < 4 &&
                        worstDistribution < 4 && rareMismatches == 0;
    std::printf("%s\n", agrees ? "agreement: yes" : "agreement: NO");
    return agrees ? 0 : 1;
}
