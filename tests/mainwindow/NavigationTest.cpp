// The deal display, navigation with Ctrl+Up and Ctrl+Down, the window's keys
// that the focused control never sees, and the double-click on a hand.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

#include "reports/windows/DealInfo.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

class TNavigationTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    std::vector<TDeal> deals_;

    // A shown window holding the first five deals of key value 1.
    void OpenWithFiveDeals() {
        deals_ = DealsOfKey(1, 5);
        for (const TDeal& deal : deals_) window_->Deals().Add(deal);
        window_->Controls().seCurrentDeal->SetRange(1, 5);
        window_->Controls().seCurrentDeal->SetValue(1);
    }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

    void FirstDealOfKeyOneInTheSixteenLabels() {
        OpenWithFiveDeals();
        QCOMPARE(SeatText(*window_, 1), QStringLiteral("7532 A6 Q2 KJ842"));
        QCOMPARE(SeatText(*window_, 2), QStringLiteral("K 842 KJ753 T975"));
        QCOMPARE(SeatText(*window_, 3), QStringLiteral("QJT964 J5 AT8 Q6"));
        QCOMPARE(SeatText(*window_, 4), QStringLiteral("A8 KQT973 964 A3"));
        window_->Controls().seCurrentDeal->SetValue(2);
        QCOMPARE(SeatText(*window_, 1), QStringLiteral("Q42 AT865 QJ6 T7"));
    }

    void CtrlArrowsWrapAroundFromAnyControl_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        QTest::newRow("last, up: first") << 5 << int(Qt::Key_Up) << int(Qt::ControlModifier) << 1;
        QTest::newRow("first, down: last")
            << 1 << int(Qt::Key_Down) << int(Qt::ControlModifier) << 5;
        QTest::newRow("middle, up") << 3 << int(Qt::Key_Up) << int(Qt::ControlModifier) << 4;
        QTest::newRow("middle, down") << 3 << int(Qt::Key_Down) << int(Qt::ControlModifier) << 2;
        QTest::newRow("shift held too")
            << 5 << int(Qt::Key_Up) << int(Qt::ControlModifier | Qt::ShiftModifier) << 1;
        QTest::newRow("alt held too")
            << 2 << int(Qt::Key_Down) << int(Qt::ControlModifier | Qt::AltModifier) << 1;
        QTest::newRow("beyond the deals, up: first")
            << 9 << int(Qt::Key_Up) << int(Qt::ControlModifier) << 1;
    }
    void CtrlArrowsWrapAroundFromAnyControl() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        OpenWithFiveDeals();
        for (QWidget* focused : std::initializer_list<QWidget*>{
                 window_->Controls().RichEdit, window_->Controls().seTotal,
                 window_->Controls().seCurrentDeal}) {
            window_->Controls().seCurrentDeal->SetText(QString::number(from));
            window_->Controls().RichEdit->setPlainText("line one\nline two");
            QTextCursor cursor = window_->Controls().RichEdit->textCursor();
            cursor.setPosition(12);
            window_->Controls().RichEdit->setTextCursor(cursor);
            window_->Controls().seTotal->SetValue(4);
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(window_->Controls().seCurrentDeal->Value(), to);
            QCOMPARE(SeatText(*window_, 1), HandText(deals_[to - 1], 1));
            // The focused control never saw the key.
            QCOMPARE(window_->Controls().RichEdit->textCursor().position(), 12);
            QCOMPARE(window_->Controls().seTotal->Value(), 4);
        }
    }

    void CtrlArrowsWithoutDealsChangeNothing() {
        window_->Controls().seCurrentDeal->SetText("3");
        window_->Controls().RichEdit->setPlainText("a\nb");
        window_->Controls().RichEdit->moveCursor(QTextCursor::End);
        window_->Controls().RichEdit->setFocus();
        QTest::keyClick(window_->Controls().RichEdit, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(window_->Controls().RichEdit, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(window_->Controls().seCurrentDeal->Text(), QStringLiteral("3"));
        QCOMPARE(window_->Controls().RichEdit->textCursor().position(), 3);
    }

    void PlainArrowsInTheFieldDoNotWrap() {
        OpenWithFiveDeals();
        window_->Controls().seCurrentDeal->SetValue(5);
        window_->Controls().seCurrentDeal->setFocus();
        QTest::keyClick(window_->Controls().seCurrentDeal, Qt::Key_Up);
        QCOMPARE(window_->Controls().seCurrentDeal->Value(), 5);
        QTest::keyClick(window_->Controls().seCurrentDeal, Qt::Key_Down);
        QCOMPARE(window_->Controls().seCurrentDeal->Value(), 4);
        QCOMPARE(SeatText(*window_, 2), HandText(deals_[3], 2));
    }

    void CtrlVInTheEditorSavesDealsAndNeverPastes() {
        QApplication::clipboard()->setText("PASTED");
        window_->Controls().RichEdit->setPlainText("HCP(N)");
        window_->Controls().RichEdit->setFocus();
        QTest::keyClick(window_->Controls().RichEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window_->Controls().RichEdit->toPlainText(), QStringLiteral("HCP(N)"));
        QVERIFY(fixture_.services->savedIn.isEmpty());  // no deals: nothing at all
        OpenWithFiveDeals();
        window_->Controls().RichEdit->setFocus();
        QTest::keyClick(window_->Controls().RichEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window_->Controls().RichEdit->toPlainText(), QStringLiteral("HCP(N)"));
        QCOMPARE(fixture_.services->savedIn.size(), 1);  // the save chooser for deals
    }

    void TypedNumbersAndTheFocus() {
        OpenWithFiveDeals();
        window_->Controls().seCurrentDeal->setFocus();
        window_->Controls().seCurrentDeal->SetText("8");
        QCOMPARE(SeatText(*window_, 3), QStringLiteral("   "));  // no such deal: empty labels
        window_->Controls().RichEdit->setFocus();
        QTRY_COMPARE(window_->Controls().seCurrentDeal->Text(), QStringLiteral("5"));
        QCOMPARE(SeatText(*window_, 3), HandText(deals_[4], 3));
        window_->Controls().seCurrentDeal->SetText(
            "x");  // reads as the lowest value: the first deal
        QCOMPARE(SeatText(*window_, 3), HandText(deals_[0], 3));
    }

    void HiddenSeatsAreNotWritten() {
        OpenWithFiveDeals();
        window_->Controls().tbSeats[0]->click();  // North hidden
        window_->itmClearClick();
        QCOMPARE(window_->Controls().lTotal->text(), QStringLiteral("0"));
        QCOMPARE(window_->Controls().seCurrentDeal->Text(), QStringLiteral("0"));
        QVERIFY(!window_->Controls().seCurrentDeal->HasRange());
        QCOMPARE(SeatText(*window_, 2), QStringLiteral("   "));
        window_->Controls().tbSeats[0]->click();  // shown again after the clear: empty
        QCOMPARE(SeatText(*window_, 1), QStringLiteral("   "));
    }

    void DoubleClickOpensTheDealInformationBesideTheSpades() {
        OpenWithFiveDeals();
        window_->Controls().seCurrentDeal->SetValue(2);
        QString title, points, distribution;
        QPoint where;
        QObject guard;  // the check dies with this test, whatever happens
        QTimer::singleShot(0, &guard, [&] {
            auto* info = qobject_cast<TDealInfo*>(QApplication::activeModalWidget());
            if (!info) return;
            title = info->windowTitle();
            points = info->lHCP0->text();
            distribution = info->lDistr->text();
            where = info->pos();
            info->close();
        });
        QLabel* hearts =
            window_->Controls().HandLabels[1][1];  // East's hearts: any label of the seat
        QTest::mouseDClick(hearts, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("East"));
        QCOMPARE(points, QString::number(deals_[1].Hand(2).HCP(0)));
        QCOMPARE(distribution.count(u'-'), 3);
        const QLabel* spades = window_->Controls().HandLabels[1][0];
        QCOMPARE(where,
                 QPoint(window_->x() + spades->x() + spades->width(), window_->y() + spades->y()));
    }

    void DoubleClickWithoutADealDoesNothing() {
        bool opened = false;
        bool looked = false;
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            looked = true;
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        QTest::mouseDClick(window_->Controls().HandLabels[0][0], Qt::LeftButton);
        QTRY_VERIFY(looked);
        QVERIFY(!opened);
    }
};

QTEST_MAIN(TNavigationTest)
#include "NavigationTest.moc"
