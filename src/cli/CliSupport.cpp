#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "deals/DealCollection.h"
#include "text/FileError.h"

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
        deals.LoadFromFile(name);
    } catch (const std::bad_alloc&) {
        throw;  // told as running out of memory, by main
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "korvana-cli: %s\n", failure.what());
        return false;
    }
    return sink.MessageCount() == 0;
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
