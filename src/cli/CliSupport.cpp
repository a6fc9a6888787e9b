#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "deals/AnyDealsFile.h"
#include "deals/DealCollection.h"
#include "analysis/DoubleDummy.h"
#include "deals/LinFile.h"
#include "deals/PbnFile.h"
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

// The deals loader passes over a missing file in silence, so the file is first
// opened and read here, where the system's reason can be told.
bool CheckReadable(const std::string& name) {
    std::error_code statusError;
    const auto status = std::filesystem::status(name, statusError);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        std::fprintf(stderr, "korvana-cli: %s\n", TFileError::NotRegular(name).what());
        return false;
    }
    errno = 0;
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        ReportReadFailure(name, errno);
        return false;
    }
    std::fgetc(file);
    bool failed = std::ferror(file) != 0;
    int error = errno;
    std::fclose(file);
    if (failed) ReportReadFailure(name, error != 0 ? error : EIO);
    return !failed;
}

}  // namespace

bool ReadDealsFile(const std::string& name, TDeals& deals) {
    if (!CheckReadable(name)) return false;
    TStderrSink sink;
    try {
        const TDealsLoadResult result = LoadDealsOrPbnFile(name, deals);
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
    try {
        if (IsPbnFileName(name) && analyses != nullptr) {
            WritePbnFile(name, deals, keyValue, *analyses);
        } else if (IsPbnFileName(name)) {
            WritePbnFile(name, deals, keyValue);
        } else if (IsLinFileName(name)) {
            WriteLinFile(name, deals);
        } else if (deals.Count() > 0) {
            deals.SaveToFile(name);
        } else {
            deals.WriteFile(name);
        }
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
