#include "deals/Board.h"

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"

void TBoard::SetPosition(int64_t number) {
    Number = number;
    Dealer = PbnBoardDealer(number);
    Vulnerability = PbnBoardVulnerability(number);
}

void TBoardList::ForEach(const std::function<bool(const TBoard&)>& take) const {
    for (const TBoard& board : boards_)
        if (!take(board)) return;
}

void TDealsAsBoards::ForEach(const std::function<bool(const TBoard&)>& take) const {
    TBoard board;
    board.DealtBy = dealtBy_;
    int64_t number = 0;
    deals_.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) {
            board.Deal = deal;
            board.SetPosition(++number);
            const auto at = static_cast<std::size_t>(number - 1);
            if (at < analyses_.size())
                board.Analysis = analyses_[at];
            else if (board.Analysis)
                board.Analysis.reset();
            if (!take(board)) return false;
        }
        return true;
    });
}
