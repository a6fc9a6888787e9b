#pragma once
// A file written whole or not at all. The bytes go to a new file of a name
// of its own beside the named one; it takes the name only once every byte is
// written, flushed and synced to the disk, so a failure (a full disk, a
// protected folder, the program killed) leaves a file that had the name as it
// was. A folder that refuses the new file refuses the save: a regular file is
// never rewritten in place. A device or other special file is written in
// place; a link is followed and stays a link. New files that killed saves of
// the same name left behind are removed.
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
    // Flushes, syncs and closes the file and puts it in place of the old one;
    // throws TFileError, and then the old file is as it was.
    void Commit();

    // The prefix of the new files' names beside `target`: "<target>.~".
    static std::string TemporaryPrefix(const std::string& target) { return target + ".~"; }

private:
    [[noreturn]] void Fail(int errorNumber);

    std::string name_;       // as the caller gave it, for the messages
    std::string target_;     // the file replaced in the end (links followed)
    std::string temporary_;  // the new file beside it; empty when written in place
    std::FILE* file_ = nullptr;
};
