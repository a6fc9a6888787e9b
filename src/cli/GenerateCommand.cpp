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

#include "analysis/DoubleDummy.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "cli/DealingRun.h"
#include "deals/Board.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/PbnFile.h"
#include "deals/ReadableLine.h"
#include "deals/SecureSource.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

struct TGenerateOptions {
    TRunOptions Run;
    bool Lines = false;  // --format lines; else text
    std::string OutFile;
    TDealsOutput Output;   // of --out
    bool Analyze = false;  // --analyze: double-dummy tables and par in the PBN file
    int64_t FirstBoard = 1;
    TSeatingChoice Seating;  // --dealer, --vul
};

constexpr TTextOption kFormatOption =
    TOptionRow{.Name = "--format",
               .Kind = TValueKind::Choice,
               .ValueName = "text|lines",
               .Help =
                   "раздачи на стандартный вывод читаемым текстом (по умолчанию) или строками "
                   "файла раздач"};
constexpr TTextOption kOutOption =
    TOptionRow{.Name = "--out",
               .Kind = TValueKind::Name,
               .ValueName = "FILE.dls|FILE.pbn|FILE.lin",
               .Help =
                   "ещё и записывает раздачи в файл раздач, PBN или LIN по расширению; - пишет "
                   "в стандартный вывод только файл"};
constexpr TSwitch kAnalyzeOption =
    TOptionRow{.Name = "--analyze",
               .Help = "добавляет в файл PBN из --out таблицу взяток и пар каждой раздачи",
               .Repeatable = true};

constexpr TOptionRow kGenerateOptions[] = {
    kKeyOption,    kSecretOption,  kCountOption,     kConditionOption,  kConditionFileOption,
    kFormatOption, kOutOption,     kOutFormatOption, kFirstBoardOption, kDealerOption,
    kVulOption,    kAnalyzeOption, kMaxDealtOption,  kThreadsOption,    kQuietOption,
    kFixedOption,  kDealingOption, kDirectedOption,  kSecretFileOption, kDelayedOption,
};

// The options of a run; false after complaining about bad usage.
bool ReadOptions(const TArguments& arguments, TGenerateOptions& options) {
    if (!ReadRunOptions(arguments, 1, options.Run)) return false;
    options.Lines = arguments.Text(kFormatOption) == "lines";
    options.OutFile = arguments.Text(kOutOption);
    options.Analyze = arguments.Has(kAnalyzeOption);
    options.FirstBoard = arguments.Number(kFirstBoardOption, 1);
    options.Seating = SeatingOfOptions(arguments);
    std::string complaint;
    if (!options.OutFile.empty() &&
        !ChooseDealsOutput(options.OutFile, arguments.Text(kOutFormatOption), options.Output,
                           complaint)) {
        ComplainUsage(complaint);
        return false;
    }
    if (options.Analyze && (options.OutFile.empty() || !options.Output.Format->WritesAnalysis)) {
        ComplainUsage("--analyze пишет таблицы в файл PBN из --out FILE.pbn");
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

// The system's reason of the first failed write to stdout, 0 while none failed.
std::atomic<int> stdoutError{0};

void NoteStdoutError() {
    int none = 0;
    stdoutError.compare_exchange_strong(none, errno != 0 ? errno : EIO);
}

// Writes each chunk to stdout until a write fails.
class TStdoutChunks {
public:
    void operator()(std::string_view chunk) {
        errno = 0;
        if (!failed_.load(std::memory_order_relaxed) &&
            std::fwrite(chunk.data(), 1, chunk.size(), stdout) != chunk.size())
            Fail();
    }
    bool Failed() const { return failed_.load(std::memory_order_relaxed); }
    void Fail() {
        NoteStdoutError();
        failed_.store(true, std::memory_order_relaxed);
    }

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
    // `shared`: the main thread also flushes the deals now and then, for a
    // reader on a pipe or a terminal that should see each deal soon.
    TDealPrinter(bool lines, bool shared)
        : lines_(lines),
          shared_(shared),
          out_([this](std::string_view chunk) { chunks_(chunk); }) {}
    void Receive(const TDeal& deal) override {
        if (chunks_.Failed()) return;
        if (!shared_) return PrintDeal(out_, deal, lines_);
        std::lock_guard lock(mutex_);
        PrintDeal(out_, deal, lines_);
    }
    // Hands the deals printed so far on to stdout.
    void FlushNow() {
        std::lock_guard lock(mutex_);
        out_.Flush();
        errno = 0;
        if (!chunks_.Failed() && std::fflush(stdout) != 0) chunks_.Fail();
    }
    // After the run: the rest of the buffer; whether everything was written.
    bool Finish() {
        out_.Flush();
        return !chunks_.Failed();
    }
    bool Failed() const { return chunks_.Failed(); }

private:
    bool lines_;
    bool shared_;
    std::mutex mutex_;
    TStdoutChunks chunks_;
    TOutputBuffer out_;
};

// Double-dummy tables and par of the kept deals, a few deals at a time, so
// that a stop is heard soon; `analyses` holds those of the deals before it.
void AnalyseKept(const TDeals& deals, int64_t firstBoard, const TSeatingChoice& seating,
                 const TStopSignals& stop, std::vector<TDealAnalysis>& analyses) {
    const auto step = static_cast<int32_t>(std::max(1, static_cast<int>(AnalysisThreads())));
    for (int32_t first = 0; first < deals.Count() && stop.Signal() == 0; first += step) {
        std::vector<const TDeal*> some;
        for (int32_t i = first; i < std::min(deals.Count(), first + step); ++i)
            some.push_back(deals.GetDeal(i));
        std::vector<TDealAnalysis> solved;
        AnalyseDeals(some, solved);
        for (TDealAnalysis& analysis : solved) {
            // Par for each board's dealer and vulnerability, as the PBN file gives them.
            TBoard board;
            board.SetPosition(firstBoard + static_cast<int64_t>(analyses.size()));
            board.ApplySeating(seating);
            AddPar(analysis, board.Dealer, board.Vulnerability);
            analyses.push_back(std::move(analysis));
        }
    }
}

void PrintProgress(const TRunTick& tick) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tick.Start).count();
    double rate = seconds > 0 ? static_cast<double>(tick.Dealt) / seconds : 0.0;
    std::fprintf(stderr, "\rотобрано %d  сдано %lld  %.0f раздач/с\x1b[K",
                 static_cast<int>(tick.Kept), static_cast<long long>(tick.Dealt), rate);
    std::fflush(stderr);
}

}  // namespace

