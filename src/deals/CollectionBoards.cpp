#include "deals/CollectionBoards.h"

#include <algorithm>

#include "deals/DealCollection.h"

bool TCollectionBoards::AppendDealt(int32_t start, int32_t count, const TDealtBy& dealtBy,
                                    const TSeatingChoice& seating) {
    if (count <= 0 || start < End()) return false;
    TSegment segment;
    segment.Start = start;
    segment.Count = count;
    segment.DealtBy = dealtBy;
    segment.Seating = seating;
    segments_.push_back(std::move(segment));
    return true;
}

bool TCollectionBoards::AppendBoards(int32_t start, std::span<const TBoard> boards) {
    if (boards.empty() || start < End()) return false;
    TSegment segment;
    segment.Start = start;
    segment.Count = static_cast<int32_t>(boards.size());
    segment.Boards.assign(boards.begin(), boards.end());
    for (TBoard& board : segment.Boards) {
        board.Deal = TDeal();  // the collection holds it
        board.Analysis.reset();
    }
    segments_.push_back(std::move(segment));
    return true;
}

void TCollectionBoards::Clear() {
    segments_.clear();
    analyses_.clear();
}

int32_t TCollectionBoards::End() const {
    return segments_.empty() ? 0 : segments_.back().Start + segments_.back().Count;
}

bool TCollectionBoards::HoldsOwnFacts() const {
    for (const TSegment& segment : segments_) {
        if (segment.Seating.Dealer || segment.Seating.Vulnerability) return true;
        for (const TBoard& board : segment.Boards)
            if (board.OwnNumber || board.OwnDealer || board.OwnVulnerability || !board.Tags.empty())
                return true;
    }
    return false;
}

bool TCollectionBoards::HoldsMoreThanDeals() const {
    return !segments_.empty() || !analyses_.empty();
}

const TCollectionBoards::TSegment* TCollectionBoards::SegmentOf(int32_t index) const {
    // The last segment starting at or before the index, if the index lies inside it.
    const auto after =
        std::upper_bound(segments_.begin(), segments_.end(), index,
                         [](int32_t at, const TSegment& segment) { return at < segment.Start; });
    if (after == segments_.begin()) return nullptr;
    const TSegment& segment = *(after - 1);
    return index < segment.Start + segment.Count ? &segment : nullptr;
}

void TCollectionBoards::Fill(TBoard& board, int32_t index, int64_t firstBoard) const {
    const int64_t number = firstBoard + index;
    const TSegment* segment = SegmentOf(index);
    if (segment != nullptr && !segment->Boards.empty()) {
        const TBoard& own = segment->Boards[static_cast<std::size_t>(index - segment->Start)];
        board.Number = own.OwnNumber ? own.Number : number;
        board.Dealer = own.OwnDealer ? own.Dealer : PbnBoardDealer(board.Number);
        board.Vulnerability =
            own.OwnVulnerability ? own.Vulnerability : PbnBoardVulnerability(board.Number);
        board.Tags = own.Tags;
        board.DealtBy = own.DealtBy;
        board.OwnNumber = own.OwnNumber;
        board.OwnDealer = own.OwnDealer;
        board.OwnVulnerability = own.OwnVulnerability;
    } else {
        board.SetPosition(number);
        board.Tags.clear();
        board.OwnNumber = board.OwnDealer = board.OwnVulnerability = false;
        board.DealtBy.reset();
        if (segment != nullptr) {
            board.DealtBy = segment->DealtBy;
            board.ApplySeating(segment->Seating);
        }
    }
    if (const TDealAnalysis* analysis = Analysis(index)) {
        board.Analysis = *analysis;
        board.Analysis->Par.reset();
    } else {
        board.Analysis.reset();
    }
}

TBoard TCollectionBoards::Board(int32_t index, const TDeal& deal, int64_t firstBoard) const {
    TBoard board;
    board.Deal = deal;
    Fill(board, index, firstBoard);
    return board;
}

void TCollectionBoards::KeepAnalysis(std::span<const TDealAnalysis> results) {
    analyses_.assign(results.begin(), results.end());
}

const TDealAnalysis* TCollectionBoards::Analysis(int32_t index) const {
    if (index < 0 || index >= AnalysedCount()) return nullptr;
    return &analyses_[static_cast<std::size_t>(index)];
}

void TCollectionAsBoards::ForEach(const std::function<bool(const TBoard&)>& take) const {
    TBoard board;
    int32_t index = 0;
    deals_.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) {
            board.Deal = deal;
            store_.Fill(board, index++, firstBoard_);
            if (!take(board)) return false;
        }
        return true;
    });
}
