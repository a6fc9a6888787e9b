// PBN text of any content through ReadPbn: the reader never crashes, counts at
// most one game per "[" of the text, and every deal it appends holds the 52
// cards once each, thirteen to a hand.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    TDeals deals;
    TPbnReadCounts counts = ReadPbn(in, deals);

    size_t brackets = 0;
    for (char c : text) brackets += c == '[';
    if (counts.Loaded != deals.Count()) __builtin_trap();
    if (static_cast<size_t>(counts.Loaded) + static_cast<size_t>(counts.Skipped) > brackets)
        __builtin_trap();
    for (int32_t i = 0; i < deals.Count(); ++i) {
        std::bitset<53> held;
        for (int32_t seat = 1; seat <= 4; ++seat) {
            for (int32_t j = 1; j <= 13; ++j)
                held.set(static_cast<size_t>(deals.GetDeal(i)->Hand(seat).Card(j)));
        }
        if (held[0] || held.count() != 52) __builtin_trap();
    }
    return 0;
}
