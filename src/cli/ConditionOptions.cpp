#include "cli/ConditionOptions.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cli/CliSupport.h"
#include "engine/Generator.h"
#include "files/ConditionsFile.h"
#include "language/ErrorReport.h"

TConditionSource ConditionSource(const TArguments& arguments) {
    TConditionSource source;
    source.FromFile = arguments.Has(kConditionFileOption);
    source.Given = source.FromFile || arguments.Has(kConditionOption);
    source.Text = arguments.Text(kConditionOption);
    source.FileName = arguments.Text(kConditionFileOption);
    return source;
}

bool ReadConditionLines(const TConditionSource& source, std::vector<std::string>& lines) {
    lines.clear();
    if (!source.Given) return true;
    if (!source.FromFile) {
        lines.push_back(source.Text);
        return true;
    }
    // A file that cannot be read is told with the system's reason in the
    // program's own words (asked without opening it: a pipe would wait).
    errno = 0;
    if (source.FileName != "-" && ::access(source.FileName.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "korvana-cli: не удалось прочитать %s: %s\n", source.FileName.c_str(),
                     SystemReason(errno != 0 ? errno : EIO).c_str());
        return false;
    }
    const TConditionsFileRead read = ReadConditionsFile(QString::fromStdString(source.FileName));
    if (read.Outcome != TConditionsFileRead::Read) {
        std::fprintf(stderr, "korvana-cli: %s\n", read.Message.toStdString().c_str());
        return false;
    }
    for (const QString& line : read.Lines) lines.push_back(line.toStdString());
    return true;
}

void PrintErrorCaret(const std::string& text, int32_t position) {
    // The caret's line copies the tabs of the text before the position, so the
    // caret lines up; every other character (a code point) becomes one blank.
    std::string pad;
    int32_t characters = 0;
    for (size_t i = 0; i < text.size() && characters < position; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte of a UTF-8 sequence
        pad += c == '\t' ? '\t' : ' ';
        ++characters;
    }
    if (characters < position) pad.append(static_cast<size_t>(position - characters), ' ');
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fprintf(stderr, "\n%s^\n", pad.c_str());
}

bool PrepareConditionOrReport(TGenerator& generator, const std::vector<std::string>& lines) {
    const TStatus status = QuietCheck([&] { return generator.PrepareCondition(); }, {});
    if (status.IsOk()) return true;
    if (status.Message().empty()) {
        std::fputs("korvana-cli: условие пустое\n", stderr);
        return false;
    }
    std::string joined;
    for (const std::string& line : lines) joined += line;
    const int32_t position = generator.ErrorPosition();
    // Written whole: a NUL typed into the condition must not cut the message short.
    std::fprintf(stderr, "ошибка в позиции %d: ", static_cast<int>(position));
    std::fwrite(status.Message().data(), 1, status.Message().size(), stderr);
    std::fputc('\n', stderr);
    PrintErrorCaret(joined, position);
    return false;
}
