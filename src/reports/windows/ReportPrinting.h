#pragma once
// Printing a report: its lines in one font, top to bottom over the printable
// area of as many pages as they need.
#include <QFont>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPrinter;

// Tab stops every this many characters, in the window and on paper alike.
constexpr int kTabColumns = 8;

// The line with each tab replaced by spaces up to the next tab stop.
QString ExpandTabs(const QString& line);

// Breaks a line wider than `width` at the last character that fits; the rest
// goes on in the next piece, again from the left edge. Every piece holds at
// least one character, so a page narrower than one character still progresses.
// Trailing spaces print nothing and are dropped first.
QStringList BreakLine(const QString& line, const QFontMetricsF& metrics, qreal width);

// Prints every line on `printer`, which the caller has set up. Returns the
// number of pages printed, or -1 when the printer could not be started.
int PrintReport(QPrinter& printer, const QFont& font, const QStringList& lines);

// The text to show when PrintReport could not start `printer`.
QString PrinterFailureText(const QPrinter& printer);
