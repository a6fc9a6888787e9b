#pragma once
// Files read whole into memory: only regular files (a pipe or a device could
// keep the program waiting for ever, or never end), and no larger than a
// bound that no file the program writes comes near.
#include <QFile>
#include <QString>

// A conditions file holds what a person types; 64 MB is far beyond that.
inline constexpr qint64 MaxConditionsFileBytes = qint64(64) << 20;

// True for a regular file (a link to one counts) and for a name that is not
// there (the opening then tells why); otherwise false, with the reason.
bool CheckRegularFile(const QString& fileName, QString& reason);

// At most `limit` + 1 bytes of an open file: more than `limit` means too large.
QByteArray ReadBounded(QFile& file, qint64 limit);

// The reason given for a file over its bound.
QString TooLargeReason();
