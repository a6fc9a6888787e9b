#pragma once
// Splitting a report's lines into printed pages: groups of lines that belong
// together (a row of deal diagrams, a paragraph of the statistics) stay on one
// page whenever they fit on one.
#include <QList>
#include <QStringList>

// The first line of each row of a deal listing: a line that starts with a
// deal's label (" 1.", "12.", "100."). Lines before the first row are a group
// of their own.
QList<qsizetype> DealRowStarts(const QStringList& lines);

// The first line of each paragraph: a line that is not empty and follows an
// empty line (or is the first line).
QList<qsizetype> ParagraphStarts(const QStringList& lines);

// The page each line goes on, counted from 0, with `linesPerPage` lines to a
// page (at least 1). A group that does not fit in the rest of a page starts on
// the next one; a group longer than a page fills whole pages. Empty lines that
// would open a page are left out (their page is -1).
QList<int> PageOfEachLine(const QStringList& lines, const QList<qsizetype>& groupStarts,
                          int linesPerPage);
