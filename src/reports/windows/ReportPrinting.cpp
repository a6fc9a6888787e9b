#include "reports/windows/ReportPrinting.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "reports/windows/internal/ReportPages.h"

QString ExpandTabs(const QString& line) {
    if (!line.contains(QLatin1Char('\t'))) return line;
    QString expanded;
    for (const QChar ch : line) {
        if (ch == QLatin1Char('\t')) {
            expanded += QString(kTabColumns - expanded.size() % kTabColumns, QLatin1Char(' '));
        } else {
            expanded += ch;
        }
    }
    return expanded;
}

QStringList BreakLine(const QString& line, const QFontMetricsF& metrics, qreal width) {
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace()) --end;
    const QString text = line.left(end);
    if (metrics.horizontalAdvance(text) <= width) return {text};

    QStringList pieces;
    qsizetype start = 0;
    qreal used = 0;
    for (qsizetype i = 0; i < text.size();) {
        // A surrogate pair is one character and is never split.
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const qreal advance = metrics.horizontalAdvance(text.mid(i, length));
        if (used + advance > width && i > start) {
            pieces.append(text.mid(start, i - start));
            start = i;
            used = 0;
        }
        used += advance;
        i += length;
    }
    pieces.append(text.mid(start));
    return pieces;
}

namespace {

// Lines with tabs expanded and without the trailing spaces that print nothing.
QStringList PrintedLines(const QStringList& lines) {
    QStringList printed;
    printed.reserve(lines.size());
    for (const QString& line : lines) {
        QString expanded = ExpandTabs(line);
        qsizetype end = expanded.size();
        while (end > 0 && expanded.at(end - 1).isSpace()) --end;
        expanded.truncate(end);
        printed.append(expanded);
    }
    return printed;
}

QFont SizedFont(const QFont& font, qreal points, QPrinter& printer) {
    QFont sized(font);
    sized.setPointSizeF(points);
    return QFont(sized, &printer);
}

bool Fits(const QFont& font, qreal points, QPrinter& printer, const QString& widest) {
    const QFontMetricsF metrics(SizedFont(font, points, printer), &printer);
    return metrics.horizontalAdvance(widest) <= printer.width();
}

}  // namespace

TPrintFit FitReportToPage(QPrinter& printer, const QFont& font, const QStringList& lines,
                          double smallestPoints) {
    const QStringList printed = PrintedLines(lines);
    // The widest line at the font's own size: measured rather than counted,
    // so that a font that is not monospaced is served as well.
    QString widest;
    {
        const QFontMetricsF metrics(font);
        qreal widestAdvance = -1;
        for (const QString& line : printed)
            if (const qreal advance = metrics.horizontalAdvance(line); advance > widestAdvance) {
                widestAdvance = advance;
                widest = line;
            }
    }
    const qreal largest = font.pointSizeF() > 0 ? font.pointSizeF() : 9;
    const qreal smallest = std::min(largest, smallestPoints);
    QList<QPageLayout::Orientation> orientations{printer.pageLayout().orientation()};
    if (orientations.first() == QPageLayout::Portrait) orientations.append(QPageLayout::Landscape);
    // Down to the usual smallest size on either page; then, only where a
    // smaller one is allowed, smaller still across the wider page. Half a
    // point at a time, each floor tried last whatever the steps.
    const qreal usual = std::min(largest, std::max(smallest, kSmallestPrintPoints));
    auto fitsDownTo = [&](qreal floor, QPageLayout::Orientation orientation) -> qreal {
        printer.setPageOrientation(orientation);
        for (qreal points = largest;; points = std::max(floor, points - 0.5)) {
            if (Fits(font, points, printer, widest)) return points;
            if (points <= floor) return 0;
        }
    };
    for (const QPageLayout::Orientation orientation : orientations)
        if (const qreal points = fitsDownTo(usual, orientation)) return {points, orientation};
    if (smallest < usual)
        if (const qreal points = fitsDownTo(smallest, orientations.last()))
            return {points, orientations.last()};
    // Nothing fits: the smallest size across the wider page, lines broken.
    return {smallest, printer.pageLayout().orientation()};
}

void SetUsualMargins(QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    const qreal usual = kUsualMarginMillimeters;
    printer.setPageMargins(
        QMarginsF(std::max(least.left(), usual), std::max(least.top(), usual),
                  std::max(least.right(), usual), std::max(least.bottom(), usual)),
        QPageLayout::Millimeter);
}

QString PageFooter(int page, int pages) {
    return QStringLiteral("Страница %1 из %2").arg(page).arg(pages);
}

int PrintReport(QPrinter& printer, const QFont& font, const QStringList& lines,
                const QList<qsizetype>& groupStarts, double smallestPoints) {
    const TPrintFit fit = FitReportToPage(printer, font, lines, smallestPoints);
    const QFont printerFont = SizedFont(font, fit.Points, printer);
    const QFontMetricsF metrics(printerFont, &printer);
    // Without full-page mode the painter's origin is the corner of the
    // printable area and the device's size is that area's size.
    const qreal width = printer.width();
    const qreal lineSpacing = metrics.lineSpacing();
    // The last two lines of a page: a gap and the page number.
    const int linesPerPage =
        std::max(1, static_cast<int>(std::floor(printer.height() / lineSpacing)) - 2);

    // Broken pieces of a wide line stay together as one group.
    QStringList pieces;
    QList<qsizetype> pieceGroups;
    qsizetype nextGroup = 0;
    const QStringList printed = PrintedLines(lines);
    for (qsizetype i = 0; i < printed.size(); ++i) {
        while (nextGroup < groupStarts.size() && groupStarts[nextGroup] < i) ++nextGroup;
        if (nextGroup < groupStarts.size() && groupStarts[nextGroup] == i)
            pieceGroups.append(pieces.size());
        pieces += BreakLine(printed[i], metrics, width);
    }
    const QList<int> pageOf = PageOfEachLine(pieces, pieceGroups, linesPerPage);
    int pages = 1;
    for (const int page : pageOf) pages = std::max(pages, page + 1);

    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    painter.setFont(printerFont);
    const qreal footerTop = (linesPerPage + 1) * lineSpacing;
    auto drawFooter = [&](int page) {
        painter.drawText(QRectF(0, footerTop, width, lineSpacing), Qt::AlignHCenter | Qt::AlignTop,
                         PageFooter(page + 1, pages));
    };
    int page = 0;
    int lineOnPage = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pageOf[i] < 0) continue;
        while (page < pageOf[i]) {
            drawFooter(page);
            printer.newPage();
            ++page;
            lineOnPage = 0;
        }
        if (!pieces[i].isEmpty())
            painter.drawText(QPointF(0, lineOnPage * lineSpacing + metrics.ascent()), pieces[i]);
        ++lineOnPage;
    }
    drawFooter(page);
    painter.end();
    return pages;
}

QString PrinterFailureText(const QPrinter& printer) {
    // A print to file fails where the file cannot be written: ask the file
    // system why, without changing the file.
    if (!printer.outputFileName().isEmpty()) {
        QFile file(printer.outputFileName());
        const bool existed = file.exists();
        if (!file.open(QIODevice::Append)) return file.errorString();
        file.close();
        if (!existed) file.remove();
    }
    return QStringLiteral("Не удалось напечатать отчёт.");
}
