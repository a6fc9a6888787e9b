#pragma once
// What each board of the window's collection keeps beside its deal, which
// stays in TDeals: a run's boards share one way of dealing and one seating
// choice, so they are kept as one segment whatever their number; boards read
// from a PBN or LIN file keep their own facts one by one; every other deal (a
// deals file, the setup file without its companion, deals added behind the
// store's back) is a bare board that follows the usual rotation. Boards are
// made when asked for, numbered as NumberBoards numbers them. The analysis of
// each board is kept by its index: the collection only grows or is cleared.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Board.h"

class TDeals;

class TCollectionBoards {
public:
    // A run's kept deals [start, start + count) of the collection: dealt by
    // `dealtBy`, seated by `seating`. A start below the end of what is kept
    // already is refused (false), as is an empty count.
    bool AppendDealt(int32_t start, int32_t count, const TDealtBy& dealtBy,
                     const TSeatingChoice& seating);
    // Boards read from a file, the first at collection index `start`; their
    // deals are the collection's (the boards' own are not kept).
    bool AppendBoards(int32_t start, std::span<const TBoard> boards);
    // Forgets every board and analysis: the collection was emptied.
    void Clear();

    // The end of the last segment: deals from here on are bare.
    int32_t End() const;
    // Whether any board carries more than its deal: an origin, a number,
    // dealer, vulnerability or tags of its own, or an analysis.
    bool HoldsMoreThanDeals() const;
    // Whether any board has a number, dealer, vulnerability or tags of its own.
    bool HoldsOwnFacts() const;

    // Gives `board` the facts of collection index `index` (all but its deal):
    // a board without its own number is firstBoard + index, its dealer and
    // vulnerability, unless its own, follow that number. Its analysis, when
    // kept, comes without par (par belongs to the dealer and vulnerability).
    void Fill(TBoard& board, int32_t index, int64_t firstBoard) const;
    TBoard Board(int32_t index, const TDeal& deal, int64_t firstBoard) const;

    // The analyses of boards 0.. in order, replacing those kept.
    void KeepAnalysis(std::span<const TDealAnalysis> results);
    // The analysis of a board; nullptr when none is kept.
    const TDealAnalysis* Analysis(int32_t index) const;
    // How many boards from index 0 have their analysis kept.
    int32_t AnalysedCount() const { return static_cast<int32_t>(analyses_.size()); }

    // The store as the companion file keeps it (see CollectionBoardsFile.cpp).
    struct TSegment {
        int32_t Start = 0;
        int32_t Count = 0;
        // A dealt run's origin and seating; empty for boards of their own.
        std::optional<TDealtBy> DealtBy;
        TSeatingChoice Seating;
        std::vector<TBoard> Boards;  // boards of their own, without deals
    };
    const std::vector<TSegment>& Segments() const { return segments_; }

private:
    const TSegment* SegmentOf(int32_t index) const;

    std::vector<TSegment> segments_;  // in collection order, not overlapping
    std::vector<TDealAnalysis> analyses_;
};

// The collection's deals as boards made on the fly for a writer, numbered
// from firstBoard; nothing is allocated per deal for dealt or bare boards.
class TCollectionAsBoards : public TBoards {
public:
    TCollectionAsBoards(const TCollectionBoards& store, const TDeals& deals, int64_t firstBoard)
        : store_(store), deals_(deals), firstBoard_(firstBoard) {}
    void ForEach(const std::function<bool(const TBoard&)>& take) const override;

private:
    const TCollectionBoards& store_;
    const TDeals& deals_;
    int64_t firstBoard_;
};

// ---- The companion file ---------------------------------------------------
// The setup file keeps only deals; its companion keeps the store beside it,
// bound to those deals by their count and a fingerprint of their cards.

// A fingerprint of the deals' cards in collection order.
uint64_t DealsFingerprint(const TDeals& deals);

// The companion's text for the store over these deals.
std::string CompanionText(const TCollectionBoards& store, const TDeals& deals);

struct TCompanionRead {
    enum TOutcome { Read, Damaged, OtherDeals };
    TOutcome Outcome = Damaged;
    TCollectionBoards Boards;  // when Read
};
// Reads a companion's text against the collection it is to describe: Damaged
// when the text is not one the program writes, OtherDeals when it describes
// other deals (another count or fingerprint).
TCompanionRead ReadCompanionText(std::string_view text, const TDeals& deals);

// Writes the companion whole or not at all when the store holds more than
// bare deals, else removes a companion left from before. Throws TFileError.
void SaveCompanionFile(const std::string& name, const TCollectionBoards& store,
                       const TDeals& deals);
// Reads the companion file; nothing when there is none. Throws TFileError
// when it cannot be read.
std::optional<TCompanionRead> LoadCompanionFile(const std::string& name, const TDeals& deals);
