#pragma once
// Deals in LIN, the one-line-a-board format of the practice tables of online
// bridge platforms: each line gives the board's number, its dealer and its
// vulnerability (a collection's boards follow the usual rotation, as the PBN
// export does) and the four hands, e.g.
//   qx|o1|md|3S7532HA6DQ2CKJ842,SA8HKQT973D964CA3,SQJT964HJ5DAT8CQ6,SKH842DKJ753CT975|rh||ah|Board
//   1|sv|o|pg||
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TBoards;
class TDealsInput;
struct TBoard;
struct TDealsReadCounts;
class TDeal;
class TDeals;
class TOutputBuffer;

// The line of board `board` (from 1), without its line end. The hands come
// South, West, North, East after the dealer's digit (1 South, 2 West, 3 North,
// 4 East), each as S, H, D and C followed by the ranks from the ace down.
std::string LinBoardLine(const TDeal& deal, int64_t board);

// Every deal of the collection as one board, numbered from 1, lines ended by LF.
void WriteLin(std::ostream& out, const TDeals& deals);

// The probe of the formats table: 50 for text that starts, after blanks,
// with a two-letter command and "|", else 0.
int32_t ProbeLin(std::string_view head);
// The reader of the formats table: a board from each "qx" (or each further
// "md") to the next, wherever the lines break; its deal from "md" (a left-out
// fourth hand holds the other cards), and when `boards` is given, its number
// from "ah|Board N|" or "qx|oN|", its dealer from "md" and its vulnerability
// from "sv", else from its place; its players from "pn" as PBN's South, West,
// North and East tags; its other pairs kept as tags. A board without a whole
// deal is skipped and counted as damaged; refused when no deal was loaded.
TDealsReadCounts ReadLinBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
// The writer of the formats table: each board's line with its number, dealer,
// vulnerability and, when its tags name them, players ("pn"), ended by LF.
void WriteLinBoards(TOutputBuffer& out, const TBoards& boards);
