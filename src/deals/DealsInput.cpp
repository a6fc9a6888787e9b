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

void TDealsReadCounts::AddDamagedBoard(std::string number, int32_t game) {
    if (NamedDamagedBoards.size() < MostNamedBoards)
        NamedDamagedBoards.push_back({std::move(number), game});
    if (Damaged < INT32_MAX) ++Damaged;
}

std::string DamagedBoardsText(const TDealsReadCounts& counts) {
    if (counts.Damaged <= 0) return {};
    const auto& named = counts.NamedDamagedBoards;
    std::string text = counts.Damaged == 1 ? "повреждена раздача" : "повреждены раздачи";
    // Boards with a number and games without one are named in runs of one
    // kind, each run with its own word: "сдачи 8", "сдач 8, 15", "игры 3", "игр 3, 4".
    std::size_t runStart = 0;
    while (runStart < named.size()) {
        const bool numbered = !named[runStart].Number.empty();
        std::size_t runEnd = runStart + 1;
        while (runEnd < named.size() && named[runEnd].Number.empty() != numbered) ++runEnd;
        const bool several = runEnd - runStart > 1;
        text += runStart > 0 ? ", " : " ";
        text += numbered ? (several ? "сдач " : "сдачи ") : (several ? "игр " : "игры ");
        for (std::size_t i = runStart; i < runEnd; ++i) {
            if (i > runStart) text += ", ";
            text += numbered ? named[i].Number : std::to_string(named[i].Game);
        }
        runStart = runEnd;
    }
    const int64_t unnamed = int64_t{counts.Damaged} - static_cast<int64_t>(named.size());
    if (unnamed > 0) text += " и ещё " + std::to_string(unnamed);
    return text;
}
