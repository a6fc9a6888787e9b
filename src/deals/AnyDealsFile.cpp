#include "deals/AnyDealsFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"

namespace {
struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

bool StartsAsDealsFile(const std::string& name) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error)) return false;
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(name.c_str(), "rb"));
    if (!file) return false;
    // The header, then the end of its line or of the file.
    std::string start(TDeals::FileHeader.size() + 1, '\0');
    const std::size_t got = std::fread(start.data(), 1, start.size(), file.get());
    start.resize(got);
    if (start.compare(0, TDeals::FileHeader.size(), TDeals::FileHeader) != 0) return false;
    return got == TDeals::FileHeader.size() || start.back() == '\r' || start.back() == '\n';
}

TDealsLoadResult LoadDealsOrPbnFile(const std::string& name, TDeals& deals) {
    TDealsLoadResult result;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return result;
    if (StartsAsDealsFile(name)) {
        const int32_t before = deals.Count();
        deals.LoadFromFile(name);
        result.Found = true;
        result.Loaded = deals.Count() - before;
        return result;
    }
    const TPbnLoadResult pbn = LoadPbnFile(name, deals);
    result.Found = pbn.Found;
    result.Pbn = true;
    result.Refused = pbn.Refused;
    result.Loaded = pbn.Counts.Loaded;
    result.Skipped = pbn.Counts.Skipped;
    return result;
}
