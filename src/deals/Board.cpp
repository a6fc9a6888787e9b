#include "deals/Board.h"

#include "deals/DealCollection.h"

namespace {

// The board's place in the cycle of 16 boards, 0..15.
int64_t CyclePlace(int64_t board) {
    int64_t place = (board - 1) % 16;
    return place < 0 ? place + 16 : place;
}

}  // namespace

int32_t PbnBoardDealer(int64_t board) { return static_cast<int32_t>(CyclePlace(board) % 4) + 1; }

std::string_view PbnBoardVulnerability(int64_t board) {
    static constexpr std::string_view Names[] = {"None", "NS", "EW", "All"};
    // Each group of four boards shifts the vulnerability by one step.
    int64_t place = CyclePlace(board);
    return Names[(place + place / 4) % 4];
}

void TBoard::SetPosition(int64_t number) {
    Number = number;
    Dealer = PbnBoardDealer(number);
    Vulnerability = PbnBoardVulnerability(number);
}

void TBoard::ApplySeating(const TSeatingChoice& seating) {
    if (seating.Dealer) {
        Dealer = *seating.Dealer;
        OwnDealer = true;
    }
    if (seating.Vulnerability) {
        Vulnerability = *seating.Vulnerability;
        OwnVulnerability = true;
    }
}

std::optional<std::string> BoardGeneratorText(const TBoard& board) {
    if (board.DealtBy) {
        // A secure set names no key and no secret: either would give every hand away.
        if (board.DealtBy->Secure)
            return board.DealtBy->Delayed ? "Korvana, secure, delayed" : "Korvana, secure";
        return "Korvana, key value " + std::to_string(board.DealtBy->KeyValue);
    }
    if (const TBoardTag* own = board.FindTag("Generator")) return own->Value;
    return std::nullopt;
}

void TBoard::FillSeating(const TSeatingChoice& seating) {
    TSeatingChoice missing;
    if (!OwnDealer) missing.Dealer = seating.Dealer;
    if (!OwnVulnerability) missing.Vulnerability = seating.Vulnerability;
    ApplySeating(missing);
}

void NumberBoards(std::span<TBoard> boards, int64_t first) {
    for (std::size_t i = 0; i < boards.size(); ++i) {
        TBoard& board = boards[i];
        if (board.OwnNumber) continue;
        board.Number = first + static_cast<int64_t>(i);
        if (!board.OwnDealer) board.Dealer = PbnBoardDealer(board.Number);
        if (!board.OwnVulnerability) board.Vulnerability = PbnBoardVulnerability(board.Number);
    }
}

const TBoardTag* TBoard::FindTag(std::string_view name) const {
    for (const TBoardTag& tag : Tags)
        if (tag.Name == name) return &tag;
    return nullptr;
}

void TBoardList::ForEach(const std::function<bool(const TBoard&)>& take) const {
    for (const TBoard& board : boards_)
        if (!take(board)) return;
}

void TDealsAsBoards::ForEach(const std::function<bool(const TBoard&)>& take) const {
    TBoard board;
    board.DealtBy = dealtBy_;
    std::size_t at = 0;
    deals_.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) {
            board.Deal = deal;
            board.SetPosition(firstBoard_ + static_cast<int64_t>(at));
            board.ApplySeating(seating_);
            if (at < analyses_.size())
                board.Analysis = analyses_[at];
            else if (board.Analysis)
                board.Analysis.reset();
            ++at;
            if (!take(board)) return false;
        }
        return true;
    });
}
