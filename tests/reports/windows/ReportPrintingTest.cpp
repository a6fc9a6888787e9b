// Printing a report: line breaking, fitting the page, pages, the preview, and
// whole reports printed to PDF files read back with the poppler tools.
#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/windows/EditorWindow.h"
#include "reports/windows/ReportPrinting.h"
#include "reports/windows/internal/ReportPages.h"
#include "support/DealInto.h"
#include "support/PrintedPdf.h"

namespace {

// A field of what pdfinfo tells of `pdf`, or an empty text.
QString PdfInfo(const QString& pdf, const QString& field) {
    const QRegularExpression line("^" + field + R"(:[ \t]*(.*)$)",
                                  QRegularExpression::MultilineOption);
    return line.match(RunTool("pdfinfo", {pdf})).captured(1).trimmed();
}

int PdfPageCount(const QString& pdf) { return PdfInfo(pdf, "Pages").toInt(); }

// The first page's size in points.
QSizeF PageSizeInPoints(const QString& pdf) {
    const QStringList size = PdfInfo(pdf, "Page size").split(' ');  // "595.276 x 841.89 pts"
    if (size.size() < 3) return {};
    return QSizeF(std::round(size[0].toDouble()), std::round(size[2].toDouble()));
}

// The bounds of everything drawn on the first page, rendered by pdftoppm at
// `dpi` dots per inch.
QRect InkOfFirstPage(const QString& pdf, const QString& prefix, int dpi) {
    RunTool("pdftoppm", {"-gray", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile",
                         pdf, prefix});
    const QImage page(prefix + ".pgm");
    if (page.isNull()) return {};
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 160) ink |= QRect(x, y, 1, 1);
    return ink;
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
    // in order, whatever range the dialog chose, no row of diagrams split
    // between two pages and each page numbered; the job has no title.
    void longListingFillsPages() {
        TReportWindowFixture report;
        const QString pdf = report.PrintTo("listing.pdf");
        TDeals deals;
        DealInto(deals, 1, 120);
        report.window.ShowListing(deals, true, true, true, true, 3);
        const std::vector<std::string> listing =
            DealListingLines(deals, {true, true, true, true}, 3);
        QCOMPARE(listing.size(), 40u * 13);
        report.window.findChild<QAction*>("tbPrint")->trigger();
        QCOMPARE(report.services.PreviewShown, 1);
        QCOMPARE(report.services.Errors, QStringList{});
        QCOMPARE(report.services.PrinterDocName, QString());
        QCOMPARE(PdfInfo(pdf, "Title"), QString());

        const QList<QStringList> pages = PdfPages(pdf);
        QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));
        QCOMPARE(PdfPageCount(pdf), pages.size());
        for (int page = 0; page < pages.size(); ++page) {
            const QStringList lines = pages[page].mid(0, pages[page].size() - 1);  // no footer
            // Whole rows of twelve diagram lines, each starting with its labels.
            QCOMPARE(lines.size() % 12, 0);
            QVERIFY(!lines.isEmpty());
            for (int row = 0; row < lines.size(); row += 12)
                QVERIFY2(QRegularExpression(R"(^\d+\.)").match(lines[row]).hasMatch(),
                         qPrintable(lines[row]));
            // All but the last page are full: the next row would not have fitted.
            if (page + 1 < pages.size()) QVERIFY(lines.size() >= 36);
        }
        QCOMPARE(PrintedLines(pages), AsPrinted(AsQt(listing)));
    }

    // A line wider than even a landscape page at the smallest size goes on on
    // the next printed line; text the user typed is printed with the report.
    void wideLineAndEditsPrinted() {
        TReportWindowFixture report;
        const QString pdf = report.PrintTo("wide.pdf");
        QString wide;
        for (int i = 0; i < 400; ++i) wide += QChar('a' + i % 26);
        report.window.FillLines("Статистика", {"before", wide.toStdString()});
        auto* edit = report.window.findChild<QPlainTextEdit*>("RichEdit");
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText("\nдобавлено вручную");
        report.window.tbPrintClick();
        const QList<QStringList> pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const QStringList lines = PrintedLines(pages);
        QVERIFY2(lines.size() >= 4, qPrintable(lines.join('\n')));
        QCOMPARE(lines.first(), QString("before"));
        QCOMPARE(lines.last(), QString("добавлено вручную"));
        const QStringList pieces = lines.mid(1, lines.size() - 2);
        QCOMPARE(pieces.join(QString()), wide);
        for (int i = 0; i + 1 < pieces.size(); ++i) QCOMPARE(pieces[i].size(), pieces[0].size());
        QCOMPARE(PageSizeInPoints(pdf), QSizeF(842, 595));  // turned to landscape
    }

    // Reports as a club director prints them: the default listing (40 deals,
    // all four seats, five to a row) and the statistics of the same deals.
    // No line is broken, the font is no smaller than the smallest allowed, the
    // page is turned where a portrait page is too narrow, and the ink keeps
    // off the paper's edges.
    void reportsFitThePage_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("default listing") << "listing" << true;
        QTest::newRow("statistics") << "statistics" << false;
    }
    void reportsFitThePage() {
        QFETCH(QString, type);
        QFETCH(bool, landscape);
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        TReportWindowFixture report;
        const QString pdf = report.PrintTo("report.pdf");
        TDeals deals;
        DealInto(deals, 1, 40);
        if (type == "listing") {
            report.window.ShowListing(deals, true, true, true, true, 5);
        } else {
            deals.ComputeStatistics();
            report.window.ShowStatistics(deals);
        }
        const QStringList lines = report.window.ReportLines();
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max<int>(widest, ExpandTabs(line).trimmed().isEmpty()
                                               ? 0
                                               : static_cast<int>(ExpandTabs(line).size()));
        QVERIFY2(widest > 110, qPrintable(QString::number(widest)));  // wider than a portrait line
        report.window.tbPrintClick();
        QCOMPARE(report.services.Errors, QStringList{});
        // Every printed line is one line of the report, whole and in order.
        QCOMPARE(PrintedLines(PdfPages(pdf)), AsPrinted(lines));

        const QSizeF page = PageSizeInPoints(pdf);
        QCOMPARE(page.width() > page.height(), landscape);
        // The font: the widest line fills most of the width, never less than
        // the smallest size would (0.6 of a point per character and point).
        const QRect ink = InkOfFirstPage(pdf, report.dir.QtFile("page"), 50);
        QVERIFY(!ink.isEmpty());
        const double pixelsPerPoint = 50.0 / 72;
        QVERIFY2(ink.width() >= widest * 0.6 * kSmallestPrintPoints * pixelsPerPoint * 0.95,
                 qPrintable(QString::number(ink.width())));
        // Margins of at least a quarter inch (less a pixel of rounding) on every side.
        const int margin = static_cast<int>(std::floor(kUsualMarginMillimeters / 25.4 * 50)) - 1;
        const QSize paper = (page * pixelsPerPoint).toSize();
        QVERIFY2(ink.left() >= margin && ink.top() >= margin &&
                     paper.width() - 1 - ink.right() >= margin &&
                     paper.height() - 1 - ink.bottom() >= margin,
                 qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                .arg(ink.left())
                                .arg(ink.top())
                                .arg(ink.width())
                                .arg(ink.height())
                                .arg(paper.width())
                                .arg(paper.height())));
    }

    // The preview shows the same pages as the print, and closing it prints nothing.
    void previewShowsThePagesAndCloses() {
        TDeals deals;
        DealInto(deals, 1, 40);
        TReportWindowFixture printed;
        const QString pdf = printed.PrintTo("listing.pdf");
        printed.window.ShowListing(deals, true, true, true, true, 5);
        printed.window.tbPrintClick();
        const int printedPages = PdfPageCount(pdf);
        QVERIFY(printedPages > 1);
        QFile::remove(pdf);
        TDesktopReportServices services;
        TEditorWindow window(nullptr, &services);
        window.ShowListing(deals, true, true, true, true, 5);
        int previewPages = -1;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            auto* pages = preview->findChild<QPrintPreviewWidget*>();
            QVERIFY(pages);
            previewPages = pages->pageCount();
            orientation = preview->printer()->pageLayout().orientation();
            preview->reject();
        });
        window.tbPrintClick();
        QCOMPARE(previewPages, printedPages);
        QCOMPARE(orientation, QPageLayout::Landscape);
        QVERIFY(!QFile::exists(pdf));
    }

    // The preview's print command asks with the ordinary print dialog (its
    // options as above) and prints the whole report on the printer it set up.
    void previewPrintsThroughTheOrdinaryDialog() {
        const TTempFolder dir;
        const QString pdf = dir.QtFile("printed.pdf");
        TDesktopReportServices services;
        TEditorWindow window(nullptr, &services);
        TDeals deals;
        DealInto(deals, 1, 40);
        window.ShowListing(deals, true, true, true, true, 5);
        bool selectionOffered = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            QAction* print = nullptr;
            for (QAction* action : preview->findChildren<QAction*>())
                if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                    print = action;
            QVERIFY(print);
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                selectionOffered = dialog->testOption(QAbstractPrintDialog::PrintSelection);
                PrintToPdf(pdf)(*dialog->printer());
                dialog->done(QDialog::Accepted);  // as set here, not from the dialog's fields
            });
            print->trigger();
        });
        window.tbPrintClick();
        QVERIFY(selectionOffered);
        QCOMPARE(PdfPageCount(pdf), 2);
        const QList<QStringList> pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[1].last(), PageFooter(2, 2));
    }

    // Rows of diagrams, paragraphs, and the pages they fall on.
    void pagesKeepGroupsWhole() {
        const QStringList listing{"text",   " 1.  a", "     b", "",       " 2.  c",
                                  "     d", "",       "12.  e", "     f", ""};
        QCOMPARE(DealRowStarts(listing), (QList<qsizetype>{1, 4, 7}));
        const QStringList paragraphs{"a", "b", "", "  ", "c", "", "d"};
        QCOMPARE(ParagraphStarts(paragraphs), (QList<qsizetype>{0, 4, 6}));
        // Four lines to a page: the second row does not fit after the first
        // and opens the next page; the separating empty line is left out.
        QCOMPARE(PageOfEachLine(listing, DealRowStarts(listing), 4),
                 (QList<int>{0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
        // A group longer than a page fills whole pages.
        const QStringList longGroup{"a", "b", "c", "d", "e"};
        QCOMPARE(PageOfEachLine(longGroup, {0}, 2), (QList<int>{0, 0, 1, 1, 2}));
        // No page opens with an empty line.
        const QStringList blanks{"a", "", "", "b"};
        QCOMPARE(PageOfEachLine(blanks, {}, 1), (QList<int>{0, -1, -1, 1}));
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

    // A cancelled print dialog prints nothing; a file that cannot be written
    // shows the system's text and the window keeps its text and stays open.
    void cancelledOrFailedPrint() {
        TReportWindowFixture report;
        report.window.FillLines("Статистика", {"x"});
        report.window.show();
        report.window.tbPrintClick();
        QCOMPARE(report.services.PrintDialogShown, 1);
        QCOMPARE(report.services.Errors, QStringList{});
        report.PrintTo("missing/out.pdf");
        report.window.tbPrintClick();
        QCOMPARE(report.services.Errors.size(), 1);
        QVERIFY2(report.services.Errors[0].contains("No such file or directory"),
                 qPrintable(report.services.Errors[0]));
        QVERIFY(report.window.isVisible());
        QCOMPARE(report.window.ReportLines(), QStringList{"x"});
    }
};

QTEST_MAIN(ReportPrintingTest)
#include "ReportPrintingTest.moc"
