#pragma once
// The readable one-line form of a deal that korvana-cli prints:
// "N 7532.A6.Q2.KJ842 E K.842.KJ753.T975 S ... W ...", each hand's suits from
// spades down as SuitText gives them ("-" for a void).
#include <cstddef>
#include <string>

class TDeal;

// The room WriteReadableLine needs: the longest line and 16 bytes it may overwrite.
inline constexpr std::size_t ReadableLineRoom = 4 * (2 + 13 + 3 + 4) + 16;

std::string ReadableLine(const TDeal& deal);
// The same line written at `out` (room for ReadableLineRoom), returning its
// end, for a deal whose hands are in dealt order; nullptr, with nothing
// written, for a deal read from a damaged line (ReadableLine serves it).
char* WriteReadableLine(const TDeal& deal, char* out);
