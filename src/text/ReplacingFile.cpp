#include "text/ReplacingFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#include "text/FileError.h"

namespace fs = std::filesystem;

namespace {

// errno after a failed call; a library that set none still reports an error.
int LastError() { return errno != 0 ? errno : static_cast<int>(std::errc::io_error); }

// A new file's name: "<target>.~k<process>-<number>". The process number
// tells a later save whether the writer is still alive.
constexpr std::string_view OwnMark = "k";

// An old-style leftover ("<target>.~<digits>") names no process; it is taken
// for abandoned once it has not changed for this long.
constexpr auto AbandonedAfter = std::chrono::minutes(10);

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Whether the leftover of that suffix (after "<target>.~") belongs to no live save.
bool Abandoned(std::string_view suffix, const fs::path& path) {
    if (AllDigits(suffix)) {
        std::error_code error;
        const auto changed = fs::last_write_time(path, error);
        return !error && fs::file_time_type::clock::now() - changed > AbandonedAfter;
    }
    if (suffix.substr(0, OwnMark.size()) != OwnMark) return false;
    suffix.remove_prefix(OwnMark.size());
    const std::size_t dash = suffix.find('-');
    if (dash == std::string_view::npos || !AllDigits(suffix.substr(0, dash)) ||
        !AllDigits(suffix.substr(dash + 1)) || dash > 9)
        return false;
    const pid_t process = static_cast<pid_t>(std::stol(std::string(suffix.substr(0, dash))));
    if (process <= 0 || process == ::getpid()) return false;
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

// Removes the new files that killed saves of `target` left beside it.
void RemoveAbandoned(const std::string& target) {
    const fs::path path(target);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string prefix =
        fs::path(TReplacingFile::TemporaryPrefix(target)).filename().string();
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) return;
    for (const fs::directory_entry& entry : entries) {
        const std::string leaf = entry.path().filename().string();
        if (leaf.size() <= prefix.size() || leaf.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code ignored;
        if (!entry.is_regular_file(ignored)) continue;
        if (Abandoned(std::string_view(leaf).substr(prefix.size()), entry.path()))
            fs::remove(entry.path(), ignored);
    }
}

std::string NewTemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static const unsigned start = std::random_device{}() % 1000000u;
    return TReplacingFile::TemporaryPrefix(target) + std::string(OwnMark) +
           std::to_string(::getpid()) + "-" + std::to_string(start + counter.fetch_add(1));
}

// The longest name of a folder entry, and the room a new file's name keeps
// after its prefix for "k<process>-<number>".
constexpr std::size_t LongestLeaf = NAME_MAX;
constexpr std::size_t SuffixRoom = 32;

// STDOUT_FILENO or STDERR_FILENO when the file is the one the process's
// stdout or stderr writes to, else -1.
int OwnStream(const struct stat& status) {
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat own = {};
        if (::fstat(descriptor, &own) == 0 && own.st_dev == status.st_dev &&
            own.st_ino == status.st_ino)
            return descriptor;
    }
    return -1;
}

// The name at the end of the links that start at `name`, one link at a time,
// so that a dangling link names the file it leads to; `error` is ELOOP for
// a circle of links.
std::string FollowLinks(const std::string& name, int& error) {
    fs::path path(name);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status = {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path.string();
        std::error_code reading;
        const fs::path link = fs::read_symlink(path, reading);
        if (reading) return path.string();
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    error = ELOOP;
    return name;
}

// The process's file-creation mask, read without changing it (umask() would
// change it for every thread for a moment).
mode_t ProcessMask() {
    unsigned mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr)
            if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
        std::fclose(status);
    }
    return static_cast<mode_t>(mask);
}

// Syncs the folder that holds `target`, so that the new name itself is on the disk.
void SyncFolder(const std::string& target) {
    const fs::path path(target);
    const std::string folder =
        path.has_parent_path() ? path.parent_path().string() : std::string(".");
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);  // a file system that cannot sync folders has nothing more to do
    ::close(descriptor);
}

}  // namespace

TReplacingFile::TReplacingFile(const std::string& name) : name_(name), target_(name) {
    struct stat status = {};
    const bool exists = ::stat(name.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) throw TFileError(name_, EISDIR);
    if (exists && (!S_ISREG(status.st_mode) || OwnStream(status) >= 0)) {
        OpenInPlace(OwnStream(status));
        return;
    }
    int error = 0;
    target_ = FollowLinks(name, error);
    if (error != 0) throw TFileError(name_, error);
    if (exists) {
        // A protected file stays protected: it must be writable to be replaced.
        // Opening it to append changes nothing in it.
        errno = 0;
        const int probe = ::open(target_.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) throw TFileError(name_, LastError());
        ::close(probe);
    }
    mode_ = exists ? status.st_mode & 07777 : 0666 & ~ProcessMask();
    RemoveAbandoned(target_);
    CreateTemporary(exists, status.st_uid, status.st_gid);
}

