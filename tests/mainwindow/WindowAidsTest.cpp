// What helps a user find and move things: the open chooser's entries, the
// menu hints in the status bar, and a board copied and pasted.
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QtTest>

#include "deals/DealFormats.h"
#include "deals/PbnFile.h"
#include "mainwindow/BoardClipboard.h"
#include "reports/BoardDiagram.h"
#include "support/WindowFixture.h"

namespace {

// Records the open chooser's filter and the entry it opens on, and answers
// with the entry `choose` (none: the one it opened on).
class TFilterServices : public TFakeServices {
public:
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override {
        entries = chooser.Filter.split(QStringLiteral(";;"));
        openedOn = chooser.SelectedFilter ? *chooser.SelectedFilter : QStringLiteral("none");
        if (chooser.SelectedFilter && !choose.isEmpty()) *chooser.SelectedFilter = choose;
        return TFakeServices::ChooseFileToOpen(parent, chooser);
    }
    QStringList entries;
    QString openedOn;
    QString choose;
};

}  // namespace

class TWindowAidsTest : public QObject {
    Q_OBJECT
private slots:
    // The fixed entries first, then every deals file at once; the entry chosen
    // with a file is where the chooser opens next time, after a restart too.
    void openChooserFindsEveryDealsFile() {
        TWindowFixture fixture;
        auto services = std::make_shared<TFilterServices>();
        fixture.services = services;
        auto window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->entries.mid(0, 2),
                 QStringList({QStringLiteral("Раздачи (*.dls)"), QStringLiteral("Все файлы (*)")}));
        QCOMPARE(services->openedOn, services->entries[0]);
        const QString every = services->entries[2];
        QVERIFY(every.startsWith(QStringLiteral("Все файлы раздач (")));
        for (const TDealFormat& format : DealFormats())
            QVERIFY(every.contains(QStringLiteral("*") + QString::fromUtf8(format.Extension)));

        services->choose = every;
        services->answers = {fixture.File(QStringLiteral("none.pbn"))};
        window->Controls().itmOpenDeals->trigger();
        services->choose.clear();
        window->Controls().itmOpenDeals->trigger();  // cancelled: nothing kept
        QCOMPARE(services->openedOn, every);
        window.reset();  // korvana.ini written
        window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->openedOn, every);
    }

    // A board copied from the hands' menu reads back whole from either of its
    // forms, the plain one being the diagram and then the game; pasted, it
    // follows the other deals and is shown.
    void copiedBoardPastesBack() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        AddDeals(*window, 5, 3);
        window->Controls().seCurrentDeal->SetValue(2);
        auto* menu = window->findChild<QMenu*>(QStringLiteral("BoardMenu"));
        emit window->Controls().HandLabels[2][1]->customContextMenuRequested(QPoint(3, 3));
        QVERIFY(menu->isVisible());
        menu->actions()[0]->trigger();
        menu->close();
        TBoard copied;
        copied.Deal = *window->Deals().GetDeal(1);
        copied.SetPosition(2);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->text().startsWith(QString::fromStdString(BoardDiagramText(copied)) +
                                        QStringLiteral("\n% PBN 2.1\n")));
        for (const std::vector<TBoard>& read :
             {BoardsOfMimeData(*data), BoardsOfText(data->text().toStdString())}) {
            QCOMPARE(read.size(), std::size_t{1});
            QCOMPARE(read[0].Deal.ToText(), copied.Deal.ToText());
            QCOMPARE(std::tuple(read[0].Number, read[0].Dealer, read[0].Vulnerability),
                     std::tuple(copied.Number, copied.Dealer, copied.Vulnerability));
        }
        menu->actions()[1]->trigger();
        QCOMPARE(window->Deals().Count(), 4);
        QCOMPARE(window->Controls().seCurrentDeal->Value(), 4);
        QCOMPARE(SeatText(*window, 3), HandText(copied.Deal, 3));
        QGuiApplication::clipboard()->setText(QStringLiteral("N:AK5"));
        menu->actions()[1]->trigger();
        QCOMPARE(window->Deals().Count(), 4);
        QVERIFY(fixture.services->messages.join(u' ').contains(QStringLiteral("нет раздачи")));
    }

    // What a pasted text gives: PBN games after any prose, else a deal value
    // anywhere in it; nothing from a deal that is not whole.
    void pastedTextGivesBoards_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("number");  // of the first board
        QTest::addColumn<int>("dealer");
        const QString deal =
            "N:AK5.QJ3.T842.965 Q96.T972.KQ3.T43 J102.A654.A65.AK7 8743.K8.J97.QJ82";
        const QString game = "[Board \"8\"]\n[Dealer \"W\"]\n[Deal \"" + deal + "\"]\n\n";
        QTest::newRow("deal value in a sentence") << "Как играть " + deal + "?" << 1 << 1 << 1;
        QTest::newRow("games after prose") << "Вот:\n" + game + game << 2 << 8 << 4;
        QTest::newRow("14 cards") << QString(deal).replace("965", "9654") << 0 << 0 << 0;
        QTest::newRow("no deal") << "N: привет" << 0 << 0 << 0;
    }
    void pastedTextGivesBoards() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(int, number);
        QFETCH(int, dealer);
        const std::vector<TBoard> boards = BoardsOfText(text.toStdString());
        QCOMPARE(static_cast<int>(boards.size()), count);
        if (count == 0) return;
        QCOMPARE(PbnDealValue(boards[0].Deal, 1),
                 "N:AK5.QJ3.T842.965 Q96.T972.KQ3.T43 JT2.A654.A65.AK7 8743.K8.J97.QJ82");
        QCOMPARE(std::pair(boards[0].Number, boards[0].Dealer), std::pair(int64_t{number}, dealer));
    }

    // Hints are read in a bar of a text line's height; the client area above it
    // keeps its designed size and the editor its margins.
    void menuHintsAreSeen() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStatusBar* status = window->statusBar();
        QTRY_COMPARE(window->centralWidget()->size(), QSize(537, 371));
        QVERIFY(status->isVisible() && status->height() > status->fontMetrics().height());
        QCOMPARE(window->centralWidget()->geometry().bottom() + 1, status->y());
        const QRect editor = window->Controls().RichEdit->geometry();
        QCOMPARE(editor.bottom() + 1 + 16, window->centralWidget()->height());
        // The item reached in its menu, as the keyboard or the mouse reaches it.
        window->menuBar()->setActiveAction(window->Controls().DealsMenu->menuAction());
        window->Controls().DealsMenu->setActiveAction(window->Controls().itmSecure);
        QVERIFY(status->currentMessage().contains(QStringLiteral("«Ключевое число»")));
        window->Controls().DealsMenu->close();
    }
};

QTEST_MAIN(TWindowAidsTest)
#include "WindowAidsTest.moc"
