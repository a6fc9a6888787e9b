#pragma once
// A report window printing to a PDF in a temporary folder; the text read back by poppler.
#include <QPrinter>
#include <QProcess>
#include <QStringList>
#include <functional>

#include "reports/windows/EditorWindow.h"
#include "reports/windows/ReportPrinting.h"
#include "support/TempFolder.h"
#include "support/WindowFixture.h"

// The print dialog's choice of a PDF file, with a page range, which printing ignores.
inline std::function<void(QPrinter&)> PrintToPdf(const QString& path) {
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
    };
}

// Scripted services over a temporary folder; the print dialog is cancelled until PrintTo().
struct TReportWindowFixture {
    TTempFolder dir;
    TFakeReportServices services;
    TEditorWindow window{nullptr, &services};

    QString PrintTo(const QString& name) {
        const QString pdf = dir.QtFile(name);
        services.PrinterAnswer = PrintToPdf(pdf);
        return pdf;
    }
};

// Output of a poppler tool, or a null string when it failed.
inline QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, lines trimmed, empty lines left out.
inline QList<QStringList> PdfPages(const QString& pdf) {
    QList<QStringList> pages;
    QStringList pageTexts =
        RunTool("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"}).split(QChar('\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
    for (const QString& pageText : pageTexts) {
        QStringList lines;
        for (const QString& line : pageText.split('\n'))
            if (!line.trimmed().isEmpty()) lines += line.trimmed();
        pages += lines;
    }
    return pages;
}

// All pages' lines, blanks run together, footers taken off (a missing one leaves a line saying so).
inline QStringList PrintedLines(const QList<QStringList>& pages) {
    QStringList printed;
    for (int page = 0; page < pages.size(); ++page) {
        QStringList lines = pages[page];
        if (lines.isEmpty() || lines.takeLast() != PageFooter(page + 1, pages.size()))
            printed += QStringLiteral("no footer on page %1").arg(page + 1);
        for (const QString& line : lines) printed += line.simplified();
    }
    return printed;
}

// The report lines as they should come out: blanks run together, empty lines left out.
inline QStringList AsPrinted(const QStringList& reportLines) {
    QStringList expected;
    for (const QString& line : reportLines)
        if (!line.trimmed().isEmpty()) expected += line.simplified();
    return expected;
}
