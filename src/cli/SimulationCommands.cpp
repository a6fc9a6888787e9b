// korvana-cli simulate, leads and tabulate: the simulations over the deals of
// a file or of a run, the report on stdout and, with --csv, one row per result.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "analysis/SolverLibrary.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/DealingRun.h"
#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/FixedCards.h"
#include "simulation/Contract.h"
#include "simulation/LeadStudy.h"
#include "simulation/Tabulation.h"
#include "simulation/VariantComparison.h"
#include "text/FileError.h"
#include "text/ReplacingFile.h"
#include "text/StringFunctions.h"

namespace {

constexpr TTextOption kFromOption = TOptionRow{
    .Name = "--from",
    .Kind = TValueKind::Name,
    .ValueName = "FILE.dls|FILE.pbn",
    .Help =
        "берёт раздачи из файла, а не сдаёт новые (тогда без --key, --count, --condition, "
        "--fixed ...)"};
constexpr TTextOption kCsvOption =
    TOptionRow{.Name = "--csv",
               .Kind = TValueKind::Name,
               .ValueName = "FILE.csv",
               .Help = "пишет в CSV-файл строку на каждый результат каждой раздачи"};
constexpr TTextOption kVulnerabilityOption =
    TOptionRow{.Name = "--vul",
               .Kind = TValueKind::Choice,
               .ValueName = "none|ns|ew|both",
               .Help = "зона: все до зоны (по умолчанию), в зоне N-S, в зоне E-W, все в зоне",
               .AnyCase = true};

// The rows of the run that deals the deals, after each command's own.
constexpr TOptionRow kStudyRunRows[] = {
    kKeyOption,
    kSecretOption,
    kSecretFileOption,
    kDelayedOption,
    CountOption("сколько раздач сдать и разобрать, 1-9999999 (по умолчанию 1000)"),
    kConditionOption,
    kConditionFileOption,
    kMaxDealtOption,
    kFixedOption,
    kDealingOption,
    kDirectedOption,
    kThreadsOption,
    kQuietOption,
};

// A study's option table: its own rows, then the run's.
template <std::size_t Own>
constexpr auto StudyOptions(const TOptionRow (&own)[Own]) {
    std::array<TOptionRow, Own + std::size(kStudyRunRows)> rows{};
    std::copy(std::begin(own), std::end(own), rows.begin());
    std::copy(std::begin(kStudyRunRows), std::end(kStudyRunRows), rows.begin() + Own);
    return rows;
}

// The options of a run that --from leaves out.
constexpr const TOptionRow* kRunOnly[] = {
    &kKeyOption,      &kCountOption,      &kConditionOption, &kConditionFileOption,
    &kMaxDealtOption, &kFixedOption,      &kDealingOption,   &kDirectedOption,
    &kSecretOption,   &kSecretFileOption, &kDelayedOption};

constexpr int32_t DefaultStudyCount = 1000;
constexpr int32_t StudyBlockSize = 512;

// The options every study reads.
struct TStudyInputs {
    std::string From;  // --from; empty for a run
    TRunOptions Run;
    std::string CsvName;
    TVulnerability Vulnerability = TVulnerability::None;
};

bool ReadStudyInputs(const TArguments& arguments, TStudyInputs& inputs) {
    inputs.From = arguments.Text(kFromOption);
    if (!ReadRunOptions(arguments, DefaultStudyCount, inputs.Run)) return false;
    if (!inputs.From.empty()) {
        for (const TOptionRow* option : kRunOnly) {
            if (!arguments.Has(*option)) continue;
            ComplainUsage(std::string("--from берёт раздачи из файла: ") + option->Name +
                          " здесь не к чему");
            return false;
        }
    }
    inputs.CsvName = arguments.Text(kCsvOption);
    if (arguments.Offers(kVulnerabilityOption))  // tabulate scores nothing and has no --vul
        inputs.Vulnerability = ReadVulnerability(arguments.Text(kVulnerabilityOption, "none"))
                                   .value_or(TVulnerability::None);
    return true;
}

// Prints "разобрано N раздач" on a terminal's stderr once a run has lasted a
// second, at most ten times a second.
class TProgressLine {
public:
    explicit TProgressLine(bool quiet) : shown_(!quiet && isatty(STDERR_FILENO) == 1) {}
    void Show(int64_t done) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        printed_ = true;
        std::fprintf(stderr, "\rразобрано раздач: %lld\x1b[K", static_cast<long long>(done));
        std::fflush(stderr);
    }
    void Clear() {
        if (printed_) std::fputs("\r\x1b[K", stderr);
    }

private:
    bool shown_;
    bool printed_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_{};
};

