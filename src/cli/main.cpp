// korvana-cli: the command-line front end. Dispatches to one subcommand.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "analysis/SolverLibrary.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace {

constexpr const char* ExitCodesText =
    "коды возврата: 0 готово, 1 не удалось записать стандартный вывод, 2 неверный вызов\n"
    "  (у моделирования также отвергнутый контракт, разыгрывающий или вариант),\n"
    "  3 в условии (или в условии правила, в выражении) ошибка или оно пустое,\n"
    "  4 файл не удалось прочитать или записать, в нём нет раздач или есть повреждённые\n"
    "  (stats и listing всё равно печатают отчёт, convert ничего не записывает),\n"
    "  5 не хватило памяти, 6 набор не совпадает с секретом (verify),\n"
    "  130 остановлено по Ctrl+C, 143 по SIGTERM, 129 по SIGHUP\n"
    "  (отобранные раздачи всё равно записаны)\n";

// Every subcommand, in the order the usage text lists them.
const TCommand* const kCommands[] = {&kGenerateCommand, &kCheckCommand,   &kStatsCommand,
                                     &kListingCommand,  &kConvertCommand, &kAnalyzeCommand,
                                     &kSimulateCommand, &kLeadsCommand,   &kTabulateCommand,
                                     &kHandoutCommand,  &kVerifyCommand};

void PrintUsage(std::FILE* stream) {
    std::fputs("использование: korvana-cli COMMAND [ARGUMENTS]\n\nкоманды:\n", stream);
    for (const TCommand* command : kCommands) {
        std::fprintf(stream, "  %s\n      %s\n", CommandSynopsis(*command).c_str(),
                     command->Summary);
    }
    std::fputs("\n'korvana-cli COMMAND --help' описывает ключи команды.\n\n", stream);
    std::fputs(ExitCodesText, stream);
}

// Reads the command's arguments by its table and runs it, or prints its help.
int RunCommand(const TCommand& command, const std::vector<std::string>& args) {
    TArguments arguments;
    std::string complaint;
    switch (ParseArguments(command, args, arguments, complaint)) {
        case TParseOutcome::Help:
            PrintCommandHelp(command, stdout);
            std::fputs(ExitCodesText, stdout);
            return std::fflush(stdout) == 0 ? ExitDone : ExitOutputFailed;
        case TParseOutcome::BadUsage:
            ComplainUsage(complaint);
            return ExitBadUsage;
        case TParseOutcome::Parsed:
            break;
    }
    return command.Run(arguments);
}

constexpr const char* OutOfMemoryText = "korvana-cli: не хватило памяти\n";

// Memory that runs out on another thread, or inside a library, ends the
// program as it does anywhere else.
[[noreturn]] void EndUncaught() {
    try {
        if (std::exception_ptr thrown = std::current_exception()) std::rethrow_exception(thrown);
    } catch (const std::bad_alloc&) {
        std::fputs(OutOfMemoryText, stderr);
        std::fflush(nullptr);
        std::_Exit(ExitOutOfMemory);
    } catch (...) {
    }
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    std::set_terminate(EndUncaught);
    SetSolverFailureExit(OutOfMemoryText, ExitOutOfMemory);
    TStderrSink sink;
    if (argc < 2) {
        PrintUsage(stderr);
        return ExitBadUsage;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return ExitDone;
    }
    if (name == "--version") {
        std::puts("korvana-cli " KORVANA_VERSION);
        return std::fflush(stdout) == 0 ? ExitDone : ExitOutputFailed;
    }
    for (const TCommand* command : kCommands) {
        if (name != command->Name) continue;
        int code = ExitOutOfMemory;
        try {
            code = RunCommand(*command, std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::bad_alloc&) {
            std::fputs(OutOfMemoryText, stderr);
            return ExitOutOfMemory;
        }
        // A condition on tricks asked a solver that could not be loaded: it
        // kept no deal, and the reason is told once.
        if (const TStatus fault = TakeSolverFault(); !fault.IsOk())
            std::fprintf(stderr, "%s\n", fault.Message().c_str());
        if (code == ExitBadUsage) PrintUsage(stderr);
        return code;
    }
    std::fprintf(stderr, "korvana-cli: неизвестная команда \"%s\"\n", name.c_str());
    PrintUsage(stderr);
    return ExitBadUsage;
}
