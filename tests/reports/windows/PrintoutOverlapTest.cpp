// Printed pages read back with pdftotext -bbox: on handouts of every layout
// and on the deal listing at every column count no two words overlap, and
// the listing's lines are never broken.
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "analysis/DoubleDummy.h"
#include "deals/DealCollection.h"
#include "printing/HandoutPainter.h"
#include "reports/windows/EditorWindow.h"
#include "support/DealInto.h"
#include "support/PrintedPdf.h"

namespace {

// The first pair of words of one page whose boxes intersect, or an empty text.
QString OverlappingWords(const QString& pdf) {
    const QString html = RunTool("pdftotext", {"-bbox", "-enc", "UTF-8", pdf, "-"});
    if (html.isEmpty()) return QStringLiteral("pdftotext failed");
    const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    const QStringList pages = html.split(QStringLiteral("<page "));
    for (int page = 1; page < pages.size(); ++page) {
        QList<QPair<QRectF, QString>> words;
        for (auto it = word.globalMatch(pages[page]); it.hasNext();) {
            const auto m = it.next();
            const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
            for (const auto& [other, text] : words)
                if (box.adjusted(0.05, 0.05, -0.05, -0.05).intersects(other))
                    return QString("page %1: %2 over %3").arg(page).arg(m.captured(5), text);
            words.append({box, m.captured(5)});
        }
        if (words.isEmpty()) return QStringLiteral("page %1 is empty").arg(page);
    }
    return {};
}

}  // namespace

class PrintoutOverlapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        // Nine deals, analysed once for every handout below.
        TDeals deals;
        DealInto(deals, 5, 9);
        std::vector<const TDeal*> pointers;
        for (int32_t i = 0; i < deals.Count(); ++i) pointers.push_back(deals.GetDeal(i));
        std::vector<TDealAnalysis> results;
        AnalyseDeals(pointers, results);
        for (int32_t i = 0; i < deals.Count(); ++i) {
            TBoard& board = boards_.emplace_back();
            board.Deal = *pointers[static_cast<std::size_t>(i)];
            board.Analysis = results[static_cast<std::size_t>(i)];
            board.SetPosition(i + 14);
            AddPar(*board.Analysis, board.Dealer, board.Vulnerability);
        }
    }

    // Rows: deals a page, seats drawn, English letters on Letter paper.
    void handoutsDoNotOverlap_data() {
        QTest::addColumn<int>("perPage");
        QTest::addColumn<QString>("seats");
        QTest::addColumn<bool>("english");
        for (const int perPage : {1, 2, 4, 6, 9})
            QTest::addRow("%d a page", perPage) << perPage << "NESW" << false;
        QTest::newRow("North's sheet") << 4 << "N" << false;
        QTest::newRow("English letters, Letter") << 9 << "NESW" << true;
    }
    void handoutsDoNotOverlap() {
        QFETCH(int, perPage);
        QFETCH(QString, seats);
        QFETCH(bool, english);
        THandoutOptions options{.PerPage = perPage, .Analysis = true};
        options.Title = "Разбор турнира, 8 декабря";
        for (int seat = 0; seat < 4; ++seat)
            options.Seats[static_cast<std::size_t>(seat)] = seats.contains(QString("NESW")[seat]);
        options.Cards = english ? THandoutCards::English : THandoutCards::Russian;
        options.Paper = english ? THandoutPaper::Letter : THandoutPaper::A4;
        const TTempFolder dir;
        QCOMPARE(WriteHandoutPdf(dir.QtFile("handout.pdf"), boards_, options), QString());
        QCOMPARE(OverlappingWords(dir.QtFile("handout.pdf")), QString());
    }

    void listingDoesNotOverlap_data() {
        QTest::addColumn<int>("columns");
        for (int columns = 1; columns <= 9; ++columns)
            QTest::addRow("%d columns", columns) << columns;
    }
    void listingDoesNotOverlap() {
        QFETCH(int, columns);
        TReportWindowFixture report;
        const QString pdf = report.PrintTo("listing.pdf");
        TDeals deals;
        DealInto(deals, 3, 30);
        report.window.ShowListing(deals, true, true, true, true, columns);
        report.window.tbPrintClick();
        QCOMPARE(report.services.Errors, QStringList{});
        QCOMPARE(OverlappingWords(pdf), QString());
        // No line is broken: each printed line is a whole line of the listing.
        QCOMPARE(PrintedLines(PdfPages(pdf)), AsPrinted(report.window.ReportLines()));
    }

private:
    std::vector<TBoard> boards_;
};

QTEST_MAIN(PrintoutOverlapTest)
#include "PrintoutOverlapTest.moc"
