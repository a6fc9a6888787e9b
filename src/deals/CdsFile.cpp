// CDS: 14 bytes a board, its number and then RZD's 13 bytes with every
// compass point turned one seat on (North 1 .. West 0).
#include "deals/Board.h"
#include "deals/internal/ScorerFormats.h"
#include "text/OutputBuffer.h"

using namespace ScorerFormats;

namespace {
constexpr std::size_t RecordSize = 14;
constexpr int32_t Turn = 1;
}  // namespace

TDealsReadCounts ReadCdsBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TBoardsRead read(deals, boards);
    const std::size_t left = ForEachRecord(in, RecordSize, [&](std::string_view record) {
        const int64_t number = static_cast<unsigned char>(record[0]);
        TSeats seats;
        ReadRankBytes(record.substr(1), Turn, seats);
        TDeal deal;
        TBoard board;
        if (number == 0 || !DealOfSeats(seats, deal)) {
            read.Damaged(number == 0 ? std::string() : std::to_string(number));
            return;
        }
        board.SetPosition(number);
        board.OwnNumber = true;
        read.Add(deal, board);
    });
    if (left != 0) read.Damaged();
    return read.Finish(left != 0);
}

void WriteCdsBoards(TOutputBuffer& out, const TBoards& boards) {
    CheckBoards(boards, {.Name = "CDS", .HoldsNumbers = true, .HighestNumber = 255});
    boards.ForEach([&out](const TBoard& board) {
        TSeats seats{};
        SeatsOfDeal(board.Deal, seats);
        char* at = out.Room(RecordSize);
        *at = static_cast<char>(board.Number);
        WriteRankBytes(seats, Turn, at + 1);
        out.Advance(at + RecordSize);
        return true;
    });
}
