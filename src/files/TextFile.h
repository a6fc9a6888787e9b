#pragma once
// Plain text files in the Windows-1251 code page with lines ended by CR LF.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of a Windows-1251 text: a line ends at LF or CR LF; a line break
// at the very end does not start a further, empty line.
QStringList DecodeWindows1251Lines(const QByteArray& bytes);
// The same lines, not decoded.
QList<QByteArray> SplitLines(const QByteArray& bytes);
QByteArray EncodeWindows1251(const QString& text);
QString DecodeWindows1251(const QByteArray& bytes);

// The folder of a file chosen in a file chooser: its full path up to and
// including the last path separator.
QString FolderOfFile(const QString& fileName);
