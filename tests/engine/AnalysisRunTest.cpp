// An analysis run whose thread the system cannot start says so to its caller
// instead of ending the program.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <system_error>
#include <thread>

#include "engine/AnalysisRun.h"

TEST(AnalysisRunTest, AThreadThatCannotStartIsRefused) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "an address-space limit leaves no room for the sanitizer";
#endif
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for what is mapped now and a little more, not for a thread's stack.
        std::ifstream status("/proc/self/status");
        long kilobytes = 0;
        for (std::string word; status >> word;)
            if (word == "VmSize:" && status >> kilobytes) break;
        const rlim_t bytes = static_cast<rlim_t>(kilobytes + 1024) * 1024;
        const struct rlimit limit = {bytes, bytes};
        if (kilobytes == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(3);
        // The stacks of threads that ended earlier are kept for reuse: threads
        // that never end take them, until no thread can start at all.
        for (int i = 0; i < 64; ++i) {
            try {
                std::thread([] { ::pause(); }).detach();
            } catch (const std::system_error&) {
                break;
            }
        }
        TAnalysisRun run;
        const bool started = run.Start({}, {}, {});
        run.Wait();
        ::_exit(started ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
