#include "reports/windows/ReportPrinting.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <cmath>

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

int PrintReport(QPrinter& printer, const QFont& font, const QStringList& lines) {
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    const QFont printerFont(font, &printer);
    painter.setFont(printerFont);
    const QFontMetricsF metrics(printerFont, &printer);
    // Without full-page mode the painter's origin is the corner of the
    // printable area and the device's size is that area's size.
    const qreal width = printer.width();
    const qreal lineSpacing = metrics.lineSpacing();
    const int linesPerPage =
        std::max(1, static_cast<int>(std::floor(printer.height() / lineSpacing)));

    int pages = 1;
    int lineOnPage = 0;
    for (const QString& line : lines) {
        for (const QString& piece : BreakLine(ExpandTabs(line), metrics, width)) {
            if (lineOnPage == linesPerPage) {
                printer.newPage();
                ++pages;
                lineOnPage = 0;
            }
            if (!piece.isEmpty())
                painter.drawText(QPointF(0, lineOnPage * lineSpacing + metrics.ascent()), piece);
            ++lineOnPage;
        }
    }
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
