// Generate and stop, clear, open and save deals, the conditions file, and
// closing the window during a run: real generator runs on a worker thread.
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <set>
#include <thread>

#include "language/ConditionCheck.h"
#include "language/Grammar.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {
constexpr int RunTimeout = 20000;

// Counts the queued requests and timer ticks the event loop delivers.
class TEventCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MetaCall || event->type() == QEvent::Timer) ++count;
        return false;
    }
};

// What one thread keeps: the first `count` deals of the key's sequence that
// meet the condition, and how many it dealt to find them.
QStringList KeptByOneThread(int key, int count, const QString& condition, int64_t& dealt) {
    const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    TCompiledCondition compiled;
    if (!compiled.Prepare(condition.toStdString(), *rules)) return {};
    TRandomSource source;
    source.SetSeed(key);
    QStringList kept;
    dealt = 0;
    TDeal deal;
    while (kept.size() < count) {
        deal.DealRandom(source);
        ++dealt;
        if (compiled.MatchesByTree(deal)) kept.append(QString::fromStdString(deal.ToText()));
    }
    return kept;
}
}  // namespace

class TCommandsTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

    // Deals of a key value added as a command would add them.
    void Generate(int total, const QString& condition = {}) {
        Ui().RichEdit->setPlainText(condition);
        Ui().seTotal->SetValue(total);
        window_->itmGenerateClick();
        QTRY_VERIFY_WITH_TIMEOUT(window_->State() == TMainWindow::TState::Idle, RunTimeout);
    }

    // Every control the Generating state disables, and whether each is enabled.
    QList<bool> RunControlsEnabled() {
        QList<bool> enabled;
        for (QMenu* menu : {Ui().DealsMenu, Ui().ConditionsMenu, Ui().ViewMenu})
            enabled.append(menu->menuAction()->isEnabled());
        for (QAction* item : {Ui().itmAbout, Ui().itmExit, Ui().itmGenerate})
            enabled.append(item->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 Ui().ToolBar1, Ui().seTotal, Ui().seCurrentDeal, Ui().seKeyValue, Ui().RichEdit})
            enabled.append(control->isEnabled());
        return enabled;
    }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

    void EmptyConditionKeepsTheFirstDealsOfTheKey() {
        const std::vector<TDeal> expected = DealsOfKey(1, 5);
        Ui().seKeyValue->SetValue(1);
        Generate(3);
        QCOMPARE(Ui().lDealtTotal->text(), QStringLiteral("3(3)"));
        QCOMPARE(DealLines(window_->Deals()), DealLines(expected).mid(0, 3));
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("3"));
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);
        QCOMPARE(SeatText(*window_, 1), QStringLiteral("7532 A6 Q2 KJ842"));
        QCOMPARE(SeatText(*window_, 2), QStringLiteral("K 842 KJ753 T975"));
        QCOMPARE(SeatText(*window_, 3), QStringLiteral("QJT964 J5 AT8 Q6"));
        QCOMPARE(SeatText(*window_, 4), QStringLiteral("A8 KQT973 964 A3"));
        QVERIFY(Ui().btnStop->isHidden());
        // A second run appends and continues the same random sequence.
        Generate(2);
        QCOMPARE(window_->Deals().Count(), 5);
        QCOMPARE(DealLines(window_->Deals(), 3), DealLines(expected).mid(3, 2));
        QCOMPARE(Ui().seCurrentDeal->Value(), 4);
        QCOMPARE(Ui().seCurrentDeal->Highest(), 5);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("5"));
        QCOMPARE(Ui().lDealtTotal->text(), QStringLiteral("2(2)"));
    }

    // After Clear, the saved Generator tag names the seed the run went on from.
    void SavedGeneratorTagRepeatsTheDeals() {
        Generate(2);
        window_->itmClearClick();
        Generate(2);
        fixture_.services->answers = {fixture_.File("run.pbn")};
        window_->itmSaveDealsClick();
        const QString pbn = QString::fromLatin1(ReadAll(fixture_.File("run.pbn")));
        const int key = pbn.section("key value ", 1).section(u'"', 0, 0).toInt();
        QCOMPARE(DealLines(DealsOfKey(key, 2)), DealLines(window_->Deals()));
    }

    void RefusedConditionPutsTheCaretOnTheError_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("line");    // of the editor, from 0
        QTest::addColumn<int>("column");  // within that line
        QTest::newRow("12AND across two lines") << "HCP(North)>12\nAND Balanced(North)" << 0 << 11;
        QTest::newRow("12AND on the second and third lines")
            << "HCP(North)>=10 AND \nHCP(South)>12\nAND Balanced(South)" << 1 << 11;
        QTest::newRow("not a truth value") << "HCP(North)" << 0 << 0;
    }
    void RefusedConditionPutsTheCaretOnTheError() {
        QFETCH(QString, condition);
        QFETCH(int, line);
        QFETCH(int, column);
        window_->Deals().Add(DealsOfKey(3, 1)[0]);
        Ui().RichEdit->setPlainText(condition);
        Ui().RichEdit->moveCursor(QTextCursor::End);
        window_->itmGenerateClick();
        QVERIFY(window_->State() == TMainWindow::TState::Idle);
        QCOMPARE(fixture_.services->messages.size(), 1);
        QCOMPARE(window_->Deals().Count(), 1);
        QVERIFY(Ui().RichEdit->hasFocus());
        const QTextCursor caret = Ui().RichEdit->textCursor();
        QVERIFY(!caret.hasSelection());
        QCOMPARE(caret.blockNumber(), line);
        QCOMPARE(caret.positionInBlock(), column);
        if (condition == "HCP(North)")
            QCOMPARE(fixture_.services->messages[0],
                     QStringLiteral("Несоответствие типов: требуется \"Логический\""));
        else
            QVERIFY(fixture_.services->messages[0].contains("12AND"));
        QVERIFY(Ui().lDealtTotal->text().isEmpty());
    }

    // A megabyte over many lines: refused with the message its small
    // equivalent gets, or by size when it is correct but too large.
    void RefusedMegabyteConditionPutsTheCaretOnTheError_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QStringList brackets(16384, QString(62, QLatin1Char('(')));
        QTest::newRow("brackets") << brackets.join(QLatin1Char('\n'))
                                  << QStringLiteral("Пропущено выражение") << 16383 << 61;
        QStringList ands(65536, QStringLiteral("(HCP(N)>=1) AND "));
        ands.append(QStringLiteral("T"));
        // The tree outgrows its limit at the AND of line 6249 (16 characters a line).
        QTest::newRow("too long") << ands.join(QLatin1Char('\n'))
                                  << QStringLiteral("Слишком длинное условие") << 6249 << 12;
    }
    void RefusedMegabyteConditionPutsTheCaretOnTheError() {
        QFETCH(QString, condition);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(int, column);
        Ui().RichEdit->setPlainText(condition);
        window_->itmGenerateClick();
        QVERIFY(window_->State() == TMainWindow::TState::Idle);
        QCOMPARE(fixture_.services->messages.size(), 1);
        QCOMPARE(fixture_.services->messages[0], message);
        QCOMPARE(window_->Deals().Count(), 0);
        const QTextCursor caret = Ui().RichEdit->textCursor();
        QCOMPARE(caret.blockNumber(), line);
        QCOMPARE(caret.positionInBlock(), column);
    }

    void BlankConditionIsRefusedWithoutAMessage() {
        Ui().RichEdit->setPlainText("   \n  ");
        window_->itmGenerateClick();
        QVERIFY(window_->State() == TMainWindow::TState::Idle);
        QVERIFY(fixture_.services->messages.isEmpty());
        QCOMPARE(window_->Deals().Count(), 0);
        QVERIFY(Ui().RichEdit->hasFocus());
    }

    // The three requests of a run, made from a worker thread as the engine
    // makes them: carried out on the GUI thread, the final counts shown.
    void RequestsFromAWorkerReachTheWindow() {
        AddDeals(*window_, 4, 2);
        const std::vector<TDeal> dealt = DealsOfKey(5, 1000);
        TGeneratorOwner& owner = window_->RunRequests();
        std::thread worker([&] {
            for (int kept = 1; kept <= 1000; ++kept) {
                window_->Deals().Add(dealt[kept - 1]);
                owner.ShowDeal(window_->Deals().Count() - 1);
                owner.ReportProgress(kept, 2 * kept - 1);
                owner.ReportProgress(kept, 2 * kept);
            }
            owner.GenerationFinished(1000, 2);
        });
        worker.join();
        QCOMPARE(Ui().lTotal->text(),
                 QString());  // nothing ran on the worker itself
        QTRY_COMPARE(Ui().lTotal->text(), QStringLiteral("1002"));
        QCOMPARE(Ui().lDealtTotal->text(), QStringLiteral("1000(2000)"));
        QCOMPARE(Ui().seCurrentDeal->Value(), 3);
        QCOMPARE(Ui().seCurrentDeal->Highest(), 1002);
        QCOMPARE(SeatText(*window_, 4), HandText(*window_->Deals().GetDeal(2), 4));
    }

    void StopEndsAnEndlessRun() {
        window_->Deals().Add(DealsOfKey(2, 1)[0]);
        Ui().seCurrentDeal->SetRange(1, 1);
        Ui().seCurrentDeal->SetValue(1);
        Ui().lTotal->setText("1");
        const QList<bool> allEnabled(11, true);
        QCOMPARE(RunControlsEnabled(), allEnabled);
        Ui().RichEdit->setPlainText("Range(North,20,10)");
        window_->itmGenerateClick();
        QVERIFY(window_->State() == TMainWindow::TState::Generating);
        QCOMPARE(RunControlsEnabled(), QList<bool>(11, false));
        QVERIFY(Ui().seColumnsCount->isEnabled());
        QVERIFY(!Ui().btnStop->isHidden());
        // The window's keys rest while it runs, and never reach a control.
        QTest::keyClick(window_.get(), Qt::Key_G, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier);
        // The run goes on, keeping nothing.
        const auto dealing = [this] {
            const QString progress = Ui().lDealtTotal->text();
            return progress.startsWith("0(") && progress != "0(0)";
        };
        QTRY_VERIFY_WITH_TIMEOUT(dealing(), RunTimeout);
        QCOMPARE(window_->Deals().Count(), 1);
        QVERIFY(window_->State() == TMainWindow::TState::Generating);
        Ui().btnStop->click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->State() == TMainWindow::TState::Idle, RunTimeout);
        QCOMPARE(RunControlsEnabled(), allEnabled);
        QVERIFY(Ui().btnStop->isHidden());
        QCOMPARE(window_->Deals().Count(), 1);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("1"));
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);
        QVERIFY2(dealing(), qPrintable(Ui().lDealtTotal->text()));
    }

    // The window deals on every core and keeps exactly what one thread keeps,
    // in order, with the same dealt count; a second run continues the sequence.
    void AllCoresKeepTheDealsOfOneThread_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("condition");
        QTest::newRow("no condition") << 11 << 3000 << QString();
        QTest::newRow("opening")
            << 3 << 40
            << QStringLiteral("Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)");
        QTest::newRow("negative key, rare hand") << -77 << 5 << QStringLiteral("HCP(West) >= 22");
    }
    void AllCoresKeepTheDealsOfOneThread() {
        QFETCH(int, key);
        QFETCH(int, count);
        QFETCH(QString, condition);
        int64_t dealt = 0;
        const QStringList expected = KeptByOneThread(key, 2 * count, condition, dealt);
        QCOMPARE(expected.size(), 2 * count);
        Ui().seKeyValue->SetValue(key);
        Generate(count, condition);
        Generate(count, condition);
        QCOMPARE(DealLines(window_->Deals()), expected);
        int64_t firstDealt = 0;
        KeptByOneThread(key, count, condition, firstDealt);
        QCOMPARE(Ui().lDealtTotal->text(),
                 QStringLiteral("%1(%2)").arg(count).arg(dealt - firstDealt));
    }

    // At full speed the counts change at least ten times a second, and STOP
    // brings the window back within 100 ms.
    // Responsiveness is counted, not timed: while a run deals at full speed the
    // window shows new progress step after step, and each step costs the event
    // loop a few events (a timer tick and what it paints), not a queued request
    // per deal; after STOP the window is idle again within a few event batches.
    // The clock only guards against a hang.
    void FullSpeedRunStaysResponsive() {
        Ui().RichEdit->setPlainText("Range(North,20,10)");  // never met
        TEventCounter counter;
        for (int attempt = 0; attempt < 3; ++attempt) {
            window_->itmGenerateClick();
            QVERIFY(window_->State() == TMainWindow::TState::Generating);
            std::set<QString> shown;
            QElapsedTimer hangGuard;
            hangGuard.start();
            counter.count = 0;
            qApp->installEventFilter(&counter);
            while (shown.size() < 10 && hangGuard.elapsed() < RunTimeout) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                shown.insert(Ui().lDealtTotal->text());
            }
            qApp->removeEventFilter(&counter);
            QVERIFY2(shown.size() >= 10, qPrintable(QString::number(shown.size())));
            QVERIFY2(counter.count <= 20 * static_cast<int>(shown.size()),
                     qPrintable(QString::number(counter.count)));
            Ui().btnStop->click();
            int batches = 0;
            while (window_->State() != TMainWindow::TState::Idle &&
                   hangGuard.elapsed() < RunTimeout) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                ++batches;
            }
            QVERIFY(window_->State() == TMainWindow::TState::Idle);
            QVERIFY2(batches <= 20, qPrintable(QString::number(batches)));
        }
        QCOMPARE(window_->Deals().Count(), 0);
    }

    void ChangingTheColumnCountReseeds() {
        Ui().seKeyValue->SetValue(7);
        Ui().seColumnsCount->SetValue(3);
        Generate(2);
        const QStringList first = DealLines(window_->Deals());
        Ui().seColumnsCount->SetValue(4);
        Generate(2);
        QCOMPARE(DealLines(window_->Deals(), 2), first);
        Generate(2);  // nothing touched: the sequence goes on
        QVERIFY(DealLines(window_->Deals(), 4) != first);
    }

    void LongRunShowsTheFinalCounts() {
        Ui().tbSeats[0]->click();  // a run shows its deals while a seat is shown
        Generate(200000);
        QCOMPARE(Ui().lDealtTotal->text(), QStringLiteral("200000(200000)"));
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("200000"));
        QCOMPARE(SeatText(*window_, 2), HandText(*window_->Deals().GetDeal(0), 2));
    }

    void ClearEmptiesTheCollection() {
        AddDeals(*window_, 5, 4);
        Ui().lDealtTotal->setText("4(4)");
        window_->itmClearClick();
        QCOMPARE(window_->Deals().Count(), 0);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("0"));
        QCOMPARE(Ui().seCurrentDeal->Text(), QStringLiteral("0"));
        QVERIFY(!Ui().seCurrentDeal->HasRange());
        QCOMPARE(SeatText(*window_, 4), QStringLiteral("   "));
        QCOMPARE(Ui().lDealtTotal->text(), QStringLiteral("4(4)"));
    }

    void SaveAndOpenDeals() {
        auto& services = *fixture_.services;
        window_->itmSaveDealsClick();  // no deals: no chooser
        QVERIFY(services.savedIn.isEmpty());
        AddDeals(*window_, 6, 3);
        const QStringList generated = DealLines(window_->Deals());
        const QString fileName = fixture_.File("three.dls");
        services.answers = {fileName};
        window_->itmSaveDealsClick();
        QCOMPARE(services.messages.size(), 1);  // the collection's own confirmation
        QVERIFY(QFile::exists(fileName));
        Ui().seCurrentDeal->SetValue(2);
        services.answers = {fileName};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 6);
        QCOMPARE(DealLines(window_->Deals(), 3), generated);
        QCOMPARE(Ui().seCurrentDeal->Value(), 4);
        QCOMPARE(Ui().seCurrentDeal->Highest(), 6);
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("6"));
        QCOMPARE(SeatText(*window_, 1), HandText(*window_->Deals().GetDeal(3), 1));
        window_->itmOpenDealsClick();  // cancelled
        QCOMPARE(services.openedIn.last(), fixture_.Folder() + "/");
        QCOMPARE(window_->Deals().Count(), 6);
    }

    void RefusedAndFailingDealsFilesChangeNothing() {
        auto& services = *fixture_.services;
        const QString refused = fixture_.File("other.dls");
        QFile file(refused);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("This is Deals File of Tavex's Bridge Generator \r\n");
        file.close();
        AddDeals(*window_, 8, 2);
        services.answers = {refused};
        window_->itmOpenDealsClick();
        QCOMPARE(window_->Deals().Count(), 2);
        QCOMPARE(services.messages.size(), 1);
        QVERIFY(services.messages[0].endsWith(" не содержит раздачи"));
        QCOMPARE(Ui().seCurrentDeal->Value(), 1);
        window_->itmOpenDealsClick();
        QCOMPARE(services.openedIn.last(), QString());  // the folder did not follow
        // A file-system failure is shown with the system's text; the program goes on.
        QVERIFY(QDir(fixture_.Folder()).mkdir("taken.dls"));
        services.answers = {fixture_.File("taken.dls")};
        window_->itmSaveDealsClick();
        QCOMPARE(services.messages.size(), 2);
        QVERIFY(services.messages[1].contains("taken.dls"));
        QVERIFY(window_->State() == TMainWindow::TState::Idle);
    }

    void ConditionsFiles() {
        auto& services = *fixture_.services;
        window_->itmSaveConditionsClick();  // an empty editor: no chooser
        QVERIFY(services.savedIn.isEmpty());
        Ui().RichEdit->setPlainText("HCP(North) >= 12\nAND SuitLength(South, Spades) >= 5");
        const QString fileName = fixture_.File("open1nt.cnd");
        services.answers = {fileName};
        window_->itmSaveConditionsClick();
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("This is Conditions File of Tavex's Bridge Generator\r\n"
                            "HCP(North) >= 12\r\nAND SuitLength(South, Spades) >= 5\r\n"));
        file.close();
        Ui().RichEdit->clear();
        services.answers = {fileName};
        window_->itmOpenConditionsClick();
        QCOMPARE(window_->ConditionLines(),
                 (QStringList{"HCP(North) >= 12", "AND SuitLength(South, Spades) >= 5"}));
        window_->itmOpenConditionsClick();  // cancelled; the chooser starts where the file was
        QCOMPARE(services.openedIn.last(), fixture_.Folder() + "/");

        const QString wrong = fixture_.File("wrong.cnd");
        QFile wrongFile(wrong);
        QVERIFY(wrongFile.open(QIODevice::WriteOnly));
        wrongFile.write("This is Conditions File of Tavex's Bridge Generatos\r\nHCP(East)>3\r\n");
        wrongFile.close();
        Ui().RichEdit->setPlainText("kept");
        services.answers = {wrong};
        window_->itmOpenConditionsClick();
        QCOMPARE(services.messages, QStringList{"Файл " + wrong + " не содержит условия"});
        QCOMPARE(Ui().RichEdit->toPlainText(), QStringLiteral("kept"));
    }

    void ClosingDuringARunStopsItBeforeTheSetupIsWritten() {
        Ui().seTotal->SetValue(9999999);
        Ui().RichEdit->setPlainText("HCP(North) >= 22");  // rare enough to keep the file small
        window_->itmGenerateClick();
        QVERIFY(window_->State() == TMainWindow::TState::Generating);
        // The newest kept deals show while the run goes on.
        QTRY_VERIFY(!SeatText(*window_, 1).trimmed().isEmpty());
        QTRY_VERIFY(Ui().lDealtTotal->text() != "0(0)" && !Ui().lDealtTotal->text().isEmpty());
        window_->close();
        window_.reset();  // stops the run, waits for it, writes the setup file
        QFile file(fixture_.SetupFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.size() > 5);  // the deals kept before the close are saved
        QCOMPARE(lines.last(), QByteArray("HCP(North) >= 22"));
        QCOMPARE(lines[lines.size() - 2], QByteArray("[Conditions]\r"));
        window_ = fixture_.Open();
        QCOMPARE(window_->Deals().Count(), int(lines.size()) - 5);
        QVERIFY(window_->Deals().GetDeal(0)->HCP(1, 0) >= 22);
    }
};

QTEST_MAIN(TCommandsTest)
#include "CommandsTest.moc"
