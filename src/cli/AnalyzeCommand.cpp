// korvana-cli analyze: the double-dummy table and par of every deal of a file,
// one line each as soon as it is solved, then the analysis report of the
// desktop program.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/DealingRun.h"
#include "deals/Board.h"
#include "deals/DealCollection.h"
#include "reports/AnalysisReport.h"

int RunAnalyze(const TArguments& arguments);

namespace {
constexpr const char* kAnalyzeArguments[] = {"FILE"};
constexpr TOptionRow kAnalyzeOptions[] = {kThreadsOption};

// Writes the text to stdout and flushes it, so that a reader sees each line
// at once and a reader that has gone is noticed at once; false, with errno
// set, when it fails.
bool WriteNow(const std::string& text) {
    errno = 0;
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}
}  // namespace

const TCommand kAnalyzeCommand = {
    .Name = "analyze",
    .Summary =
        "печатает взятки с открытыми картами и пар каждой раздачи, по строке сразу, как раздача "
        "решена (номер сдачи, затем nt s h d c со взятками разыгрывающих N E S W, затем пар для "
        "сдающего и зональности сдачи), и отчёт анализа; - читает стандартный ввод; код 4, "
        "если повреждённая раздача не проанализирована",
    .Options = kAnalyzeOptions,
    .Positionals = kAnalyzeArguments,
    .Run = RunAnalyze};

int RunAnalyze(const TArguments& arguments) {
    const std::string& fileName = arguments.Positionals[0];
    const auto threads = static_cast<int32_t>(arguments.Number(kThreadsOption, 0));
    TDeals deals;
    std::vector<TBoard> boards;
    bool damaged = false;  // each damaged deal is refused by its number below
    if (!ReadDealsFile(fileName, deals, &boards, nullptr, &damaged)) return ExitFileFailed;
    const int32_t solverThreads = SetAnalysisThreads(threads);
    TStopSignals stop;
    const bool showProgress = isatty(STDERR_FILENO) == 1;

    // A few deals at a time, about one for each solver thread, so that each
    // line is printed soon after it is solved and a stop is heard soon.
    const std::size_t step = static_cast<std::size_t>(std::max(1, solverThreads));
    std::vector<TDealAnalysis> results;
    results.reserve(boards.size());
    int32_t refused = 0;
    int writeError = 0;
    for (std::size_t first = 0; first < boards.size() && stop.Signal() == 0; first += step) {
        const std::size_t end = std::min(boards.size(), first + step);
        std::vector<const TDeal*> pointers;
        for (std::size_t i = first; i < end; ++i) pointers.push_back(&boards[i].Deal);
        std::vector<TDealAnalysis> solved;
        AnalyseDeals(pointers, solved);
        std::string lines;
        for (std::size_t k = 0; k < solved.size(); ++k) {
            const TBoard& board = boards[first + k];
            TDealAnalysis& result = solved[k];
            // Par for the board's own dealer and vulnerability.
            AddPar(result, board.Dealer, board.Vulnerability);
            lines += AnalysisDealLine(board.Number, result) + "\n";
            if (!result.Solved) {
                ++refused;
                std::fprintf(stderr, "korvana-cli: раздача %lld не проанализирована: %s\n",
                             static_cast<long long>(board.Number), result.Fault.c_str());
            }
            results.push_back(std::move(result));
        }
        if (!WriteNow(lines)) {
            writeError = errno != 0 ? errno : EIO;
            break;
        }
        if (showProgress)
            std::fprintf(stderr, "\rпроанализировано %zu из %zu\x1b[K", results.size(),
                         boards.size());
    }
    if (showProgress) std::fputs("\r\x1b[K", stderr);

    if (writeError == 0) {
        std::string report = "\n";
        for (const std::string& line : AnalysisReportLines(results)) report += line + "\n";
        if (!WriteNow(report)) writeError = errno != 0 ? errno : EIO;
    }
    if (writeError != 0) {
        std::fprintf(stderr, "korvana-cli: не удалось записать вывод: %s\n",
                     SystemReason(writeError).c_str());
        return ExitOutputFailed;
    }
    if (stop.Signal() != 0) {
        std::fprintf(stderr, "korvana-cli: анализ остановлен: проанализировано %zu из %zu\n",
                     results.size(), boards.size());
        return TStopSignals::ExitCode(stop.Signal());
    }
    return refused > 0 ? ExitFileFailed : ExitDone;
}
