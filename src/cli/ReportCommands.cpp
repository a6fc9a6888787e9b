// korvana-cli stats and listing: the two reports of the desktop program,
// printed to stdout line for line as the report window holds them.
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/StatisticsReport.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

constexpr int32_t kDefaultColumns = 5;
constexpr int32_t kMostColumns = 9;

int Print(const std::vector<std::string>& lines) {
    if (WriteLines(lines)) return ExitDone;
    std::fprintf(stderr, "korvana-cli: не удалось записать вывод: %s\n",
                 SystemReason(errno != 0 ? errno : EIO).c_str());
    return ExitOutputFailed;
}

// The seats of --seats, letters N, E, S, W in any order and case.
TListingSeats ReadSeats(const std::string& text) {
    TListingSeats seats;
    bool* const flags[] = {&seats.North, &seats.East, &seats.South, &seats.West};
    for (char letter : text)
        if (const int32_t seat = SeatOfLetter(letter); seat != 0) *flags[seat - 1] = true;
    return seats;
}

constexpr const char* kDealsFileArgument[] = {"FILE"};

constexpr TTextOption kSeatsOption = TOptionRow{.Name = "--seats",
                                                .Kind = TValueKind::Letters,
                                                .ValueName = SeatLetters,
                                                .Help = "чьи руки рисовать (по умолчанию NESW)"};
constexpr TNumberOption kColumnsOption = TOptionRow{.Name = "--columns",
                                                    .Kind = TValueKind::Number,
                                                    .ValueName = "M",
                                                    .Help = "раздач в ряду, 1-9 (по умолчанию 5)",
                                                    .Least = 1,
                                                    .Most = kMostColumns};
constexpr TOptionRow kListingOptions[] = {kSeatsOption, kColumnsOption};

}  // namespace

int RunStats(const TArguments& arguments);
int RunListing(const TArguments& arguments);

const TCommand kStatsCommand = {
    .Name = "stats",
    .Summary =
        "печатает статистику раздач файла (раздач, PBN или LIN, по содержимому; - читает "
        "стандартный ввод)",
    .Positionals = kDealsFileArgument,
    .Run = RunStats};

const TCommand kListingCommand = {
    .Name = "listing",
    .Summary = "печатает раздачи диаграммами выбранных рук, по M раздач в ряду",
    .Options = kListingOptions,
    .Positionals = kDealsFileArgument,
    .Run = RunListing};

int RunStats(const TArguments& arguments) {
    const std::vector<std::string>& args = arguments.Positionals;
    TDeals deals;
    deals.KeepStatisticsOnly();  // a file of any size, in memory of a fixed size
    bool damaged = false;        // the report is printed all the same; the exit code tells
    if (!ReadDealsFile(args[0], deals, nullptr, nullptr, &damaged)) return ExitFileFailed;
    deals.ComputeStatistics();
    const int printed = Print(StatisticsReportLines(deals));
    return printed == ExitDone && damaged ? ExitFileFailed : printed;
}

int RunListing(const TArguments& arguments) {
    const std::string& fileName = arguments.Positionals[0];
    const TListingSeats seats = ReadSeats(arguments.Text(kSeatsOption, SeatLetters));
    const auto columns = static_cast<int32_t>(arguments.Number(kColumnsOption, kDefaultColumns));
    TDeals deals;
    bool damaged = false;  // the listing is printed all the same; the exit code tells
    if (!ReadDealsFile(fileName, deals, nullptr, nullptr, &damaged)) return ExitFileFailed;
    // Row by row: the listing of a large file is many times its size. The
    // lines go out in large chunks.
    bool written = true;
    TOutputBuffer out([&written](std::string_view chunk) {
        if (written) written = std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
    });
    ForEachListingRow(deals, seats, columns, [&](const std::vector<std::string>& row) {
        for (const std::string& line : row) {
            out.Append(line);
            out.Append("\n");
        }
        return written;
    });
    out.Flush();
    if (written && std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return damaged ? ExitFileFailed : ExitDone;
    std::fprintf(stderr, "korvana-cli: не удалось записать вывод: %s\n",
                 SystemReason(errno != 0 ? errno : EIO).c_str());
    return ExitOutputFailed;
}