// Writes the CSV rows as they come; a failure is kept, the later rows are dropped.
class TCsvWriter {
public:
    bool Open(const std::string& name, const std::string& header) {
        try {
            name_ = name;
            otherLinks_ = OtherHardLinks(name);
            file_ = std::make_unique<TReplacingFile>(name);
            file_->Write(header + "\n");
            return true;
        } catch (const TFileError& failure) {
            std::fprintf(stderr, "korvana-cli: %s\n", failure.what());
            return false;
        }
    }
    bool IsOpen() const { return file_ != nullptr; }
    // On a worker thread, in deal order.
    void Write(const std::vector<std::string>& rows) {
        if (failed_.load()) return;
        std::string text;
        for (const std::string& row : rows) text += row + "\n";
        try {
            file_->Write(text);
        } catch (const TFileError& failure) {
            fault_ = failure.what();
            failed_.store(true);
        }
    }
    bool Failed() const { return failed_.load(); }
    // Puts the file in place; false, with the reason on stderr, when it failed.
    bool Commit() {
        if (!failed_.load()) {
            try {
                file_->Commit();
                TellOtherHardLinks(name_, otherLinks_);
                return true;
            } catch (const TFileError& failure) {
                fault_ = failure.what();
            }
        }
        std::fprintf(stderr, "korvana-cli: CSV-файл не записан: %s\n", fault_.c_str());
        return false;
    }

private:
    std::unique_ptr<TReplacingFile> file_;
    std::string name_;
    int32_t otherLinks_ = 0;
    std::atomic<bool> failed_{false};
    std::string fault_;
};

// Hands each deal a run keeps to the study, numbered from 1.
class TStudyFeeder : public TDealReceiver {
public:
    explicit TStudyFeeder(TStudyRun& run) : run_(run) {}
    void Receive(const TDeal& deal) override { run_.Push(++number_, deal); }

private:
    TStudyRun& run_;
    int64_t number_ = 0;
};

// Runs the prepared study over the boards read from --from (`boards`) or
// over the deals of a run, then prints the report. Its exit code.
int RunStudy(TDealStudy& study, const TStudyInputs& inputs, const std::vector<TBoard>* boards) {
    std::signal(SIGPIPE, SIG_IGN);
    // Thousands of deals, each solved: the solver's small tables keep the
    // memory of the run flat, where its large ones keep growing on hard deals.
    SetSolverMemoryDefault(StudySolverMemoryMB);
    TCsvWriter csv;
    if (!inputs.CsvName.empty() && !csv.Open(inputs.CsvName, study.CsvHeader()))
        return ExitFileFailed;
    if (inputs.Run.Threads > 0) SetAnalysisThreads(inputs.Run.Threads);
    TStudyRun run(study, inputs.Run.Threads,
                  csv.IsOpen() ? TStudyRun::TRowsSink([&csv](const std::vector<std::string>& rows) {
                      csv.Write(rows);
                  })
                               : TStudyRun::TRowsSink());
    TProgressLine progress(inputs.Run.Quiet);
    TStopSignals signals;
    auto stopAsked = [&] {
        if (signals.Signal() != 0 || csv.Failed()) run.Stop();
        return run.Stopped();
    };
    bool outOfMemory = false;  // the rows of the deals kept before are still written
    TRunResult dealt;
    if (boards != nullptr) {
        for (const TBoard& board : *boards) {
            if (stopAsked() || !run.Push(board.Number, board.Deal)) break;
            progress.Show(run.Done());
        }
    } else {
        TDeals deals;
        TStudyFeeder feeder(run);
        deals.PassTo(feeder);
        // The study takes the deals one at a time, far slower than they are
        // dealt: dealing ahead in small blocks keeps the memory of a long run
        // as small as that of a short one.
        TRunOptions options = inputs.Run;
        options.BlockSize = StudyBlockSize;
        const int refused = RunDealing(
            options, deals,
            [&](const TRunTick&) {
                progress.Show(run.Done());
                return !stopAsked();
            },
            dealt);
        if (refused != ExitDone) return refused;
        outOfMemory = dealt.RanOutOfMemory;
    }
    while (!run.WaitIdle(std::chrono::milliseconds(100))) {
        stopAsked();
        progress.Show(run.Done());
    }
    run.Finish();
    progress.Clear();
    PrintConditionFrequency(dealt);

    int code = signals.Signal() != 0 ? TStopSignals::ExitCode(signals.Signal()) : ExitDone;
    if (csv.IsOpen() && !csv.Commit()) code = ExitFileFailed;
    if (outOfMemory) {
        std::fputs("korvana-cli: не хватило памяти\n", stderr);
        return ExitOutOfMemory;
    }
    if (study.Refused() > 0) {
        std::fprintf(stderr, "korvana-cli: не разобрано раздач: %lld\n",
                     static_cast<long long>(study.Refused()));
        if (code == ExitDone) code = ExitFileFailed;
    }
    if (!WriteLines(study.ReportLines())) {
        std::fputs("korvana-cli: не удалось вывести отчёт\n", stderr);
        return ExitOutputFailed;
    }
    return code;
}

