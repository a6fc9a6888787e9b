// BER: 52 bytes a board, the compass digit ('1' North .. '4' West) of each card.
#include "deals/Board.h"
#include "deals/internal/ScorerFormats.h"
#include "text/OutputBuffer.h"

using namespace ScorerFormats;

namespace {
constexpr std::size_t RecordSize = 52;
}  // namespace

TDealsReadCounts ReadBerBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TBoardsRead read(deals, boards);
    const std::size_t left = ForEachRecord(in, RecordSize, [&](std::string_view record) {
        TSeats seats;
        for (std::size_t place = 0; place < RecordSize; ++place)
            seats[place] = static_cast<uint8_t>(record[place] - '1');  // a wrong byte is > 3
        TDeal deal;
        TBoard board;
        if (DealOfSeats(seats, deal))
            read.Add(deal, board);
        else
            read.Damaged();
    });
    if (left != 0) read.Damaged();
    return read.Finish(left != 0);
}

void WriteBerBoards(TOutputBuffer& out, const TBoards& boards) {
    CheckBoards(boards, {.Name = "BER"});
    boards.ForEach([&out](const TBoard& board) {
        TSeats seats{};
        SeatsOfDeal(board.Deal, seats);
        char* at = out.Room(RecordSize);
        for (const uint8_t seat : seats) *at++ = static_cast<char>('1' + seat);
        out.Advance(at);
        return true;
    });
}
