// korvana-cli stats and listing: the two reports of the desktop program,
// printed to stdout line for line as the report window holds them.
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
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
    std::fputs("korvana-cli: cannot write the output\n", stderr);
    return ExitOutputFailed;
}

// Letters N, E, S, W in any order and case; false for anything else or none.
bool ParseSeats(const std::string& text, TListingSeats& seats) {
    seats = {};
    bool* const flags[] = {&seats.North, &seats.East, &seats.South, &seats.West};
    for (char letter : text) {
        size_t seat = std::string_view("NESW").find(
            static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
        if (seat == std::string_view::npos) return false;
        *flags[seat] = true;
    }
    return !text.empty();
}

// The value of "--name VALUE" or "--name=VALUE" at args[i]; advances i past it.
// False when args[i] is not that option; `missing` tells a bare "--name" at the end.
bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                 std::string& value, bool& missing) {
    const std::string& arg = args[i];
    if (arg == name) {
        missing = i + 1 >= args.size();
        if (!missing) value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

int RunStats(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty() || (args[0].front() == '-' && args[0] != "-")) {
        ComplainUsage("stats takes one deals file");
        return ExitBadUsage;
    }
    TDeals deals;
    deals.KeepStatisticsOnly();  // a file of any size, in memory of a fixed size
    if (!ReadDealsFile(args[0], deals)) return ExitFileFailed;
    deals.ComputeStatistics();
    return Print(StatisticsReportLines(deals));
}

int RunListing(const std::vector<std::string>& args) {
    std::string fileName;
    TListingSeats seats{true, true, true, true};
    int32_t columns = kDefaultColumns;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string value;
        bool missing = false;
        if (OptionValue(args, i, "--seats", value, missing)) {
            if (missing || !ParseSeats(value, seats)) {
                ComplainUsage("--seats takes one or more of the letters N, E, S, W");
                return ExitBadUsage;
            }
        } else if (OptionValue(args, i, "--columns", value, missing)) {
            int32_t parsed = 0;
            if (missing || !TryTextToInt(value, parsed) || parsed < 1 || parsed > kMostColumns) {
                ComplainUsage("--columns takes a number from 1 to 9");
                return ExitBadUsage;
            }
            columns = parsed;
        } else if (args[i].empty() || (args[i].front() == '-' && args[i] != "-") ||
                   !fileName.empty()) {
            ComplainUsage("unexpected argument \"" + args[i] + "\"");
            return ExitBadUsage;
        } else {
            fileName = args[i];
        }
    }
    if (fileName.empty()) {
        ComplainUsage("listing takes a deals file");
        return ExitBadUsage;
    }
    TDeals deals;
    if (!ReadDealsFile(fileName, deals)) return ExitFileFailed;
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
    if (written && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return ExitDone;
    std::fputs("korvana-cli: cannot write the output\n", stderr);
    return ExitOutputFailed;
}