// Reads the --from file into boards; false after telling why.
bool ReadBoards(const std::string& name, std::vector<TBoard>& boards) {
    TDeals deals;
    deals.KeepStatisticsOnly();  // the boards hold the deals
    if (!ReadDealsFile(name, deals, &boards)) return false;
    if (!boards.empty()) return true;
    std::fprintf(stderr, "korvana-cli: в файле %s нет ни одной целой раздачи\n", name.c_str());
    return false;
}

// The text of a variants file; false after telling why it cannot be read.
bool ReadVariantsFile(const std::string& name, std::string& text) {
    // A variants file is a few lines; anything larger is not one.
    constexpr std::size_t MostBytes = 1 << 20;
    errno = 0;
    std::ifstream in(name, std::ios::binary);
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::fprintf(stderr, "korvana-cli: не удалось прочитать %s: %s\n", name.c_str(),
                     std::strerror(errno != 0 ? errno : EIO));
        return false;
    }
    if (text.size() > MostBytes) {
        std::fprintf(stderr, "korvana-cli: %s: слишком большой файл вариантов\n", name.c_str());
        return false;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // a byte-order mark
    return true;
}

// ---- simulate -------------------------------------------------------------

constexpr TTextOption kVariantOption =
    TOptionRow{.Name = "--variant",
               .Kind = TValueKind::Name,
               .ValueName = "TEXT",
               .Help =
                   "вариант: \"НАЗВАНИЕ: УСЛОВИЕ => КОНТРАКТ РАЗЫГРЫВАЮЩИЙ; ...; КОНТРАКТ "
                   "РАЗЫГРЫВАЮЩИЙ\", например \"Стейман: HCP(N) >= 8 => 4H N; 3NT N\"",
               .Repeatable = true};
constexpr TTextOption kVariantsOption =
    TOptionRow{.Name = "--variants",
               .Kind = TValueKind::Name,
               .ValueName = "FILE",
               .Help = "варианты из файла UTF-8: строка \"НАЗВАНИЕ:\", затем по правилу в строке"};

constexpr auto kSimulateOptions =
    StudyOptions({kFromOption, kVariantOption, kVariantsOption, kVulnerabilityOption, kCsvOption});

int RunSimulate(const TArguments& arguments) {
    TStudyInputs inputs;
    if (!ReadStudyInputs(arguments, inputs)) return ExitBadUsage;
    std::vector<TVariant> variants;
    for (const std::string& text : arguments.Texts(kVariantOption))
        if (TStatus status = ReadVariantLine(text, variants); !status.IsOk())
            return ReportStatus(status);
    const std::string variantsFile = arguments.Text(kVariantsOption);
    if (!variantsFile.empty()) {
        std::string text;
        if (!ReadVariantsFile(variantsFile, text)) return ExitFileFailed;
        if (TStatus status = ReadVariantsText(text, variants); !status.IsOk())
            return ReportStatus(status, variantsFile);
    }
    TVariantComparison comparison;
    if (TStatus status = comparison.Prepare(std::move(variants), inputs.Vulnerability);
        !status.IsOk())
        return ReportStatus(status, status.Line() > 0 ? variantsFile : std::string());
    std::vector<TBoard> boards;
    if (!inputs.From.empty() && !ReadBoards(inputs.From, boards)) return ExitFileFailed;
    return RunStudy(comparison, inputs, inputs.From.empty() ? nullptr : &boards);
}

// ---- leads ----------------------------------------------------------------

