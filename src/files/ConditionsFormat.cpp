#include "files/ConditionsFormat.h"

#include "files/TextFile.h"

const char* const ConditionsFileHeader = "This is Conditions File of Tavex's Bridge Generator";

QByteArray FormatConditions(const QStringList& lines) {
    QByteArray bytes = QByteArray(ConditionsFileHeader) + "\r\n";
    for (const QString& line : lines) bytes += EncodeWindows1251(line) + "\r\n";
    return bytes;
}

std::optional<QStringList> ParseConditions(const QByteArray& bytes) {
    QStringList lines = DecodeWindows1251Lines(bytes);
    if (lines.isEmpty() || lines.first() != QLatin1String(ConditionsFileHeader))
        return std::nullopt;
    lines.removeFirst();
    return lines;
}
