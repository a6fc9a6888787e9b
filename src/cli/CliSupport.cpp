#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "text/FileError.h"
#include "text/StringFunctions.h"

void TStderrSink::Show(const std::string& message, int32_t position) {
    ++messageCount_;
    if (position >= 0)
        std::fprintf(stderr, "%s (position %d)\n", message.c_str(), static_cast<int>(position));
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

namespace {

void ReportReadFailure(const std::string& name, int error) {
    std::fprintf(stderr, "korvana-cli: cannot read %s: %s\n", name.c_str(), std::strerror(error));
}

}  // namespace

bool ReadDealsFile(const std::string& name, TDeals& deals, std::vector<TBoard>* boards,
                   const TDealFormat** format) {
    // "-" is stdin; any other name is opened once and read to its end, so a
    // pipe or a device is read as a file is.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(nullptr, std::fclose);
    if (name != "-") {
        errno = 0;
        opened.reset(std::fopen(name.c_str(), "rb"));
        if (!opened) {
            ReportReadFailure(name, errno);
            return false;
        }
    }
    TDealsInput in(opened ? opened.get() : stdin, name);
    try {
        in.Head();  // a folder fails here, with the system's reason
    } catch (const TFileError& failure) {
        ReportReadFailure(name, failure.ErrorNumber());
        return false;
    }
    TStderrSink sink;
    try {
        const TDealsLoadResult result = ReadDeals(in, deals, boards);
        if (format != nullptr) *format = result.Format;
        return result.Found && !result.Refused;
    } catch (const std::bad_alloc&) {
        throw;  // told as running out of memory, by main
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "korvana-cli: %s\n", failure.what());
        return false;
    }
}

bool WriteDealsFile(const std::string& givenName, const TDeals& deals, int32_t keyValue,
                    const std::vector<TDealAnalysis>* analyses) {
    // A name is resolved against the working folder: a bare name is a file there.
    std::error_code resolving;
    const std::filesystem::path absolute = std::filesystem::absolute(givenName, resolving);
    const std::string name = resolving ? givenName : absolute.string();
    auto complain = [&name](const std::string& reason) {
        std::fprintf(stderr, "korvana-cli: cannot write %s: %s\n", name.c_str(), reason.c_str());
        return false;
    };
    if (!FileDirExists(name)) return complain(std::strerror(ENOENT));
    const TDealFormat& format = DealFormatForWriting(name);
    try {
        // A deals file with deals tells where it was saved, as the window does.
        if (&format == &DealsFileFormat() && deals.Count() > 0)
            SaveDealsFile(name, format, deals, keyValue);
        else
            WriteDealsFile(
                name, format,
                TDealsAsBoards(deals, TDealtBy{keyValue, keyValue, false},
                               analyses != nullptr ? std::span<const TDealAnalysis>(*analyses)
                                                   : std::span<const TDealAnalysis>()));
    } catch (const TFileError& failure) {
        return complain(std::system_category().message(failure.ErrorNumber()));
    }
    return true;
}

bool WriteLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

void ComplainUsage(const std::string& complaint) {
    std::fprintf(stderr, "korvana-cli: %s\n", complaint.c_str());
}
