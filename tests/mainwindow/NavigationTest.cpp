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
    TMainWindowControls& Ui() { return window_->Controls(); }
    std::vector<TDeal> deals_;

    // A shown window holding the first five deals of key value 1.
    void OpenWithFiveDeals() {
        deals_ = DealsOfKey(1, 5);
        for (const TDeal& deal : deals_) window_->Deals().Add(deal);
        Ui().seCurrentDeal->SetRange(1, 5);
        Ui().seCurrentDeal->SetValue(1);
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
        Ui().seCurrentDeal->SetValue(2);
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
        for (QWidget* focused :
             std::initializer_list<QWidget*>{Ui().RichEdit, Ui().seTotal, Ui().seCurrentDeal}) {
            Ui().seCurrentDeal->SetText(QString::number(from));
            Ui().RichEdit->setPlainText("line one\nline two");
            QTextCursor cursor = Ui().RichEdit->textCursor();
            cursor.setPosition(12);
            Ui().RichEdit->setTextCursor(cursor);
            Ui().seTotal->SetValue(4);
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(Ui().seCurrentDeal->Value(), to);
            QCOMPARE(SeatText(*window_, 1), HandText(deals_[to - 1], 1));
            // The focused control never saw the key.
            QCOMPARE(Ui().RichEdit->textCursor().position(), 12);
            QCOMPARE(Ui().seTotal->Value(), 4);
        }
    }

    void CtrlArrowsWithoutDealsChangeNothing() {
        Ui().seCurrentDeal->SetText("3");
        Ui().RichEdit->setPlainText("a\nb");
        Ui().RichEdit->moveCursor(QTextCursor::End);
        Ui().RichEdit->setFocus();
        QTest::keyClick(Ui().RichEdit, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(Ui().RichEdit, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(Ui().seCurrentDeal->Text(), QStringLiteral("3"));
        QCOMPARE(Ui().RichEdit->textCursor().position(), 3);
    }

    void PlainArrowsInTheFieldDoNotWrap() {
        OpenWithFiveDeals();
        Ui().seCurrentDeal->SetValue(5);
        Ui().seCurrentDeal->setFocus();
        QTest::keyClick(Ui().seCurrentDeal, Qt::Key_Up);
        QCOMPARE(Ui().seCurrentDeal->Value(), 5);
        QTest::keyClick(Ui().seCurrentDeal, Qt::Key_Down);
        QCOMPARE(Ui().seCurrentDeal->Value(), 4);
        QCOMPARE(SeatText(*window_, 2), HandText(deals_[3], 2));
    }

    void CtrlVInTheEditorSavesDealsAndNeverPastes() {
        QApplication::clipboard()->setText("PASTED");
        Ui().RichEdit->setPlainText("HCP(N)");
        Ui().RichEdit->setFocus();
        QTest::keyClick(Ui().RichEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Ui().RichEdit->toPlainText(), QStringLiteral("HCP(N)"));
        QVERIFY(fixture_.services->savedIn.isEmpty());  // no deals: nothing at all
        OpenWithFiveDeals();
        Ui().RichEdit->setFocus();
        QTest::keyClick(Ui().RichEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Ui().RichEdit->toPlainText(), QStringLiteral("HCP(N)"));
        QCOMPARE(fixture_.services->savedIn.size(), 1);  // the save chooser for deals
    }

    void TypedNumbersAndTheFocus() {
        OpenWithFiveDeals();
        Ui().seCurrentDeal->setFocus();
        Ui().seCurrentDeal->SetText("8");
        QCOMPARE(SeatText(*window_, 3), QStringLiteral("   "));  // no such deal: empty labels
        Ui().RichEdit->setFocus();
        QTRY_COMPARE(Ui().seCurrentDeal->Text(), QStringLiteral("5"));
        QCOMPARE(SeatText(*window_, 3), HandText(deals_[4], 3));
        Ui().seCurrentDeal->SetText("x");  // reads as the lowest value: the first deal
        QCOMPARE(SeatText(*window_, 3), HandText(deals_[0], 3));
    }

    void HiddenSeatsAreNotWritten() {
        OpenWithFiveDeals();
        Ui().tbSeats[0]->click();  // North hidden
        window_->itmClearClick();
        QCOMPARE(Ui().lTotal->text(), QStringLiteral("0"));
        QCOMPARE(Ui().seCurrentDeal->Text(), QStringLiteral("0"));
        QVERIFY(!Ui().seCurrentDeal->HasRange());
        QCOMPARE(SeatText(*window_, 2), QStringLiteral("   "));
        Ui().tbSeats[0]->click();  // shown again after the clear: empty
        QCOMPARE(SeatText(*window_, 1), QStringLiteral("   "));
    }

    void DoubleClickOpensTheDealInformationBesideTheSpades() {
        OpenWithFiveDeals();
        Ui().seCurrentDeal->SetValue(2);
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
        QLabel* hearts = Ui().HandLabels[1][1];  // East's hearts: any label of the seat
        QTest::mouseDClick(hearts, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("East"));
        QCOMPARE(points, QString::number(deals_[1].Hand(2).HCP(0)));
        QCOMPARE(distribution.count(u'-'), 3);
        const QLabel* spades = Ui().HandLabels[1][0];
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
        QTest::mouseDClick(Ui().HandLabels[0][0], Qt::LeftButton);
        QTRY_VERIFY(looked);
        QVERIFY(!opened);
    }
};

QTEST_MAIN(TNavigationTest)
#include "NavigationTest.moc"
