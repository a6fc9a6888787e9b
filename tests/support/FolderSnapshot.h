#pragma once
// What a folder holds, to show that a failed save left every file as it was,
// and whole files read and written.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <filesystem>
#include <map>
#include <system_error>

// The bytes of a file; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// True when `bytes` are the whole new content of the file.
inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Every file under a folder with its bytes, folders as "<folder>"; the lock a
// window holds on its setup folder while it lives is left out.
inline std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(folder.toStdString(), error)) {
        const QString path = QString::fromStdString(entry.path().string());
        if (entry.path().filename() == "korvana.lock") continue;
        files[path] = entry.is_regular_file() ? ReadAll(path) : QByteArray("<folder>");
    }
    return files;
}
