#pragma once
// A file written whole or not at all. The bytes go to a new file of a name
// of its own beside the named one; it takes the name only once every byte is
// written, flushed and synced to the disk, so a failure (a full disk, a
// protected folder, the program killed) leaves a file that had the name as it
// was. A folder that refuses the new file refuses the save: a regular file is
// never rewritten in place. The new file is private (0600) while it is
// written and gets the old one's owner, group and mode before it takes the
// name; a save that cannot keep the owner and group is refused. A device, a
// pipe or any other special file is written in place, without truncating it;
// the process's own stdout or stderr (/dev/stdout, or its file by any name)
// through the descriptor it has, so a file opened to append keeps its content.
// A link is followed and stays a link; a dangling one gets its target
// created. New files that killed saves of the same name left behind are
// removed.
#include <sys/types.h>

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

    // Throws TFileError on a write error, and on every call after a failed
    // Write or Commit or after the Commit.
    void Write(std::string_view text);
    // Flushes, syncs and closes the file and puts it in place of the old one;
    // throws TFileError, and then the old file is as it was. Throws again when
    // called after a failure; does nothing when called after a commit.
    void Commit();

    // The prefix of the new files' names beside `target`: "<target>.~", the
    // name cut short when the whole would not fit in a folder entry.
    static std::string TemporaryPrefix(const std::string& target);
    // Whether a save of `name` writes in place: a device, a pipe, a terminal,
    // or the process's own stdout or stderr.
    static bool WritesInPlace(const std::string& name);

private:
    [[noreturn]] void Fail(int errorNumber);
    void OpenInPlace(int ownStream);
    void CreateTemporary(bool exists, uid_t owner, gid_t group);

    std::string name_;       // as the caller gave it, for the messages
    std::string target_;     // the file replaced in the end (links followed)
    std::string temporary_;  // the new file beside it; empty when written in place
    std::FILE* file_ = nullptr;
    int failure_ = 0;  // the reason of the failure that closed the file
    bool committed_ = false;
    bool keepMode_ = false;  // the mode below is the old file's
    mode_t mode_ = 0;        // the new file's mode once written
};
