// Uniformity of secure dealing over 10,000,000 deals of one fixed secret:
//   - each card's seat: a chi-square test of four equal cells;
//   - the seats of a few pairs of cards: a chi-square test of the 4 x 4 table
//     against 12/51 for the same seat and 13/51 for each other one;
//   - every hand pattern of every seat against its exact probability, within
//     four standard errors.
// The chi-square tests pass at 1 % family-wise (Bonferroni over all of them).
// The counters give the smallest p-value, the p-value each test must reach,
// and the worst pattern's distance in standard errors; the label says whether
// everything passed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "deals/CardSets.h"
#include "deals/SecureSource.h"

namespace {

constexpr int64_t DealCount = 10'000'000;

// Q(a, x), the regularized upper incomplete gamma function: a series below
// a + 1, a continued fraction above.
double UpperGamma(double a, double x) {
    if (x <= 0) return 1.0;
    const double front = std::exp(-x + a * std::log(x) - std::lgamma(a));
    if (x < a + 1) {
        double term = 1.0 / a, sum = term;
        for (int n = 1; n < 1000 && term > sum * 1e-15; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return 1.0 - sum * front;
    }
    double b = x + 1 - a, c = 1e300, d = 1 / b, h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        c = b + an / c;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < 1e-15) break;
    }
    return h * front;
}

double ChiSquarePValue(double statistic, int freedom) {
    return UpperGamma(freedom / 2.0, statistic / 2.0);
}

double Choose(int n, int k) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0));
}

// The exact probability of each pattern (suit lengths sorted, longest first).
std::map<std::array<int, 4>, double> PatternProbabilities() {
    std::map<std::array<int, 4>, double> patterns;
    const double hands = Choose(52, 13);
    for (int s = 0; s <= 13; ++s)
        for (int h = 0; s + h <= 13; ++h)
            for (int d = 0; s + h + d <= 13; ++d) {
                std::array<int, 4> lengths = {s, h, d, 13 - s - h - d};
                const double ways = Choose(13, lengths[0]) * Choose(13, lengths[1]) *
                                    Choose(13, lengths[2]) * Choose(13, lengths[3]);
                std::sort(lengths.begin(), lengths.end(), std::greater<>());
                patterns[lengths] += ways / hands;
            }
    return patterns;
}

void BM_SecureUniformity(benchmark::State& state) {
    TSecret secret;
    for (std::size_t i = 0; i < secret.Bytes.size(); ++i)
        secret.Bytes[i] = static_cast<uint8_t>(0xA5 ^ (i * 29));
    TSecureDealer dealer(secret);
    // Ace of spades and king of spades, ace of spades and two of clubs, the
    // red aces, the two lowest clubs, two middle cards of different suits.
    const std::pair<int, int> pairs[] = {{52, 51}, {52, 1}, {39, 26}, {1, 2}, {20, 33}};

    std::array<std::array<int64_t, 4>, 53> cardSeats{};
    std::array<std::array<int64_t, 16>, std::size(pairs)> pairSeats{};
    std::array<std::map<std::array<int, 4>, int64_t>, 4> patternCounts;
    for (auto _ : state) {
        TCardSets sets;
        std::array<uint8_t, 53> seatOf{};
        for (int64_t index = 0; index < DealCount; ++index) {
            dealer.Deal(static_cast<uint64_t>(index), TFixedCards(), sets);
            for (uint8_t seat = 0; seat < 4; ++seat) {
                uint64_t hand = sets.Hands[seat];
                std::array<int, 4> lengths{};
                for (int suit = 0; suit < 4; ++suit)
                    lengths[static_cast<std::size_t>(suit)] =
                        std::popcount((hand >> (13 * suit + 1)) & 0x1FFF);
                std::sort(lengths.begin(), lengths.end(), std::greater<>());
                ++patternCounts[seat][lengths];
                for (; hand != 0; hand &= hand - 1)
                    seatOf[static_cast<std::size_t>(std::countr_zero(hand))] = seat;
            }
            for (int card = 1; card <= 52; ++card)
                ++cardSeats[static_cast<std::size_t>(card)][seatOf[static_cast<std::size_t>(card)]];
            for (std::size_t p = 0; p < std::size(pairs); ++p)
                ++pairSeats[p][seatOf[static_cast<std::size_t>(pairs[p].first)] * 4u +
                               seatOf[static_cast<std::size_t>(pairs[p].second)]];
        }
    }

    const int tests = 52 + static_cast<int>(std::size(pairs));
    const double needed = 0.01 / tests;
    double smallest = 1.0;
    const auto n = static_cast<double>(DealCount);
    for (int card = 1; card <= 52; ++card) {
        double statistic = 0;
        for (int64_t count : cardSeats[static_cast<std::size_t>(card)])
            statistic += std::pow(static_cast<double>(count) - n / 4, 2) / (n / 4);
        smallest = std::min(smallest, ChiSquarePValue(statistic, 3));
    }
    for (const auto& table : pairSeats) {
        double statistic = 0;
        for (std::size_t cell = 0; cell < 16; ++cell) {
            // The second card shares the first one's seat with 12 of the 51
            // places left, each other seat with 13.
            const double expected = n / 4 * (cell / 4 == cell % 4 ? 12.0 : 13.0) / 51;
            statistic += std::pow(static_cast<double>(table[cell]) - expected, 2) / expected;
        }
        smallest = std::min(smallest, ChiSquarePValue(statistic, 15));
    }
    double worstPattern = 0;
    for (const auto& [pattern, probability] : PatternProbabilities()) {
        for (const auto& counts : patternCounts) {
            const auto found = counts.find(pattern);
            const double count = found == counts.end() ? 0 : static_cast<double>(found->second);
            const double error = std::sqrt(n * probability * (1 - probability));
            worstPattern = std::max(worstPattern, std::fabs(count - n * probability) / error);
        }
    }
    state.counters["deals"] = n;
    state.counters["chi2_tests"] = tests;
    state.counters["smallest_p"] = smallest;
    state.counters["p_needed"] = needed;
    state.counters["worst_pattern_se"] = worstPattern;
    state.SetLabel(smallest >= needed && worstPattern <= 4 ? "uniform: every test passed"
                                                           : "NOT UNIFORM");
}
BENCHMARK(BM_SecureUniformity)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
