#include "files/WholeFile.h"

#include <cerrno>
#include <system_error>

#include "text/FileError.h"
#include "text/ReplacingFile.h"

QString WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
    try {
        TReplacingFile file(fileName.toStdString());
        file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        file.Commit();
    } catch (const TFileError& failure) {
        // A refusal the system has no number for carries its own reason.
        return failure.ErrorNumber() == EINVAL ? QString::fromStdString(failure.what())
                                               : SystemReason(failure.ErrorNumber());
    }
    return {};
}

QString SystemReason(int errorNumber) {
    return QString::fromStdString(std::system_category().message(errorNumber));
}
