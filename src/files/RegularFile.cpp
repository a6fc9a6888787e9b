#include "files/RegularFile.h"

#include <filesystem>
#include <system_error>

bool CheckRegularFile(const QString& fileName, QString& reason) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName.toStdString(), error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return true;
    reason = std::filesystem::is_directory(status)
                 ? QStringLiteral("это папка, а не файл")
                 : QStringLiteral("это не обычный файл (канал или устройство)");
    return false;
}

QByteArray ReadBounded(QFile& file, qint64 limit) { return file.read(limit + 1); }

QString TooLargeReason() { return QStringLiteral("файл слишком велик"); }
