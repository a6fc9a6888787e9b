#pragma once
// Runs the korvana-cli program without a shell: arguments are passed as they
// are, stdout and stderr are caught in files of a temporary folder, and the
// program can be stopped by a signal once it has printed a deal, run
// in another working folder, or given a stdout whose reader has gone.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

struct TCliRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;

    // The stderr lines, without their line ends.
    std::vector<std::string> ErrLines() const { return SplitAtNewlines(Err); }
    std::vector<std::string> OutLines() const { return SplitAtNewlines(Out); }
    std::string LastErrLine() const {
        auto lines = ErrLines();
        return lines.empty() ? std::string() : lines.back();
    }

    static std::vector<std::string> SplitAtNewlines(const std::string& text) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        if (start < text.size()) lines.push_back(text.substr(start));
        return lines;
    }
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// How a run is made beyond its arguments.
struct TCliRunOptions {
    // When set, `Signal` is sent once the run is under way: stderr shows the
    // key line (printed once the signal handlers are set) and, with
    // `KeptOnStdout`, stdout shows a kept deal; or after ten seconds.
    bool Interrupt = false;
    bool KeptOnStdout = false;
    int Signal = SIGINT;
    std::chrono::milliseconds SignalAfter{};  // when set, the signal's delay from the start
    std::filesystem::path WorkingFolder;      // empty: the tests' own
    bool ReaderGone = false;                  // stdout is a pipe nobody reads any more
    long DataLimit = 0;                       // when not zero, the bytes of data memory allowed
    std::filesystem::path Stdin;              // empty: /dev/null
};

inline TCliRun RunCliWith(const std::filesystem::path& folder, const std::vector<std::string>& args,
                          const TCliRunOptions& options) {
    const std::filesystem::path outFile = folder / "stdout.txt";
    const std::filesystem::path errFile = folder / "stderr.txt";
    std::vector<std::string> all = {KORVANA_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);

    TCliRun run;
    std::error_code ignored;  // the files of an earlier run must not count as written
    std::filesystem::remove(outFile, ignored);
    std::filesystem::remove(errFile, ignored);
    int pipeEnds[2] = {-1, -1};
    if (options.ReaderGone && ::pipe(pipeEnds) != 0) return run;
    pid_t child = ::fork();
    if (child < 0) return run;
    if (child == 0) {
        int out = options.ReaderGone ? pipeEnds[1]
                                     : ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = ::open(options.Stdin.empty() ? "/dev/null" : options.Stdin.c_str(), O_RDONLY);
        if (out < 0 || err < 0 || in < 0) ::_exit(127);
        if (options.ReaderGone) ::close(pipeEnds[0]);
        const struct rlimit limit = {static_cast<rlim_t>(options.DataLimit),
                                     static_cast<rlim_t>(options.DataLimit)};
        if (options.DataLimit > 0 && ::setrlimit(RLIMIT_DATA, &limit) != 0) ::_exit(127);
        if (!options.WorkingFolder.empty() && ::chdir(options.WorkingFolder.c_str()) != 0)
            ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (options.ReaderGone) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    }
    if (options.Interrupt) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        const auto written = [](const std::filesystem::path& file) {
            std::error_code missing;
            const auto size = std::filesystem::file_size(file, missing);
            return !missing && size > 0;
        };
        if (options.SignalAfter.count() > 0) std::this_thread::sleep_for(options.SignalAfter);
        while (options.SignalAfter.count() == 0 && std::chrono::steady_clock::now() < deadline &&
               !(written(errFile) && (!options.KeptOnStdout || written(outFile))))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(child, options.Signal);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!options.ReaderGone) run.Out = ReadWholeFile(outFile);
    run.Err = ReadWholeFile(errFile);
    return run;
}

// interrupt: SIGINT is sent once the program has printed its key and a deal.
inline TCliRun RunCli(const std::filesystem::path& folder, const std::vector<std::string>& args,
                      bool interrupt = false) {
    TCliRunOptions options;
    options.Interrupt = interrupt;
    options.KeptOnStdout = interrupt;
    return RunCliWith(folder, args, options);
}
