// Start-up defaults, the toolbar, and the setup file kept between runs.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>

#include "files/SetupFormat.h"
#include "support/FolderSnapshot.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

class TMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void DefaultsWithoutSetupFile() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        QCOMPARE(window->windowTitle(), QStringLiteral("Korvana"));
        QCOMPARE(window->pos(), QPoint(131, 134));
        for (int seat = 1; seat <= 4; ++seat) {
            QVERIFY(window->SeatShown(seat));
            QVERIFY(ui.itmSeats[seat - 1]->isChecked());
            for (QLabel* label : ui.HandLabels[seat - 1]) QVERIFY(!label->isHidden());
        }
        QCOMPARE(ui.seKeyValue->Text(), QStringLiteral("0"));
        QCOMPARE(ui.seTotal->Text(), QStringLiteral("1"));
        QCOMPARE(ui.seColumnsCount->Text(), QStringLiteral("5"));
        QCOMPARE(ui.seCurrentDeal->Text(), QStringLiteral("0"));
        QCOMPARE(ui.seCurrentDeal->HasRange(), false);
        QCOMPARE(ui.seTotal->Lowest(), 1);
        QCOMPARE(ui.seTotal->Highest(), 9999999);
        QCOMPARE(window->Deals().Count(), 0);
        QVERIFY(ui.RichEdit->toPlainText().isEmpty());
        QVERIFY(ui.lTotal->text().isEmpty());
        QVERIFY(ui.lDealtTotal->text().isEmpty());
        QVERIFY(ui.btnStop->isHidden());
        QVERIFY(window->State() == TMainWindow::TState::Idle);
        QCOMPARE(ui.seCurrentDeal->toolTip(), QStringLiteral("Ctrl-Up / Ctrl-Down"));
        QCOMPARE(ui.RichEdit->geometry(), QRect(16, 266, 505, 89));
        QVERIFY(fixture.services->messages.isEmpty());
    }

    void ToolBar() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        QCOMPARE(ui.tbGenerate->toolTip(), QStringLiteral("Запустить генератор"));
        QCOMPARE(ui.tnSaveConditions->toolTip(), QStringLiteral("Сохранить условия в файле"));
        for (QToolButton* dropDown : {ui.tbInsertFunction, ui.tbOperator, ui.tbConst})
            QVERIFY(dropDown->menu() != nullptr);
        for (QToolButton* toggle : ui.tbSeats)
            QVERIFY(toggle->isCheckable() && toggle->isChecked());
        // Every other button says what it does.
        for (const QToolButton* button : ui.ToolBar1->findChildren<QToolButton*>())
            if (!button->objectName().startsWith(QStringLiteral("qt_")) &&
                !std::ranges::count(ui.tbSeats, button))
                QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
    }

    void SetupFileRoundTrip() {
        TWindowFixture fixture;
        QDir(fixture.Folder()).mkdir("decks");
        QDir(fixture.Folder()).mkdir("conds");
        std::vector<TDeal> deals = DealsOfKey(12345, 5);
        {
            auto window = fixture.Open();
            TMainWindowControls& ui = window->Controls();
            ui.tbSeats[1]->click();
            ui.itmSeats[2]->trigger();
            ui.seKeyValue->SetValue(-5);
            ui.seTotal->SetValue(12);
            ui.seColumnsCount->SetValue(3);
            for (const TDeal& deal : deals) window->Deals().Add(deal);
            ui.seCurrentDeal->SetValue(3);
            window->move(40, 50);
            window->resize(700, 520);
            ui.RichEdit->setPlainText("HCP(North) >= 12\n\nAND Balanced(South) // юг");
            // The choosers' folders follow the files used.
            const QString conditions = fixture.File("conds/c.cnd");
            fixture.services->answers = {conditions};
            window->itmSaveConditionsClick();
            const QString dealsFile = fixture.File("decks/d.dls");
            fixture.services->answers = {dealsFile};
            window->itmSaveDealsClick();
            QVERIFY(QFile::exists(dealsFile));
        }
        QFile file(fixture.SetupFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray first = file.readLine();
        QCOMPARE(first.size(), 67);  // 65 characters and CR LF
        QCOMPARE(first.left(14), QByteArray("1001        -5"));
        file.close();

        fixture.services->messages.clear();
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        QVERIFY(window->SeatShown(1) && !window->SeatShown(2) && !window->SeatShown(3) &&
                window->SeatShown(4));
        QVERIFY(!ui.itmSeats[2]->isChecked());
        QVERIFY(ui.HandLabels[1][0]->isHidden());
        QCOMPARE(ui.seKeyValue->Value(), -5);
        QCOMPARE(ui.seTotal->Value(), 12);
        QCOMPARE(ui.seColumnsCount->Value(), 3);
        QCOMPARE(ui.seCurrentDeal->Value(), 3);
        QCOMPARE(window->pos(), QPoint(40, 50));
        QCOMPARE(window->size(), QSize(700, 520));
        QCOMPARE(window->Deals().Count(), 5);
        for (int index = 0; index < 5; ++index)
            QCOMPARE(window->Deals().GetDeal(index)->ToText(), deals[index].ToText());
        QCOMPARE(window->ConditionLines(),
                 (QStringList{"HCP(North) >= 12", "", "AND Balanced(South) // юг"}));
        QCOMPARE(ui.RichEdit->textCursor().position(), 0);
        QCOMPARE(ui.lTotal->text(), QStringLiteral("5"));
        QCOMPARE(ui.seCurrentDeal->Highest(), 5);
        QCOMPARE(SeatText(*window, 1), HandText(deals[2], 1));
        window->itmOpenDealsClick();
        window->itmOpenConditionsClick();
        QCOMPARE(fixture.services->openedIn,
                 (QStringList{fixture.File("decks") + "/", fixture.File("conds") + "/"}));
    }

    // Many deals go to the setup file at close and come back at the next
    // start exactly: the bytes are the deal lines as defined, in order, and a
    // damaged line among them gives the deal it always gave.
    void ManyDealsRoundTripExactly() {
        TWindowFixture fixture;
        constexpr int Count = 120000;
        std::vector<TDeal> deals = DealsOfKey(3, Count);
        TDeal damaged;
        damaged.FromText("52 1x;;  7-1 99");
        deals[Count / 2] = damaged;
        {
            auto window = fixture.Open();
            window->Deals().AddAll(deals);
            window->Controls().RichEdit->setPlainText("HCP(North) >= 12");
        }
        TSetupContent expected;
        for (const TDeal& deal : deals)
            expected.DealLines.append(QByteArray::fromStdString(deal.ToText()));
        const QByteArray bytes = ReadAll(fixture.SetupFile());
        const qsizetype dealsStart =
            bytes.indexOf("\r\n", bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2) + 2;
        QVERIFY(bytes.mid(dealsStart) ==
                expected.DealLines.join("\r\n") + "\r\n[Conditions]\r\nHCP(North) >= 12");

        // A line that no deal line is, written among the others, reads as FromText reads it.
        QByteArray withGarbage = bytes;
        withGarbage.insert(dealsStart + 108 + 2, "AK QJ;x\r\n");
        QVERIFY(WriteAll(fixture.SetupFile(), withGarbage));
        auto window = fixture.Open();
        QCOMPARE(window->Deals().Count(), Count + 1);
        TDeal garbage;
        garbage.FromText("AK QJ;x");
        QCOMPARE(window->Deals().GetDeal(1)->ToText(), garbage.ToText());
        for (int index = 0; index < Count; ++index) {
            const int stored = index < 1 ? index : index + 1;
            if (window->Deals().GetDeal(stored)->ToText() != deals[size_t(index)].ToText())
                QFAIL(qPrintable(QStringLiteral("deal %1 differs").arg(index)));
        }
        QCOMPARE(window->ConditionLines(), QStringList{"HCP(North) >= 12"});
        QVERIFY(!QFileInfo::exists(fixture.SetupFile() + ".bak"));
    }

    void MaximisedWindowRoundTrip() {
        TWindowFixture fixture;
        {
            auto window = fixture.Open();
            window->resize(600, 450);
            window->showMaximized();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
        auto window = fixture.Open();
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        QCOMPARE(window->normalGeometry().size(), QSize(600, 450));
    }

    // Shown, the client area below the menu bar is as designed and the editor
    // 505 by 89 within its margins, however tall the menu bar turns out once
    // it is styled; a size from the setup file stands as it was saved.
    void ClientAreaAsDesigned_data() {
        QTest::addColumn<QString>("menuBarStyle");
        QTest::newRow("the platform's menu bar") << QString();
        QTest::newRow("a taller menu bar") << "QMenuBar { padding: 9px; font-size: 20px; }";
    }
    void ClientAreaAsDesigned() {
        QFETCH(QString, menuBarStyle);
        qApp->setStyleSheet(menuBarStyle);
        const auto restoreStyle = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        TWindowFixture fixture;
        {
            auto window = fixture.Open();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QTRY_COMPARE(window->centralWidget()->size(), QSize(537, 371));
            QCOMPARE(window->Controls().RichEdit->geometry(), QRect(16, 266, 505, 89));
            // Below it the status bar, where menu hints are read.
            QStatusBar* status = window->statusBar();
            QCOMPARE(window->menuBar()->height() + 371 + status->height(), window->height());
            QVERIFY(status->height() > status->fontMetrics().height());
            window->menuBar()->setActiveAction(window->Controls().DealsMenu->menuAction());
            window->Controls().DealsMenu->setActiveAction(window->Controls().itmSecure);
            QVERIFY(status->currentMessage().contains("«Ключевое число»"));
            window->Controls().DealsMenu->close();
            window->resize(640, 500);  // the user's size, kept in the setup file
            QTRY_COMPARE(window->size(), QSize(640, 500));
        }
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::sendPostedEvents();  // the layout's pending requests
        QTRY_COMPARE(window->size(), QSize(640, 500));
    }

    void EmptyStateWithoutDeals() {
        TWindowFixture fixture;
        {
            auto window = fixture.Open();
            window->Controls().seCurrentDeal->SetValue(3);
        }
        QFile file(fixture.SetupFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\r\n[Conditions]\r\n"));
        auto window = fixture.Open();
        QCOMPARE(window->Controls().seCurrentDeal->Value(), 3);
        QVERIFY(window->Controls().lTotal->text().isEmpty());
        QVERIFY(SeatText(*window, 1).trimmed().isEmpty());
        QVERIFY(window->Controls().RichEdit->toPlainText().isEmpty());
    }

    void DamagedSetupFileStartsWithDefaults_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01\r\n\x80\x81\n\n\x00", 10);
        QTest::newRow("short record") << QByteArray("10");
        QTest::newRow("huge numbers")
            << QByteArray("1111999999999999999999999999999999999999999992999999999999999999999");
        QTest::newRow("broken deal lines")
            << QByteArray("1111\r\n\r\n\r\nxx;yy\r\n52 52 52\r\n[Conditions]\r\nHCP(N)>1");
    }
    void DamagedSetupFileStartsWithDefaults() {
        QFETCH(QByteArray, bytes);
        TWindowFixture fixture;
        QFile file(fixture.SetupFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        auto window = fixture.Open();
        QVERIFY(window->Controls().seTotal->Value() >= 1);
        QVERIFY(window->Controls().seColumnsCount->Value() >= 1 &&
                window->Controls().seColumnsCount->Value() <= 9);
        QVERIFY(window->width() >= 100 && window->height() >= 100);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->ShowDeal(0);  // a damaged deal line still shows
        window->ShowDeal(-1);
    }

    void UnreadableAndUnwritableSetupFile() {
        TWindowFixture fixture;
        QVERIFY(
            QDir(fixture.Folder()).mkdir("generate.stp"));  // a folder: neither read nor written
        {
            auto window = fixture.Open();
            QCOMPARE(fixture.services->messages.size(), 1);
            QCOMPARE(window->Controls().seTotal->Value(), 1);
            window->Deals().Add(DealsOfKey(1, 1)[0]);
        }
        QCOMPARE(fixture.services->messages.size(), 2);
        QVERIFY(fixture.services->messages[1].contains("generate.stp"));
        QVERIFY(QFileInfo(fixture.SetupFile()).isDir());
    }
};

QTEST_MAIN(TMainWindowTest)
#include "MainWindowTest.moc"