void TReplacingFile::OpenInPlace(int ownStream) {
    errno = 0;
    int descriptor = -1;
    if (ownStream >= 0) {
        // What the program printed there before comes first.
        std::fflush(ownStream == STDOUT_FILENO ? stdout : stderr);
        descriptor = ::fcntl(ownStream, F_DUPFD_CLOEXEC, 0);
    } else {
        descriptor = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    }
    if (descriptor < 0) throw TFileError(name_, LastError());
    file_ = ::fdopen(descriptor, "wb");  // "w" truncates only by name, never a descriptor
    if (!file_) {
        const int reason = LastError();
        ::close(descriptor);
        throw TFileError(name_, reason);
    }
}

void TReplacingFile::CreateTemporary(bool exists, uid_t owner, gid_t group) {
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary_ = NewTemporaryName(target_);
        descriptor = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno != EEXIST) break;
    }
    if (descriptor < 0) {
        const int reason = LastError();
        temporary_.clear();
        throw TFileError(name_, reason);
    }
    auto abandon = [&]() {
        ::close(descriptor);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    };
    // Private whatever the process's mask, until it takes the name; a file
    // system without modes (a memory stick) has nothing to keep private.
    ::fchmod(descriptor, 0600);
    struct stat made = {};
    if (exists && ::fstat(descriptor, &made) == 0 &&
        (made.st_uid != owner || made.st_gid != group) && ::fchown(descriptor, owner, group) != 0) {
        abandon();
        throw TFileError(name_, "нельзя сохранить владельца и группу файла (" +
                                    std::to_string(owner) + ":" + std::to_string(group) +
                                    "), файл оставлен как был");
    }
    file_ = ::fdopen(descriptor, "wb");
    if (!file_) {
        const int reason = LastError();
        abandon();
        throw TFileError(name_, reason);
    }
}

TReplacingFile::~TReplacingFile() {
    if (file_) std::fclose(file_);
    if (!temporary_.empty()) {
        std::error_code error;
        fs::remove(temporary_, error);
    }
}

void TReplacingFile::Fail(int errorNumber) {
    failure_ = errorNumber;
    if (file_) std::fclose(std::exchange(file_, nullptr));
    if (!temporary_.empty()) {
        std::error_code error;
        fs::remove(temporary_, error);
        temporary_.clear();
    }
    throw TFileError(name_, errorNumber);
}

void TReplacingFile::Write(std::string_view text) {
    if (!file_) throw TFileError(name_, failure_ != 0 ? failure_ : EBADF);
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(LastError());
}

void TReplacingFile::Commit() {
    if (committed_) return;
    if (!file_) throw TFileError(name_, failure_ != 0 ? failure_ : EBADF);
    // The last buffer goes out here: a full disk often shows only now, and
    // only a sync makes the disk tell of every block it could not keep.
    errno = 0;
    if (std::fflush(file_) != 0) Fail(LastError());
    if (std::ferror(file_)) Fail(static_cast<int>(std::errc::io_error));
    // The old file's mode, or what the process's mask gives a new one; a file
    // system without modes keeps its own.
    if (!temporary_.empty()) ::fchmod(::fileno(file_), mode_);
    errno = 0;
    if (::fsync(::fileno(file_)) != 0 &&
        (!temporary_.empty() || (errno != EINVAL && errno != EROFS)))
        Fail(LastError());
    errno = 0;
    if (std::fclose(std::exchange(file_, nullptr)) != 0) Fail(LastError());
    if (!temporary_.empty()) {
        std::error_code error;
        fs::rename(temporary_, target_, error);
        if (error) Fail(error.value());
        temporary_.clear();
        SyncFolder(target_);
    }
    committed_ = true;
}

std::string TReplacingFile::TemporaryPrefix(const std::string& target) {
    const fs::path path(target);
    std::string leaf = path.filename().string();
    if (leaf.size() > LongestLeaf - SuffixRoom) {
        std::size_t cut = LongestLeaf - SuffixRoom;
        while (cut > 0 && (static_cast<unsigned char>(leaf[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a UTF-8 character
        leaf.resize(cut);
    }
    return (path.parent_path() / leaf).string() + ".~";
}

bool TReplacingFile::WritesInPlace(const std::string& name) {
    struct stat status = {};
    return ::stat(name.c_str(), &status) == 0 && !S_ISDIR(status.st_mode) &&
           (!S_ISREG(status.st_mode) || OwnStream(status) >= 0);
}
