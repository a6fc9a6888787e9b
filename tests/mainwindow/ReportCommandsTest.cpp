// The report commands of the main window: the statistics and the deal listing
// open a modal report window owned by the main window, or do nothing.
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "reports/DealListing.h"
#include "reports/StatisticsReport.h"
#include "reports/windows/EditorWindow.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

Q_DECLARE_METATYPE(TListingSeats)

namespace {

// Runs `command`; if it opens a report window, reads it and closes it.
TShownReport RunReportCommand(const std::function<void()>& command) {
    const TReportReader reader;
    command();
    return reader.Report;
}

void AddDeals(TDeals& deals, const std::vector<TDeal>& added) {
    for (const TDeal& deal : added) deals.Add(deal);
}

// The statistics report of a fresh collection holding `deals`.
QStringList StatisticsOf(const std::vector<TDeal>& deals) {
    TDeals fresh;
    AddDeals(fresh, deals);
    fresh.ComputeStatistics();
    return AsQt(StatisticsReportLines(fresh));
}

void ShowSeats(TMainWindow& window, const TListingSeats& seats) {
    const bool shown[4] = {seats.North, seats.East, seats.South, seats.West};
    for (int seat = 1; seat <= 4; ++seat)
        window.Controls().tbSeats[seat - 1]->setChecked(shown[seat - 1]);
}

// Types into the column field as the user would, without leaving it.
void TypeColumns(TNumberField* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

}  // namespace

class ReportCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The statistics describe the collection as it is when the command is
    // given: the figures are recomputed each time.
    void statisticsOfCurrentCollection() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        std::vector<TDeal> deals = DealsOfKey(11, 3);
        AddDeals(window->Deals(), deals);
        const TShownReport first =
            RunReportCommand([&] { window->Controls().itmStatistics->trigger(); });
        QVERIFY(first.Shown);
        QVERIFY(first.Modal);
        QCOMPARE(first.Owner, window.get());
        QCOMPARE(first.Caption, QString("Статистика"));
        QCOMPARE(first.Lines.first(), QString("Всего раздач: 3"));
        QCOMPARE(first.Lines, StatisticsOf(deals));
        QVERIFY(first.Window.isNull());  // destroyed once closed

        const std::vector<TDeal> more = DealsOfKey(12, 2);
        AddDeals(window->Deals(), more);
        deals.insert(deals.end(), more.begin(), more.end());
        const TShownReport second =
            RunReportCommand([&] { window->Controls().ToolButton1->click(); });
        QVERIFY(second.Shown);
        QCOMPARE(second.Lines.first(), QString("Всего раздач: 5"));
        QCOMPARE(second.Lines, StatisticsOf(deals));
    }

    void listingOfShownSeats_data() {
        QTest::addColumn<TListingSeats>("seats");
        QTest::addColumn<QString>("typedColumns");
        QTest::addColumn<int>("columns");
        QTest::newRow("all seats, 3") << TListingSeats{true, true, true, true} << "3" << 3;
        QTest::newRow("east, 2") << TListingSeats{false, true, false, false} << "2" << 2;
        QTest::newRow("north and south, 9") << TListingSeats{true, false, true, false} << "9" << 9;
        QTest::newRow("west and south, 4") << TListingSeats{false, false, true, true} << "4" << 4;
        QTest::newRow("0 just typed") << TListingSeats{true, false, false, true} << "0" << 0;
    }
    // The listing takes the seats shown and the column count as the field
    // reads at that moment, before it has been left and clamped.
    void listingOfShownSeats() {
        QFETCH(TListingSeats, seats);
        QFETCH(QString, typedColumns);
        QFETCH(int, columns);
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        AddDeals(window->Deals(), DealsOfKey(5, 11));
        ShowSeats(*window, seats);
        TypeColumns(ui.seColumnsCount, typedColumns);
        QCOMPARE(ui.seColumnsCount->Value(), columns);
        const TShownReport shown = RunReportCommand([&] { ui.itmPrintDeals->trigger(); });
        QVERIFY(shown.Shown);
        QVERIFY(shown.Modal);
        QCOMPARE(shown.Owner, window.get());
        QCOMPARE(shown.Caption, QString("Просмотр раздач"));
        QCOMPARE(shown.Lines, AsQt(DealListingLines(window->Deals(), seats, columns)));
        QVERIFY(shown.Lines.first().startsWith(" 1."));
        QVERIFY(shown.Window.isNull());
        QCOMPARE(ui.seColumnsCount->Value(), columns);
    }

    void listingFromToolbar() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        AddDeals(window->Deals(), DealsOfKey(8, 2));
        ShowSeats(*window, {true, true, true, true});
        const TShownReport shown =
            RunReportCommand([&] { window->Controls().tbPrintDeals->click(); });
        QVERIFY(shown.Shown);
        QCOMPARE(shown.Caption, QString("Просмотр раздач"));
    }

    // Nothing opens for an empty collection, nor for the listing with every
    // seat hidden; the statistics do not depend on the seats.
    void nothingToReport() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        ShowSeats(*window, {true, true, true, true});
        QVERIFY(!RunReportCommand([&] { ui.itmStatistics->trigger(); }).Shown);
        QVERIFY(!RunReportCommand([&] { ui.itmPrintDeals->trigger(); }).Shown);

        AddDeals(window->Deals(), DealsOfKey(3, 4));
        ShowSeats(*window, {false, false, false, false});
        QVERIFY(!RunReportCommand([&] { ui.itmPrintDeals->trigger(); }).Shown);
        QVERIFY(!RunReportCommand([&] { ui.tbPrintDeals->click(); }).Shown);
        QVERIFY(RunReportCommand([&] { ui.itmStatistics->trigger(); }).Shown);
    }
};

QTEST_MAIN(ReportCommandsTest)
#include "ReportCommandsTest.moc"
