// korvana-cli generate: one generator run as the desktop program makes it,
// with the kept deals written to stdout (and a deals file).
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/FixedCards.h"
#include "deals/PbnFile.h"
#include "deals/RandomSource.h"
#include "deals/ReadableLine.h"
#include "engine/AnalysisRun.h"
#include "engine/Generator.h"
#include "language/Grammar.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

struct TGenerateOptions {
    int32_t Key = 0;
    int32_t Count = 1;
    TConditionSource Condition;
    bool Lines = false;  // --format lines; else text
    std::string OutFile;
    TDealsOutput Output;  // of --out
    int64_t MaxDealt = 0;
    bool Quiet = false;
    int32_t Threads = 0;   // 0: one per core
    std::string Fixed;     // --fixed: cards the seats hold, read after the options
    bool Analyze = false;  // --analyze: double-dummy tables and par in the PBN file
    TDealingPath Dealing = TDealingPath::Fastest;  // --dealing: every way gives the same deals
};

constexpr TOptionRow kGenerateOptions[] = {
    {.Name = "--key",
     .Kind = TValueKind::Number,
     .ValueName = "N",
     .Help = "ключевое число: то же число, условие и количество дают те же раздачи; "
             "0 (по умолчанию) берёт начало от часов и печатает его",
     .Least = std::numeric_limits<int32_t>::min(),
     .Most = std::numeric_limits<int32_t>::max()},
    {.Name = "--count",
     .Kind = TValueKind::Number,
     .ValueName = "N",
     .Help = "сколько раздач отобрать, 1-9999999 (по умолчанию 1)",
     .Least = 1,
     .Most = 9999999},
    ConditionOption(TAlternative::AtMostOne),
    kConditionFileOption,
    {.Name = "--format",
     .Kind = TValueKind::Choice,
     .ValueName = "text|lines",
     .Help = "раздачи на стандартный вывод читаемым текстом (по умолчанию) или строками "
             "файла раздач"},
    {.Name = "--out",
     .Kind = TValueKind::Name,
     .ValueName = "FILE.dls|FILE.pbn|FILE.lin",
     .Help = "ещё и записывает раздачи в файл раздач, PBN или LIN по расширению; - пишет "
             "в стандартный вывод только файл"},
    kOutFormatOption,
    {.Name = "--analyze",
     .Help = "добавляет в файл PBN из --out таблицу взяток и пар каждой раздачи",
     .Repeatable = true},
    {.Name = "--max-dealt",
     .Kind = TValueKind::Number,
     .ValueName = "N",
     .Help = "останавливается, сдав N раздач",
     .Least = 1,
     .Most = std::numeric_limits<int64_t>::max()},
    kThreadsOption,
    {.Name = "--quiet", .Help = "не печатает ход работы в поток ошибок", .Repeatable = true},
    {.Name = "--fixed",
     .Kind = TValueKind::Text,
     .ValueName = "CARDS",
     .Help = "карты, которые у игроков в каждой раздаче: \"N:AKQJ.K.. S:..A2.\" или раздача PBN"},
    {.Name = "--dealing",
     .Kind = TValueKind::Choice,
     .ValueName = "fastest|one|portable|vector",
     .Help = "сдаёт по одной, по восемь или по восемь рядом с AVX2; все дают те же раздачи "
             "(по умолчанию самый быстрый способ этого процессора)"},
};

