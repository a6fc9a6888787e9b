// The deal information dialog's double-dummy table: it opens without waiting,
// fills in from the worker, and a dialog closed before then goes away cleanly.
#include <QLabel>
#include <QtTest>

#include "deals/Deal.h"
#include "deals/PbnFile.h"
#include "reports/windows/DealInfo.h"

namespace {

TDeal FromPbn(std::string_view value) {
    TDeal deal;
    ReadPbnDealValue(value, deal);
    return deal;
}

}  // namespace

class DealInfoTableTest : public QObject {
    Q_OBJECT
private slots:
    void fillsTheTableAfterOpening() {
        // Each hand holds one whole suit: the holder's side makes all thirteen in it.
        TDeal deal =
            FromPbn("N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432");
        TDealInfo info;
        info.Fill(deal.Hand(1), QStringLiteral("North"), 0, 0);
        info.ShowDealTable(deal, 1);
        QCOMPARE(info.size(), QSize(188, 260));
        // The hand's own figures are untouched by the table.
        QCOMPARE(info.lHCP0->text(), QStringLiteral("10"));
        QCOMPARE(info.lL[0]->text(), QStringLiteral("13"));
        QTRY_VERIFY(info.TableReady());
        QCOMPARE(info.lTricksHeading->text(), QStringLiteral("Взятки   С  В  Ю  З"));
        QCOMPARE(info.lTricks[0]->text(), QStringLiteral("БК       0  0  0  0"));
        QCOMPARE(info.lTricks[1]->text(), QStringLiteral("\u2660       13  0 13  0"));
        QCOMPARE(info.lTricks[2]->text(), QStringLiteral("\u2665        0 13  0 13"));
        QCOMPARE(info.lPar->text(), QStringLiteral("Пар NS 1510 7S"));
    }

    void aDamagedDealSaysSo() {
        TDeal deal =
            FromPbn("N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432");
        deal.Hand(2).SetCard(5, 0);
        TDealInfo info;
        info.ShowDealTable(deal, 3);
        QTRY_VERIFY(info.TableReady());
        QCOMPARE(info.lPar->text(), QStringLiteral("Не анализируется"));
        QCOMPARE(info.lPar->toolTip(), QStringLiteral("у Востока на месте 5 нет карты"));
    }

    void closingBeforeTheTableIsReady() {
        uint32_t seed = 99;
        for (int i = 0; i < 3; ++i) {
            TDeal deal;
            deal.DealFromSeed(seed);
            auto* info = new TDealInfo;
            info->ShowDealTable(deal, i + 1);
            QVERIFY(!info->TableReady());
            delete info;  // waits for the worker; its queued answer is dropped
        }
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(DealInfoTableTest)
#include "DealInfoTableTest.moc"
