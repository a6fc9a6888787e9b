// korvana-cli handout: the deals of a file laid out for paper as a PDF, a few
// to a page, with the double-dummy table and par when asked.
#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "engine/AnalysisRun.h"
#include "printing/HandoutModule.h"

int RunHandout(const TArguments& arguments);

namespace {

constexpr const char* kHandoutArguments[] = {"FILE.dls|FILE.pbn"};
constexpr TTextOption kOutOption = TOptionRow{.Name = "--out",
                                              .Kind = TValueKind::Name,
                                              .ValueName = "FILE.pdf",
                                              .Help = "файл PDF, куда записать материал",
                                              .Required = true};
constexpr TNumberOption kPerPageOption =
    TOptionRow{.Name = "--per-page",
               .Kind = TValueKind::Number,
               .ValueName = "N",
               .Help = "раздач на странице: 1, 2, 4, 6 или 9 (по умолчанию 4)",
               .Least = 1,
               .Most = 9};
constexpr TSwitch kAnalyzeOption = TOptionRow{
    .Name = "--analyze",
    .Help = "таблица взяток в открытую и пар под каждой раздачей; нерешённые раздачи решаются"};
constexpr TTextOption kSeatsOption = TOptionRow{
    .Name = "--seats",
    .Kind = TValueKind::Letters,
    .ValueName = SeatLetters,
    .Help = "какие руки рисовать: например, N — лист Севера для торговли (по умолчанию NESW)"};
constexpr TNumberOption kHandoutFirstBoardOption =
    TOptionRow{.Name = "--first-board",
               .Kind = TValueKind::Number,
               .ValueName = "N",
               .Help = "номер первой сдачи, если у сдач файла нет своих номеров (по умолчанию 1)",
               .Least = 1,
               .Most = std::numeric_limits<int32_t>::max()};
constexpr TTextOption kCardsOption =
    TOptionRow{.Name = "--cards",
               .Kind = TValueKind::Choice,
               .ValueName = "ru|en",
               .Help = "буквы карт: ru — Т К Д В 10 (по умолчанию), en — A K Q J T"};
constexpr TTextOption kPaperOption = TOptionRow{.Name = "--paper",
                                                .Kind = TValueKind::Choice,
                                                .ValueName = "a4|letter",
                                                .Help = "формат бумаги (по умолчанию a4)"};
constexpr TTextOption kTitleOption = TOptionRow{.Name = "--title",
                                                .Kind = TValueKind::Text,
                                                .ValueName = "TEXT",
                                                .Help = "строка заголовка над каждой страницей"};
constexpr TOptionRow kHandoutOptions[] = {
    kOutOption,    kPerPageOption, kAnalyzeOption, kSeatsOption, kHandoutFirstBoardOption,
    kDealerOption, kVulOption,     kCardsOption,   kPaperOption, kTitleOption};

// The painter, loaded on first use from korvana-handout.so: beside the
// program in a build folder, in KORVANA_HANDOUT_MODULE_DIR (relative to the
// program's folder) when installed. Null, with the reason, when it cannot be
// loaded.
THandoutPdfWriter LoadHandoutWriter(std::string& failure) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& place :
         {folder / kHandoutModuleFile, folder / KORVANA_HANDOUT_MODULE_DIR / kHandoutModuleFile}) {
        if (!fs::exists(place, error)) continue;
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        void* entry = module != nullptr ? dlsym(module, kHandoutPdfWriterName) : nullptr;
        if (entry == nullptr) {
            const char* reason = dlerror();
            failure = reason != nullptr ? reason : place.string();
            return nullptr;
        }
        return reinterpret_cast<THandoutPdfWriter>(entry);
    }
    failure = "не найден ";
    failure.append(kHandoutModuleFile)
        .append(" (ни рядом с программой, ни в ")
        .append((folder / KORVANA_HANDOUT_MODULE_DIR).lexically_normal().string())
        .append(")");
    return nullptr;
}

