#pragma once
// A file written whole or not at all. The bytes go to a new file beside the
// named one, which takes the name only once every byte is written and closed,
// so a failure (a full disk, a protected folder) leaves a file that had the
// name as it was and adds none. A device or other special file is written in
// place; a link is followed and stays a link.
#include <cstdio>
#include <string>
#include <string_view>

class TReplacingFile {
public:
    // Throws TFileError, naming `name`, when the file cannot be created.
    explicit TReplacingFile(const std::string& name);
    // An unfinished file is closed and removed; the old one stays.
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // Throws TFileError on a write error.
    void Write(std::string_view text);
    // Closes the file and puts it in place of the old one; throws TFileError.
    void Commit();

private:
    [[noreturn]] void Fail(int errorNumber);

    std::string name_;       // as the caller gave it, for the messages
    std::string target_;     // the file replaced in the end (links followed)
    std::string temporary_;  // the new file beside it; empty when written in place
    std::FILE* file_ = nullptr;
};
