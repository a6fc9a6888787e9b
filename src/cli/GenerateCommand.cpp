// korvana-cli generate: one generator run as the desktop program makes it,
// with the kept deals written to stdout (and a deals file).
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "cli/DealingRun.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/PbnFile.h"
#include "deals/ReadableLine.h"
#include "engine/AnalysisRun.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

struct TGenerateOptions {
    TRunOptions Run;
    bool Lines = false;  // --format lines; else text
    std::string OutFile;
    bool Analyze = false;  // --analyze: double-dummy tables and par in the PBN file
};

constexpr TOptionRow kGenerateOptions[] = {
    kKeyOption,
    CountOption("the deals to keep, 1-9999999 (default 1)"),
    ConditionOption(TAlternative::AtMostOne),
    kConditionFileOption,
    {.Name = "--format",
     .Kind = TValueKind::Choice,
     .ValueName = "text|lines",
     .Help = "the deals on stdout as readable text (default) or as the lines of a deals file"},
    {.Name = "--out",
     .Kind = TValueKind::Name,
     .ValueName = "FILE.dls|FILE.pbn|FILE.lin",
     .Help = "also writes the deals to a deals, PBN or LIN file, told apart by the extension"},
    {.Name = "--analyze",
     .Help = "adds each deal's double-dummy table and par to the PBN file of --out",
     .Repeatable = true},
    kMaxDealtOption,
    kThreadsOption,
    kQuietOption,
    kFixedOption,
    kDealingOption,
};

// The options of a run; false after complaining about bad usage.
bool ReadOptions(const TArguments& arguments, TGenerateOptions& options) {
    if (!ReadRunOptions(arguments, 1, options.Run)) return false;
    options.Lines = arguments.Text("--format") == "lines";
    options.OutFile = arguments.Text("--out");
    options.Analyze = arguments.Has("--analyze");
    if (options.Analyze && !DealFormatForWriting(options.OutFile).WritesAnalysis) {
        ComplainUsage("--analyze writes its tables into the PBN file of --out FILE.pbn");
        return false;
    }
    return true;
}

// Every kept deal to stdout, one line each, in large chunks: false on a
// write error (the rest is then not written).
// One deal's line, a deal line or the readable one, and its line end.
void PrintDeal(TOutputBuffer& out, const TDeal& deal, bool lines) {
    char* room = out.Room(std::max<std::size_t>(TDeal::MaxLineLength, ReadableLineRoom) + 1);
    char* end = lines ? deal.WriteText(room) : WriteReadableLine(deal, room);
    if (end == nullptr) {
        out.Append(ReadableLine(deal));
        end = out.Room(1);
    }
    *end++ = '\n';
    out.Advance(end);
}

// Writes each chunk to stdout until a write fails.
class TStdoutChunks {
public:
    void operator()(std::string_view chunk) {
        if (!failed_.load(std::memory_order_relaxed) &&
            std::fwrite(chunk.data(), 1, chunk.size(), stdout) != chunk.size())
            failed_.store(true, std::memory_order_relaxed);
    }
    bool Failed() const { return failed_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> failed_{false};
};

bool PrintDeals(const TDeals& deals, bool lines) {
    TStdoutChunks chunks;
    TOutputBuffer out([&chunks](std::string_view chunk) { chunks(chunk); });
    deals.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) PrintDeal(out, deal, lines);
        return !chunks.Failed();
    });
    out.Flush();
    return !chunks.Failed();
}

// Prints each deal as the run keeps it, when no file needs the deals first:
// nothing is stored, so a run of any size prints in memory of a fixed size.
class TDealPrinter : public TDealReceiver {
public:
    explicit TDealPrinter(bool lines)
        : lines_(lines), out_([this](std::string_view chunk) { chunks_(chunk); }) {}
    void Receive(const TDeal& deal) override {
        if (!chunks_.Failed()) PrintDeal(out_, deal, lines_);
    }
    // After the run: the rest of the buffer; whether everything was written.
    bool Finish() {
        out_.Flush();
        return !chunks_.Failed();
    }
    bool Failed() const { return chunks_.Failed(); }

private:
    bool lines_;
    TStdoutChunks chunks_;
    TOutputBuffer out_;
};

void PrintProgress(const TRunTick& tick) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tick.Start).count();
    double rate = seconds > 0 ? static_cast<double>(tick.Dealt) / seconds : 0.0;
    std::fprintf(stderr, "\rkept %d  dealt %lld  %.0f deals/s\x1b[K", static_cast<int>(tick.Kept),
                 static_cast<long long>(tick.Dealt), rate);
    std::fflush(stderr);
}

}  // namespace

int RunGenerate(const TArguments& arguments);

const TCommand kGenerateCommand = {
    .Name = "generate",
    .Summary =
        "deal and keep the deals that meet the condition and print them on stdout; "
        "stderr ends with kept(dealt)",
    .Options = kGenerateOptions,
    .Run = RunGenerate};

int RunGenerate(const TArguments& arguments) {
    TGenerateOptions options;
    if (!ReadOptions(arguments, options)) return ExitBadUsage;

    // A reader of stdout that has gone is a write error, told and counted as
    // one; the deals file is written all the same.
    std::signal(SIGPIPE, SIG_IGN);

    // Without a file to write first, deals go to stdout as they are kept.
    TDeals deals;
    std::optional<TDealPrinter> printer;
    if (options.OutFile.empty() && !options.Analyze) {
        printer.emplace(options.Lines);
        deals.PassTo(*printer);
    }
    const bool showProgress = !options.Run.Quiet && isatty(STDERR_FILENO) == 1;
    TRunResult run;
    const int refused = RunDealing(
        options.Run, deals,
        [&](const TRunTick& tick) {
            if (showProgress) PrintProgress(tick);
            // Nobody reads the deals any more.
            return !(printer && printer->Failed());
        },
        run);
    if (refused != ExitDone) return refused;
    if (showProgress) std::fputs("\r\x1b[K", stderr);
    const int32_t repeatKey = run.RepeatKey;

    // The file first: a reader of stdout that stops early costs no deal.
    int code = run.StopSignal != 0 ? TStopSignals::ExitCode(run.StopSignal) : ExitDone;
    if (run.RanOutOfMemory) {
        std::fprintf(stderr, "korvana-cli: out of memory: the run stopped after %d kept deals\n",
                     static_cast<int>(deals.Count()));
        code = ExitOutOfMemory;
    }
    std::vector<TDealAnalysis> analyses;
    if (options.Analyze) {
        std::vector<const TDeal*> kept;
        for (int32_t i = 0; i < deals.Count(); ++i) kept.push_back(deals.GetDeal(i));
        analyses = AnalyseAll(kept);
        // Par for each board's usual dealer and vulnerability, as the PBN file numbers them.
        for (std::size_t i = 0; i < analyses.size(); ++i) {
            const int64_t board = static_cast<int64_t>(i) + 1;
            AddPar(analyses[i], PbnBoardDealer(board), PbnBoardVulnerability(board));
        }
    }
    if (!options.OutFile.empty() &&
        !WriteDealsFile(options.OutFile, deals, repeatKey, options.Analyze ? &analyses : nullptr))
        code = ExitFileFailed;
    // In large chunks, never the whole text in memory.
    const bool written = printer ? printer->Finish() : PrintDeals(deals, options.Lines);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || !written) {
        std::perror("korvana-cli: cannot write the deals");
        if (code != ExitFileFailed) code = ExitOutputFailed;
    }
    std::fprintf(stderr, "%d(%lld)\n", static_cast<int>(run.Kept),
                 static_cast<long long>(run.Dealt));
    return code;
}