// The options of a run; false after complaining about bad usage.
bool ReadOptions(const TArguments& arguments, TGenerateOptions& options) {
    options.Key = static_cast<int32_t>(arguments.Number("--key", 0));
    options.Count = static_cast<int32_t>(arguments.Number("--count", 1));
    options.Condition = ConditionSource(arguments);
    options.Lines = arguments.Text("--format") == "lines";
    options.OutFile = arguments.Text("--out");
    options.MaxDealt = arguments.Number("--max-dealt", 0);
    options.Quiet = arguments.Has("--quiet");
    options.Threads = static_cast<int32_t>(arguments.Number(kThreadsOption.Name, 0));
    options.Fixed = arguments.Text("--fixed");
    options.Analyze = arguments.Has("--analyze");
    const std::pair<const char*, TDealingPath> ways[] = {{"fastest", TDealingPath::Fastest},
                                                         {"one", TDealingPath::OneByOne},
                                                         {"portable", TDealingPath::Portable},
                                                         {"vector", TDealingPath::Vector}};
    for (const auto& [name, path] : ways)
        if (arguments.Text("--dealing") == name) options.Dealing = path;
    if (options.Dealing == TDealingPath::Vector && !VectorDealingAvailable()) {
        ComplainUsage("--dealing vector: у этого процессора нет AVX2");
        return false;
    }
    std::string complaint;
    if (!options.OutFile.empty() &&
        !ChooseDealsOutput(options.OutFile, arguments.Text(kOutFormatOption.Name), options.Output,
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

// Ctrl+C, SIGTERM and SIGHUP ask the run to stop, as STOP does; the main
// thread passes it on. Holds the signal's number.
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int signal) { interrupted = signal; }

constexpr int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The exit code of a run stopped by a signal: 128 and its number.
int InterruptedCode(int signal) {
    return signal == SIGINT ? ExitInterrupted : signal == SIGTERM ? ExitTerminated : ExitHungUp;
}

// Hears the run's requests on the worker thread. Progress is only stored; the
// main thread prints it on its own schedule, so the worker never waits.
class TCliOwner : public TGeneratorOwner {
public:
    void ReportProgress(int32_t kept, int64_t dealt) override {
        kept_.store(kept, std::memory_order_relaxed);
        dealt_.store(dealt, std::memory_order_relaxed);
    }
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t kept, int32_t) override {
        std::lock_guard lock(mutex_);
        kept_.store(kept, std::memory_order_relaxed);
        finished_ = true;
        done_.notify_all();
    }
    // Waits until the run has finished or the timeout has passed; true when finished.
    bool WaitFinished(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, timeout, [this] { return finished_; });
    }
    int32_t Kept() const { return kept_.load(std::memory_order_relaxed); }
    int64_t Dealt() const { return dealt_.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> kept_{0};
    std::atomic<int64_t> dealt_{0};
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
};

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

void PrintProgress(const TCliOwner& owner, std::chrono::steady_clock::time_point start) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double rate = seconds > 0 ? static_cast<double>(owner.Dealt()) / seconds : 0.0;
    std::fprintf(stderr, "\rотобрано %d  сдано %lld  %.0f раздач/с\x1b[K",
                 static_cast<int>(owner.Kept()), static_cast<long long>(owner.Dealt()), rate);
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

    TGeneratorInputs inputs;
    const TFixedCardsReading fixed = ReadFixedCards(options.Fixed);
    if (!fixed.Error.empty()) {
        std::fprintf(stderr, "korvana-cli: --fixed: %s\n", fixed.Error.c_str());
        return ExitConditionError;
    }
    inputs.FixedCards = fixed.Cards;
    if (!ReadConditionLines(options.Condition, inputs.ConditionLines)) return ExitFileFailed;
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    inputs.Rules = rules.get();
    TRandomSource random;
    inputs.Source = &random;
    inputs.RequestedTotal = options.Count;
    inputs.MaxDealt = options.MaxDealt;
    inputs.ThreadCount = options.Threads;
    inputs.Dealing = options.Dealing;

    TDeals deals;
    TCliOwner owner;
    TGenerator generator(owner, deals, inputs);
    if (!PrepareConditionOrReport(generator, inputs.ConditionLines)) return ExitConditionError;
    const int32_t asked = options.Threads > 0
                              ? options.Threads
                              : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (generator.ThreadCount() < asked) {
        std::fprintf(stderr, "условие велико: потоков %d вместо %d\n",
                     static_cast<int>(generator.ThreadCount()), static_cast<int>(asked));
    }

    bool showProgress = !options.Quiet && isatty(STDERR_FILENO) == 1;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    struct sigaction previous[std::size(StopSignals)] = {};
    interrupted = 0;
    for (std::size_t i = 0; i < std::size(StopSignals); ++i)
        sigaction(StopSignals[i], &action, &previous[i]);
    // A reader of stdout that has gone is a write error, told and counted as
    // one; the deals file is written all the same.
    std::signal(SIGPIPE, SIG_IGN);

    random.SetSeed(options.Key);
    const auto repeatKey =
        static_cast<int32_t>(random.Seed());  // the key itself, or the clock's seed
    if (options.Key == 0) {
        // The key that repeats this run.
        std::fprintf(stderr, "ключевое число %d\n", static_cast<int>(repeatKey));
        std::fflush(stderr);
    }

    // Without a file to write first, deals go to stdout as they are kept.
    std::optional<TDealPrinter> printer;
    if (options.OutFile.empty() && !options.Analyze) {
        printer.emplace(options.Lines, !StdoutIsRegularFile());
        deals.PassTo(*printer);
    }

    auto start = std::chrono::steady_clock::now();
    generator.Start();
    int stopSignal = 0;
    bool readerLeft = false;
    // At most ten progress lines a second.
    while (!owner.WaitFinished(std::chrono::milliseconds(100))) {
        if (interrupted != 0 && stopSignal == 0) {
            stopSignal = interrupted;
            generator.Terminate();
        }
        if (printer && !StdoutIsRegularFile()) printer->FlushNow();
        // Nobody reads the deals any more.
        if (!options.Output.Streamed && !readerLeft && StdoutReaderLeft()) {
            readerLeft = true;
            errno = EPIPE;
            NoteStdoutError();
        }
        if ((printer && printer->Failed()) || readerLeft) generator.Terminate();
        if (showProgress) PrintProgress(owner, start);
    }
    generator.Wait();
    for (std::size_t i = 0; i < std::size(StopSignals); ++i)
        sigaction(StopSignals[i], &previous[i], nullptr);
    if (showProgress) std::fputs("\r\x1b[K", stderr);

    // The file first: a reader of stdout that stops early costs no deal.
    int code = stopSignal != 0 ? InterruptedCode(stopSignal) : ExitDone;
    if (generator.RanOutOfMemory()) {
        std::fprintf(
            stderr,
            "korvana-cli: не хватило памяти: прогон остановлен после %d отобранных раздач\n",
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
        !WriteDealsFile(options.Output, deals, repeatKey, options.Analyze ? &analyses : nullptr))
        code = ExitFileFailed;
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
    std::fprintf(stderr, "%d(%lld)\n", static_cast<int>(owner.Kept()),
                 static_cast<long long>(owner.Dealt()));
    return code;
}
