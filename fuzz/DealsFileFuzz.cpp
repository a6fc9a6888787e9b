// A whole deals file of any content through LoadFromFile: the loader adds at
// most one deal per line, shows at most its refusal message and never
// crashes; statistics over whatever it loaded stay inside their arrays.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "deals/DealCollection.h"
#include "text/FileError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A memory-backed folder where there is one: creating a file per input on
    // disk would make the file system, not the loader, the bottleneck.
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/korvana-fuzz-deals-" +
        std::to_string(getpid()) + ".dls";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    TDeals deals;
    try {
        deals.LoadFromFile(path);
    } catch (const TFileError&) {
    }
    size_t lines = 1;
    for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
    if (static_cast<size_t>(deals.Count()) > lines) __builtin_trap();
    deals.ComputeStatistics();
    return 0;
}
