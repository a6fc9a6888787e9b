#pragma once
// The two file forms of a report: RTF and plain Windows-1251 text. A report is
// a list of lines; each writer turns it into the bytes of a whole file.
#include <QByteArray>
#include <QString>
#include <QStringList>

enum class TReportFormat { RichText, PlainText };

// The save chooser's file types, in this order: formatted text, plain text.
QStringList ReportFileTypes();

// The format a chosen file type stands for: entry 1 is plain text, any other
// entry (0 included) rich text.
TReportFormat FormatOfFileType(int typeIndex);

// The extension, without a dot, given to a name typed without one.
QString ExtensionOfFileType(int typeIndex);

// Every line in Windows-1251 followed by CR LF, spaces kept. A character the
// code page cannot hold is written as "?".
QByteArray PlainTextReport(const QStringList& lines);

// An RTF document with every character in Courier New 9 points, Cyrillic
// character set, every line one paragraph. \ { } are escaped, Windows-1251
// characters above 0x7F are written as \'hh and all others as \uN? escapes, so
// that no text can add control words and any text reads back unchanged.
QByteArray RichTextReport(const QStringList& lines);

// Writes the lines in the given format, replacing any file of that name. An
// empty result means success; otherwise it is the system's text of the failure
// and no existing file has been changed.
QString WriteReportFile(const QString& path, TReportFormat format, const QStringList& lines);
