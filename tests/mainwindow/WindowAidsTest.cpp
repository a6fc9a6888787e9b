// What helps a user find and move things: the open chooser's entries and a
// board copied and pasted.
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

#include "deals/PbnFile.h"
#include "mainwindow/BoardClipboard.h"
#include "reports/BoardDiagram.h"
#include "support/WindowFixture.h"

namespace {
// Records the entry of its filter the open chooser opens on, and answers with `choose`.
class TFilterServices : public TFakeServices {
public:
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override {
        openedOn = *chooser.SelectedFilter;
        if (!choose.isEmpty()) *chooser.SelectedFilter = choose;
        return TFakeServices::ChooseFileToOpen(parent, chooser);
    }
    QString openedOn, choose;
};
}  // namespace

class TWindowAidsTest : public QObject {
    Q_OBJECT
private slots:
    // The chooser opens on its first entry, then on the one chosen with a file
    // last time, after a restart too.
    void openChooserKeepsTheEntryChosen() {
        TWindowFixture fixture;
        auto services = std::make_shared<TFilterServices>();
        fixture.services = services;
        auto window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->openedOn, QStringLiteral("Раздачи (*.dls)"));
        const QString every = services->choose =
            QStringLiteral("Все файлы раздач (*.dls *.pbn *.lin *.ber *.csv *.bhg *.rzd *.cds)");
        services->answers = {fixture.File("none.pbn")};
        window->Controls().itmOpenDeals->trigger();
        window.reset();  // korvana.ini written
        window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->openedOn, every);
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
        // A deal value anywhere in a text, any seat first; none that is not whole.
        const std::string value = PbnDealValue(copied.Deal, 3);
        const std::pair<std::string, int> pasted[] = {{"Как играть s" + value.substr(1) + "?", 5},
                                                      {value.substr(0, value.size() - 1), 5},
                                                      {"N: да", 5}};
        for (const auto& [text, count] : pasted) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(text));
            menu->actions()[1]->trigger();
            QCOMPARE(window->Deals().Count(), count);
        }
        QCOMPARE(window->Deals().GetDeal(4)->ToText(), copied.Deal.ToText());
        QCOMPARE(fixture.services->messages.size(), 2);
    }
};

QTEST_MAIN(TWindowAidsTest)
#include "WindowAidsTest.moc"
