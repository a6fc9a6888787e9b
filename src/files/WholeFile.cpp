#include "files/WholeFile.h"

#include <system_error>

#include "text/FileError.h"
#include "text/ReplacingFile.h"

QString WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
    try {
        TReplacingFile file(fileName.toStdString());
        file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        file.Commit();
    } catch (const TFileError& failure) {
        return SystemReason(failure.ErrorNumber());
    }
    return {};
}

QString SystemReason(int errorNumber) {
    return QString::fromStdString(std::system_category().message(errorNumber));
}
