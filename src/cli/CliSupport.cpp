#include "cli/CliSupport.h"

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iterator>
#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"
#include "text/ReplacingFile.h"
#include "text/RussianCount.h"
#include "text/StringFunctions.h"

void TStderrSink::Show(const std::string& message, int32_t position) {
    ++messageCount_;
    if (position >= 0)
        std::fprintf(stderr, "%s (позиция %d)\n", message.c_str(), static_cast<int>(position));
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

TSeatingChoice SeatingOfOptions(const TArguments& arguments) {
    TSeatingChoice seating;
    if (arguments.Offers(kDealerOption) && arguments.Has(kDealerOption))
        seating.Dealer = SeatOfLetter(arguments.Text(kDealerOption).front());
    if (arguments.Offers(kVulOption) && arguments.Has(kVulOption)) {
        static constexpr std::pair<std::string_view, const char*> Words[] = {
            {"none", "None"}, {"ns", "NS"}, {"ew", "EW"}, {"both", "All"}};
        const std::string word = arguments.Text(kVulOption);
        for (const auto& [option, board] : Words)
            if (word == option) seating.Vulnerability = board;
    }
    return seating;
}

std::string SystemReason(int error) {
    static const std::pair<int, const char*> Reasons[] = {
        {ENOENT, "нет такого файла или папки"},
        {EACCES, "нет доступа"},
        {EPERM, "действие не разрешено"},
        {EISDIR, "это папка"},
        {ENOTDIR, "часть пути не является папкой"},
        {ENOSPC, "на диске нет места"},
        {EDQUOT, "превышена дисковая квота"},
        {EROFS, "файловая система только для чтения"},
        {EPIPE, "читатель закрыл канал"},
        {EIO, "ошибка ввода-вывода"},
        {EFBIG, "файл слишком велик"},
        {ENAMETOOLONG, "слишком длинное имя файла"},
        {ELOOP, "слишком много символических ссылок"},
        {EMFILE, "открыто слишком много файлов"},
        {ENXIO, "нет такого устройства"},
        {ETXTBSY, "файл занят"},
        {EBUSY, "устройство занято"},
        {EAGAIN, "ресурс временно недоступен"},
        {EINVAL, "недопустимый аргумент"},
        {ENOMEM, "не хватило памяти"},
    };
    for (const auto& [number, reason] : Reasons)
        if (number == error) return reason;
    return std::string("системная ошибка ") + std::to_string(error) + " (" + std::strerror(error) +
           ")";
}

namespace {

void ReportReadFailure(const std::string& name, int error) {
    std::fprintf(stderr, "korvana-cli: не удалось прочитать %s: %s\n", name.c_str(),
                 SystemReason(error).c_str());
}

// "повреждена строка 3", "повреждены строки 3, 7 и ещё 12".
std::string DamagedLinesText(const TDealsReadCounts& counts) {
    std::string text = counts.DamagedLines == 1 ? "повреждена строка " : "повреждены строки ";
    for (std::size_t i = 0; i < counts.NamedDamagedLines.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(counts.NamedDamagedLines[i]);
    const int64_t unnamed =
        int64_t{counts.DamagedLines} - static_cast<int64_t>(counts.NamedDamagedLines.size());
    if (unnamed > 0) text += " и ещё " + std::to_string(unnamed);
    return text;
}

}  // namespace

bool ReadDealsFile(const std::string& name, TDeals& deals, std::vector<TBoard>* boards,
                   const TDealFormat** format, bool* damagedLoaded) {
    // "-" is stdin; any other name is opened once and read to its end, so a
    // pipe or a device is read as a file is.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(nullptr, std::fclose);
    if (name != "-") {
        errno = 0;
        opened.reset(std::fopen(name.c_str(), "rb"));
        if (!opened) {
            ReportReadFailure(name, errno);
            return false;
        }
    }
    TDealsInput in(opened ? opened.get() : stdin, name);
    try {
        in.Head();  // a folder fails here, with the system's reason
    } catch (const TFileError& failure) {
        ReportReadFailure(name, failure.ErrorNumber());
        return false;
    }
    TStderrSink sink;
    try {
        const TDealsLoadResult result = ReadDeals(in, deals, boards);
        const TDealsReadCounts& counts = result.Counts;
        if (counts.Damaged > 0) {
            // Damaged boards are named, not passed over: the file is not read whole.
            std::fprintf(stderr, "korvana-cli: файл %s: %s\n", name.c_str(),
                         DamagedBoardsText(counts).c_str());
            return false;
        }
        if (counts.DamagedLines > 0) {
            std::fprintf(stderr, "korvana-cli: файл %s: %s\n", name.c_str(),
                         DamagedLinesText(counts).c_str());
            if (damagedLoaded == nullptr) return false;
            *damagedLoaded = true;
        }
        if (format != nullptr) *format = result.Format;
        return result.Found && !result.Refused;
    } catch (const std::bad_alloc&) {
        throw;  // told as running out of memory, by main
    } catch (const TFileError& failure) {
        ReportReadFailure(name, failure.ErrorNumber());
        return false;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "korvana-cli: %s\n", failure.what());
        return false;
    }
}

bool ChooseDealsOutput(const std::string& name, const std::string& formatWord, TDealsOutput& output,
                       std::string& complaint) {
    output = TDealsOutput{};
    output.Name = name;
    if (name == "-") {
        if (formatWord.empty()) {
            complaint = std::string("для вывода в стандартный поток (-) нужен ") +
                        kOutFormatOption.Name + " " + kOutFormatOption.ValueName;
            return false;
        }
        output.Streamed = true;
    } else {
        output.Streamed = TReplacingFile::WritesInPlace(name);
    }
    if (!formatWord.empty()) {
        output.Format = DealFormatOfWord(formatWord);
        return output.Format != nullptr;  // the option's table admits no other word
    }
    const std::string extension = std::filesystem::path(name).extension().string();
    output.Format = extension.empty() ? &DealsFileFormat() : DealFormatOfName(name);
    if (output.Format != nullptr) return true;
    std::string known;
    for (const TDealFormat& format : DealFormats())
        known += (known.empty() ? "" : ", ") + std::string(format.Extension);
    complaint = "неизвестное расширение файла раздач " + extension + " (известны: " + known +
                "; или укажите " + kOutFormatOption.Name + ")";
    return false;
}

namespace {

// Writes the boards straight to an open stream; false with the system's
// reason when a write fails.
bool WriteStreamed(std::FILE* stream, const TDealFormat& format, const TBoards& boards,
                   int& error) {
    error = 0;
    TOutputBuffer out([&](std::string_view chunk) {
        if (error != 0) return;
        errno = 0;
        if (std::fwrite(chunk.data(), 1, chunk.size(), stream) != chunk.size())
            error = errno != 0 ? errno : EIO;
    });
    WriteBoards(out, format, boards);
    errno = 0;
    if (error == 0 && std::fflush(stream) != 0) error = errno != 0 ? errno : EIO;
    return error == 0;
}

}  // namespace

bool WriteDealsOutput(const TDealsOutput& output, const TBoards& boards, int32_t count) {
    const TDealFormat& format = *output.Format;
    if (output.Name == "-") {
        int error = 0;
        try {
            if (WriteStreamed(stdout, format, boards, error)) return true;
        } catch (const TFormatLimitError& limit) {
            std::fprintf(stderr, "korvana-cli: не удалось записать стандартный вывод: %s\n",
                         limit.what());
            return false;
        }
        std::fprintf(stderr, "korvana-cli: не удалось записать стандартный вывод: %s\n",
                     SystemReason(error != 0 ? error : EIO).c_str());
        return false;
    }
    // A name is resolved against the working folder: a bare name is a file there.
    std::error_code resolving;
    const std::filesystem::path absolute = std::filesystem::absolute(output.Name, resolving);
    const std::string name = output.Streamed || resolving ? output.Name : absolute.string();
    auto complain = [&name](const std::string& reason) {
        std::fprintf(stderr, "korvana-cli: не удалось записать %s: %s\n", name.c_str(),
                     reason.c_str());
        return false;
    };
    if (!output.Streamed && !FileDirExists(name)) return complain(SystemReason(ENOENT));
    const int32_t others = output.Streamed ? 0 : OtherHardLinks(name);
    try {
        WriteDealsFile(name, format, boards);
    } catch (const TFileError& failure) {
        return complain(failure.ErrorNumber() == EINVAL ? std::string(failure.what())
                                                        : SystemReason(failure.ErrorNumber()));
    }
    TellOtherHardLinks(name, others);
    // A deals file with deals tells where it was saved, as the window does.
    if (!output.Streamed && &format == &DealsFileFormat() && count > 0)
        ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
    return true;
}

bool WriteDealsFile(const TDealsOutput& output, const TDeals& deals, int32_t keyValue,
                    const std::vector<TDealAnalysis>* analyses, bool secure, int64_t firstBoard,
                    const TSeatingChoice& seating, bool delayed) {
    return WriteDealsOutput(
        output,
        TDealsAsBoards(deals, TDealtBy{keyValue, keyValue, secure, delayed},
                       analyses != nullptr ? std::span<const TDealAnalysis>(*analyses)
                                           : std::span<const TDealAnalysis>())
            .FirstBoard(firstBoard)
            .Seating(seating),
        deals.Count());
}

int32_t OtherHardLinks(const std::string& name) {
    struct stat status = {};
    return ::stat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink > 1
               ? static_cast<int32_t>(status.st_nlink - 1)
               : 0;
}

void TellOtherHardLinks(const std::string& name, int32_t others) {
    if (others > 0)
        std::fprintf(stderr,
                     "korvana-cli: файл %s записан заново; под другими его именами (жёсткими "
                     "ссылками, ещё %d) осталось прежнее содержимое\n",
                     name.c_str(), static_cast<int>(others));
}

std::string CountedDeals(int64_t count, const char* one, const char* few, const char* many) {
    return std::string(RussianForm(count, one, few, many)) + " " +
           RussianCount(count, "раздача", "раздачи", "раздач");
}

bool StdoutIsRegularFile() {
    struct stat status = {};
    return fstat(STDOUT_FILENO, &status) == 0 && S_ISREG(status.st_mode);
}

bool StdoutReaderLeft() {
    struct stat status = {};
    if (fstat(STDOUT_FILENO, &status) != 0 || !S_ISFIFO(status.st_mode)) return false;
    // The write end of a pipe without readers polls as an error.
    struct pollfd end = {STDOUT_FILENO, POLLOUT, 0};
    return poll(&end, 1, 0) == 1 && (end.revents & POLLERR) != 0;
}

bool WriteLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

void ComplainUsage(const std::string& complaint) {
    std::fprintf(stderr, "korvana-cli: %s\n", complaint.c_str());
}

int ExitCodeOf(const TStatus& status) {
    switch (status.Code()) {
        case TStatus::TCode::Ok:
            return ExitDone;
        case TStatus::TCode::Condition:
            return ExitConditionError;
        case TStatus::TCode::Missing:
            return ExitFileFailed;
        case TStatus::TCode::Usage:
        case TStatus::TCode::Busy:
            break;
    }
    return ExitBadUsage;
}

int ReportStatus(const TStatus& status, const std::string& source) {
    if (status.IsOk()) return ExitDone;
    std::string head = "korvana-cli: ";
    if (!source.empty())
        head +=
            source + (status.Line() > 0 ? ", строка " + std::to_string(status.Line()) : "") + ": ";
    if (!status.Where().empty()) head += status.Where() + ": ";
    if (status.Code() == TStatus::TCode::Condition) {
        std::fprintf(stderr, "%sошибка в позиции %d: %s\n", head.c_str(),
                     static_cast<int>(status.Position()), status.Message().c_str());
        PrintErrorCaret(status.Text(), status.Position());
    } else {
        std::fprintf(stderr, "%s%s\n", head.c_str(), status.Message().c_str());
    }
    return ExitCodeOf(status);
}
