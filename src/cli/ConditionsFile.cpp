#include "cli/ConditionsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool ReadConditionsFile(const std::string& fileName, std::vector<std::string>& lines, std::string& error) {
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        error = fileName + ": " + file.errorString().toStdString();
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = fileName + ": " + file.errorString().toStdString();
        return false;
    }
    // Windows-1251 is one byte per character, so lines split the same before
    // and after decoding; decode once, then split the UTF-8 text.
    QStringDecoder decoder("windows-1251");
    std::string text = QString(decoder(bytes)).toStdString();
    std::vector<std::string> fileLines = SplitLines(text);
    if (fileLines.empty() || fileLines.front() != ConditionsFileHeader) {
        error = "Файл " + QFileInfo(file).absoluteFilePath().toStdString() + " не содержит условия";
        return false;
    }
    lines.assign(fileLines.begin() + 1, fileLines.end());
    return true;
}
