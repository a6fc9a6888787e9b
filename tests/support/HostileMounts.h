#pragma once
// Small file systems for tests of failing disks: a tmpfs of a few kilobytes
// that can be filled to the last byte or made read-only. Mounting needs the
// right to mount (root, or a user namespace); without it every call returns
// false and the test skips.
#ifdef __linux__
#include <sys/fsuid.h>
#include <sys/mount.h>
#endif
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

class THostileMounts {
public:
    THostileMounts() = default;
    THostileMounts(const THostileMounts&) = delete;
    THostileMounts& operator=(const THostileMounts&) = delete;
    ~THostileMounts() { UnmountAll(); }

    // Detaches every mount made, newest first.
    void UnmountAll() {
#ifdef __linux__
        for (auto it = points_.rbegin(); it != points_.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
#endif
        points_.clear();
    }

    // Mounts a fresh tmpfs of `kilobytes` at `point` (created when missing).
    bool MountSmallDisk(const std::filesystem::path& point, int kilobytes) {
#ifdef __linux__
        std::error_code error;
        std::filesystem::create_directories(point, error);
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        if (::mount("tmpfs", point.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
            return false;
        points_.push_back(point);
        return true;
#else
        (void)point;
        (void)kilobytes;
        return false;
#endif
    }

    // Makes a mount of MountSmallDisk read-only; what it holds stays readable.
    static bool MakeReadOnly(const std::filesystem::path& point) {
#ifdef __linux__
        return ::mount(nullptr, point.c_str(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
#else
        (void)point;
        return false;
#endif
    }

    // Fills the file system holding `folder` to the last byte with files whose
    // names begin with "filler"; true when it is full.
    static bool FillUp(const std::filesystem::path& folder) {
        const std::string block(4096, 'f');
        std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
        if (filler == nullptr) return false;
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
        for (int size = 2048; size >= 1; size /= 2) {  // the last partial block
            filler = std::fopen((folder / ("filler" + std::to_string(size))).c_str(), "wb");
            if (filler == nullptr) break;
            std::fwrite(block.data(), 1, static_cast<std::size_t>(size), filler);
            std::fclose(filler);
        }
        filler = std::fopen((folder / "filler-probe").c_str(), "wb");
        if (filler == nullptr) return true;
        const bool full = std::fwrite("x", 1, 1, filler) != 1 || std::fflush(filler) != 0;
        std::fclose(filler);
        std::filesystem::remove(folder / "filler-probe");
        return full;
    }

    // Removes what FillUp wrote.
    static void MakeRoom(const std::filesystem::path& folder) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().filename().string().rfind("filler", 0) == 0)
                std::filesystem::remove(entry.path(), error);
    }

private:
    std::vector<std::filesystem::path> points_;
};

// File permissions that hold for this thread even when the tests run as root:
// while it lives, the thread reaches files as the user "nobody" would (root
// passes over every permission). Without root nothing changes, and the
// permissions hold anyway.
class TWithoutPrivileges {
public:
    TWithoutPrivileges() {
#ifdef __linux__
        if (::geteuid() != 0) return;
        ::setfsgid(Nobody);
        ::setfsuid(Nobody);
        active_ = true;
#endif
    }
    ~TWithoutPrivileges() {
#ifdef __linux__
        if (!active_) return;
        ::setfsuid(0);
        ::setfsgid(0);
#endif
    }
    TWithoutPrivileges(const TWithoutPrivileges&) = delete;
    TWithoutPrivileges& operator=(const TWithoutPrivileges&) = delete;

    static constexpr unsigned Nobody = 65534;

private:
    bool active_ = false;
};
