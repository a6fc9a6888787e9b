#pragma once
// Printing a report: its lines in one font sized so that the widest fits the
// page, top to bottom over as many pages as they need, each numbered.
#include <QFont>
#include <QList>
#include <QPageLayout>
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

// The report font is scaled down to no less than this for its widest line to
// fit across the page.
constexpr double kSmallestPrintPoints = 7.0;
// A deal listing of many columns may go smaller still, so that no row of
// diagrams is broken: nine full deals a row fit across a landscape page.
constexpr double kSmallestListingPoints = 4.5;
// Each margin: a quarter inch, or more where the printer cannot reach so far.
constexpr double kUsualMarginMillimeters = 6.35;

struct TPrintFit {
    double Points = 0;                                             // the font's size
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;  // set on the printer
};

// Chooses the largest font size, from the font's own down to the smallest,
// at which the widest line fits the printable width, in the printer's
// orientation and, when a portrait page is too narrow even then, across a
// landscape page. When nothing fits, the smallest size on the wider page.
// Leaves the chosen orientation set on the printer.
TPrintFit FitReportToPage(QPrinter& printer, const QFont& font, const QStringList& lines,
                          double smallestPoints = kSmallestPrintPoints);

// Margins of a quarter inch, or the printer's least where it needs more.
void SetUsualMargins(QPrinter& printer);

// The page number at the foot of each page.
QString PageFooter(int page, int pages);

// Prints every line on `printer`, which the caller has set up, in the font
// FitReportToPage chooses, with the page number at each page's foot. A group
// of lines (each starting at one of `groupStarts`) that fits on a page is never
// split across two. The type goes down to `smallestPoints` before lines are
// broken. Returns the number of pages printed, or -1 when the printer could
// not be started.
int PrintReport(QPrinter& printer, const QFont& font, const QStringList& lines,
                const QList<qsizetype>& groupStarts = {},
                double smallestPoints = kSmallestPrintPoints);

// The text to show when PrintReport could not start `printer`.
QString PrinterFailureText(const QPrinter& printer);
