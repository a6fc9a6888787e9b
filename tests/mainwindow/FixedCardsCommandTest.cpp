// The fixed-cards command: its dialog (fields per seat or a PBN line, faults
// shown in the dialog), the mark in the main window, runs that deal around
// the fixed cards, and the setup file that keeps them.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "WindowTestSupport.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/FixedCardsWindow.h"
#include "files/SetupFormat.h"
#include "widgets/NumberField.h"

namespace {
constexpr int RunTimeout = 20000;

void TypeText(QDialog& dialog, const char* field, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QString ErrorShown(QDialog& dialog) {
    auto* error = dialog.findChild<QLabel*>("lError");
    return error && error->isVisible() ? error->text() : QString();
}

TFixedCards Read(const char* text) {
    const TFixedCardsReading reading = ReadFixedCards(text);
    return reading.Cards;
}
}  // namespace

class TFixedCardsCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TWindowFixture> fixture_;
    std::unique_ptr<TMainWindow> window_;

private slots:
    void init() {
        fixture_ = std::make_unique<TWindowFixture>();
        window_ = fixture_->Open();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        fixture_.reset();
    }

    // Each fault keeps the dialog open with the message naming the card or
    // seat; the fields stay as typed until they read.
    void dialogShowsEachFault_data() {
        QTest::addColumn<QStringList>("typed");  // field, text, field, text ...
        QTest::addColumn<QString>("message");
        QTest::newRow("fourteen cards")
            << QStringList{"edNorth", "AKQJT.AKQ.AKQ.AKQ"}
            << "У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ».";
        QTest::newRow("a card given twice") << QStringList{"edEast", "K...", "edWest", "AK..."}
                                            << "Карта ♠K задана дважды: у Востока и у Запада.";
        QTest::newRow("no card") << QStringList{"edSouth", ".AKZ.."}
                                 << "«Z» — не карта: рука Юга «.AKZ..».";
        QTest::newRow("not four suits")
            << QStringList{"edWest", "AKQ"}
            << "Не удаётся прочитать руку Запада «AKQ»: нужны четыре масти через точку, пики "
               "первыми (AKQJ.K..).";
        QTest::newRow("a seat in the PBN line and its field")
            << QStringList{"edPbn", "N:A... - - -", "edNorth", "K..."}
            << "Карты Севера заданы дважды.";
        QTest::newRow("a seat letter that is none")
            << QStringList{"edPbn", "X:A..."}
            << "Не удаётся прочитать «X:A...»: перед двоеточием должна стоять позиция N, E, S "
               "или W.";
    }
    void dialogShowsEachFault() {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        TFixedCardsWindow dialog(window_.get());
        QString shown;
        bool stillOpen = false;
        WhenDialogOpens([&](QDialog& d) {
            for (qsizetype i = 0; i + 1 < typed.size(); i += 2)
                TypeText(d, typed[i].toLatin1().constData(), typed[i + 1]);
            ClickOk(d);
            shown = ErrorShown(d);
            stillOpen = d.isVisible();
            // Cancel leaves what was fixed before.
            QTest::mouseClick(d.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        });
        const std::optional<TFixedCards> result = dialog.Execute(Read("S:..A2."));
        QVERIFY(stillOpen);
        QCOMPARE(shown, message);
        QVERIFY(!result.has_value());
    }

    void dialogReadsSeatFieldsAndAPbnLine() {
        TFixedCardsWindow dialog(window_.get());
        QStringList shownFields;
        WhenDialogOpens([&](QDialog& d) {
            for (const char* name : {"edNorth", "edEast", "edSouth", "edWest", "edPbn"})
                shownFields << d.findChild<QLineEdit*>(name)->text();
            TypeText(d, "edNorth", "akqj.k..");
            TypeText(d, "edSouth", "");
            TypeText(d, "edPbn", "E:- - .T.10.");
            ClickOk(d);
        });
        const std::optional<TFixedCards> result = dialog.Execute(Read("N:A... S:..A2."));
        QCOMPARE(shownFields, QStringList({"A...", "", "..A2.", "", ""}));
        QVERIFY(result.has_value());
        QCOMPARE(QString::fromStdString(result->ToText()), QString("N:AKQJ.K.. W:.T.T."));

        WhenDialogOpens([&](QDialog& d) {
            QTest::mouseClick(d.findChild<QPushButton*>("btnClear"), Qt::LeftButton);
            ClickOk(d);
        });
        const std::optional<TFixedCards> cleared = dialog.Execute(*result);
        QVERIFY(cleared.has_value() && cleared->Empty());
    }

    // The command sits in the deals menu and on the toolbar; what it fixes is
    // marked in the window and given to the seats in every generated deal.
    void commandFixesCardsForRuns() {
        QVERIFY(window_->DealsMenu->actions().contains(window_->itmFixedCards));
        QCOMPARE(window_->itmFixedCards->text(), QString("Закрепить карты..."));
        QCOMPARE(window_->tbFixedCards->toolTip(), QString("Закрепить карты за игроками"));
        QVERIFY(!window_->lFixedCards->isVisible());

        WhenDialogOpens([&](QDialog& d) {
            TypeText(d, "edNorth", "AKQJ.AKQ.AKQ.AKQ");
            ClickOk(d);
        });
        QTest::mouseClick(window_->tbFixedCards, Qt::LeftButton);
        QVERIFY(window_->lFixedCards->isVisible());
        QCOMPARE(window_->lFixedCards->text(), QString("Закреплены карты: N 13"));
        QCOMPARE(window_->lFixedCards->toolTip(), QString("N:AKQJ.AKQ.AKQ.AKQ"));

        window_->seKeyValue->SetValue(1);
        window_->RichEdit->setPlainText("HCP(S) >= 1");
        window_->seTotal->SetValue(200);
        window_->itmGenerateClick();
        QTRY_VERIFY_WITH_TIMEOUT(window_->State() == TMainWindow::TState::Idle, RunTimeout);
        QCOMPARE(window_->Deals().Count(), 200);
        for (int index = 0; index < window_->Deals().Count(); ++index) {
            TDeal& deal = *window_->Deals().GetDeal(index);
            QCOMPARE(HandText(deal, 1), QString("AKQJ AKQ AKQ AKQ"));
            QVERIFY(deal.HCP(3, -1) >= 1);
        }
        QCOMPARE(SeatText(*window_, 1), QString("AKQJ AKQ AKQ AKQ"));

        // Cleared, the mark goes and runs deal every card again.
        window_->SetFixedCards(TFixedCards());
        QVERIFY(!window_->lFixedCards->isVisible());
    }

    // The fixed cards follow the state record in the setup file; a file
    // without them (as written before) fixes nothing, and the rest of a new
    // file reads as an older reader reads it.
    void setupFileKeepsFixedCards() {
        window_->SetFixedCards(Read("N:AKQJ.K.. S:..A2."));
        window_->seKeyValue->SetValue(77);
        window_.reset();
        QFile file(fixture_->SetupFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        const QByteArray first = bytes.left(bytes.indexOf("\r\n"));
        QCOMPARE(first.mid(65), QByteArray(" [Fixed] N:AKQJ.K.. S:..A2."));
        TStateRecord withoutFixed = ParseSetup(bytes).State;
        withoutFixed.FixedCards.clear();
        QCOMPARE(FormatStateRecord(withoutFixed).toLatin1(), first.left(65));

        window_ = fixture_->Open();
        QCOMPARE(QString::fromStdString(window_->FixedCards().ToText()),
                 QString("N:AKQJ.K.. S:..A2."));
        QVERIFY(!window_->lFixedCards->isHidden());
        QCOMPARE(window_->seKeyValue->Value(), 77);

        // Nothing fixed: the record is the 65 characters alone.
        window_->SetFixedCards(TFixedCards());
        window_.reset();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine().trimmed().size(), 65);
        file.close();
        window_ = fixture_->Open();
        QVERIFY(window_->FixedCards().Empty());
        QVERIFY(window_->lFixedCards->isHidden());
    }

    // A damaged text after the record is reported and fixes nothing; the rest
    // of the file still reads.
    void damagedFixedCardsAreReported() {
        window_->seKeyValue->SetValue(5);
        window_.reset();
        QFile file(fixture_->SetupFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        bytes.insert(bytes.indexOf("\r\n"), " [Fixed] N:AKQJT.AKQ.AKQ.AKQ");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        fixture_->services->messages.clear();
        window_ = fixture_->Open();
        QCOMPARE(fixture_->services->messages.size(), 1);
        QVERIFY2(fixture_->services->messages[0].endsWith(
                     "У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ»."),
                 qPrintable(fixture_->services->messages[0]));
        QVERIFY(window_->FixedCards().Empty());
        QCOMPARE(window_->seKeyValue->Value(), 5);
    }
};

QTEST_MAIN(TFixedCardsCommandTest)
#include "FixedCardsCommandTest.moc"
