// The analysis command: the window stays usable while the deals are solved,
// shows the progress, stops on STOP, and opens the analysis report, whose
// text is the core's report of the same deals.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "deals/PbnFile.h"
#include "reports/AnalysisReport.h"
#include "reports/windows/EditorWindow.h"
#include "support/WindowFixture.h"

namespace {

// Layouts that the solver answers at once: each hand one whole suit, rotated.
TDeal OneSuitEach(int rotation) {
    const char* const hands[4] = {"AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.",
                                  "...AKQJT98765432"};
    std::string value = "N:";
    for (int i = 0; i < 4; ++i) value += std::string(i ? " " : "") + hands[(i + rotation) % 4];
    TDeal deal;
    ReadPbnDealValue(value, deal);
    return deal;
}

}  // namespace

class AnalysisCommandTest : public QObject {
    Q_OBJECT
private slots:
    void analysesEveryDealAndOpensTheReport() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        std::vector<TDeal> deals = {OneSuitEach(0), OneSuitEach(1), OneSuitEach(2)};
        TDeal damaged = OneSuitEach(3);
        damaged.Hand(1).SetCard(1, 0);
        deals.push_back(damaged);
        for (const TDeal& deal : deals) window->Deals().Add(deal);

        TReportReader reader;
        ui.tbAnalyze->click();
        QCOMPARE(window->State(), TMainWindow::TState::Analysing);
        QVERIFY(!ui.itmAnalyze->isEnabled());
        QVERIFY(!ui.btnStop->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(reader.Report.Shown, 60000);
        const QStringList& lines = reader.Report.Lines;
        QCOMPARE(reader.Report.Caption, QStringLiteral("Анализ в открытую"));
        std::vector<TDealAnalysis> expected;
        for (const TDeal& deal : deals) expected.push_back(AnalyseDeal(deal));
        QCOMPARE(lines, AsQt(AnalysisReportLines(expected)));
        QVERIFY(lines.contains(QStringLiteral("Не проанализировано (раздача повреждена): 1")));
        QCOMPARE(window->State(), TMainWindow::TState::Idle);
        QVERIFY(ui.btnStop->isHidden());
        QCOMPARE(ui.lDealtTotal->text(), QStringLiteral("4/4"));

        // Saving as PBN writes the tables and par just made; a board added later has none.
        const auto saved = [&](const QString& name) {
            fixture.services->answers.push_back(fixture.File(name));
            ui.itmSaveDeals->trigger();
            QFile file(fixture.File(name));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString kept = saved("kept.pbn");
        QCOMPARE(kept.count("[OptimumResultTable"), 3);
        QCOMPARE(kept.count("[ParContract"), 3);
        window->Deals().Add(OneSuitEach(1));
        QCOMPARE(saved("changed.pbn").count("[OptimumResultTable"), 3);
    }

    // STOP ends the run after the deal under way, whose progress is shown, and
    // the report says how many deals of how many were analysed.
    void stopLeavesTheRestOut() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        for (const TDeal& deal : DealsOfKey(5, 30)) window->Deals().Add(deal);
        ClearAnalysisCache();
        TReportReader reader;
        window->Controls().itmAnalyze->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(window->Controls().lDealtTotal->text(), QStringLiteral("1/30"),
                                  20000);
        window->Controls().btnStop->click();
        QTRY_VERIFY_WITH_TIMEOUT(reader.Report.Shown, 20000);
        const QStringList stopped =
            reader.Report.Lines.filter(QStringLiteral("Анализ остановлен: проанализировано "));
        QCOMPARE(stopped.size(), 1);
        const int analysed = stopped.front().section(QLatin1Char(' '), 3, 3).toInt();
        QVERIFY2(analysed >= 1 && analysed <= 3, qPrintable(stopped.front()));
        QVERIFY(stopped.front().endsWith(QStringLiteral(" из 30 раздач")));
        QCOMPARE(window->State(), TMainWindow::TState::Idle);
    }

    void nothingToAnalyse() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        window->Controls().itmAnalyze->trigger();
        QCOMPARE(window->State(), TMainWindow::TState::Idle);
    }
};

QTEST_MAIN(AnalysisCommandTest)
#include "AnalysisCommandTest.moc"
