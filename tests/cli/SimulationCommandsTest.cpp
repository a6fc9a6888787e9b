// `korvana-cli simulate`, `leads` and `tabulate`: every CSV row checked
// against results worked out here from the deals themselves, and bad input
// refused before anything runs.
#include <dds/dll.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliRunner.h"
#include "deals/BridgeTerms.h"
#include "deals/PbnFile.h"
#include "simulation/Contract.h"
#include "simulation/DealStudy.h"
#include "simulation/LeadStudy.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The fields of a CSV line (quoted fields as RFC 4180 writes them).
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The CSV's rows after its header, which must be `header`.
std::vector<std::vector<std::string>> CsvRows(const fs::path& file, const std::string& header) {
    std::vector<std::string> lines = TCliRun::SplitAtNewlines(ReadWholeFile(file));
    EXPECT_FALSE(lines.empty());
    if (lines.empty()) return {};
    EXPECT_EQ(lines.front(), header);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) rows.push_back(CsvFields(lines[i]));
    return rows;
}

TDeal DealOf(const std::string& value) {
    TDeal deal;
    EXPECT_TRUE(ReadPbnDealValue(value, deal)) << value;
    return deal;
}

class CliSimulation : public ::testing::Test {
protected:
    TTempFolder temp;
    const fs::path folder = temp.Path();
};

// The solver's position, written here from the deal's cards: `strain` trumps, the declarer's
// left-hand opponent on lead; with `led` (a card 1..52) that card is already led.
::deal SolverPosition(const TDeal& deal, int32_t declarer, int32_t strain, int32_t led = 0) {
    ::deal position{};
    position.trump = strain == 0 ? 4 : 4 - strain;
    position.first = declarer % 4;
    for (int32_t seat = 1; seat <= 4; ++seat)
        for (int32_t j = 1; j <= 13; ++j) {
            const int32_t held = deal.Hand(seat).Card(j);
            if (held != led)
                position.remainCards[seat - 1][4 - CardSuit(held)] |= 1u << ((held - 1) % 13 + 2);
        }
    if (led != 0) {
        position.currentTrickSuit[0] = 4 - CardSuit(led);
        position.currentTrickRank[0] = (led - 1) % 13 + 2;
    }
    return position;
}

// Sets the tricks of each (declarer, strain) in `pairs` by one solve each, on all solver threads.
using TPairTricks = std::map<std::pair<int32_t, int32_t>, int32_t>;
void SolvePairs(const std::vector<TDeal>& deals, std::vector<TPairTricks>& pairs) {
    DDSInfo info{};
    GetDDSInfo(&info);
    std::atomic<std::size_t> next{0};
    std::vector<std::jthread> threads;
    for (int thread = 0; thread < std::max(info.noOfThreads, 1); ++thread)
        threads.emplace_back([&, thread] {
            for (std::size_t d; (d = next.fetch_add(1)) < deals.size();)
                for (auto& [pair, tricks] : pairs[d]) {
                    futureTricks future{};
                    if (SolveBoard(SolverPosition(deals[d], pair.first, pair.second), -1, 1, 1,
                                   &future, thread) == RETURN_NO_FAULT)
                        tricks = 13 - future.score[0];
                }
        });
}

bool StrongNorth(TDeal& deal) { return deal.HCP(North, -1) >= 18; }

