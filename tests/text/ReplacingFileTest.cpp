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
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/FileBytes.h"
#include "support/HostileMounts.h"
#include "support/TempFolder.h"
#include "text/FileError.h"
#include "text/ReplacingFile.h"

namespace {

namespace fs = std::filesystem;

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

// The process's own stdout, opened to append, is written through and keeps its earlier content.
TEST_F(ReplacingFile, OwnStdoutIsWrittenWhereItIs) {
    const fs::path log = folder_ / "log.txt";
    WriteBytes(log, "earlier\n");
    std::fflush(stdout);  // else the child writes the test's buffered output into the log
    const pid_t child = ::fork();
    if (child == 0) {
        const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND);
        if (appending < 0 || ::dup2(appending, STDOUT_FILENO) < 0) ::_exit(2);
        Save("/dev/stdout", "new\n");
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(ReadBytes(log), "earlier\nnew\n");
}

// A save keeps owner, group and mode, is private until done, and is refused to whom cannot keep
// them.
TEST_F(ReplacingFile, ASaveKeepsOwnerGroupAndModeAndIsPrivateUntilDone) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const fs::path shared = folder_ / "shared.dls";
    WriteBytes(shared, "old");
    ASSERT_EQ(::chown(shared.c_str(), 65534, 65534) | ::chmod(shared.c_str(), 0660), 0);
    TReplacingFile file(shared.string());
    EXPECT_EQ(fs::status(folder_ / Others(folder_, "shared.dls").at(0)).permissions(),
              fs::perms(0600));
    file.Commit();
    struct stat saved = {};
    ASSERT_EQ(::stat(shared.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0660u);
    EXPECT_EQ(saved.st_uid + saved.st_gid, 2 * 65534u);
    WriteBytes(shared, "root's");
    ASSERT_EQ(::chown(shared.c_str(), 0, 0) | ::chmod(shared.c_str(), 0666), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            if (::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0)
                Save(shared, "nobody's");
        } catch (const TFileError&) {
        }
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(ReadBytes(shared), "root's");
}

// A name as long as a folder entry allows; a dangling link gets its target and stays a link.
TEST_F(ReplacingFile, LongNamesDanglingLinksAndUseAfterAFailure) {
    const fs::path longName = folder_ / (std::string(246, 'x') + ".dls");
    Save(longName, "old");
    Save(longName, "new");
    EXPECT_EQ(ReadBytes(longName), "new");
    fs::create_symlink("target.pbn", folder_ / "link.pbn");
    Save(folder_ / "link.pbn", "linked");
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.pbn"));
    EXPECT_EQ(ReadBytes(folder_ / "target.pbn"), "linked");
    // Use after a failed commit throws instead of handing a closed stream on.
    TReplacingFile full("/dev/full");
    full.Write(std::string(100, 'x'));
    EXPECT_THROW(full.Commit(), TFileError);
    EXPECT_THROW(full.Write("more"), TFileError);
}

}  // namespace
