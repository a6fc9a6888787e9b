#include "reports/AnalysisReport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "deals/BridgeTerms.h"
#include "deals/PbnFile.h"
#include "reports/StatisticsReport.h"
#include "text/RussianCount.h"
#include "text/StringFunctions.h"

namespace {

// Strains in the order of the tables: notrump first, then spades down to clubs.
constexpr int32_t StrainOrder[] = {NoTrump, 4, 3, 2, 1};
constexpr const char* StrainLetters[] = {"nt", "c", "d", "h", "s"};  // by strain code
constexpr const char* StrainWords[] = {"Без козыря", "Трефы", "Бубны", "Черви", "Пики"};

std::string Average(int64_t sum, int64_t count) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", count > 0 ? static_cast<double>(sum) / count : 0.0);
    return text;
}

}  // namespace

bool BoardPar(const TTrickTable& table, int64_t board, TParResult& par, std::string& fault) {
    return ComputePar(table, PbnBoardDealer(board), PbnBoardVulnerability(board), par, fault);
}

std::string ParScoreText(int32_t score) {
    return (score < 0 ? "EW " : "NS ") + std::to_string(score < 0 ? -score : score);
}

std::string RussianParText(const TParResult& par, bool allContracts) {
    static constexpr std::string_view Strains[] = {"БК", "♣", "♦", "♥", "♠"};
    std::string text = "Пар: ";
    if (par.Score == 0) return text + "0";
    text +=
        (par.Score < 0 ? "ВЗ +" : "СЮ +") + std::to_string(par.Score < 0 ? -par.Score : par.Score);
    for (std::size_t k = 0; k < par.Contracts.size() && (allContracts || k == 0); ++k) {
        const TParContract& contract = par.Contracts[k];
        text += k == 0 ? ", " : "; ";
        text += std::to_string(contract.Level);
        if (contract.Strain >= 0 && contract.Strain < 5) text += Strains[contract.Strain];
        if (contract.Undertricks > 0) text += " с контрой";
        text += ' ';
        for (char seat : contract.Declarers)
            if (const int32_t at = SeatOfLetter(seat); at != 0) text += RussianSeatLetters[at - 1];
    }
    return text;
}

std::string ParContractsText(const TParResult& par) {
    std::string text;
    for (const TParContract& contract : par.Contracts) {
        if (!text.empty()) text += ", ";
        text += ParContractText(contract) + " " + contract.Declarers;
    }
    return text.empty() ? "-" : text;
}

std::string AnalysisDealLine(int64_t board, const TDealAnalysis& analysis) {
    std::string line = std::to_string(board);
    if (!analysis.Solved) return line + " refused " + analysis.Fault;
    for (int32_t strain : StrainOrder) {
        line += ' ';
        line += StrainLetters[strain];
        for (int32_t seat = 1; seat <= 4; ++seat)
            line += ' ' + std::to_string(analysis.Table.At(seat, strain));
    }
    TParResult par;
    std::string fault;
    if (analysis.Par)
        par = *analysis.Par;
    else if (!BoardPar(analysis.Table, board, par, fault))
        return line + " par refused " + fault;
    return line + " par " + ParScoreText(par.Score) + " " + ParContractsText(par);
}

std::vector<std::string> AnalysisReportLines(std::span<const TDealAnalysis> results) {
    // [strain][side 0 North-South, 1 East-West][tricks]
    std::array<std::array<std::array<int64_t, 14>, 2>, 5> counts{};
    std::array<std::array<int64_t, 2>, 5> sums{};
    std::map<int32_t, int64_t, std::greater<>> parScores;
    int64_t solved = 0, refused = 0, parRefused = 0, leftOut = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const TDealAnalysis& result = results[i];
        if (!result.Solved) {
            if (!result.Fault.empty())
                ++refused;
            else
                ++leftOut;  // by a stop
            continue;
        }
        ++solved;
        for (int32_t strain = 0; strain < 5; ++strain) {
            for (int32_t side = 0; side < 2; ++side) {
                int32_t tricks =
                    std::max(result.Table.At(1 + side, strain), result.Table.At(3 + side, strain));
                tricks = std::clamp(tricks, 0, 13);
                ++counts[static_cast<std::size_t>(strain)][static_cast<std::size_t>(side)]
                        [static_cast<std::size_t>(tricks)];
                sums[static_cast<std::size_t>(strain)][static_cast<std::size_t>(side)] += tricks;
            }
        }
        TParResult par;
        std::string fault;
        if (result.Par)
            ++parScores[result.Par->Score];
        else if (BoardPar(result.Table, static_cast<int64_t>(i) + 1, par, fault))
            ++parScores[par.Score];
        else
            ++parRefused;
    }

    const int32_t width =
        std::max(DigitWidth(static_cast<int32_t>(std::min<int64_t>(solved, INT32_MAX))), 2) + 1;
    std::vector<std::string> lines;
    lines.push_back("Анализ с открытыми картами");
    lines.push_back("");
    lines.push_back("Проанализировано раздач: " + std::to_string(solved));
    if (refused > 0)
        lines.push_back("Не проанализировано (раздача повреждена): " + std::to_string(refused));
    if (leftOut > 0)
        lines.push_back(
            "Анализ остановлен: проанализировано " + std::to_string(solved + refused) + " из " +
            RussianCount(static_cast<int64_t>(results.size()), "раздачи", "раздач", "раздач"));
    lines.push_back("");
    lines.push_back("Взятки линии (лучший из двух разыгрывающих): сколько раз взято");
    std::string heading = LeftAligned("Деноминация", 12) + LeftAligned("Линия", 6);
    for (int32_t tricks = 0; tricks <= 13; ++tricks)
        heading += RightAligned(std::to_string(tricks), width);
    heading += RightAligned("Среднее", 9);
    lines.push_back(heading);
    for (int32_t strain : StrainOrder) {
        for (int32_t side = 0; side < 2; ++side) {
            std::string line = LeftAligned(side == 0 ? StrainWords[strain] : "", 12) +
                               LeftAligned(side == 0 ? "СЮ" : "ВЗ", 6);
            const auto& row =
                counts[static_cast<std::size_t>(strain)][static_cast<std::size_t>(side)];
            for (int64_t count : row) line += RightAligned(std::to_string(count), width);
            line += RightAligned(
                Average(sums[static_cast<std::size_t>(strain)][static_cast<std::size_t>(side)],
                        solved),
                9);
            lines.push_back(line);
        }
    }
    lines.push_back("");
    lines.push_back("Пар (сдающий и зональность сдачи): сколько раз");
    for (const auto& [score, count] : parScores) {
        char share[32];
        std::snprintf(
            share, sizeof share, "%6.2f%%",
            solved > 0 ? 100.0 * static_cast<double>(count) / static_cast<double>(solved) : 0.0);
        lines.push_back(LeftAligned(ParScoreText(score), 10) +
                        RightAligned(std::to_string(count), width + 1) + "  " + share);
    }
    if (parRefused > 0) lines.push_back("Пар не вычислен: " + std::to_string(parRefused));
    return lines;
}
