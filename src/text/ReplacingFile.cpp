#include "text/ReplacingFile.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
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
    const std::string prefix = path.filename().string() + ".~";
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
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(name, error))) {
        fs::path resolved = fs::weakly_canonical(name, error);
        if (!error) target_ = resolved.string();
    }
    const fs::file_status status = fs::status(target_, error);
    if (fs::is_directory(status))
        throw TFileError(name_, static_cast<int>(std::errc::is_a_directory));
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        // A device or a pipe is written where it is.
        errno = 0;
        file_ = std::fopen(target_.c_str(), "wb");
        if (!file_) throw TFileError(name_, LastError());
        return;
    }
    if (exists) {
        // A protected file stays protected: it must be writable to be replaced.
        // Opening it to append changes nothing in it.
        errno = 0;
        std::FILE* probe = std::fopen(target_.c_str(), "ab");
        if (!probe) throw TFileError(name_, LastError());
        std::fclose(probe);
    }
    RemoveAbandoned(target_);
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary_ = NewTemporaryName(target_);
        descriptor = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) break;
    }
    if (descriptor < 0) {
        const int reason = LastError();
        temporary_.clear();
        throw TFileError(name_, reason);
    }
    file_ = ::fdopen(descriptor, "wb");
    if (!file_) {
        const int reason = LastError();
        ::close(descriptor);
        fs::remove(temporary_, error);
        temporary_.clear();
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
    if (file_) std::fclose(std::exchange(file_, nullptr));
    if (!temporary_.empty()) {
        std::error_code error;
        fs::remove(temporary_, error);
        temporary_.clear();
    }
    throw TFileError(name_, errorNumber);
}

void TReplacingFile::Write(std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(LastError());
}

void TReplacingFile::Commit() {
    // The last buffer goes out here: a full disk often shows only now, and
    // only a sync makes the disk tell of every block it could not keep.
    errno = 0;
    if (std::fflush(file_) != 0) Fail(LastError());
    if (std::ferror(file_)) Fail(static_cast<int>(std::errc::io_error));
    errno = 0;
    if (::fsync(::fileno(file_)) != 0 &&
        (!temporary_.empty() || (errno != EINVAL && errno != EROFS)))
        Fail(LastError());
    errno = 0;
    if (std::fclose(std::exchange(file_, nullptr)) != 0) Fail(LastError());
    if (temporary_.empty()) return;
    std::error_code error;
    const fs::file_status old = fs::status(target_, error);
    // A new file has what the process's mask allows, as opened; a replaced one keeps its
    // permissions.
    if (fs::exists(old)) fs::permissions(temporary_, old.permissions(), error);
    error.clear();
    fs::rename(temporary_, target_, error);
    if (error) Fail(error.value());
    temporary_.clear();
    SyncFolder(target_);
}
