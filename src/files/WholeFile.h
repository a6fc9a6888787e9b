#pragma once
// Writing a whole file from bytes in memory, whole or not at all (see
// TReplacingFile): the window's conditions, setup and report files.
#include <QByteArray>
#include <QString>

// Writes the bytes in place of the file; the failure's text ("<the system's
// reason>"), or an empty text when every byte is on the disk under that name.
QString WriteWholeFile(const QString& fileName, const QByteArray& bytes);

// The system's text for an error number, as the window shows it.
QString SystemReason(int errorNumber);
