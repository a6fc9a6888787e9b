// Printing a report: line breaking, and whole reports printed to PDF files
// read back with the poppler tools.
#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/windows/EditorWindow.h"
#include "reports/windows/FakeReportServices.h"
#include "reports/windows/ReportPrinting.h"

namespace {

// Output of a poppler tool run on `pdf`, or a null string when it failed.
QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPageCount(const QString& pdf) {
    const QString info = RunTool("pdfinfo", {pdf});
    const QRegularExpressionMatch match =
        QRegularExpression(R"(^Pages:\s+(\d+)$)", QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfTitle(const QString& pdf) {
    const QString info = RunTool("pdfinfo", {pdf});
    const QRegularExpressionMatch match =
        QRegularExpression(R"(^Title:[ \t]*(.*)$)", QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

// The text of each page, lines with trailing spaces removed.
QList<QStringList> PdfPages(const QString& pdf) {
    QList<QStringList> pages;
    const QString text = RunTool("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    QStringList pageTexts = text.split(QChar('\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
    for (const QString& pageText : pageTexts) {
        QStringList lines;
        for (const QString& line : pageText.split('\n')) {
            const QString trimmed = line.trimmed();
            if (!trimmed.isEmpty()) lines += trimmed;
        }
        pages += lines;
    }
    return pages;
}

// A collection of deals dealt from fixed seeds.
void AddDeals(TDeals& deals, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t seed = 7 * i + 1;
        TDeal deal;
        deal.DealFromSeed(seed);
        deals.Add(deal);
    }
}

// Sets the printer up as the print dialog would for printing to a PDF file,
// with a page range and the selection chosen, which printing ignores.
std::function<void(QPrinter&)> PrintToPdf(const QString& path) {
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
    };
}

// The line count a page holds, from the printer as the dialog left it.
int LinesPerPage(const QString& path, const QFont& font) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    PrintToPdf(path)(printer);
    const QFontMetricsF metrics(QFont(font, &printer), &printer);
    return static_cast<int>(std::floor(printer.height() / metrics.lineSpacing()));
}

}  // namespace

class ReportPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are not installed");
    }

