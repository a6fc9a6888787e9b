#pragma once
// A file-system failure of a file command (a protected file, a full disk, a
// device error). what() is the system's own text for the failure followed by
// the file name; the program's top-level handler shows it.
#include <cerrno>
#include <stdexcept>
#include <string>
#include <system_error>

class TFileError : public std::runtime_error {
public:
    TFileError(const std::string& fileName, int errorNumber)
        : std::runtime_error(std::system_category().message(errorNumber) + ": " + fileName),
          fileName_(fileName),
          errorNumber_(errorNumber) {}

    // A failure the system has no number for; ErrorNumber() is EINVAL.
    TFileError(const std::string& fileName, const std::string& reason)
        : std::runtime_error(reason + ": " + fileName), fileName_(fileName), errorNumber_(EINVAL) {}

    // A pipe, a device or any other file that is no regular file, where one is read.
    static TFileError NotRegular(const std::string& fileName) {
        return TFileError(fileName, std::string("это не обычный файл (канал или устройство)"));
    }

    const std::string& FileName() const { return fileName_; }
    int ErrorNumber() const { return errorNumber_; }

private:
    std::string fileName_;
    int errorNumber_;
};
