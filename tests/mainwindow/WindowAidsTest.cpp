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
// Records the open chooser's filter and the entry it opens on, and answers with `choose`.
class TFilterServices : public TFakeServices {
public:
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override {
        entries = chooser.Filter.split(QStringLiteral(";;"));
        openedOn = *chooser.SelectedFilter;
        if (!choose.isEmpty()) *chooser.SelectedFilter = choose;
        return TFakeServices::ChooseFileToOpen(parent, chooser);
    }
    QStringList entries;
    QString openedOn, choose;
};
}  // namespace

class TWindowAidsTest : public QObject {
    Q_OBJECT
private slots:
    // The fixed entries, then every deals file at once; the chooser opens on
    // the entry chosen with a file last time, after a restart too.
    void openChooserFindsEveryDealsFile() {
        TWindowFixture fixture;
        auto services = std::make_shared<TFilterServices>();
        fixture.services = services;
        auto window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->entries.mid(0, 2), QStringList({"Раздачи (*.dls)", "Все файлы (*)"}));
        QCOMPARE(services->openedOn, services->entries[0]);
        const QString every = services->choose = services->entries[2];
        for (const TDealFormat& format : DealFormats())
            QVERIFY(every.contains("*" + QString::fromUtf8(format.Extension)));
        services->answers = {fixture.File("none.pbn")};
        window->Controls().itmOpenDeals->trigger();
        window.reset();  // korvana.ini written
        window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->openedOn, every);
    }

    // Hints in a bar a text line high; the client area above it as designed.
    void menuHintsAreSeen() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStatusBar* status = window->statusBar();
        QTRY_COMPARE(window->centralWidget()->size(), QSize(537, 371));
        QVERIFY(status->isVisible() && status->height() > status->fontMetrics().height());
        QCOMPARE(window->centralWidget()->geometry().bottom() + 1, status->y());
        window->menuBar()->setActiveAction(window->Controls().DealsMenu->menuAction());
        window->Controls().DealsMenu->setActiveAction(window->Controls().itmSecure);
        QVERIFY(status->currentMessage().contains("«Ключевое число»"));
    }

    // A board copied from the hands' menu reads back whole from both its forms
    // (the plain one: the diagram, then the game); pasted, it follows the other
    // deals and is shown. Text with no whole deal is refused.
    void copiedBoardPastesBack() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        AddDeals(*window, 5, 3);
        window->Controls().seCurrentDeal->SetValue(2);
        auto* menu = window->findChild<QMenu*>("BoardMenu");
        emit window->Controls().HandLabels[2][1]->customContextMenuRequested(QPoint(3, 3));
        QVERIFY(menu->isVisible());
        menu->actions()[0]->trigger();
        TBoard copied;
        copied.Deal = *window->Deals().GetDeal(1);
        copied.SetPosition(2);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->text().startsWith(QString::fromStdString(BoardDiagramText(copied)) +
                                        "\n% PBN 2.1\n"));
        for (const auto& read : {BoardsOfMimeData(*data), BoardsOfText(data->text().toStdString())})
            QVERIFY(read.size() == 1 && read[0].Deal.ToText() == copied.Deal.ToText() &&
                    read[0].Number == 2 && read[0].Dealer == 2 && read[0].Vulnerability == "NS");
        menu->actions()[1]->trigger();
        QCOMPARE(window->Deals().Count(), 4);
        QCOMPARE(window->Controls().seCurrentDeal->Value(), 4);
        QCOMPARE(SeatText(*window, 3), HandText(copied.Deal, 3));
        const std::string value = PbnDealValue(copied.Deal, 1);
        for (const std::string& text : {value.substr(0, value.size() - 1), std::string("N: да")}) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(text));
            menu->actions()[1]->trigger();
        }
        QCOMPARE(window->Deals().Count(), 4);
        QCOMPARE(fixture.services->messages.size(), 2);
    }

    // PBN games after any prose, else a deal value anywhere in the text.
    void pastedTextGivesBoards() {
        const std::string deal =
            "n:AK5.QJ3.T842.965 Q96.T972.KQ3.T43 J102.A654.A65.AK7 8743.K8.J97.QJ82";
        const std::string game = "[Board \"8\"]\n[Dealer \"W\"]\n[Deal \"" + deal + "\"]\n\n";
        for (const auto& [text, count, number] : {std::tuple("Как играть " + deal + "?", 1, 1),
                                                  std::tuple("Вот:\n" + game + game, 2, 8)}) {
            const std::vector<TBoard> boards = BoardsOfText(text);
            QCOMPARE(static_cast<int>(boards.size()), count);
            QCOMPARE(PbnDealValue(boards[0].Deal, 1),
                     "N:AK5.QJ3.T842.965 Q96.T972.KQ3.T43 JT2.A654.A65.AK7 8743.K8.J97.QJ82");
            QCOMPARE(boards[0].Number, number);
        }
    }
};

QTEST_MAIN(TWindowAidsTest)
#include "WindowAidsTest.moc"
