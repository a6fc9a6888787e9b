#include "files/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

// Opening a converter by name looks it up in the platform's tables, which
// costs far more than converting a line; each thread keeps one of each and
// resets it before every use, so the text converted is always whole.
QString DecodeWindows1251(const QByteArray& bytes) {
    thread_local QStringDecoder decoder("windows-1251");
    decoder.resetState();
    return decoder.decode(bytes);
}

QByteArray EncodeWindows1251(const QString& text) {
    thread_local QStringEncoder encoder("windows-1251");
    encoder.resetState();
    return encoder.encode(text);
}

QList<QByteArray> SplitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool lastLine = end < 0;
        if (lastLine) end = bytes.size();
        qsizetype lineEnd = end;
        if (!lastLine && lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
        lines.append(bytes.mid(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

QStringList DecodeWindows1251Lines(const QByteArray& bytes) {
    QStringList lines;
    for (const QByteArray& line : SplitLines(bytes)) lines.append(DecodeWindows1251(line));
    return lines;
}

QString FolderOfFile(const QString& fileName) {
    const QString absolute = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
    const qsizetype separator = absolute.lastIndexOf(QDir::separator());
    return separator < 0 ? QString() : absolute.left(separator + 1);
}
