// korvana-cli analyze: the double-dummy table and par of every deal of a file,
// one line each, then the analysis report of the desktop program.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/DealCollection.h"
#include "engine/AnalysisRun.h"
#include "reports/AnalysisReport.h"

int RunAnalyze(const TArguments& arguments);

namespace {
constexpr const char* kAnalyzeArguments[] = {"FILE"};
constexpr TOptionRow kAnalyzeOptions[] = {kThreadsOption};
}  // namespace

const TCommand kAnalyzeCommand = {
    .Name = "analyze",
    .Summary =
        "print each deal's double-dummy tricks and par, one line a deal (board, then "
        "nt s h d c with the tricks of N E S W declaring, then par), and the analysis "
        "report; exit code 4 when a damaged deal was refused",
    .Options = kAnalyzeOptions,
    .Positionals = kAnalyzeArguments,
    .Run = RunAnalyze};

int RunAnalyze(const TArguments& arguments) {
    const std::string& fileName = arguments.Positionals[0];
    const auto threads = static_cast<int32_t>(arguments.Number(kThreadsOption.Name, 0));
    TDeals deals;
    if (!ReadDealsFile(fileName, deals)) return ExitFileFailed;
    SetAnalysisThreads(threads);

    std::vector<const TDeal*> pointers;
    for (int32_t i = 0; i < deals.Count(); ++i) pointers.push_back(deals.GetDeal(i));
    std::vector<TDealAnalysis> results = AnalyseAll(pointers);

    std::vector<std::string> lines;
    int32_t refused = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        lines.push_back(AnalysisDealLine(static_cast<int64_t>(i) + 1, results[i]));
        if (!results[i].Solved) {
            ++refused;
            std::fprintf(stderr, "korvana-cli: раздача %d не проанализирована: %s\n",
                         static_cast<int>(i) + 1, results[i].Fault.c_str());
        }
    }
    lines.push_back("");
    for (std::string& line : AnalysisReportLines(results)) lines.push_back(std::move(line));
    if (!WriteLines(lines)) {
        std::fputs("korvana-cli: cannot write the output\n", stderr);
        return ExitOutputFailed;
    }
    return refused > 0 ? ExitFileFailed : ExitDone;
}
