// The hands shown after a seat is hidden and shown again, whichever way it was
// toggled and whatever changed the current deal or the collection meanwhile:
// the sixteen labels always hold the current deal's hands of the shown seats.
#include <QAction>
#include <QPlainTextEdit>
#include <QToolButton>

#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {
constexpr int RunTimeout = 60000;
const QString NoHand = QStringLiteral("   ");
}  // namespace

class TSeatDisplayTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

    // Hides or shows North the way the row names: the menu item, its
    // shortcut typed into the condition editor, or the toolbar toggle.
    void ToggleNorth(const QString& how) {
        if (how == "menu")
            Ui().itmSeats[0]->trigger();
        else if (how == "shortcut")
            QTest::keyClick(Ui().RichEdit, Qt::Key_N, Qt::ControlModifier);
        else
            Ui().tbSeats[0]->click();
    }

    // Each seat's menu item, toggle and labels against the current deal: its
    // hand when the seat is shown, nothing when it is hidden or there is no deal.
    void VerifyShowsCurrentDeal() {
        TDeal* deal = window_->Deals().GetDeal(Ui().seCurrentDeal->Value() - 1);
        for (int seat = 1; seat <= 4; ++seat) {
            const bool shown = window_->SeatShown(seat);
            QCOMPARE(Ui().itmSeats[seat - 1]->isChecked(), shown);
            QCOMPARE(Ui().tbSeats[seat - 1]->isChecked(), shown);
            QCOMPARE(Ui().HandLabels[seat - 1][0]->isHidden(), !shown);
            QCOMPARE(SeatText(*window_, seat), deal && shown ? HandText(*deal, seat) : NoHand);
        }
    }

    void AddDeals(int key, int count) {
        ::AddDeals(*window_, key, count);
        Ui().lTotal->setText(QString::number(window_->Deals().Count()));
    }

private slots:
    void init() {
        QVERIFY(fixture_.OpenShown());
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { fixture_.Renew(); }

    void HiddenSeatShownAgainShowsTheCurrentDeal_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("change");
        for (const char* how : {"menu", "shortcut", "toolbar"})
            for (const char* change : {"nothing", "next deal", "previous deal", "typed number",
                                       "clear", "open", "generate"})
                QTest::addRow("%s, %s", how, change) << QString(how) << QString(change);
    }
    void HiddenSeatShownAgainShowsTheCurrentDeal() {
        QFETCH(QString, how);
        QFETCH(QString, change);
        AddDeals(1, 5);
        const QString dealsFile = fixture_.File("more.dls");
        if (change == "open") {
            TDeals other;
            for (const TDeal& deal : DealsOfKey(9, 3)) other.Add(deal);
            other.SaveToFile(dealsFile.toStdString());
        }
        VerifyShowsCurrentDeal();
        if (QTest::currentTestFailed()) return;

        ToggleNorth(how);
        QVERIFY(!window_->SeatShown(1));
        VerifyShowsCurrentDeal();
        if (QTest::currentTestFailed()) return;

        if (change == "next deal") {
            QTest::keyClick(Ui().RichEdit, Qt::Key_Up, Qt::ControlModifier);
            QCOMPARE(Ui().seCurrentDeal->Value(), 2);
        } else if (change == "previous deal") {
            QTest::keyClick(Ui().RichEdit, Qt::Key_Down, Qt::ControlModifier);
            QCOMPARE(Ui().seCurrentDeal->Value(), 5);
        } else if (change == "typed number") {
            Ui().seCurrentDeal->setFocus();
            Ui().seCurrentDeal->selectAll();
            QTest::keyClicks(Ui().seCurrentDeal, "4");
            QCOMPARE(Ui().seCurrentDeal->Value(), 4);
        } else if (change == "clear") {
            QTest::keyClick(Ui().RichEdit, Qt::Key_B, Qt::ControlModifier);
            QCOMPARE(window_->Deals().Count(), 0);
        } else if (change == "open") {
            fixture_.services->answers = {dealsFile};
            window_->itmOpenDealsClick();
            QCOMPARE(window_->Deals().Count(), 8);
            QCOMPARE(Ui().seCurrentDeal->Value(), 6);
        } else if (change == "generate") {
            Ui().seKeyValue->SetValue(4);
            Ui().seTotal->SetValue(3);
            window_->itmGenerateClick();
            QTRY_VERIFY_WITH_TIMEOUT(window_->State() == TMainWindow::TState::Idle, RunTimeout);
            QCOMPARE(window_->Deals().Count(), 8);
            QCOMPARE(Ui().seCurrentDeal->Value(), 6);
        }
        VerifyShowsCurrentDeal();
        if (QTest::currentTestFailed()) return;

        ToggleNorth(how);
        QVERIFY(window_->SeatShown(1));
        VerifyShowsCurrentDeal();
    }

    // The menu and the toolbar may be mixed: each shows what the other hid.
    void MenuAndToolbarMixed() {
        AddDeals(2, 3);
        Ui().itmSeats[2]->trigger();  // South hidden from the menu
        QTest::keyClick(Ui().RichEdit, Qt::Key_Up, Qt::ControlModifier);
        Ui().tbSeats[2]->click();  // and shown from the toolbar
        VerifyShowsCurrentDeal();
        Ui().tbSeats[3]->click();  // West hidden from the toolbar
        QTest::keyClick(Ui().RichEdit, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(Ui().RichEdit, Qt::Key_W,
                        Qt::ControlModifier);  // shown by shortcut
        QCOMPARE(Ui().seCurrentDeal->Value(), 3);
        VerifyShowsCurrentDeal();
    }

    // A seat hidden in the setup file starts hidden and, shown, holds the
    // setup file's current deal.
    void SeatHiddenInTheSetupFile() {
        AddDeals(3, 4);
        Ui().seCurrentDeal->SetValue(3);
        Ui().tbSeats[1]->click();  // East hidden
        window_.reset();           // writes the setup file
        QVERIFY(fixture_.OpenShown());
        QVERIFY(!window_->SeatShown(2));
        QCOMPARE(Ui().seCurrentDeal->Value(), 3);
        VerifyShowsCurrentDeal();
        Ui().itmSeats[1]->trigger();
        QVERIFY(window_->SeatShown(2));
        VerifyShowsCurrentDeal();
    }
};

QTEST_MAIN(TSeatDisplayTest)
#include "SeatDisplayTest.moc"
