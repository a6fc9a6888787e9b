#pragma once
// Deals in LIN, the one-line-a-board format of the practice tables of online
// bridge platforms: each line gives the board's number, its dealer and its
// vulnerability in the usual rotation (the same as the PBN export) and the four
// hands, e.g.
//   qx|o1|md|3S7532HA6DQ2CKJ842,SA8HKQT973D964CA3,SQJT964HJ5DAT8CQ6,SKH842DKJ753CT975|rh||ah|Board 1|sv|o|pg||
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class TDeal;
class TDeals;

// The line of board `board` (from 1), without its line end. The hands come
// South, West, North, East after the dealer's digit (1 South, 2 West, 3 North,
// 4 East), each as S, H, D and C followed by the ranks from the ace down.
std::string LinBoardLine(const TDeal& deal, int64_t board);

// Every deal of the collection as one board, numbered from 1, lines ended by LF.
void WriteLin(std::ostream& out, const TDeals& deals);

// Creates or replaces the file with the collection's boards, whole or not at
// all. A file-system failure throws TFileError.
void WriteLinFile(const std::string& name, const TDeals& deals);

// Saves the collection to a LIN file as SavePbnFile saves a PBN file: nothing,
// silently, for an empty collection or a folder that does not exist; else the
// file is replaced and "<n> раздач(и) сохранены в файле <name>" is shown.
// A file-system failure throws TFileError.
void SaveLinFile(const std::string& name, const TDeals& deals);

// True when the name ends in ".lin", in any letter case.
bool IsLinFileName(std::string_view name);
