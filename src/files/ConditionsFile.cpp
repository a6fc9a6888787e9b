#include "files/ConditionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "files/ConditionsFormat.h"
#include "files/RegularFile.h"

TConditionsFileRead ReadConditionsFile(const QString& fileName) {
    TConditionsFileRead result;
    const QString shown = QDir::toNativeSeparators(fileName);
    const bool standardInput = fileName == QStringLiteral("-");
    QString refusal;
    if (!standardInput && !CheckRegularFile(fileName, refusal)) {
        result.Message = shown + QStringLiteral(": ") + refusal;
        return result;
    }
    QFile file(fileName);
    if (!(standardInput ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly))) {
        result.Message = shown + QStringLiteral(": ") + file.errorString();
        return result;
    }
    const QByteArray bytes = ReadBounded(file, MaxConditionsFileBytes);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxConditionsFileBytes) {
        result.Message =
            shown + QStringLiteral(": ") +
            (file.error() != QFileDevice::NoError ? file.errorString() : TooLargeReason());
        return result;
    }
    std::optional<QStringList> lines = ParseConditions(bytes);
    if (!lines) {
        result.Outcome = TConditionsFileRead::Refused;
        result.Message =
            QStringLiteral("Файл ") +
            (standardInput ? fileName
                           : QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())) +
            QStringLiteral(" не содержит условия");
        return result;
    }
    result.Outcome = TConditionsFileRead::Read;
    result.Lines = std::move(*lines);
    return result;
}