constexpr TTextOption kContractOption =
    TOptionRow{.Name = "--contract",
               .Kind = TValueKind::Name,
               .ValueName = "CONTRACT",
               .Help =
                   "контракт и разыгрывающий, например \"3NT S\"; ходит левый противник "
                   "разыгрывающего, его 13 карт одни во всех раздачах"};

constexpr auto kLeadsOptions =
    StudyOptions({kContractOption, kFromOption, kVulnerabilityOption, kCsvOption});

int RunLeads(const TArguments& arguments) {
    TStudyInputs inputs;
    if (!ReadStudyInputs(arguments, inputs)) return ExitBadUsage;
    if (!arguments.Has(kContractOption)) {
        ComplainUsage("нужен --contract \"КОНТРАКТ РАЗЫГРЫВАЮЩИЙ\", например --contract \"3NT S\"");
        return ExitBadUsage;
    }
    const TContractReading reading = ReadContract(arguments.Text(kContractOption));
    if (!reading.Contract) {
        ComplainUsage("--contract: " + reading.Error);
        return ExitBadUsage;
    }
    const TContract contract = *reading.Contract;
    // Before the deals are read: a contract without a lead needs none.
    if (TStatus status = TLeadStudy::CheckContract(contract); !status.IsOk())
        return ReportStatus(status);
    TLeadStudy study;
    std::vector<TBoard> boards;
    TStatus status;
    if (inputs.From.empty()) {
        const TFixedCardsReading fixed = ReadFixedCards(inputs.Run.Fixed);
        if (!fixed.Error.empty()) {
            std::fprintf(stderr, "korvana-cli: --fixed: %s\n", fixed.Error.c_str());
            return ExitConditionError;
        }
        status = study.Prepare(contract, inputs.Vulnerability, fixed.Cards);
    } else {
        if (!ReadBoards(inputs.From, boards)) return ExitFileFailed;
        std::vector<const TDeal*> deals;
        std::vector<int64_t> numbers;
        for (const TBoard& board : boards) {
            deals.push_back(&board.Deal);
            numbers.push_back(board.Number);
        }
        status = study.Prepare(contract, inputs.Vulnerability, deals, numbers);
    }
    if (!status.IsOk()) return ReportStatus(status);
    return RunStudy(study, inputs, inputs.From.empty() ? nullptr : &boards);
}

// ---- tabulate -------------------------------------------------------------

constexpr TTextOption kExpressionOption =
    TOptionRow{.Name = "--expression",
               .Kind = TValueKind::Name,
               .ValueName = "TEXT",
               .Help =
                   "целое или логическое выражение языка условий, до четырёх раз: "
                   "\"HCP(N) + HCP(S)\", \"Tricks(N, SP)\"",
               .Repeatable = true};
constexpr TSwitch kCrossOption =
    TOptionRow{.Name = "--cross", .Help = "таблица сочетаний первых двух выражений (оба целые)"};

constexpr auto kTabulateOptions =
    StudyOptions({kExpressionOption, kCrossOption, kFromOption, kCsvOption});

int RunTabulate(const TArguments& arguments) {
    TStudyInputs inputs;
    if (!ReadStudyInputs(arguments, inputs)) return ExitBadUsage;
    TTabulation tabulation;
    if (TStatus status =
            tabulation.Prepare(arguments.Texts(kExpressionOption), arguments.Has(kCrossOption));
        !status.IsOk())
        return ReportStatus(status);
    std::vector<TBoard> boards;
    if (!inputs.From.empty() && !ReadBoards(inputs.From, boards)) return ExitFileFailed;
    return RunStudy(tabulation, inputs, inputs.From.empty() ? nullptr : &boards);
}

}  // namespace

const TCommand kSimulateCommand = {
    .Name = "simulate",
    .Summary =
        "сравнивает варианты торговли: счёт, IMP и матчпойнты каждого варианта против "
        "других по раздачам файла или новым",
    .Options = kSimulateOptions,
    .Run = RunSimulate};

const TCommand kLeadsCommand = {
    .Name = "leads",
    .Summary = "первый ход: сколько взяток берёт защита после каждой карты ходящего",
    .Options = kLeadsOptions,
    .Run = RunLeads};

const TCommand kTabulateCommand = {
    .Name = "tabulate",
    .Summary = "распределение значений выражений языка условий по раздачам",
    .Options = kTabulateOptions,
    .Run = RunTabulate};
