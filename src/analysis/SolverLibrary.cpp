#include "analysis/SolverLibrary.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct TLoaded {
    TSolverLibrary Library;
    bool Ready = false;
    std::string Fault;
};

}  // namespace

// The leak check of a build with AddressSanitizer, when there is one.
extern "C" void __lsan_do_leak_check() __attribute__((weak));

namespace {

// Ends the process at exit, once its output is flushed, before the solver's
// own static objects are destroyed. The library's last clean-up reads those
// objects, and in a library loaded after the program started they would be
// destroyed first, so that clean-up would crash the ending program; the
// library cannot be unloaded early either (its C++ symbols pin it). Nothing
// of the solver needs saving at exit.
extern "C" void EndBeforeTheSolver(int status, void*) {
    std::fflush(nullptr);
    if (__lsan_do_leak_check != nullptr) __lsan_do_leak_check();
    std::_Exit(status);
}

template <typename TFunction>
bool Find(void* handle, const char* name, TFunction& function, std::string& fault) {
    function = reinterpret_cast<TFunction>(dlsym(handle, name));
    if (function == nullptr && fault.empty())
        fault = "в библиотеке решателя DDS нет функции " + std::string(name);
    return function != nullptr;
}

TLoaded Load() {
    TLoaded loaded;
    // The library's run-time name first; the development link as a last resort.
    void* handle = nullptr;
    for (const char* name : {"libdds.so.0", "libdds.so"}) {
        handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) break;
    }
    if (handle == nullptr) {
        const char* reason = dlerror();
        loaded.Fault = "не удалось загрузить решатель DDS (libdds.so.0): " +
                       std::string(reason != nullptr ? reason : "нет библиотеки");
        return loaded;
    }
    TSolverLibrary& l = loaded.Library;
    std::string& fault = loaded.Fault;
    loaded.Ready = Find(handle, "SetMaxThreads", l.SetMaxThreads, fault) &&
                   Find(handle, "GetDDSInfo", l.GetDDSInfo, fault) &&
                   Find(handle, "SolveBoard", l.SolveBoard, fault) &&
                   Find(handle, "CalcAllTables", l.CalcAllTables, fault) &&
                   Find(handle, "DealerParBin", l.DealerParBin, fault) &&
                   Find(handle, "ErrorMessage", l.ErrorMessage, fault);
    on_exit(EndBeforeTheSolver, nullptr);
    return loaded;
}

const TLoaded& Loaded() {
    static const TLoaded loaded = Load();
    return loaded;
}

}  // namespace

const TSolverLibrary* Solver() {
    const TLoaded& loaded = Loaded();
    return loaded.Ready ? &loaded.Library : nullptr;
}

std::string SolverLoadFault() { return Loaded().Fault; }