// Seven variants, N-S vulnerable: most deals need three (declarer, strain) pairs, solved one by
// one, a deal where North holds 18+ points six, taken from its whole table. Every row and mean.
TEST_F(CliSimulation, SimulateAgreesWithSolvesOfTheDeals) {
    constexpr int32_t Deals = 200;
    struct TVariantCase {
        const char* Name;
        const char* Rules;
        const char* (*Contract)(TDeal& deal);
    };
    const TVariantCase variants[] = {
        {"Без козыря", "3NT S", [](TDeal&) { return "3NT S"; }},
        {"Пики", "(SuitLength(N,SP) + SuitLength(S,SP)) >= 8 => 4S N; 4H N",
         [](TDeal& d) {
             return d.SuitLength(North, Spades) + d.SuitLength(South, Spades) >= 8 ? "4S N"
                                                                                   : "4H N";
         }},
        {"Жертва, \"трефы\"", "(HCP(N) + HCP(S)) < 16 => PASS; 5CX E",
         [](TDeal& d) { return d.HCP(North, -1) + d.HCP(South, -1) < 16 ? "PASS" : "5CX E"; }},
        {"Восток", "5CXX E", [](TDeal&) { return "5CXX E"; }},
        {"Шлем", "HCP(N) >= 18 => 6NT N; 6NT S",
         [](TDeal& d) { return StrongNorth(d) ? "6NT N" : "6NT S"; }},
        {"Север", "HCP(N) >= 18 => 2D N; 3NTX S",
         [](TDeal& d) { return StrongNorth(d) ? "2D N" : "3NTX S"; }},
        {"Запад", "HCP(N) >= 18 => 1S W; 5CX E",
         [](TDeal& d) { return StrongNorth(d) ? "1S W" : "5CX E"; }},
    };
    const std::size_t count = std::size(variants);
    std::vector<std::string> args = {
        "simulate", "--key", "27", "--vul", "NS", "--csv", (folder / "sim.csv").string()};
    args.insert(args.end(), {"--count", std::to_string(Deals)});
    for (const TVariantCase& variant : variants)
        args.insert(args.end(), {"--variant", std::string(variant.Name) + ": " + variant.Rules});
    const TCliRun run = RunCli(folder, args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows =
        CsvRows(folder / "sim.csv", "board,deal,variant,contract,declarer,tricks,score");
    ASSERT_EQ(rows.size(), count * Deals);

    std::vector<TDeal> deals;
    std::vector<TPairTricks> pairs;
    std::size_t tableDeals = 0;
    for (std::size_t r = 0; r < rows.size(); r += count) {
        deals.push_back(DealOf(rows[r][1]));
        pairs.emplace_back();
        for (const TVariantCase& variant : variants) {
            const TContract contract = *ReadContract(variant.Contract(deals.back())).Contract;
            if (!contract.IsPass()) pairs.back()[{contract.Declarer, contract.Strain}] = -1;
        }
        tableDeals += pairs.back().size() >= 6 ? 1 : 0;
    }
    EXPECT_TRUE(tableDeals > 0 && tableDeals < deals.size()) << tableDeals;  // both ways taken
    SolvePairs(deals, pairs);

    std::vector<TMeanSum> scores(count);
    for (std::size_t d = 0; d < deals.size(); ++d) {
        for (std::size_t v = 0; v < count; ++v) {
            const std::vector<std::string>& row = rows[d * count + v];
            ASSERT_EQ(row.size(), 7u);
            EXPECT_EQ(row[0], std::to_string(d + 1));
            EXPECT_EQ(row[2], variants[v].Name);
            const TContract contract = *ReadContract(variants[v].Contract(deals[d])).Contract;
            EXPECT_EQ(row[3], ContractName(contract)) << "board " << d + 1;
            EXPECT_EQ(row[4], SeatChar(contract.Declarer));
            const int32_t tricks =
                contract.IsPass() ? 0 : pairs[d].at({contract.Declarer, contract.Strain});
            EXPECT_EQ(row[5], contract.IsPass() ? "" : std::to_string(tricks));
            const int32_t score = NorthSouthScore(contract, TVulnerability::NorthSouth, tricks);
            EXPECT_EQ(row[6], std::to_string(score)) << "board " << d + 1 << " " << row[3];
            scores[v].Add(score);
        }
    }
    for (std::size_t v = 0; v < count; ++v) {
        const std::string line = "  Средний счёт: " + SignedDecimalText(scores[v].Mean(), 1) +
                                 " ± " + DecimalText(scores[v].StandardError(), 1);
        EXPECT_NE(run.Out.find(line), std::string::npos) << variants[v].Name << ": " << line;
    }
}

TEST_F(CliSimulation, LeadsAgreeWithASolveAfterEachCard) {
    constexpr int32_t Deals = 100, Checked = 3;
    const std::string south = "KQT5.J94.A872.63";
    const TCliRun run = RunCli(folder, {"leads", "--key", "5", "--count", std::to_string(Deals),
                                        "--contract", "4H E", "--fixed", "S:" + south, "--csv",
                                        (folder / "leads.csv").string(), "--threads", "2"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("Первый ход против 4H E"), std::string::npos) << run.Out;
    const auto rows = CsvRows(folder / "leads.csv", "board,deal,lead,defence_tricks");
    ASSERT_EQ(rows.size(), 13u * Deals);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), 4u);
        EXPECT_EQ(rows[r][0], std::to_string(r / 13 + 1));
        const TDeal deal = DealOf(rows[r][1]);
        EXPECT_NE(rows[r][1].find(" " + south + " "), std::string::npos);
        if (r / 13 >= Checked) continue;
        int32_t card = 0;
        for (int32_t c = 1; c <= 52; ++c)
            if (TLeadStudy::CardName(c) == rows[r][2]) card = c;
        ASSERT_NE(card, 0) << rows[r][2];
        futureTricks future{};  // dummy to play after the lead: declarer's side takes score[0]
        ASSERT_EQ(SolveBoard(SolverPosition(deal, East, Hearts, card), -1, 1, 1, &future, 0),
                  RETURN_NO_FAULT);
        EXPECT_EQ(rows[r][3], std::to_string(13 - future.score[0]))
            << "board " << r / 13 + 1 << " lead " << rows[r][2];
    }
}

