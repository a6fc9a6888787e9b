#pragma once
// Allocations made through global operator new by the calling thread. The core
// test program replaces operator new once, in tests/deals/AllocationCounter.cpp
// (a second replacement would not link); a test that must show "no allocation"
// takes the difference of this count around the code under test.
inline thread_local long allocationsOfThisThread = 0;

inline long AllocationsOfThisThread() { return allocationsOfThisThread; }
