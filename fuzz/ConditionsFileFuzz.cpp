// The conditions file's reading: any bytes either give the condition's lines
// or are refused; lines read are written back unchanged.
#include <cstddef>
#include <cstdint>

#include "files/ConditionsFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<QStringList> lines = ParseConditions(bytes);
    if (!lines) return 0;
    std::optional<QStringList> again = ParseConditions(FormatConditions(*lines));
    if (!again) __builtin_trap();
    return 0;
}
