#include "analysis/SolverLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

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

std::atomic<int> CallsUnderWay{0};
std::atomic<const char*> FailureMessage{"korvana: недостаточно памяти для решателя DDS\n"};
std::atomic<int> FailureStatus{5};
std::atomic<int> DefaultMemoryCap{0};

// Ends the process at exit, once its output is flushed, before the solver's
// own static objects are destroyed. The library's last clean-up reads those
// objects, and in a library loaded after the program started they would be
// destroyed first, so that clean-up would crash the ending program; the
// library cannot be unloaded early either (its C++ symbols pin it). Nothing
// of the solver needs saving at exit.
// An exit with a failure status from inside a call into the solver is the
// solver giving up for want of memory or threads: told as such.
extern "C" [[noreturn]] void EndBeforeTheSolver(int status, void*) {
    if (status != 0 && CallsUnderWay.load() > 0) {
        std::fputs(FailureMessage.load(), stderr);
        status = FailureStatus.load();
    }
    std::fflush(nullptr);
    if (__lsan_do_leak_check != nullptr) __lsan_do_leak_check();
    std::_Exit(status);
}

// A crash inside the solver is how it fails when an allocation it does not
// check comes back empty: told as running out of memory, like its exits. A
// crash anywhere else goes to the handler that was there before.
struct sigaction CrashedBefore[2] = {};
constexpr int CrashSignals[2] = {SIGSEGV, SIGBUS};

extern "C" void OnCrashInSolver(int signal, siginfo_t* info, void* context) {
    if (CallsUnderWay.load() > 0) {
        const char* message = FailureMessage.load();
        std::size_t length = 0;
        while (message[length] != '\0') ++length;
        [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, message, length);
        ::_exit(FailureStatus.load());
    }
    const struct sigaction& before = CrashedBefore[signal == SIGSEGV ? 0 : 1];
    if ((before.sa_flags & SA_SIGINFO) != 0 && before.sa_sigaction != nullptr) {
        before.sa_sigaction(signal, info, context);
        return;
    }
    if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN &&
        before.sa_handler != nullptr) {
        before.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);  // the fault happens again on return, now fatal
}

void CatchCrashesInSolver() {
    struct sigaction action = {};
    action.sa_sigaction = OnCrashInSolver;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 2; ++i) ::sigaction(CrashSignals[i], &action, &CrashedBefore[i]);
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
    // Set before loading: the library's start-up may already end the process.
    on_exit(EndBeforeTheSolver, nullptr);
    CatchCrashesInSolver();
    TSolverCall loading;
    // The library's run-time name first; the development link as a last resort.
    void* handle = nullptr;
    bool noMemory = false;
    for (const char* name : {"libdds.so.0", "libdds.so"}) {
        errno = 0;
        handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) break;
        noMemory = noMemory || errno == ENOMEM;
    }
    if (handle == nullptr) {
        const char* reason = dlerror();
        // Without the memory to map the library nothing else will run either.
        // (mapping a segment fails for want of address space).
        if (noMemory || (reason != nullptr && (std::strstr(reason, "Cannot allocate memory") ||
                                               std::strstr(reason, "failed to map segment"))))
            EndBeforeTheSolver(EXIT_FAILURE, nullptr);  // ended as the solver's own failures are
        loaded.Fault = "не удалось загрузить решатель DDS (libdds.so.0): " +
                       std::string(reason != nullptr ? reason : "нет библиотеки");
        return loaded;
    }
    // Again once loaded: the handler must run before the library's own
    // clean-up, which registered itself while the library was loading.
    on_exit(EndBeforeTheSolver, nullptr);
    TSolverLibrary& l = loaded.Library;
    std::string& fault = loaded.Fault;
    loaded.Ready = Find(handle, "SetResources", l.SetResources, fault) &&
                   Find(handle, "GetDDSInfo", l.GetDDSInfo, fault) &&
                   Find(handle, "SolveBoard", l.SolveBoard, fault) &&
                   Find(handle, "CalcAllTables", l.CalcAllTables, fault) &&
                   Find(handle, "DealerParBin", l.DealerParBin, fault) &&
                   Find(handle, "ErrorMessage", l.ErrorMessage, fault);
    // The library set itself up uncapped as it loaded.
    if (loaded.Ready && SolverMemoryCap(0) > 0) l.SetResources(SolverMemoryCap(0), 0);
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

int SolverMemoryCap(int threads) {
    const char* text = std::getenv("KORVANA_SOLVER_MEMORY_MB");
    const int cap = text != nullptr && *text != '\0' ? std::atoi(text) : DefaultMemoryCap.load();
    if (cap <= 0) return 0;
    if (threads <= 0) threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    // The solver takes 1.3 times the cap and gives each thread at least 30 MB;
    // with less it would drop threads.
    return std::max(cap, 24 * threads);
}

void SetSolverMemoryDefault(int megabytes) { DefaultMemoryCap.store(megabytes); }

void SetSolverFailureExit(const char* message, int status) {
    FailureMessage.store(message);
    FailureStatus.store(status);
}

TSolverCall::TSolverCall() { CallsUnderWay.fetch_add(1); }
TSolverCall::~TSolverCall() { CallsUnderWay.fetch_sub(1); }
