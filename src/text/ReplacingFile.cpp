#include "text/ReplacingFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "text/FileError.h"

namespace fs = std::filesystem;

namespace {
// errno after a failed call; a library that set none still reports an error.
int LastError() { return errno != 0 ? errno : static_cast<int>(std::errc::io_error); }
}  // namespace

TReplacingFile::TReplacingFile(const std::string& name) : name_(name), target_(name) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(name, error))) {
        fs::path resolved = fs::weakly_canonical(name, error);
        if (!error) target_ = resolved.string();
    }
    const fs::file_status status = fs::status(target_, error);
    if (fs::is_directory(status)) throw TFileError(name_, static_cast<int>(std::errc::is_a_directory));
    const bool exists = fs::exists(status);
    if (exists && fs::is_regular_file(status)) {
        // A protected file stays protected: it must be writable to be replaced.
        // Opening it to append changes nothing in it.
        errno = 0;
        std::FILE* probe = std::fopen(target_.c_str(), "ab");
        if (!probe) throw TFileError(name_, LastError());
        std::fclose(probe);
    }
    if (!exists || fs::is_regular_file(status)) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary_ = target_ + ".~" + std::to_string(attempt);
            errno = 0;
            file_ = std::fopen(temporary_.c_str(), "wbx");
            if (file_ || errno != EEXIST) break;
        }
        if (file_) return;
        temporary_.clear();
        // A folder that refuses new files may still let its file be rewritten.
        if (!exists || (errno != EACCES && errno != EPERM)) throw TFileError(name_, LastError());
    }
    errno = 0;
    file_ = std::fopen(target_.c_str(), "wb");
    if (!file_) throw TFileError(name_, LastError());
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
    // Closing flushes the last buffer: a full disk often shows only here.
    errno = 0;
    if (std::fclose(std::exchange(file_, nullptr)) != 0) Fail(LastError());
    if (temporary_.empty()) return;
    std::error_code error;
    const fs::file_status old = fs::status(target_, error);
    if (fs::exists(old)) fs::permissions(temporary_, old.permissions(), error);
    fs::rename(temporary_, target_, error);
    if (error) Fail(error.value());
    temporary_.clear();
}
