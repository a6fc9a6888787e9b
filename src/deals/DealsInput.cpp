#include "deals/DealsInput.h"

#include <cerrno>

#include "text/FileError.h"

namespace {
constexpr std::size_t ChunkSize = std::size_t{1} << 16;
}  // namespace

TDealsInput::TDealsInput(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), buffer_(std::make_unique<char[]>(ChunkSize)) {}

std::string_view TDealsInput::Head() {
    if (!headRead_) {
        headRead_ = true;
        // fread gathers the head across short reads of a pipe.
        errno = 0;
        headSize_ = std::fread(buffer_.get(), 1, HeadSize, file_);
        if (std::ferror(file_)) throw TFileError(name_, errno != 0 ? errno : EIO);
        ended_ = headSize_ < HeadSize;
    }
    return {buffer_.get(), headSize_};
}

std::string_view TDealsInput::Next() {
    if (!headGiven_) {
        headGiven_ = true;
        const std::string_view head = Head();
        if (!head.empty()) return head;
    }
    if (ended_) return {};
    errno = 0;
    const std::size_t got = std::fread(buffer_.get(), 1, ChunkSize, file_);
    if (std::ferror(file_)) throw TFileError(name_, errno != 0 ? errno : EIO);
    ended_ = got < ChunkSize;
    return {buffer_.get(), got};
}
