// The window works on boards: a club's file saved and printed as korvana-cli
// does, the set's dealer and vulnerability everywhere a board shows, each
// board naming its own origin, and the boards kept across a restart.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>

#include "analysis/DoubleDummy.h"
#include "cli/CliRunner.h"
#include "deals/BridgeTerms.h"
#include "deals/PbnFile.h"
#include "reports/AnalysisReport.h"
#include "reports/Handout.h"
#include "reports/windows/DealInfo.h"
#include "reports/windows/HandoutDialog.h"
#include "support/DialogDriver.h"
#include "support/PrintedPdf.h"

namespace {

const QString ClubNight = QStringLiteral(KORVANA_SAMPLES_DIR "/club-night.pbn");

// The values of a tag in a PBN text, in file order.
QStringList TagValues(const QByteArray& pbn, const QString& tag) {
    QStringList values;
    const QString open = u'[' + tag + QStringLiteral(" \"");
    for (const QString& line : QString::fromLatin1(pbn).split(QStringLiteral("\r\n")))
        if (line.startsWith(open)) values += line.mid(open.size()).chopped(2);
    return values;
}

}  // namespace

class WindowBoardsTest : public QObject {
    Q_OBJECT
    TWindowFixture fixture_;
    TFakeReportServices preview_;

    QString File(const QString& name) const { return fixture_.File(name); }

    QByteArray Saved(TMainWindow& window, const QString& name) {
        fixture_.services->answers = {File(name)};
        window.Controls().itmSaveDeals->trigger();
        return ReadAll(File(name));
    }

    // The handout's text, from board 1 where boards have no number, with or without the table.
    QString Handout(TMainWindow& window, bool analysis) {
        const QString pdf = File(QStringLiteral("handout.pdf"));
        fixture_.services->reports = &preview_;
        preview_.PrinterAnswer = [pdf](QPrinter& printer) { printer.setOutputFileName(pdf); };
        const int shown = preview_.PreviewShown + 1;
        WhenDialogOpens([analysis](QDialog& dialog) {
            static_cast<THandoutDialog&>(dialog).seFirstBoard->setValue(1);
            static_cast<THandoutDialog&>(dialog).chAnalysis->setChecked(analysis);
            dialog.accept();
        });
        window.Controls().itmHandout->trigger();
        if (!QTest::qWaitFor([&] { return preview_.PreviewShown == shown; }, 60000)) return {};
        return RunTool("pdftotext", {pdf, "-"});
    }

    // The par line of the deal information of the current board, once solved.
    QString DealInfoPar(TMainWindow& window) {
        QString par;
        WhenDialogOpens([&par](QDialog& dialog) {
            auto& info = static_cast<TDealInfo&>(dialog);
            if (QTest::qWaitFor([&info] { return info.TableReady(); }, 30000))
                par = info.lPar->text();
            dialog.reject();
        });
        window.Controls().itmDealInfo->trigger();
        return par;
    }

private slots:
    void cleanup() { fixture_.Renew(); }

    // Opened, saved as PBN and LIN, printed and analysed as korvana-cli does the same file.
    void clubFileGoesOutAsTheCliWritesIt() {
        auto window = fixture_.Open();
        window->OpenDealsFile(ClubNight);
        const std::string folder = fixture_.Folder().toStdString();
        for (const QString& name : {QStringLiteral("club.pbn"), QStringLiteral("club.lin")}) {
            const QByteArray saved = Saved(*window, QStringLiteral("window-") + name);
            RunCli(folder, {"convert", ClubNight.toStdString(),
                            File(QStringLiteral("cli-") + name).toStdString()});
            QCOMPARE(saved, ReadAll(File(QStringLiteral("cli-") + name)));
        }

        RunCli(folder,
               {"handout", ClubNight.toStdString(), "--out", File("cli.pdf").toStdString()});
        const QString printed = Handout(*window, false);
        QVERIFY(printed.contains(QStringLiteral("Сдача 7")));
        QCOMPARE(printed, RunTool("pdftotext", {File("cli.pdf"), "-"}));

        // Board 18 is the second: West deals, East-West vulnerable.
        window->Controls().seCurrentDeal->SetValue(2);
        QCOMPARE(window->Controls().lBoardFacts->text(),
                 QStringLiteral("Сдача 18\nСдаёт: З\nЗона: ВЗ"));
        const TCliRun analyze = RunCli(folder, {"analyze", ClubNight.toStdString()});
        TDealAnalysis analysis = AnalyseDeal(*window->Deals().GetDeal(1));
        AddPar(analysis, 4, "EW");
        QCOMPARE(AsQt(analyze.OutLines()).value(1),
                 QString::fromStdString(AnalysisDealLine(18, analysis)));
        QCOMPARE(DealInfoPar(*window),
                 QString::fromStdString(RussianParText(*analysis.Par, false)));
    }

