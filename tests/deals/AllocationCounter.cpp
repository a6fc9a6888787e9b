// The core test program's global operator new: plain malloc that counts each
// allocation of the calling thread (see support/AllocationCounter.h).
#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    ++allocationsOfThisThread;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
