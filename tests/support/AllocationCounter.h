#pragma once
// Allocations made through global operator new by the calling thread, counted
// by the replaced operator new of the core test program
// (tests/deals/AllocationCounter.cpp). Take the difference around the code
// under test: it allocates nothing when the count does not change.
long AllocationsOfThisThread();
