#include "text/OutputBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

TOutputBuffer::TOutputBuffer(std::function<void(std::string_view)> write, std::size_t capacity)
    : write_(std::move(write)) {
    if (capacity <= SmallCapacity) return;
    try {
        large_.resize(capacity);
        data_ = large_.data();
        capacity_ = capacity;
    } catch (const std::bad_alloc&) {
        // The small buffer serves: more write calls, the same bytes.
    }
}

void TOutputBuffer::Append(std::string_view text) {
    while (!text.empty()) {
        if (used_ == capacity_) Flush();
        const std::size_t part = std::min(text.size(), capacity_ - used_);
        std::memcpy(data_ + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
    }
}

void TOutputBuffer::Flush() {
    if (used_ == 0) return;
    const std::size_t size = std::exchange(used_, 0);
    write_(std::string_view(data_, size));
}
