#include "files/ConditionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "files/ConditionsFormat.h"
#include "files/RegularFile.h"

TConditionsFileRead ReadConditionsFile(const QString& fileName) {
    TConditionsFileRead result;
    const QString shown = QDir::toNativeSeparators(fileName);
    QString refusal;
    if (!CheckRegularFile(fileName, refusal)) {
        result.Message = shown + QStringLiteral(": ") + refusal;
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
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
        result.Message = QStringLiteral("Файл ") +
                         QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) +
                         QStringLiteral(" не содержит условия");
        return result;
    }
    result.Outcome = TConditionsFileRead::Read;
    result.Lines = std::move(*lines);
    return result;
}