// Tabulated values from the deals, and the report's mean of them.
TEST_F(CliSimulation, TabulateCountsTheDealsValues) {
    const TCliRun run = RunCli(
        folder, {"tabulate", "--key", "3", "--count", "500", "--expression", "HCP(N) + HCP(S)",
                 "--expression", "(SuitLength(N,SP) + SuitLength(S,SP)) >= 8", "--csv",
                 (folder / "tab.csv").string()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = CsvRows(folder / "tab.csv", "board,deal,expression,value");
    ASSERT_EQ(rows.size(), 1000u);
    TMeanSum points;
    int64_t fits = 0;
    for (std::size_t r = 0; r < rows.size(); r += 2) {
        TDeal deal = DealOf(rows[r][1]);
        const int32_t sum = deal.HCP(North, -1) + deal.HCP(South, -1);
        const bool fit = deal.SuitLength(North, Spades) + deal.SuitLength(South, Spades) >= 8;
        EXPECT_EQ(rows[r][3], std::to_string(sum));
        EXPECT_EQ(rows[r + 1][2], "(SuitLength(N,SP) + SuitLength(S,SP)) >= 8");
        EXPECT_EQ(rows[r + 1][3], fit ? "1" : "0");
        points.Add(sum);
        fits += fit ? 1 : 0;
    }
    EXPECT_NE(run.Out.find("Среднее: " + DecimalText(points.Mean(), 2) + ", "), std::string::npos);
    EXPECT_NE(run.Out.find("(" + std::to_string(fits) + " из 500)"), std::string::npos) << run.Out;
}

// Ctrl+C stops the run: the deals studied so far are reported and written.
TEST_F(CliSimulation, InterruptedRunKeepsWhatItCounted) {
    const fs::path csv = folder / "tricks.csv";
    TCliRunOptions options;
    options.Interrupt = true;  // once the seed line of key 0 is on stderr
    const TCliRun run = RunCliWith(folder,
                                   {"tabulate", "--key", "0", "--count", "1000", "--expression",
                                    "Tricks(N, SP)", "--csv", csv.string(), "--threads", "1"},
                                   options);
    EXPECT_EQ(run.ExitCode, 130) << run.Err;
    const auto rows = CsvRows(csv, "board,deal,expression,value");
    EXPECT_LT(rows.size(), 1000u);
    EXPECT_NE(run.Out.find("Распределение: раздач " + std::to_string(rows.size()) + "."),
              std::string::npos)
        << run.Out;
}

// Refused input: its exit code and message, and nothing written.
TEST_F(CliSimulation, BadInputRunsNothing) {
    struct TCase {
        std::vector<std::string> Args;
        int ExitCode;
        const char* Message;
    };
    const std::string leaderFile = (folder / "two.pbn").string();
    const TCase cases[] = {
        {{"simulate", "--variant", "A: 3NT S"}, 2, "хотя бы два варианта"},
        {{"simulate", "--variant", "A: 3NT S", "--variant", "B: 4Q N"}, 2, "«4Q» — не контракт"},
        {{"simulate", "--variant", "A: 3NT S", "--variant", "B: HCP(N > 3 => 4S N; 3NT S"},
         3,
         "вариант «B», правило 1: ошибка в позиции 8: Пропущена )"},
        {{"simulate", "--variant", "A: 3NT S", "--variant", "B: 3NT X", "--from", "x.dls"},
         2,
         "не разыгрывающий"},
        {{"simulate", "--variant", "A: 3NT S", "--variant", "B: 2S N", "--from", "x.dls", "--count",
          "5"},
         2,
         "--count здесь не к чему"},
        {{"leads", "--contract", "3NT S"}, 2, "все 13 карт"},
        {{"leads", "--contract", "3NT"}, 2, "не указан разыгрывающий"},
        {{"leads", "--contract", "PASS", "--fixed", "W:AKQ2.432.432.32"}, 2, "при пасе"},
        {{"leads", "--contract", "3NT S", "--from", leaderFile}, 2, "в раздаче 2 у Запада (W)"},
        {{"tabulate", "--expression", "HCP(N"}, 3, "ошибка в позиции"},
        {{"tabulate", "--expression", "N"}, 3, "Несоответствие типов"},
        {{"tabulate", "--expression", "HCP(N)", "--expression", "HCP(S) > 10", "--cross"},
         2,
         "оба должны быть целыми"},
        {{"tabulate", "--expression", "1", "--expression", "2", "--expression", "3", "--expression",
          "4", "--expression", "5"},
         2,
         "не больше четырёх"},
    };
    const std::string deals[] = {
        "N:AKQJ.AKQJ.AKQJ.A T98.T98.T987.654 765.7654.6543.32 432.32.2.KQJT987",
        "N:432.32.2.KQJT987 T98.T98.T987.654 765.7654.6543.32 AKQJ.AKQJ.AKQJ.A"};
    std::string pbn;
    for (int i = 0; i < 2; ++i)
        pbn += "[Board \"" + std::to_string(i + 1) + "\"]\n[Deal \"" + deals[i] + "\"]\n\n";
    std::ofstream(leaderFile) << pbn;
    for (const TCase& c : cases) {
        std::vector<std::string> args = c.Args;
        args.insert(args.end(), {"--csv", (folder / "out.csv").string()});
        const TCliRun run = RunCli(folder, args);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Args[1] << " " << c.Args.back() << run.Err;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(folder / "out.csv")) << run.Err;
    }
}

}  // namespace
