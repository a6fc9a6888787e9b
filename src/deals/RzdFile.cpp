// RZD: the count of boards (two bytes, low first) and 11 blanks, then 13
// bytes a board, the compass points of each rank's four cards.
#include "deals/Board.h"
#include "deals/internal/ScorerFormats.h"
#include "text/OutputBuffer.h"

using namespace ScorerFormats;

namespace {
constexpr std::size_t RecordSize = 13;  // the header's size too
}  // namespace

TDealsReadCounts ReadRzdBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TBoardsRead read(deals, boards);
    int64_t count = -1, records = 0;
    const std::size_t left = ForEachRecord(in, RecordSize, [&](std::string_view record) {
        if (count < 0) {
            count = static_cast<unsigned char>(record[0]) | static_cast<unsigned char>(record[1])
                                                                << 8;
            return;
        }
        ++records;
        TSeats seats;
        ReadRankBytes(record, 0, seats);
        TDeal deal;
        TBoard board;
        if (DealOfSeats(seats, deal))
            read.Add(deal, board);
        else
            read.Damaged();
    });
    // The header's count must be the file's.
    const bool fits = left == 0 && count == records;
    if (!fits) read.Damaged();
    return read.Finish(!fits);
}

void WriteRzdBoards(TOutputBuffer& out, const TBoards& boards) {
    const int64_t count = CheckBoards(boards, {.Name = "RZD", .MostBoards = 65535});
    char* at = out.Room(RecordSize);
    *at++ = static_cast<char>(count & 0xFF);
    *at++ = static_cast<char>(count >> 8);
    for (int32_t i = 0; i < 11; ++i) *at++ = ' ';
    out.Advance(at);
    boards.ForEach([&out](const TBoard& board) {
        TSeats seats{};
        SeatsOfDeal(board.Deal, seats);
        char* bytes = out.Room(RecordSize);
        WriteRankBytes(seats, 0, bytes);
        out.Advance(bytes + RecordSize);
        return true;
    });
}
