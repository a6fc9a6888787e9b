#pragma once
// Bytes gathered in one large buffer and handed on in big chunks: a writer of
// millions of short lines makes one write call per chunk instead of one per
// line, and allocates nothing per line.
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

class TOutputBuffer {
public:
    static constexpr std::size_t DefaultCapacity = std::size_t{1} << 20;
    static constexpr std::size_t SmallCapacity = 8192;

    // `write` takes each full chunk (and the rest at Flush); it may throw,
    // and then the bytes it was given count as taken. When memory has run out
    // (a run that filled it, writing what it kept) the buffer makes do with
    // SmallCapacity bytes of its own.
    explicit TOutputBuffer(std::function<void(std::string_view)> write,
                           std::size_t capacity = DefaultCapacity);
    TOutputBuffer(const TOutputBuffer&) = delete;
    TOutputBuffer& operator=(const TOutputBuffer&) = delete;

    // Where up to `size` bytes (at most SmallCapacity) can be written; the
    // buffer is handed on first when it lacks the room. Advance() then says
    // how far was written.
    char* Room(std::size_t size) {
        if (capacity_ - used_ < size) Flush();
        return data_ + used_;
    }
    void Advance(const char* end) { used_ = static_cast<std::size_t>(end - data_); }

    void Append(std::string_view text);
    // Hands on what the buffer holds.
    void Flush();

private:
    std::function<void(std::string_view)> write_;
    std::vector<char> large_;
    char small_[SmallCapacity];
    char* data_ = small_;
    std::size_t capacity_ = SmallCapacity;
    std::size_t used_ = 0;
};
