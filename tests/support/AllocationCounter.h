#pragma once
// The count of allocations made by the current thread through the global
// operator new. The core test program replaces operator new once, in
// tests/deals/DealAllocationTest.cpp, and every test that must show "no
// allocation" reads this counter (a second replacement would not link).
inline thread_local long allocationsOfThisThread = 0;
