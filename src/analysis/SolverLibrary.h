#pragma once
// The DDS solver's entry points, loaded from its shared library the first time
// they are asked for. A process that solves nothing never loads the library,
// so it pays neither the library's start-up (its thread memory) nor its size.
#include <dds/dll.h>

#include <string>

struct TSolverLibrary {
    decltype(&::SetMaxThreads) SetMaxThreads = nullptr;
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
