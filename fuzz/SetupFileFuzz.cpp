// The setup file's reading, free of windows: any bytes give a state record,
// folders, deal lines and condition lines, never a crash; writing what was
// read and reading it again works as well.
#include <cstddef>
#include <cstdint>

#include "deals/Deal.h"
#include "files/SetupFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TSetupContent content = ParseSetup(bytes);
    TDeal deal;
    for (const QByteArray& line : content.DealLines) deal.FromText(line.toStdString());
    TSetupContent again = ParseSetup(FormatSetup(content));
    if (again.DealLines.size() > content.DealLines.size() + 1) __builtin_trap();
    return 0;
}
