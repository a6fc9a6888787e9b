// The whole-or-nothing writer where saving goes wrong: a folder that refuses
// new files, a full disk that tells only when the last buffer goes out, a
// save killed half-way and the leftovers of many such saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/HostileMounts.h"
#include "support/TempFolder.h"
#include "text/FileError.h"
#include "text/ReplacingFile.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Save(const fs::path& path, const std::string& bytes) {
    TReplacingFile file(path.string());
    file.Write(bytes);
    file.Commit();
}

// The names in a folder other than `keep`.
std::vector<std::string> Others(const fs::path& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
    return names;
}

class ReplacingFile : public ::testing::Test {
protected:
    void SetUp() override { fs::permissions(folder_, fs::perms::all); }

    TTempFolder temp_;
    const fs::path folder_ = temp_.Path();
    THostileMounts mounts_;  // unmounted before the folder goes
};

// A folder that refuses new files but holds a writable file: the save is
// refused with the system's reason, never written in place, and the file
// keeps every byte.
TEST_F(ReplacingFile, AFolderThatRefusesNewFilesRefusesTheSaveAndKeepsTheFile) {
    const fs::path refusing = folder_ / "refusing";
    fs::create_directories(refusing);
    const fs::path target = refusing / "old.dls";
    const std::string old = "old deals\r\n" + std::string(5000, 'o');
    WriteBytes(target, old);
    fs::permissions(target, static_cast<fs::perms>(0666));    // anyone may write the file
    fs::permissions(refusing, static_cast<fs::perms>(0555));  // no one may add a file
    {
        TWithoutPrivileges nobody;
        try {
            Save(target, "new deals\r\n");
            ADD_FAILURE() << "the save did not fail";
        } catch (const TFileError& error) {
            EXPECT_EQ(error.ErrorNumber(), EACCES);
            EXPECT_EQ(error.FileName(), target.string());
        }
    }
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(Others(refusing, "old.dls"), std::vector<std::string>());

    // A protected file in a folder that takes new files stays protected.
    fs::permissions(refusing, static_cast<fs::perms>(0777));
    fs::permissions(target, static_cast<fs::perms>(0444));
    {
        TWithoutPrivileges nobody;
        EXPECT_THROW(Save(target, "new deals\r\n"), TFileError);
    }
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(Others(refusing, "old.dls"), std::vector<std::string>());
}

// A small file on a full disk: the bytes sit in the buffer until the commit,
// which must see that they could not be written. The old file stays whole.
TEST_F(ReplacingFile, ASmallFileOnAFullDiskFailsAtTheCommitAndTheOldFileStays) {
    const fs::path disk = folder_ / "disk";
    if (!mounts_.MountSmallDisk(disk, 64))
        GTEST_SKIP() << "mounting a small file system is refused";
    const fs::path target = disk / "setup.stp";
    const std::string old(3000, 'o');
    WriteBytes(target, old);
    ASSERT_TRUE(THostileMounts::FillUp(disk));
    TReplacingFile file(target.string());
    file.Write(std::string(2000, 'n'));
    try {
        file.Commit();
        ADD_FAILURE() << "the commit did not fail";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.ErrorNumber(), ENOSPC);
    }
    EXPECT_EQ(ReadBytes(target), old);
    for (const std::string& name : Others(disk, "setup.stp"))
        EXPECT_EQ(name.rfind("filler", 0), 0u) << name;
}

