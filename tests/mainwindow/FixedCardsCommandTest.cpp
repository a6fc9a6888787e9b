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

#include "WindowTestSupport.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/FixedCardsWindow.h"
#include "files/SetupFormat.h"
#include "support/FolderSnapshot.h"
#include "support/HostileMounts.h"
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

bool WriteAll(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

    // The fixed cards go to korvana.ini, kept with the keys it had; the setup
    // file keeps exactly its record of 65 characters.
    void settingsFileKeepsFixedCards() {
        window_.reset();
        const QString settings = fixture_->folder.filePath("korvana.ini");
        QVERIFY(WriteAll(settings, "[Future]\nkey=1\n"));
        window_ = fixture_->Open();
        window_->SetFixedCards(Read("N:AKQJ.K.. S:..A2."));
        window_->seKeyValue->SetValue(77);
        window_.reset();
        QCOMPARE(ReadAll(fixture_->SetupFile()).indexOf("\r\n"), 65);
        QCOMPARE(ReadAll(settings),
                 QByteArray("[Future]\nkey=1\n[Deal]\nFixed=N:AKQJ.K.. S:..A2.\n"));
        window_ = fixture_->Open();
        QCOMPARE(QString::fromStdString(window_->FixedCards().ToText()),
                 QString("N:AKQJ.K.. S:..A2."));
        QVERIFY(!window_->lFixedCards->isHidden());
        QCOMPARE(window_->seKeyValue->Value(), 77);

        window_->SetFixedCards(TFixedCards());
        window_.reset();
        QCOMPARE(ReadAll(settings), QByteArray("[Future]\nkey=1\n[Deal]\n"));
        window_ = fixture_->Open();
        QVERIFY(window_->FixedCards().Empty());
        QVERIFY(window_->lFixedCards->isHidden());
    }

    // An older setup file's cards after its record still count unless
    // korvana.ini fixes cards; damaged cards are reported with their file and
    // fix nothing. While korvana.ini cannot be read, the cards stay after the
    // record so that they are not lost.
    void olderSetupFileCards_data() {
        QTest::addColumn<QByteArray>("afterRecord");
        QTest::addColumn<QByteArray>("settings");  // "<folder>": a folder of that name
        QTest::addColumn<QString>("cards");
        QTest::addColumn<QString>("message");
        QTest::newRow("older file")
            << QByteArray(" [Fixed] N:AKQJ.K..") << QByteArray("[Deal]\nFixed= \n") << "N:AKQJ.K.."
            << "";
        QTest::newRow("korvana.ini wins")
            << QByteArray(" [Fixed] N:AKQJ.K..") << QByteArray("[Deal]\nFixed=S:..A2.") << "S:..A2."
            << "";
        QTest::newRow("damaged")
            << QByteArray(" [Fixed] N:AKQJT.AKQ.AKQ.AKQ") << QByteArray() << ""
            << "generate.stp: У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ».";
        QTest::newRow("damaged in korvana.ini")
            << QByteArray() << QByteArray("[Deal]\nFixed=N:X...\n") << ""
            << "korvana.ini: «X» — не карта: рука Севера «X...».";
        QTest::newRow("korvana.ini unreadable")
            << QByteArray(" [Fixed] N:AKQJ.K..") << QByteArray("<folder>") << "N:AKQJ.K.."
            << "korvana.ini: это папка, а не файл";
    }
    void olderSetupFileCards() {
        QFETCH(QByteArray, afterRecord);
        QFETCH(QByteArray, settings);
        QFETCH(QString, cards);
        QFETCH(QString, message);
        window_->seKeyValue->SetValue(5);
        window_.reset();
        QByteArray bytes = ReadAll(fixture_->SetupFile());
        QVERIFY(WriteAll(fixture_->SetupFile(), bytes.insert(bytes.indexOf("\r\n"), afterRecord)));
        const QString settingsName = fixture_->folder.filePath("korvana.ini");
        if (settings == "<folder>")
            QVERIFY(QDir().mkpath(settingsName));
        else if (!settings.isEmpty())
            QVERIFY(WriteAll(settingsName, settings));
        fixture_->services->messages.clear();
        window_ = fixture_->Open();
        QCOMPARE(fixture_->services->messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(fixture_->services->messages[0].endsWith(message),
                     qPrintable(fixture_->services->messages[0]));
        QCOMPARE(QString::fromStdString(window_->FixedCards().ToText()), cards);
        QCOMPARE(window_->seKeyValue->Value(), 5);
        QVERIFY(!QFile::exists(fixture_->SetupFile() + ".bak"));  // read whole, not kept aside
        window_.reset();
        const QByteArray record = ReadAll(fixture_->SetupFile()).split('\r').first();
        QCOMPARE(record.mid(65), settings == "<folder>" ? afterRecord : QByteArray());
        window_ = fixture_->Open();
        QCOMPARE(QString::fromStdString(window_->FixedCards().ToText()), cards);
    }

    // A read-only setup folder: one message names both files, and both stay.
    void readOnlyFolderKeepsBothFiles() {
        const QString disk = fixture_->folder.filePath("disk");
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(disk.toStdString(), 64))
            QSKIP("mounting a small disk is not allowed here");
        auto window = std::make_unique<TMainWindow>(disk, fixture_->services);
        window->SetFixedCards(Read("N:AKQJ.K.."));
        window.reset();
        const auto before = Snapshot(disk);
        window = std::make_unique<TMainWindow>(disk, fixture_->services);
        window->SetFixedCards(Read("S:..A2."));
        QVERIFY(THostileMounts::MakeReadOnly(disk.toStdString()));
        fixture_->services->messages.clear();
        window.reset();
        QCOMPARE(fixture_->services->messages.size(), 1);
        QVERIFY2(fixture_->services->messages[0].contains("korvana.ini: ") &&
                     fixture_->services->messages[0].contains("\n" + disk + "/generate.stp: "),
                 qPrintable(fixture_->services->messages[0]));
        QVERIFY(Snapshot(disk) == before);
    }
};

QTEST_MAIN(TFixedCardsCommandTest)
#include "FixedCardsCommandTest.moc"
