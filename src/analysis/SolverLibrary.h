#pragma once
// The DDS solver's entry points, loaded from its shared library the first time
// they are asked for. A process that solves nothing never loads the library,
// so it pays neither the library's start-up (its thread memory) nor its size.
#include <dds/dll.h>

#include <string>

struct TSolverLibrary {
    decltype(&::SetResources) SetResources = nullptr;
    decltype(&::GetDDSInfo) GetDDSInfo = nullptr;
    decltype(&::SolveBoard) SolveBoard = nullptr;
    decltype(&::CalcAllTables) CalcAllTables = nullptr;
    decltype(&::DealerParBin) DealerParBin = nullptr;
    decltype(&::ErrorMessage) ErrorMessage = nullptr;
};

// The loaded solver, or nullptr when its library cannot be loaded (then
// SolverLoadFault tells why). Loads at most once per process; thread-safe.
const TSolverLibrary* Solver();
// Why the solver could not be loaded, in Russian; empty when it was loaded.
std::string SolverLoadFault();

// The memory in MB the solver's thread tables may take on `threads` threads
// (0: one per core): the environment variable KORVANA_SOLVER_MEMORY_MB when it
// is set (0 there: no cap), else the process's default cap, 0 (no cap) unless
// SetSolverMemoryDefault changed it. Under a cap the solver keeps small
// tables: a long run's memory stays flat, but an exact count of tricks takes
// about a sixth longer and a whole table a third longer. Uncapped, the tables
// of a thread grow on hard deals towards 160 MB, so the peak keeps rising with
// the number of deals. A cap too small for the threads is raised to the least
// that keeps them all.
int SolverMemoryCap(int threads);

// The cap the solver takes when the environment sets none. Takes effect when
// the solver is loaded or its threads are set, so set it before either.
void SetSolverMemoryDefault(int megabytes);

// The cap of the long studies over thousands of deals: flat memory for about
// a seventh more time.
inline constexpr int StudySolverMemoryMB = 60;

// The solver ends the process itself (exit with a failure status) when it
// cannot get the memory or the threads it needs. While a call into it is under
// way such an end is turned into `status` after `message` is written to
// stderr, as the program ends on running out of memory. The default is a
// Russian message and status 5.
void SetSolverFailureExit(const char* message, int status);

// Marks a call into the solver for the lifetime of the object.
class TSolverCall {
public:
    TSolverCall();
    ~TSolverCall();
    TSolverCall(const TSolverCall&) = delete;
    TSolverCall& operator=(const TSolverCall&) = delete;
};
