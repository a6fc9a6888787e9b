#pragma once
// A deals file's bytes read once from front to back, and what a reader of one
// format counted in them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The bytes of an open file, read once from front to back: its first bytes
// can be looked at before any reader takes them, so a pipe, stdin or a device
// is read without being opened again.
class TDealsInput {
public:
    static constexpr std::size_t HeadSize = 512;

    // Reads `file` (not closed here); `name` is the name messages give.
    TDealsInput(std::FILE* file, std::string name);
    TDealsInput(const TDealsInput&) = delete;
    TDealsInput& operator=(const TDealsInput&) = delete;

    const std::string& Name() const { return name_; }
    // Up to HeadSize first bytes of the file (fewer only when it is shorter);
    // Next still hands them on. Throws TFileError on a read error.
    std::string_view Head();
    // The next bytes of the file; empty at its end. Throws TFileError on a
    // read error.
    std::string_view Next();

private:
    std::FILE* file_;
    std::string name_;
    std::unique_ptr<char[]> buffer_;
    std::size_t headSize_ = 0;
    bool headRead_ = false;
    bool headGiven_ = false;
    bool ended_ = false;
};

struct TDealsReadCounts {
    int32_t Loaded = 0;    // deals appended
    int32_t Skipped = 0;   // games or lines without a whole deal
    bool Refused = false;  // the content is not of the format; nothing was added
    // Of the skipped: boards that give a deal which is not whole, and the
    // first MostNamedBoards of them in the file's order.
    struct TDamagedBoard {
        std::string Number;  // the board's own number; empty when it has none
        int32_t Game = 0;    // its place among the file's games, from 1
    };
    static constexpr std::size_t MostNamedBoards = 10;
    int32_t Damaged = 0;
    std::vector<TDamagedBoard> NamedDamagedBoards;
    // Adds one damaged board: counted, and named while fewer than MostNamedBoards are.
    void AddDamagedBoard(std::string number, int32_t game);
    // Lines of a deals file whose deal is not whole (an empty or cut line, a
    // card missing or held twice): loaded all the same, but counted, and the
    // first MostNamedLines of them kept by their line number (the header is 1).
    static constexpr std::size_t MostNamedLines = 10;
    int32_t DamagedLines = 0;
    std::vector<int64_t> NamedDamagedLines;
};

// The damaged boards of `counts` as one phrase, each named by its board number
// or, without one, by its game's place: "повреждена раздача сдачи 8",
// "повреждены раздачи сдач 8, 15 и ещё 3", "повреждена раздача игры 2".
// Empty when counts.Damaged is 0.
std::string DamagedBoardsText(const TDealsReadCounts& counts);