    // The set's dealer and vulnerability: shown, written, printed and scored with.
    void seatingReachesEveryBoardView_data() {
        QTest::addColumn<TSeatingChoice>("seating");
        QTest::newRow("rotation") << TSeatingChoice{};
        QTest::newRow("South deals") << TSeatingChoice{3, std::nullopt};
        QTest::newRow("all vulnerable") << TSeatingChoice{std::nullopt, "All"};
        QTest::newRow("both") << TSeatingChoice{4, "NS"};
    }
    void seatingReachesEveryBoardView() {
        QFETCH(TSeatingChoice, seating);
        const auto [dealer, vulnerability] = seating;
        auto window = fixture_.Open();
        window->SetSeating(seating);
        QVERIFY(DealAndWait(*window, 3));
        TReportReader reader;  // the analysis report, closed at once
        window->Controls().itmAnalyze->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(reader.Report.Shown, 60000);

        const QByteArray pbn = Saved(*window, QStringLiteral("set.pbn"));
        const QString printed = Handout(*window, true);
        QStringList dealers, zones, scores;
        for (int board = 1; board <= 3; ++board) {
            const int32_t seat = dealer.value_or(PbnBoardDealer(board));
            const std::string zone =
                vulnerability.value_or(std::string(PbnBoardVulnerability(board)));
            dealers += QString(QChar(SeatLetters[seat - 1]));
            zones += QString::fromStdString(zone);
            TDealAnalysis analysis = AnalyseDeal(*window->Deals().GetDeal(board - 1));
            AddPar(analysis, seat, zone);
            scores += QString::fromStdString(PbnOptimumScore(analysis.Par->Score));
            const QString header = QStringLiteral("Сдача %1\nСдаёт: %2\nЗона: %3")
                                       .arg(board)
                                       .arg(QString::fromUtf8(RussianSeatLetter(seat).data()))
                                       .arg(QString::fromUtf8(VulnerabilityText(zone).data()));
            window->Controls().seCurrentDeal->SetValue(board);
            QVERIFY2(window->Controls().lBoardFacts->text().startsWith(header + "\nПар: "),
                     qPrintable(window->Controls().lBoardFacts->text()));
            for (const QString& line : header.split(u'\n'))
                QVERIFY2(printed.contains(line), qPrintable(line));
        }
        QCOMPARE(TagValues(pbn, "Dealer"), dealers);
        QCOMPARE(TagValues(pbn, "Vulnerable"), zones);
        QCOMPARE(TagValues(pbn, "OptimumScore"), scores);
    }

    // Each board names what dealt it, and a restart keeps every board; a
    // companion that does not match the setup file's deals is ignored, once.
    void boardsKeepTheirOriginAcrossARestart() {
        std::unique_ptr<TMainWindow> window = fixture_.Open();
        window->OpenDealsFile(ClubNight);
        window->Controls().seKeyValue->SetValue(2026);
        QVERIFY(DealAndWait(*window, 2));
        window->Controls().itmSecure->setChecked(true);
        window->SetSeating({3, "All"});
        QVERIFY(DealAndWait(*window, 1));
        window->Controls().itmSecure->setChecked(false);
        QVERIFY(DealAndWait(*window, 1));  // continues the key's sequence from another seed
        TBoard pasted;                     // as a board comes from the clipboard
        pasted.Deal = *window->Deals().GetDeal(0);
        pasted.Number = 42;
        pasted.OwnNumber = true;
        window->AddBoards({&pasted, 1});
        const QByteArray before = Saved(*window, QStringLiteral("before.pbn"));
        const QStringList origins = TagValues(before, "Generator");
        QCOMPARE(origins.size(), 4);  // the club's boards name none
        QCOMPARE(origins.mid(0, 2), QStringList(2, QStringLiteral("Korvana, key value 2026")));
        QCOMPARE(origins[2], QStringLiteral("Korvana, secure"));
        QVERIFY(origins[3].startsWith(QStringLiteral("Korvana, key value ")) &&
                origins[3] != origins[0]);
        QCOMPARE(TagValues(before, "Board"),
                 QStringList({"7", "18", "3", "20", "5", "6", "7", "8", "9", "42"}));
        Saved(*window, QStringLiteral("before.dls"));  // the deals file says what it leaves out
        QVERIFY(fixture_.services->messages.last().contains(
            QStringLiteral("Номера сдач, сдающие, зоны и теги не сохраняются")));

        window.reset();  // closed: the setup file and its companion are written
        window = fixture_.Open();
        QCOMPARE(Saved(*window, QStringLiteral("after.pbn")), before);

        // Another session's setup file: its first two deals in the other order.
        window.reset();
        QList<QByteArray> lines = ReadAll(fixture_.SetupFile()).split('\n');
        std::swap(lines[3], lines[4]);
        QFile setup(fixture_.SetupFile());
        QVERIFY(setup.open(QIODevice::WriteOnly) && setup.write(lines.join('\n')) > 0);
        setup.close();
        fixture_.services->notes.clear();  // the runs' notes of how to repeat them
        window = fixture_.Open();
        QCOMPARE(fixture_.services->notes.size(), 1);
        QVERIFY(fixture_.services->notes[0].contains(QStringLiteral("generate.brd")));
        QVERIFY(TagValues(Saved(*window, QStringLiteral("bare.pbn")), "Generator").isEmpty());
        window.reset();
        window = fixture_.Open();
        QCOMPARE(fixture_.services->notes.size(), 1);  // none when it matched, and said once
    }
};

QTEST_MAIN(WindowBoardsTest)
#include "WindowBoardsTest.moc"
