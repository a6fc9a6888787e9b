// The deal information dialog's double-dummy table: it opens without waiting,
// fills in from the worker, and a dialog closed before then goes away cleanly.
#include <QLabel>
#include <QtTest>

#include "deals/Deal.h"
#include "deals/PbnFile.h"
#include "reports/windows/DealInfo.h"

namespace {

// Each hand holds one whole suit: the holder's side makes all thirteen in it.
TDeal OneSuitEach() {
    TDeal deal;
    ReadPbnDealValue("N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432", deal);
    return deal;
}

}  // namespace

class DealInfoTableTest : public QObject {
    Q_OBJECT
private slots:
    void fillsTheTableAfterOpening() {
        TDeal deal = OneSuitEach();
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
        QCOMPARE(info.lPar->text(), QStringLiteral("Пар: СЮ +1510, 7♠ СЮ"));
    }

    void aDamagedDealSaysSo() {
        TDeal deal = OneSuitEach();
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
            // Until the answer comes the table says it is being worked out.
            QCOMPARE(info->lPar->text(), QStringLiteral("Считается..."));
            QCOMPARE(info->lTricks[0]->text(), QStringLiteral("БК       -  -  -  -"));
            delete info;  // waits for the worker; its queued answer is dropped
        }
        // The event loop goes on, and a dialog opened afterwards gets its own answer.
        TDealInfo kept;
        kept.ShowDealTable(OneSuitEach(), 1);
        QTRY_VERIFY(kept.TableReady());
        QCOMPARE(kept.lPar->text(), QStringLiteral("Пар: СЮ +1510, 7♠ СЮ"));
    }
};

QTEST_MAIN(DealInfoTableTest)
#include "DealInfoTableTest.moc"
