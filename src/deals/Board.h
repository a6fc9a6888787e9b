#pragma once
// One board as deal files hold it: the deal with its number, dealer and
// vulnerability, the other tags its file gave, its analysis and how it was
// dealt. Every reader fills boards and every writer reads them.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Deal.h"
#include "deals/DealAnalysis.h"

class TDeals;

// Who deals and who is vulnerable on the boards of a dealt set: each left
// empty follows the usual rotation from the board's number; a fixed one
// becomes the board's own, so numbering the boards later keeps it.
struct TSeatingChoice {
    std::optional<int32_t> Dealer;             // 1 North .. 4 West
    std::optional<std::string> Vulnerability;  // "None", "NS", "EW" or "All"
    bool operator==(const TSeatingChoice&) const = default;
};

// The usual rotation of 16 boards, which boards without their own dealer and
// vulnerability follow (PBN and LIN write it so).
// Dealer of a board (1 North .. 4 West): board 1 North, 2 East, 3 South, 4 West, ...
int32_t PbnBoardDealer(int64_t board);
// Vulnerability of a board as the export format writes it ("None", "NS", "EW",
// "All"), repeating every 16 boards: 1 None, 2 NS, 3 EW, 4 All, 5 NS, ...
std::string_view PbnBoardVulnerability(int64_t board);

// How a deal was dealt: from a key value and the seed the run started from,
// or by the secure source, which cannot be repeated.
struct TDealtBy {
    int64_t KeyValue = 0;
    int64_t StartSeed = 0;
    bool Secure = false;
    bool Delayed = false;  // securely, from the secret and a delayed text
    bool operator==(const TDealtBy&) const = default;
};

// A tag of a file that the board keeps as text, e.g. {"Event", "Club night"},
// with the lines that follow it in a PBN file (an auction's calls, a table's
// rows), joined by "\n".
struct TBoardTag {
    std::string Name;
    std::string Value;
    std::string Section;
    bool operator==(const TBoardTag&) const = default;
};

struct TBoard {
    TDeal Deal;
    int64_t Number = 1;                  // from 1
    int32_t Dealer = 1;                  // 1 North .. 4 West
    std::string Vulnerability = "None";  // "None", "NS", "EW" or "All"
    std::vector<TBoardTag> Tags;         // the file's other tags, in file order
    std::optional<TDealAnalysis> Analysis;
    std::optional<TDealtBy> DealtBy;
    // What the board's file gave itself; the rest follows the board's place.
    bool OwnNumber = false;
    bool OwnDealer = false;
    bool OwnVulnerability = false;

    // Board `number` of the usual rotation: its dealer and vulnerability
    // follow from the number, as when a file does not give them.
    void SetPosition(int64_t number);
    // Gives a dealt board the set's fixed dealer and vulnerability, if any.
    void ApplySeating(const TSeatingChoice& seating);
    // Gives a board that was read the seating's dealer and vulnerability where
    // its file gave none; they become its own.
    void FillSeating(const TSeatingChoice& seating);
    // The first kept tag of that name; nullptr when there is none.
    const TBoardTag* FindTag(std::string_view name) const;
};

// The value of the Generator tag that names where the board came from: what
// dealt it here ("Korvana, key value S" with the seed its run started from, or
// "Korvana, secure", ", delayed" after it for a delayed text), else the Generator tag of the file
// it was read from; nothing when it has neither. Every writer takes the text from here.
std::optional<std::string> BoardGeneratorText(const TBoard& board);

// Numbers the boards that have no number of their own from `first` in file
// order (board i becomes first + i), their dealer and vulnerability, where
// the file did not give them, following the new number. A board with its own
// number keeps it, with its own dealer and vulnerability.
void NumberBoards(std::span<TBoard> boards, int64_t first);

// A sequence of boards, handed to a writer one at a time.
class TBoards {
public:
    virtual ~TBoards() = default;
    // Calls take(board) for each board in order while it returns true; the
    // board passed may be reused for the next one.
    virtual void ForEach(const std::function<bool(const TBoard&)>& take) const = 0;
};

// Boards stored one after another.
class TBoardList : public TBoards {
public:
    explicit TBoardList(std::span<const TBoard> boards) : boards_(boards) {}
    void ForEach(const std::function<bool(const TBoard&)>& take) const override;

private:
    std::span<const TBoard> boards_;
};

// The deals of a collection as boards made on the fly, numbered from
// `firstBoard` (1 unless set), seated by the usual rotation or by the seating
// set, each with the same way of dealing and, for deal i, the analysis i when
// there is one. Nothing is allocated per deal without analyses.
class TDealsAsBoards : public TBoards {
public:
    explicit TDealsAsBoards(const TDeals& deals, std::optional<TDealtBy> dealtBy = std::nullopt,
                            std::span<const TDealAnalysis> analyses = {})
        : deals_(deals), dealtBy_(dealtBy), analyses_(analyses) {}
    void ForEach(const std::function<bool(const TBoard&)>& take) const override;
    TDealsAsBoards& FirstBoard(int64_t number) {
        firstBoard_ = number;
        return *this;
    }
    // Every board takes the seating's fixed dealer and vulnerability, if any.
    TDealsAsBoards& Seating(const TSeatingChoice& seating) {
        seating_ = seating;
        return *this;
    }

private:
    const TDeals& deals_;
    int64_t firstBoard_ = 1;
    TSeatingChoice seating_;
    std::optional<TDealtBy> dealtBy_;
    std::span<const TDealAnalysis> analyses_;
};