    void expandTabs_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("none") << "a b"
                              << "a b";
        QTest::newRow("leading") << "\tx"
                                 << "        x";
        QTest::newRow("inside") << "abc\tx"
                                << "abc     x";
        QTest::newRow("at a stop") << "abcdefgh\tx"
                                   << "abcdefgh        x";
        QTest::newRow("two") << "a\t\tb"
                             << "a               b";
    }
    void expandTabs() {
        QFETCH(QString, line);
        QFETCH(QString, expanded);
        QCOMPARE(ExpandTabs(line), expanded);
    }

    void breakLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("widthInCharacters");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("fits") << "abc" << 5 << QStringList{"abc"};
        QTest::newRow("fits exactly") << "abcde" << 5 << QStringList{"abcde"};
        QTest::newRow("trailing spaces dropped") << "abc        " << 5 << QStringList{"abc"};
        QTest::newRow("only spaces") << "        " << 5 << QStringList{""};
        QTest::newRow("empty") << "" << 5 << QStringList{""};
        QTest::newRow("broken at the last that fits")
            << "abcdefghijkl" << 5 << QStringList{"abcde", "fghij", "kl"};
        QTest::newRow("inner spaces kept")
            << "ab  cdef  gh" << 4 << QStringList{"ab  ", "cdef", "  gh"};
        QTest::newRow("cyrillic") << "Всего раздач" << 6 << QStringList{"Всего ", "раздач"};
        QTest::newRow("narrower than a character") << "abc" << 0 << QStringList{"a", "b", "c"};
    }
    void breakLine() {
        QFETCH(QString, line);
        QFETCH(int, widthInCharacters);
        QFETCH(QStringList, pieces);
        QFont font("Liberation Mono");
        font.setPointSize(9);
        const QFontMetricsF metrics(font);
        const qreal width = widthInCharacters * metrics.horizontalAdvance('x');
        QCOMPARE(BreakLine(line, metrics, width), pieces);
    }

    // A character beyond the 16-bit range is never cut in two, whatever the width.
    void breakLineKeepsSurrogatePairs() {
        QFont font("Liberation Mono");
        font.setPointSize(9);
        const QFontMetricsF metrics(font);
        const QString line = QString::fromUcs4(U"ab\U0001F0A1cd\U0001F0B1\U0001F0C1e");
        for (int chars = 0; chars < 8; ++chars) {
            const QStringList pieces =
                BreakLine(line, metrics, chars * metrics.horizontalAdvance('x'));
            QCOMPARE(pieces.join(QString()), line);
            for (const QString& piece : pieces) {
                QVERIFY(!piece.isEmpty());
                QVERIFY(!piece.front().isLowSurrogate());
                QVERIFY(!piece.back().isHighSurrogate());
            }
        }
    }

    // A long listing comes out on as many pages as it needs, every line once,
    // in order, whatever range the dialog chose; the job has no title.
    void longListingFillsPages() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("listing.pdf");
        TFakeReportServices services;
        services.PrinterAnswer = PrintToPdf(pdf);
        TEditorWindow window(nullptr, &services);
        TDeals deals;
        AddDeals(deals, 120);
        window.ShowListing(deals, true, true, true, true, 3);
        const std::vector<std::string> report =
            DealListingLines(deals, {true, true, true, true}, 3);
        QCOMPARE(report.size(), 40u * 13);
        window.findChild<QAction*>("tbPrint")->trigger();
        QCOMPARE(services.Errors, QStringList{});
        QCOMPARE(services.PrinterDocName, QString());

        const int perPage =
            LinesPerPage(pdf, window.findChild<QPlainTextEdit*>("RichEdit")->font());
        QVERIFY2(perPage > 40 && perPage < 120, qPrintable(QString::number(perPage)));
        const int expectedPages = (static_cast<int>(report.size()) + perPage - 1) / perPage;
        QVERIFY(expectedPages >= 4);
        QCOMPARE(PdfPageCount(pdf), expectedPages);
        QCOMPARE(PdfTitle(pdf), QString());

        const QList<QStringList> pages = PdfPages(pdf);
        QCOMPARE(pages.size(), expectedPages);
        QStringList printed;
        for (int page = 0; page < pages.size(); ++page) {
            // Every page but the last is full: its lines, less the empty ones.
            const int first = page * perPage;
            const int last = std::min<int>(first + perPage, report.size());
            int nonEmpty = 0;
            for (int i = first; i < last; ++i) nonEmpty += !report[i].empty();
            QCOMPARE(pages[page].size(), nonEmpty);
            printed += pages[page];
        }
        QStringList expected;
        for (const std::string& line : report)
            if (!line.empty()) expected += QString::fromStdString(line).simplified();
        for (QString& line : printed) line = line.simplified();
        QCOMPARE(printed, expected);
    }

    // A line wider than the page goes on on the next printed line; text the
    // user typed is printed with the report.
    void wideLineAndEditsPrinted() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("wide.pdf");
        TFakeReportServices services;
        services.PrinterAnswer = PrintToPdf(pdf);
        TEditorWindow window(nullptr, &services);
        QString wide;
        for (int i = 0; i < 300; ++i) wide += QChar('a' + i % 26);
        window.FillLines("Статистика", {"before", wide.toStdString()});
        auto* edit = window.findChild<QPlainTextEdit*>("RichEdit");
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText("\nдобавлено вручную");
        window.tbPrintClick();
        const QList<QStringList> pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const QStringList lines = pages[0];
        QVERIFY2(lines.size() >= 5, qPrintable(lines.join('\n')));
        QCOMPARE(lines.first(), QString("before"));
        QCOMPARE(lines.last(), QString("добавлено вручную"));
        const QStringList pieces = lines.mid(1, lines.size() - 2);
        QVERIFY(pieces.size() >= 3);
        QCOMPARE(pieces.join(QString()), wide);
        for (int i = 0; i + 1 < pieces.size(); ++i) QCOMPARE(pieces[i].size(), pieces[0].size());
    }

    // The ordinary print dialog offers printing to a file, a page range and
    // the selection; cancelling it prints nothing.
    void ordinaryPrintDialogCancelled() {
        TDesktopReportServices services;
        QPrinter printer;
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = true;
            QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintToFile));
            QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
            QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintSelection));
            dialog->reject();
        });
        QVERIFY(!services.SetUpPrinter(nullptr, printer));
        QVERIFY(seen);
    }

    void cancelledPrintDoesNothing() {
        QTemporaryDir dir;
        TFakeReportServices services;
        TEditorWindow window(nullptr, &services);
        window.FillLines("Статистика", {"x"});
        window.tbPrintClick();
        QCOMPARE(services.PrintDialogShown, 1);
        QCOMPARE(services.Errors, QStringList{});
    }

    void failedPrintShowsSystemText() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("missing/out.pdf");
        TFakeReportServices services;
        services.PrinterAnswer = PrintToPdf(pdf);
        TEditorWindow window(nullptr, &services);
        window.FillLines("Статистика", {"x"});
        window.show();
        window.tbPrintClick();
        QCOMPARE(services.Errors.size(), 1);
        QVERIFY2(services.Errors[0].contains("No such file or directory"),
                 qPrintable(services.Errors[0]));
        QVERIFY(window.isVisible());
        QCOMPARE(window.ReportLines(), QStringList{"x"});
    }
};

QTEST_MAIN(ReportPrintingTest)
#include "ReportPrintingTest.moc"