// Solves the boards that have no table yet and adds par for each board's own
// dealer and vulnerability; the number of deals the solver refused.
int32_t AnalyseBoards(std::vector<TBoard>& boards) {
    std::vector<const TDeal*> unsolved;
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < boards.size(); ++i)
        if (!boards[i].Analysis || !boards[i].Analysis->Solved) {
            unsolved.push_back(&boards[i].Deal);
            places.push_back(i);
        }
    std::vector<TDealAnalysis> results = AnalyseAll(unsolved);
    for (std::size_t k = 0; k < results.size(); ++k)
        boards[places[k]].Analysis = std::move(results[k]);
    int32_t refused = 0;
    for (TBoard& board : boards) {
        TDealAnalysis& analysis = *board.Analysis;
        if (!analysis.Solved) {
            ++refused;
            std::fprintf(stderr, "korvana-cli: сдача %lld не проанализирована: %s\n",
                         static_cast<long long>(board.Number), analysis.Fault.c_str());
        } else if (!analysis.Par) {
            AddPar(analysis, board.Dealer, board.Vulnerability);
        }
    }
    return refused;
}

}  // namespace

const TCommand kHandoutCommand = {
    .Name = "handout",
    .Summary =
        "раздаточный материал в PDF из файла раздач, PBN или LIN: номер сдачи, сдающий, "
        "зона, руки с очками, а с --analyze — таблица взяток в открытую и пар",
    .Options = kHandoutOptions,
    .Positionals = kHandoutArguments,
    .Run = RunHandout};

int RunHandout(const TArguments& arguments) {
    THandoutOptions options;
    options.PerPage = static_cast<int32_t>(arguments.Number(kPerPageOption, 4));
    if (HandoutPerPage(options.PerPage) != options.PerPage) {
        ComplainUsage("--per-page: 1, 2, 4, 6 или 9 сдач на странице");
        return ExitBadUsage;
    }
    options.Analysis = arguments.Has(kAnalyzeOption);
    if (arguments.Has(kSeatsOption)) {
        options.Seats = {false, false, false, false};
        for (const char letter : arguments.Text(kSeatsOption))
            options.Seats[static_cast<std::size_t>(SeatOfLetter(letter) - 1)] = true;
    }
    options.Cards = arguments.Text(kCardsOption, "ru") == "en" ? THandoutCards::English
                                                               : THandoutCards::Russian;
    options.Paper =
        arguments.Text(kPaperOption, "a4") == "letter" ? THandoutPaper::Letter : THandoutPaper::A4;
    options.Title = arguments.Text(kTitleOption);

    TDeals deals;
    std::vector<TBoard> boards;
    if (!ReadDealsFile(arguments.Positionals[0], deals, &boards)) return ExitFileFailed;
    const TSeatingChoice seating = SeatingOfOptions(arguments);
    for (TBoard& board : boards) board.FillSeating(seating);
    NumberBoards(boards, arguments.Number(kHandoutFirstBoardOption, 1));
    int32_t refused = 0;
    if (options.Analysis) {
        refused = AnalyseBoards(boards);
    }

    std::string failure;
    const THandoutPdfWriter writeHandout = LoadHandoutWriter(failure);
    if (writeHandout == nullptr) {
        std::fprintf(stderr, "korvana-cli: нет модуля раздаточного материала: %s\n",
                     failure.c_str());
        return ExitFileFailed;
    }
    const std::string out = arguments.Text(kOutOption);
    const int32_t otherLinks = OtherHardLinks(out);
    if (!writeHandout(out, boards.data(), boards.size(), options, failure)) {
        std::fprintf(stderr, "korvana-cli: не удалось записать %s: %s\n", out.c_str(),
                     failure.c_str());
        return ExitFileFailed;
    }
    TellOtherHardLinks(out, otherLinks);
    return refused > 0 ? ExitFileFailed : ExitDone;
}
