#include "reports/StatisticsReport.h"

#include <string>

#include "deals/DealCollection.h"
#include "deals/Patterns.h"
#include "text/StringFunctions.h"

namespace {

constexpr int32_t kSuitsTopDown[4] = {4, 3, 2, 1};  // spades, hearts, diamonds, clubs
constexpr int32_t kLastPattern = 39;
constexpr int32_t kMaxPoints = 37;

// count / deals × factor, worked out in extended precision and then held as a
// float, as the report prints it. No deals give 0, not a division by zero.
float Share(int64_t count, int32_t deals, long double factor) {
    if (deals <= 0) return 0.0f;
    return static_cast<float>(static_cast<long double>(count) / deals * factor);
}

std::string PatternName(int32_t pattern) {
    std::string name;
    for (int32_t k = 0; k < 4; ++k) {
        if (k > 0) name += '-';
        name += std::to_string(Patterns[pattern][k]);
    }
    return name;
}

// Heading texts each centred in width, each followed by its separator.
std::string Headings(std::initializer_list<const char*> texts, int32_t width,
                     const std::string& separator) {
    std::string line;
    bool first = true;
    for (const char* text : texts) {
        if (!first) line += separator;
        line += Centered(text, width);
        first = false;
    }
    return line;
}

}  // namespace

int32_t DigitWidth(int32_t dealCount) {
    if (dealCount < 100) return 2;
    if (dealCount < 1000) return 3;
    if (dealCount < 10000) return 4;
    if (dealCount < 100000) return 5;
    return 6;
}

std::string CountField(int64_t count, int32_t width) {
    return RightAligned("(" + std::to_string(count) + ")", width);
}

std::string ShareField(float value) {
    constexpr int32_t kWidth = 5;
    // Written wide first, so that an overlong text is seen whole, not cut.
    std::string twoDecimals = RealRight(value, 16, 2, true);
    if (CharCount(TrimText(twoDecimals)) <= kWidth) return RealRight(value, kWidth, 2, true);
    return RealRight(value, kWidth, 1, true);
}

std::vector<std::string> StatisticsReportLines(const TDeals& deals) {
    const int32_t n = deals.Count();
    const int32_t d = DigitWidth(n);
    std::vector<std::string> lines;
    lines.reserve(90);

    lines.push_back("Всего раздач: " + std::to_string(n));
    lines.emplace_back();

    // Patterns per seat and suit splits per suit.
    lines.push_back("Расклад  " + Headings({"N", "E", "S", "W", "Всего"}, d + 7, " ") + "   " +
                    Headings({"Пики", "Червы", "Бубны", "Трефы", "Всего"}, d + 7, " "));
    for (int32_t pattern = kLastPattern; pattern >= 0; --pattern) {
        std::string line = LeftAligned(PatternName(pattern), 8);
        int64_t seatTotal = 0;
        for (int32_t seat = 1; seat <= 4; ++seat) {
            int32_t count = deals.ShapeCount[seat][pattern];
            seatTotal += count;
            line += CountField(count, d + 3) + ShareField(Share(count, n, 100));
        }
        line += CountField(seatTotal, d + 3) + ShareField(Share(seatTotal, n, 25)) + "   ";
        int64_t suitTotal = 0;
        for (int32_t suit : kSuitsTopDown) {
            int32_t count = deals.SplitCount[suit][pattern];
            suitTotal += count;
            line += CountField(count, d + 3) + ShareField(Share(count, n, 100));
        }
        line += CountField(suitTotal, d + 3) + ShareField(Share(suitTotal, n, 25));
        lines.push_back(std::move(line));
    }
    lines.emplace_back();

    // Average suit lengths per seat.
    lines.push_back("   " + Headings({"Пики", "Червы", "Бубны", "Трефы"}, d + 8, " "));
    for (int32_t seat = 1; seat <= 4; ++seat) {
        std::string line = SeatName(seat).substr(0, 1) + "  ";
        for (int32_t suit : kSuitsTopDown) {
            int32_t sum = deals.LengthSum[seat][suit];
            line += CountField(sum, d + 4) + ShareField(Share(sum, n, 1));
        }
        lines.push_back(std::move(line));
    }
    lines.emplace_back();

    // High-card points per seat.
    lines.push_back("HCP  " + Headings({"N", "E", "S", "W", "Всего"}, d + 7, "   "));
    for (int32_t points = 0; points <= kMaxPoints; ++points) {
        std::string line = IntRight(points, 2, true) + " ";
        int64_t total = 0;
        for (int32_t seat = 1; seat <= 4; ++seat) {
            int32_t count = deals.HcpCount[seat][points];
            total += count;
            line += CountField(count, d + 5) + ShareField(Share(count, n, 100));
        }
        line += CountField(total, d + 5) + ShareField(Share(total, n, 25));
        lines.push_back(std::move(line));
    }
    std::string sumLine = "   ";
    for (int32_t seat = 1; seat <= 4; ++seat) {
        int32_t sum = deals.HcpSum[seat];
        sumLine += CountField(sum, d + 5) + ShareField(Share(sum, n, 1));
    }
    lines.push_back(std::move(sumLine));
    return lines;
}