int RunGenerate(const TArguments& arguments);

const TCommand kGenerateCommand = {
    .Name = "generate",
    .Summary =
        "сдаёт и отбирает раздачи, отвечающие условию, и печатает их на стандартный вывод; "
        "поток ошибок кончается строкой отобрано(сдано)",
    .Options = kGenerateOptions,
    .Run = RunGenerate};

int RunGenerate(const TArguments& arguments) {
    TGenerateOptions options;
    if (!ReadOptions(arguments, options)) return ExitBadUsage;

    // A stop asked while the deals are analysed or written ends the analysis;
    // what was kept is written all the same. A reader of stdout that has gone
    // is a write error, told and counted as one.
    TStopSignals stop;

    // Without a file to write first, deals go to stdout as they are kept.
    TDeals deals;
    std::optional<TDealPrinter> printer;
    if (options.OutFile.empty() && !options.Analyze) {
        printer.emplace(options.Lines, !StdoutIsRegularFile());
        deals.PassTo(*printer);
    }
    const bool showProgress = !options.Run.Quiet && isatty(STDERR_FILENO) == 1;
    bool readerLeft = false;
    TRunResult run;
    const int refused = RunDealing(
        options.Run, deals,
        [&](const TRunTick& tick) {
            if (printer && !StdoutIsRegularFile()) printer->FlushNow();
            // Nobody reads the deals any more: noticed without writing to them.
            if (!options.Output.Streamed && !readerLeft && StdoutReaderLeft()) {
                readerLeft = true;
                errno = EPIPE;
                NoteStdoutError();
            }
            if (showProgress) PrintProgress(tick);
            return !((printer && printer->Failed()) || readerLeft);
        },
        run);
    if (refused != ExitDone) return refused;
    if (showProgress) std::fputs("\r\x1b[K", stderr);
    const int32_t repeatKey = run.RepeatKey;

    // The file first: a reader of stdout that stops early costs no deal.
    int code = run.StopSignal != 0 ? TStopSignals::ExitCode(run.StopSignal) : ExitDone;
    if (run.RanOutOfMemory) {
        std::fprintf(
            stderr,
            "korvana-cli: не хватило памяти: прогон остановлен после %d отобранных раздач\n",
            static_cast<int>(deals.Count()));
        code = ExitOutOfMemory;
    }
    std::vector<TDealAnalysis> analyses;
    if (options.Analyze) {
        if (stop.Signal() == 0)
            AnalyseKept(deals, options.FirstBoard, options.Seating, stop, analyses);
        if (analyses.size() < static_cast<std::size_t>(deals.Count())) {
            std::fprintf(stderr,
                         "korvana-cli: анализ остановлен: проанализировано %d из %d, у "
                         "остальных раздач в файле нет таблицы взяток\n",
                         static_cast<int>(analyses.size()), static_cast<int>(deals.Count()));
        }
    }
    if (code == ExitDone && stop.Signal() != 0) code = TStopSignals::ExitCode(stop.Signal());
    if (!options.OutFile.empty()) {
        std::error_code missing;
        if (deals.Count() == 0 && !options.Output.Streamed &&
            std::filesystem::exists(options.OutFile, missing)) {
            // A run that kept nothing does not wipe the deals of an earlier one.
            std::fprintf(stderr,
                         "korvana-cli: не отобрано ни одной раздачи: файл %s оставлен как был\n",
                         options.OutFile.c_str());
        } else if (!WriteDealsFile(options.Output, deals, repeatKey,
                                   options.Analyze ? &analyses : nullptr, run.Secure,
                                   options.FirstBoard, options.Seating, run.Delayed)) {
            code = ExitFileFailed;
        } else if (deals.Count() < options.Run.Count) {
            std::fprintf(stderr, "korvana-cli: %s из %d\n",
                         CountedDeals(deals.Count(), "сохранена", "сохранены", "сохранено").c_str(),
                         static_cast<int>(options.Run.Count));
        }
    }
    // In large chunks, never the whole text in memory; a file written
    // straight to a stream is all that stream carries.
    const bool written = printer                   ? printer->Finish()
                         : options.Output.Streamed ? true
                                                   : PrintDeals(deals, options.Lines);
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) NoteStdoutError();
    if (!written || stdoutError.load() != 0) {
        std::fprintf(stderr, "korvana-cli: не удалось записать раздачи: %s\n",
                     SystemReason(stdoutError.load() != 0 ? stdoutError.load() : EIO).c_str());
        if (code != ExitFileFailed) code = ExitOutputFailed;
    }
    PrintConditionFrequency(run);
    std::fprintf(stderr, "%d(%lld)\n", static_cast<int>(run.Kept),
                 static_cast<long long>(run.Dealt));
    return code;
}