// A save killed half-way leaves the old file whole and its new file beside
// it; the next save of that name removes it, as it removes the leftovers of
// older killed saves, however many there are.
TEST_F(ReplacingFile, LeftoversOfKilledSavesAreClearedAndNeverStopASave) {
    const fs::path target = folder_ / "x.dls";
    const std::string old = "old\r\n";
    WriteBytes(target, old);
    // A hundred leftovers of an older kind, long abandoned, and a recent one.
    for (int i = 0; i < 100; ++i) {
        const fs::path leftover = folder_ / ("x.dls.~" + std::to_string(i));
        WriteBytes(leftover, "partial");
        fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    WriteBytes(folder_ / "x.dls.~100", "a save that may still be running");
    WriteBytes(folder_ / "other.dls.~k1-1", "not a leftover of this name");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TReplacingFile file(target.string());
        const std::string block(1 << 16, 'n');
        for (int i = 0; i < 256; ++i) file.Write(block);
        ::pause();
        ::_exit(0);
    }
    // Waits for the child's new file to grow, then kills the child.
    fs::path partial;
    for (int wait = 0; wait < 2000 && partial.empty(); ++wait) {
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const std::string leaf = entry.path().filename().string();
            std::error_code error;
            if (leaf.rfind("x.dls.~k", 0) == 0 && fs::file_size(entry.path(), error) > (1u << 20))
                partial = entry.path();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_FALSE(partial.empty()) << "the killed save left no file";
    EXPECT_TRUE(fs::exists(partial));
    EXPECT_EQ(ReadBytes(target), old);

    Save(target, "new\r\n");
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    std::vector<std::string> left = Others(folder_, "x.dls");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other.dls.~k1-1", "x.dls.~100"}));
}

// Runs `act` in a child process as the user and group "nobody" (65534); the
// child's exit code: 0 when `act` returned true.
template <typename TAct>
int AsNobody(TAct act) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(2);
        ::_exit(act() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Names that lead to no regular file are written where they are, never
// replaced: the process's own stdout and stderr opened to append (their
// earlier content stays), a pipe, a device.
TEST_F(ReplacingFile, NamesOfNoRegularFileAreWrittenWhereTheyAre) {
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        const fs::path log = folder_ / "log.txt";
        WriteBytes(log, "earlier\n");
        struct stat before = {}, after = {};
        ASSERT_EQ(::stat(log.c_str(), &before), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND);
            if (appending < 0 || ::dup2(appending, stream) < 0) ::_exit(2);
            try {
                Save(stream == STDOUT_FILENO ? "/dev/stdout" : "/dev/stderr", "new\n");
            } catch (const TFileError&) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 0) << stream;
        EXPECT_EQ(ReadBytes(log), "earlier\nnew\n") << stream;
        ASSERT_EQ(::stat(log.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(Others(folder_, "log.txt"), std::vector<std::string>());
    }
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string read;
    std::thread reader([&] { read = ReadBytes(pipe); });
    Save(pipe, "through the pipe");
    reader.join();
    EXPECT_EQ(read, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(pipe));
    Save("/dev/null", "nothing");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A save keeps the old file's owner, group and mode; the new file is private
// while it is written whatever the process's mask, and a new name gets what
// the mask allows. A save that cannot keep the owner is refused with the
// reason and leaves the old file.
TEST_F(ReplacingFile, ASaveKeepsOwnerGroupAndModeAndIsPrivateUntilDone) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const fs::path shared = folder_ / "shared.dls";
    WriteBytes(shared, "old");
    ASSERT_EQ(::chown(shared.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0660), 0);
    const mode_t mask = ::umask(0);
    {
        TReplacingFile file(shared.string());
        file.Write("new");
        const std::vector<std::string> temporary = Others(folder_, "shared.dls");
        ASSERT_EQ(temporary.size(), 1u);
        EXPECT_EQ(fs::status(folder_ / temporary[0]).permissions(), fs::perms(0600));
        file.Commit();
    }
    struct stat saved = {};
    ASSERT_EQ(::stat(shared.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0660u);
    EXPECT_EQ(saved.st_uid, 65534u);
    EXPECT_EQ(saved.st_gid, 65534u);
    ::umask(027);
    Save(folder_ / "fresh.dls", "new");
    EXPECT_EQ(fs::status(folder_ / "fresh.dls").permissions(), fs::perms(0640));
    ::umask(mask);

    // Another user may write root's file but not give it away: refused.
    const fs::path roots = folder_ / "roots.dls";
    WriteBytes(roots, "root's");
    fs::permissions(roots, fs::perms(0666));
    EXPECT_EQ(AsNobody([&] {
                  try {
                      Save(roots, "nobody's");
                  } catch (const TFileError& error) {
                      return error.ErrorNumber() == EINVAL &&
                             std::string(error.what()).find("владельца") != std::string::npos;
                  }
                  return false;
              }),
              0);
    EXPECT_EQ(ReadBytes(roots), "root's");
    EXPECT_EQ(fs::status(roots).permissions(), fs::perms(0666));
}

// A name as long as a folder entry allows is saved over (the new file's name
// is cut to fit); a dangling link gets its target created and stays a link.
TEST_F(ReplacingFile, LongNamesAndDanglingLinksAreSaved) {
    const fs::path longName = folder_ / (std::string(246, 'x') + ".dls");
    WriteBytes(longName, "old");
    Save(longName, "new");
    EXPECT_EQ(ReadBytes(longName), "new");
    EXPECT_EQ(Others(folder_, longName.filename().string()), std::vector<std::string>());

    fs::create_directory(folder_ / "deals");
    const fs::path link = folder_ / "link.pbn";
    fs::create_symlink("deals/target.pbn", link);
    Save(link, "through the link");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(folder_ / "deals" / "target.pbn"), "through the link");
}

// A file used after a failed write or commit, or after its commit, throws
// instead of handing a closed stream to the library.
TEST_F(ReplacingFile, UseAfterAFailureOrACommitThrows) {
    TReplacingFile full("/dev/full");
    full.Write(std::string(100, 'x'));
    EXPECT_THROW(full.Commit(), TFileError);
    EXPECT_THROW(full.Write("more"), TFileError);
    EXPECT_THROW(full.Commit(), TFileError);

    TReplacingFile done((folder_ / "done.dls").string());
    done.Write("all");
    done.Commit();
    EXPECT_THROW(done.Write("more"), TFileError);
    EXPECT_NO_THROW(done.Commit());
    EXPECT_EQ(ReadBytes(folder_ / "done.dls"), "all");
}

}  // namespace
