#include "reports/windows/internal/ReportPages.h"

#include <QRegularExpression>
#include <algorithm>

QList<qsizetype> DealRowStarts(const QStringList& lines) {
    static const QRegularExpression label(QStringLiteral("^ ?\\d+\\."));
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (label.match(lines[i]).hasMatch()) starts.append(i);
    return starts;
}

QList<qsizetype> ParagraphStarts(const QStringList& lines) {
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty() && (i == 0 || lines[i - 1].trimmed().isEmpty()))
            starts.append(i);
    return starts;
}

QList<int> PageOfEachLine(const QStringList& lines, const QList<qsizetype>& groupStarts,
                          int linesPerPage) {
    linesPerPage = std::max(1, linesPerPage);
    const qsizetype count = lines.size();
    QList<int> pages(count, -1);
    auto empty = [&lines](qsizetype line) { return lines[line].trimmed().isEmpty(); };
    // Group boundaries in order, with the end of the report as the last one.
    QList<qsizetype> bounds{0};
    for (const qsizetype start : groupStarts)
        if (start > bounds.last() && start < count) bounds.append(start);
    bounds.append(count);

    int page = 0;
    int used = 0;  // lines already on `page`
    for (qsizetype g = 0; g + 1 < bounds.size(); ++g) {
        const qsizetype first = bounds[g];
        const qsizetype end = bounds[g + 1];
        // The empty lines that end a group only separate it from the next one:
        // they may fall over the page's end without taking the group along.
        qsizetype bodyEnd = end;
        while (bodyEnd > first && empty(bodyEnd - 1)) --bodyEnd;
        const auto body = static_cast<int>(bodyEnd - first);
        if (used > 0 && used + body > linesPerPage && body <= linesPerPage) {
            ++page;
            used = 0;
        }
        for (qsizetype line = first; line < end; ++line) {
            if (used == linesPerPage) {
                ++page;
                used = 0;
            }
            if (used == 0 && empty(line)) continue;  // no page opens with an empty line
            pages[line] = page;
            ++used;
        }
    }
    return pages;
}
