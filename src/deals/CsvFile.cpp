// CSV for database import: a line a board, every field quoted: the suits of
// North, East, South and West, spades first, as ranks from the ace down; the
// board's number; its dealer and vulnerability ("N/-", "E/NS", "S/EW", "W/All").
#include <charconv>
#include <string>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/internal/ScorerFormats.h"
#include "text/OutputBuffer.h"

using namespace ScorerFormats;

namespace {

constexpr std::string_view Ranks = "AKQJT98765432";  // a suit's places, ace first
constexpr std::string_view Separator = "\",\"";
constexpr std::size_t FieldCount = 18;
// The vulnerabilities as the file writes them, "None" as "-".
constexpr std::pair<std::string_view, std::string_view> Vulnerabilities[] = {
    {"None", "-"}, {"NS", "NS"}, {"EW", "EW"}, {"All", "All"}};

// The fields of a line "\"a\",\"b\",...\"z\"", without their quotes; empty
// unless the line is quoted so.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') return fields;
    line = line.substr(1, line.size() - 2);
    for (std::size_t at; (at = line.find(Separator)) != std::string_view::npos;) {
        fields.push_back(line.substr(0, at));
        line.remove_prefix(at + Separator.size());
    }
    fields.push_back(line);
    return fields;
}

// A board from the line's fields; false unless its hands make a whole deal.
bool ReadBoard(const std::vector<std::string_view>& fields, TDeal& deal, TBoard& board) {
    TSeats seats;
    seats.fill(4);  // no seat yet
    for (std::size_t field = 0; field < 16; ++field)
        for (const char c : fields[field]) {
            const std::size_t rank = Ranks.find(c);
            const std::size_t place = field % 4 * 13 + rank;
            if (rank == std::string_view::npos || seats[place] != 4) return false;
            seats[place] = static_cast<uint8_t>(field / 4);
        }
    if (!DealOfSeats(seats, deal)) return false;
    const std::string_view digits = fields[16];
    int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc() && end == digits.data() + digits.size() && number >= 1) {
        board.SetPosition(number);
        board.OwnNumber = true;
    }
    const std::string_view seating = fields[17];
    if (seating.size() >= 2 && seating[1] == '/') {
        const std::size_t seat = std::string_view(SeatLetters).find(seating[0]);
        if (seat < 4) {
            board.Dealer = static_cast<int32_t>(seat) + 1;
            board.OwnDealer = true;
        }
        for (const auto& [name, text] : Vulnerabilities)
            if (seating.substr(2) == text) {
                board.Vulnerability = name;
                board.OwnVulnerability = true;
            }
    }
    return true;
}

}  // namespace

int32_t ProbeCsv(std::string_view head) {
    // A first line of eighteen quoted fields, the first a suit's ranks.
    const std::string_view line = head.substr(0, head.find('\n'));
    const std::size_t first = line.find(Separator);
    if (line.empty() || line[0] != '"' || first == std::string_view::npos) return 0;
    if (line.substr(1, first - 1).find_first_not_of(Ranks) != std::string_view::npos) return 0;
    return line.size() == head.size() || Fields(line).size() == FieldCount ? 60 : 0;
}

TDealsReadCounts ReadCsvBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TBoardsRead read(deals, boards);
    ForEachLine(in, [&](std::string_view line) {
        if (line.find_first_not_of(" \t") == std::string_view::npos) return;
        const std::vector<std::string_view> fields = Fields(line);
        TDeal deal;
        TBoard board;
        if (fields.size() == FieldCount && ReadBoard(fields, deal, board))
            read.Add(deal, board);
        else
            read.Damaged(fields.size() == FieldCount ? std::string(fields[16]) : std::string());
    });
    return read.Finish(false);
}

void WriteCsvBoards(TOutputBuffer& out, const TBoards& boards) {
    CheckBoards(boards, {.Name = "CSV", .HoldsNumbers = true, .HoldsSeating = true});
    boards.ForEach([&out](const TBoard& board) {
        TSeats seats{};
        SeatsOfDeal(board.Deal, seats);
        std::string line = "\"";
        for (uint8_t seat = 0; seat < 4; ++seat)
            for (std::size_t suit = 0; suit < 4; ++suit) {
                if (seat + suit > 0) line += Separator;
                for (std::size_t rank = 0; rank < 13; ++rank)
                    if (seats[suit * 13 + rank] == seat) line += Ranks[rank];
            }
        line += Separator;
        line += std::to_string(board.Number);
        line += Separator;
        line += board.Dealer >= 1 && board.Dealer <= 4 ? SeatLetters[board.Dealer - 1] : 'N';
        line += '/';
        for (const auto& [name, text] : Vulnerabilities)
            if (board.Vulnerability == name) line += text;
        line += "\"\n";
        out.Append(line);
        return true;
    });
}
