// The fixed-cards command: its dialog (fields per seat or a PBN line, faults
// shown in the dialog), the mark in the main window, runs that deal around
// the fixed cards, and the setup file that keeps them.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "dialogs/FixedCardsWindow.h"
#include "files/SetupFormat.h"
#include "support/DialogDriver.h"
#include "support/FolderSnapshot.h"
#include "support/HostileMounts.h"
#include "support/WindowFixture.h"
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

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

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
        QVERIFY(Ui().DealsMenu->actions().contains(Ui().itmFixedCards));
        QCOMPARE(Ui().itmFixedCards->text().remove(u'&'), QString("Закрепить карты..."));
        QCOMPARE(Ui().tbFixedCards->toolTip(), QString("Закрепить карты за игроками"));
        QVERIFY(!Ui().lFixedCards->isVisible());

        WhenDialogOpens([&](QDialog& d) {
            TypeText(d, "edNorth", "AKQJ.AKQ.AKQ.AKQ");
            ClickOk(d);
        });
        QTest::mouseClick(Ui().tbFixedCards, Qt::LeftButton);
        QVERIFY(Ui().lFixedCards->isVisible());
        QCOMPARE(Ui().lFixedCards->text(), QString("Закреплены карты: N 13"));
        QCOMPARE(Ui().lFixedCards->toolTip(), QString("N:AKQJ.AKQ.AKQ.AKQ"));

        Ui().seKeyValue->SetValue(1);
        Ui().RichEdit->setPlainText("HCP(S) >= 1");
        Ui().seTotal->SetValue(200);
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
        QVERIFY(!Ui().lFixedCards->isVisible());
    }

    // The fixed cards go to korvana.ini, kept with the keys it had; the setup
    // file keeps exactly its record of 65 characters.
    void settingsFileKeepsFixedCards() {
        const QString settings = fixture_.File("korvana.ini");
        for (const QByteArray cards : {"N:AKQJ.K.. S:..A2.", ""}) {
            window_.reset();
            if (!cards.isEmpty()) QVERIFY(WriteAll(settings, "[Future]\nkey=1\n"));
            window_ = fixture_.Open();
            window_->SetFixedCards(Read(cards.constData()));
            window_.reset();
            QCOMPARE(ReadAll(fixture_.SetupFile()).indexOf("\r\n"), 65);
            QCOMPARE(ReadAll(settings), "[Future]\nkey=1\n[Deal]\n" +
                                            (cards.isEmpty() ? cards : "Fixed=" + cards + "\n"));
            window_ = fixture_.Open();
            QCOMPARE(QByteArray::fromStdString(window_->FixedCards().ToText()), cards);
        }
    }

    // An older setup file's cards after its record count unless korvana.ini fixes cards, and
    // stay there while korvana.ini cannot be read; damaged cards are reported and fix nothing.
    void olderSetupFileCards_data() {
        QTest::addColumn<QByteArray>("afterRecord");
        QTest::addColumn<QByteArray>("settings");  // "<folder>": a folder of that name
        QTest::addColumn<QString>("cards");
        QTest::addColumn<QString>("message");
        const QByteArray older = " [Fixed] N:AKQJ.K..";
        QTest::newRow("older file")
            << older << QByteArray("[Deal]\nFixed= ") << "N:AKQJ.K.." << QString();
        QTest::newRow("korvana.ini wins")
            << older << QByteArray("[Deal]\nFixed=S:..A2.") << "S:..A2." << QString();
        QTest::newRow("damaged")
            << QByteArray(" [Fixed] N:AKQJT.AKQ.AKQ.AKQ") << QByteArray() << ""
            << "generate.stp: У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ».";
        QTest::newRow("damaged in korvana.ini")
            << QByteArray() << QByteArray("[Deal]\nFixed=N:X...") << ""
            << "korvana.ini: «X» — не карта: рука Севера «X...».";
        QTest::newRow("korvana.ini unreadable") << older << QByteArray("<folder>") << "N:AKQJ.K.."
                                                << "korvana.ini: это папка, а не файл";
    }
    void olderSetupFileCards() {
        QFETCH(QByteArray, afterRecord);
        QFETCH(QByteArray, settings);
        window_.reset();
        QByteArray bytes = ReadAll(fixture_.SetupFile());
        QVERIFY(WriteAll(fixture_.SetupFile(), bytes.insert(bytes.indexOf("\r\n"), afterRecord)));
        const QString settingsName = fixture_.File("korvana.ini");
        QVERIFY(settings == "<folder>" ? QDir().mkpath(settingsName)
                                       : settings.isEmpty() || WriteAll(settingsName, settings));
        window_ = fixture_.Open();
        const QString shown = fixture_.services->messages.join(u'|');
        QTEST(shown.mid(fixture_.Folder().size() + 1), "message");
        QTEST(QString::fromStdString(window_->FixedCards().ToText()), "cards");
        window_.reset();
        const QByteArray record = ReadAll(fixture_.SetupFile()).split('\r').first();
        QCOMPARE(record.mid(65), settings == "<folder>" ? afterRecord : QByteArray());
        window_ = fixture_.Open();
        QTEST(QString::fromStdString(window_->FixedCards().ToText()), "cards");
    }

    // A read-only setup folder: one message names both files.
    void readOnlyFolderReportsBothFiles() {
        const QString disk = fixture_.File("disk");
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(disk.toStdString(), 64) ||
            !THostileMounts::MakeReadOnly(disk.toStdString()))
            QSKIP("mounting a small read-only disk is not allowed here");
        auto window = std::make_unique<TMainWindow>(disk, fixture_.services);
        window->SetFixedCards(Read("S:..A2."));
        window.reset();
        const QString shown = fixture_.services->messages.join(u'|');
        QVERIFY2(shown.startsWith(disk + "/korvana.ini: ") &&
                     shown.contains("\n" + disk + "/generate.stp: ") && !shown.contains(u'|'),
                 qPrintable(shown));
    }
};

QTEST_MAIN(TFixedCardsCommandTest)
#include "FixedCardsCommandTest.moc"
