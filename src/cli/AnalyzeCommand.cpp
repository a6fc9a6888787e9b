// korvana-cli analyze: the double-dummy table and par of every deal of a file,
// one line each, then the analysis report of the desktop program.
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/DealCollection.h"
#include "engine/AnalysisRun.h"
#include "reports/AnalysisReport.h"

int RunAnalyze(const std::vector<std::string>& args) {
    std::string fileName;
    int32_t threads = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--threads" || arg.rfind("--threads=", 0) == 0) {
            std::string value =
                arg == "--threads" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(10);
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), threads);
            if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
                threads < 1 || threads > 256) {
                ComplainUsage("--threads takes a number from 1 to 256");
                return ExitBadUsage;
            }
        } else if (arg.empty() || (arg.front() == '-' && arg != "-") || !fileName.empty()) {
            ComplainUsage("unexpected argument \"" + arg + "\"");
            return ExitBadUsage;
        } else {
            fileName = arg;
        }
    }
    if (fileName.empty()) {
        ComplainUsage("analyze takes a deals file (.dls or .pbn)");
        return ExitBadUsage;
    }
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
