// korvana-cli verify: deals a secure set again from its secret and compares
// the cards of every board of a file with the board of the same number.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "cli/DealingRun.h"
#include "deals/Board.h"
#include "deals/DealCollection.h"
#include "deals/SecureSource.h"
#include "text/RussianCount.h"

namespace {

constexpr const char* kVerifyArguments[] = {"FILE"};

constexpr TTextOption kCommitmentOption =
    TOptionRow{.Name = "--commitment",
               .Kind = TValueKind::Text,
               .ValueName = "HEX",
               .Help = "опубликованная заранее строка commitment: проверяет и её"};

// The set's secret: --secret or --secret-file, exactly one.
consteval TOptionRow OneSecret() {
    TOptionRow row = kSecretOption;
    row.WithNext = TAlternative::ExactlyOne;
    return row;
}

constexpr TOptionRow kVerifyOptions[] = {
    OneSecret(),          kSecretFileOption, kDelayedOption,    kCommitmentOption, kConditionOption,
    kConditionFileOption, kFixedOption,      kFirstBoardOption, kDirectedOption,   kThreadsOption,
};

int Mismatch(const std::string& message) {
    std::fprintf(stderr, "korvana-cli: %s\n", message.c_str());
    return ExitSetMismatch;
}

}  // namespace

int RunVerify(const TArguments& arguments);

const TCommand kVerifyCommand = {
    .Name = "verify",
    .Summary =
        "проверяет надёжный набор по секрету: сдаёт его заново с тем же условием и картами и "
        "сравнивает карты каждой сдачи файла с одноимённой сдачей набора",
    .Options = kVerifyOptions,
    .Positionals = kVerifyArguments,
    .Run = RunVerify};

int RunVerify(const TArguments& arguments) {
    TRunOptions options;
    if (!ReadSecretOptions(arguments, options.Secret, options.SecretFile) ||
        !ReadDelayedOption(arguments, options.Delayed))
        return ExitBadUsage;
    std::optional<TSecret> commitment;
    if (arguments.Has(kCommitmentOption)) {
        commitment = ReadSecret(arguments.Text(kCommitmentOption));
        if (!commitment) {
            ComplainUsage("--commitment: это ровно 64 шестнадцатеричные цифры");
            return ExitBadUsage;
        }
    }
    options.Condition = ConditionSource(arguments);
    options.Fixed = arguments.Text(kFixedOption);
    options.Directed = arguments.Has(kDirectedOption);
    options.Threads = static_cast<int32_t>(arguments.Number(kThreadsOption, 0));
    options.ShowSecret = false;
    const int64_t firstBoard = arguments.Number(kFirstBoardOption, 1);

    TSecret secret;
    if (options.Secret) {
        secret = *options.Secret;
    } else if (const int code = ReadSecretFile(options.SecretFile, secret); code != ExitDone) {
        return code;
    }
    if (commitment && SecretCommitment(secret) != *commitment)
        return Mismatch("commitment не от этого секрета: набор сдан другим секретом");
    options.Secret = secret;
    options.SecretFile.clear();

    TDeals read;
    std::vector<TBoard> boards;
    if (!ReadDealsFile(arguments.Positionals[0], read, &boards)) return ExitFileFailed;
    NumberBoards(boards, firstBoard);
    int64_t last = firstBoard;
    for (const TBoard& board : boards) {
        if (board.Number < firstBoard)
            return Mismatch("сдача " + std::to_string(board.Number) +
                            " не из набора: он начинается со сдачи " + std::to_string(firstBoard));
        last = std::max(last, board.Number);
    }
    if (last - firstBoard >= kCountOption.Most) {
        std::fprintf(stderr, "korvana-cli: сдача %lld: набор проверяется не дальше %lld сдач\n",
                     static_cast<long long>(last), static_cast<long long>(kCountOption.Most));
        return ExitFileFailed;
    }
    options.Count = static_cast<int32_t>(last - firstBoard + 1);

    TDeals dealt;
    TRunResult run;
    if (const int code = RunDealing(options, dealt, {}, run); code != ExitDone) return code;
    if (run.StopSignal != 0) return TStopSignals::ExitCode(run.StopSignal);
    if (run.RanOutOfMemory) {
        std::fputs("korvana-cli: не хватило памяти, чтобы сдать набор заново\n", stderr);
        return ExitOutOfMemory;
    }
    for (const TBoard& board : boards) {
        const TDeal* again = dealt.GetDeal(static_cast<int32_t>(board.Number - firstBoard));
        if (again != nullptr && board.Deal.CardSets().Hands == again->CardSets().Hands) continue;
        std::string message =
            "сдача " + std::to_string(board.Number) + " не совпадает с набором " +
            (options.Delayed ? "этого секрета и отложенного текста" : "этого секрета");
        // The file's own word that its set was dealt with a delayed text.
        if (!options.Delayed && BoardGeneratorText(board) == "Korvana, secure, delayed")
            message += " (файл говорит, что набор сдан с отложенным текстом: нужен --delayed)";
        return Mismatch(message);
    }
    const auto count = static_cast<int64_t>(boards.size());
    std::printf("верно: %s\n", RussianCount(count, "сдача", "сдачи", "сдач").c_str());
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? ExitDone : ExitOutputFailed;
}
