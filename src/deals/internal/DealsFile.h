#pragma once
// The deals file (.dls): the header line, then one 108-character deal line
// per deal, every line ended by CR LF. Its row of the formats table.
#include <cstdint>
#include <string_view>
#include <vector>

#include "deals/Board.h"
#include "deals/DealsInput.h"

class TOutputBuffer;

// 100 for a file that starts with the header line, else 0.
int32_t ProbeDealsFile(std::string_view head);
// Appends one deal per line after the header, each a board numbered by its
// place; lines may end in CR LF or LF, and the last line break may be
// missing. A line whose deal is not whole is loaded as it reads and counted
// among DamagedLines. Refused, with nothing added, when the first line is not
// exactly the header.
TDealsReadCounts ReadDealsFileBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
// The header and each board's deal line.
void WriteDealsFileBoards(TOutputBuffer& out, const TBoards& boards);
