#pragma once
// A board as plain text for a message or a forum post: its number, dealer and
// vulnerability, the four hands as a compass diagram to be read in a
// fixed-width font, and its par once analysed.
#include <string>

#include "deals/Board.h"

// UTF-8 lines ended by "\n":
//   Сдача 7, Сдаёт: Ю, Зона: обе
//             ♠ ТК5
//             ...
//   ♠ 8743       С     ♠ Д96
//   ♥ К8       З   В   ♥ 10972
//   ...
// The cards as Russian players write them (Т К Д В 10), "—" for a void.
std::string BoardDiagramText(const TBoard& board);
