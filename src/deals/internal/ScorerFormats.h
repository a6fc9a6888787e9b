#pragma once
// The formats of scoring programs and of the hand generators they take sets
// from: BER, CSV, BHG, RZD and CDS. All of them name a card by its place in
// one order, spades, hearts, diamonds, clubs, each from the ace down (place 0
// the ace of spades, place 51 the two of clubs), and a hand by its compass
// point, 0 North .. 3 West.
//   BER  52 bytes a board, the compass digit '1'..'4' of each card.
//   CSV  a line a board: the sixteen suits of North, East, South and West,
//        the board's number and "dealer/vulnerability", every field quoted.
//   BHG  an empty line, then a line a board: the thirteen cards of each hand,
//        from the dealer's round the table, each a letter ('A' the ace of
//        spades .. 'Z' the two of hearts, 'a' the ace of diamonds .. 'z').
//   RZD  the count of boards (two bytes, low first) and 11 blanks, then 13
//        bytes a board: byte r holds the compass points of rank r (ace first)
//        of spades, hearts, diamonds and clubs, two bits each from the top.
//   CDS  14 bytes a board: its number, then RZD's 13 bytes with every
//        compass point turned one seat on (North 1 .. West 0).
// BER, BHG and RZD hold no board numbers: read, their boards are numbered by
// their place, and NumberBoards numbers them on from the first board.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "deals/Board.h"
#include "deals/Deal.h"
#include "deals/DealsInput.h"

class TBoards;
class TDeals;
class TOutputBuffer;

int32_t ProbeCsv(std::string_view head);
int32_t ProbeBhg(std::string_view head);

TDealsReadCounts ReadBerBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
TDealsReadCounts ReadCsvBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
TDealsReadCounts ReadBhgBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
TDealsReadCounts ReadRzdBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
TDealsReadCounts ReadCdsBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);

// Each writer first checks the whole set: a set the format cannot hold throws
// TFormatLimitError before a byte is written; boards whose number, dealer or
// vulnerability the file cannot keep are named in a message.
void WriteBerBoards(TOutputBuffer& out, const TBoards& boards);
void WriteCsvBoards(TOutputBuffer& out, const TBoards& boards);
void WriteBhgBoards(TOutputBuffer& out, const TBoards& boards);
void WriteRzdBoards(TOutputBuffer& out, const TBoards& boards);
void WriteCdsBoards(TOutputBuffer& out, const TBoards& boards);

namespace ScorerFormats {

// The compass point (0 North .. 3 West) of each card place.
using TSeats = std::array<uint8_t, 52>;

// The seats of a whole deal; false for any other.
bool SeatsOfDeal(const TDeal& deal, TSeats& seats);
// The deal of the seats; false unless each compass point holds thirteen cards.
bool DealOfSeats(const TSeats& seats, TDeal& deal);

// RZD's 13 bytes of a board at `out`: byte r the compass points, each turned
// `turn` seats on, of rank r (ace first) of spades, hearts, diamonds and clubs.
void WriteRankBytes(const TSeats& seats, int32_t turn, char* out);
// The seats of 13 such bytes.
void ReadRankBytes(std::string_view bytes, int32_t turn, TSeats& seats);

// What a format can hold, for the checks before writing.
struct TLimits {
    std::string_view Name;  // "RZD"
    bool HoldsNumbers = false;
    bool HoldsSeating = false;  // each board's own dealer and vulnerability
    int64_t MostBoards = INT64_MAX;
    int64_t HighestNumber = INT64_MAX;
};
// Checks the set against the limits (throws TFormatLimitError naming the one
// broken) and names in a message the boards whose number or seating the file
// cannot keep. Returns the count of boards.
int64_t CheckBoards(const TBoards& boards, const TLimits& limits);

// Reading: the file's parts handed on one at a time, the boards kept here and
// handed to the collection only at Finish, so a refused file adds nothing.
class TBoardsRead {
public:
    TBoardsRead(TDeals& deals, std::vector<TBoard>* boards) : deals_(deals), boards_(boards) {}
    // Adds the next board; with no number of its own it takes its place.
    void Add(const TDeal& deal, TBoard& board);
    // Counts the next board as damaged, named by `number` when it has one.
    void Damaged(std::string number = {});
    // Hands the boards on unless `refused`; refused also when none was read.
    TDealsReadCounts Finish(bool refused);
    int64_t Place() const { return int64_t{counts_.Loaded} + counts_.Skipped + 1; }

private:
    TDeals& deals_;
    std::vector<TBoard>* boards_;
    std::vector<TDeal> readDeals_;
    std::vector<TBoard> readBoards_;
    TDealsReadCounts counts_;
};

// Hands the input on in records of `size` bytes; returns the bytes left over
// at its end (fewer than `size`).
std::size_t ForEachRecord(TDealsInput& in, std::size_t size,
                          const std::function<void(std::string_view)>& take);
// Hands the input on line by line, without line ends; a line is cut at 4096 bytes.
void ForEachLine(TDealsInput& in, const std::function<void(std::string_view)>& take);

}  // namespace ScorerFormats
