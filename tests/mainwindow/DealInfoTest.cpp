// The deal information dialog: points, lengths and distribution of one hand.
#include <QLabel>
#include <QTest>

#include "deals/Hand.h"
#include "reports/windows/DealInfo.h"

namespace {
THand HandOf(std::initializer_list<int> cards) {
    THand hand;
    int place = 1;
    for (int card : cards) hand.SetCard(place++, card);
    return hand;
}
}  // namespace

class TDealInfoTest : public QObject {
    Q_OBJECT
private slots:
    void Figures_data() {
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<QStringList>("points");   // spades, hearts, diamonds, clubs, total
        QTest::addColumn<QStringList>("lengths");  // spades, hearts, diamonds, clubs
        QTest::addColumn<QString>("distribution");
        QTest::newRow("a void in clubs")
            << QList<int>{52, 51, 50, 49, 39, 38, 37, 36, 35, 34, 33, 32, 26}
            << QStringList{"10", "10", "4", "0", "24"} << QStringList{"4", "8", "1", "0"}
            << "8-4-1-0";
        QTest::newRow("four clubs, 4-3-3-3")
            << QList<int>{52, 51, 50, 39, 38, 37, 26, 25, 24, 13, 12, 11, 10}
            << QStringList{"9", "9", "9", "10", "37"} << QStringList{"3", "3", "3", "4"}
            << "4-3-3-3";
        QTest::newRow("four spades, 4-3-3-3, no points")
            << QList<int>{48, 47, 46, 45, 35, 34, 33, 22, 21, 20, 9, 8, 7}
            << QStringList{"0", "0", "0", "0", "0"} << QStringList{"4", "3", "3", "3"} << "4-3-3-3";
        QTest::newRow("two voids") << QList<int>{52, 51, 50, 49, 48, 47, 46, 39, 38, 37, 36, 35, 34}
                                   << QStringList{"10", "10", "0", "0", "20"}
                                   << QStringList{"7", "6", "0", "0"} << "7-6-0-0";
    }
    void Figures() {
        QFETCH(QList<int>, cards);
        QFETCH(QStringList, points);
        QFETCH(QStringList, lengths);
        QFETCH(QString, distribution);
        THand hand;
        for (int place = 0; place < cards.size(); ++place) hand.SetCard(place + 1, cards[place]);
        TDealInfo info;
        info.Fill(hand, QStringLiteral("South"), 10, 20);
        QCOMPARE(info.windowTitle(), QStringLiteral("South"));
        for (int suit = 0; suit < 4; ++suit) {
            QCOMPARE(info.lHCP[suit]->text(), points[suit]);
            QCOMPARE(info.lL[suit]->text(), lengths[suit]);
        }
        QCOMPARE(info.lHCP0->text(), points[4]);
        QCOMPARE(info.lDistr->text(), distribution);
    }

    void PositionAppliesOnlyAboveZero_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QPoint>("where");
        QTest::newRow("both") << 300 << 200 << QPoint(300, 200);
        QTest::newRow("left off the screen") << 0 << 200 << QPoint(382, 200);
        QTest::newRow("top off the screen") << 300 << -40 << QPoint(300, 88);
        QTest::newRow("neither") << -1 << 0 << QPoint(382, 88);
    }
    void PositionAppliesOnlyAboveZero() {
        QFETCH(int, x);
        QFETCH(int, y);
        THand hand = HandOf({52, 51, 50, 39, 38, 37, 26, 25, 24, 13, 12, 11, 10});
        TDealInfo info;
        info.Fill(hand, QStringLiteral("North"), x, y);
        QTEST(info.pos(), "where");
    }

    void FixedSizeAndSuitSymbols() {
        TDealInfo info;
        QCOMPARE(info.size(), QSize(188, 140));
        QCOMPARE(info.minimumSize(), info.maximumSize());
        QCOMPARE(info.findChild<QLabel*>("Label6")->text(), QStringLiteral("\u2660"));
        QCOMPARE(info.findChild<QLabel*>("Label2")->text(), QStringLiteral("\u2663"));
        QCOMPARE(info.findChild<QLabel*>("Label7")->text(), QStringLiteral("Длина"));
    }
};

QTEST_MAIN(TDealInfoTest)
#include "DealInfoTest.moc"
