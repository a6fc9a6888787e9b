// BHG: an empty line, then a line a board of 52 letters, the thirteen cards
// of each hand from the dealer's round the table: 'A' the ace of spades ..
// 'Z' the two of hearts, 'a' the ace of diamonds .. 'z' the two of clubs.
// The dealer follows the board's number: the hands of board 1 start with
// North's, of board 2 with East's. A reader does not know the first board's
// number, so it turns each line by the board's place from 1: a set read from
// a first board of another place in the rotation of four gets its hands
// turned.
#include <string>

#include "deals/Board.h"
#include "deals/internal/ScorerFormats.h"
#include "text/OutputBuffer.h"

using namespace ScorerFormats;

namespace {

constexpr std::size_t LineSize = 52;

// The card place of a letter; 52 for any other character.
std::size_t PlaceOfLetter(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<std::size_t>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<std::size_t>(c - 'a') + 26;
    return 52;
}

// Compass point of the first hand of board `number`, from 1.
uint8_t FirstSeat(int64_t number) { return static_cast<uint8_t>((number - 1) % 4); }

}  // namespace

int32_t ProbeBhg(std::string_view head) {
    // An empty line, then a line of 52 letters.
    const std::size_t start = head.starts_with("\r\n") ? 2 : head.starts_with('\n') ? 1 : 0;
    if (start == 0 || head.size() < start + LineSize + 1) return 0;
    for (const char c : head.substr(start, LineSize))
        if (PlaceOfLetter(c) == 52) return 0;
    const char end = head[start + LineSize];
    return end == '\n' || end == '\r' ? 60 : 0;
}

TDealsReadCounts ReadBhgBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TBoardsRead read(deals, boards);
    ForEachLine(in, [&](std::string_view line) {
        if (line.empty()) return;
        TSeats seats;
        seats.fill(4);  // no seat yet
        const uint8_t first = FirstSeat(read.Place());
        bool whole = line.size() == LineSize;
        for (std::size_t at = 0; whole && at < LineSize; ++at) {
            const std::size_t place = PlaceOfLetter(line[at]);
            whole = place < 52 && seats[place] == 4;
            if (whole) seats[place] = static_cast<uint8_t>((first + at / 13) % 4);
        }
        TDeal deal;
        TBoard board;
        if (whole && DealOfSeats(seats, deal))
            read.Add(deal, board);
        else
            read.Damaged();
    });
    return read.Finish(false);
}

void WriteBhgBoards(TOutputBuffer& out, const TBoards& boards) {
    CheckBoards(boards, {.Name = "BHG"});
    out.Append("\n");
    boards.ForEach([&out](const TBoard& board) {
        TSeats seats{};
        SeatsOfDeal(board.Deal, seats);
        char* at = out.Room(LineSize + 1);
        for (uint8_t hand = 0; hand < 4; ++hand) {
            const uint8_t seat = (FirstSeat(board.Number) + hand) % 4;
            for (std::size_t place = 0; place < 52; ++place)
                if (seats[place] == seat)
                    *at++ = static_cast<char>(place < 26 ? 'A' + place : 'a' + place - 26);
        }
        *at++ = '\n';
        out.Advance(at);
        return true;
    });
}
