// The window from the keyboard: menus, their keys and Alt letters, Tab, Enter, F1, F10.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QShortcut>
#include <QUrl>
#include <algorithm>

#include "help/Help.h"
#include "mainwindow/HelpWindow.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

class TKeyboardTest : public QObject {
    Q_OBJECT
    TWindowFixture fixture_;

private slots:
    void init() { fixture_.window = fixture_.Open(); }
    void cleanup() { fixture_.Renew(); }

    // A menu's items as "caption=key"; each caption with one Alt letter of its own.
    void Menus_data() {
        QTest::addColumn<int>("menu");  // its place on the menu bar; -1: the bar itself
        QTest::addColumn<QStringList>("items");
        const auto row = [](const char* tag, int menu, const QStringList& items) {
            QTest::newRow(tag) << menu << items;
        };
        row("menu bar", -1,
            {"Раздачи=", "Условия=", "Вид=", "Анализ=", "Справка=F1", "?=", "Выход=F12"});
        row("Раздачи", 0,
            {"Открыть=Ctrl+O", "Сохранить=Ctrl+V", "Прсмотр/Печать=Ctrl+P", "Статистика=Ctrl+I",
             "Раздаточный материал...=Ctrl+H", "=", "Очистить=Ctrl+B", "Сгенерировать=Ctrl+G",
             "Закрепить карты...=Ctrl+K", "Сдающий и зона...=", "Повторить прогон...=Ctrl+R", "=",
             "Надёжная раздача=Ctrl+Shift+G", "Секрет последней раздачи...=Ctrl+Shift+C",
             "Повторить по секрету...=Ctrl+Shift+R", "Проверить по секрету...="});
        row("Условия", 1,
            {"Открыть=", "Сохранить=", "=",
             "Вставить функцию=", "Вставить оператор=", "Вставить константу="});
        row("Вид", 2,
            {"N=Ctrl+N", "E=Ctrl+E", "S=Ctrl+S", "W=Ctrl+W", "=", "Сведения о раздаче...=F3"});
        row("Анализ", 3,
            {"Анализ в открытую=Ctrl+D", "=", "Сравнение вариантов...=F5", "Первый ход...=F6",
             "Распределение...=F7"});
    }
    void Menus() {
        QFETCH(int, menu);
        const QList<QAction*> bar = fixture_.window->menuBar()->actions();
        QVERIFY(menu < 0 || (menu < bar.size() && bar[menu]->menu() != nullptr));
        QSet<QKeySequence> letters;
        QStringList items;
        for (const QAction* action : menu < 0 ? bar : bar[menu]->menu()->actions()) {
            const QString text = action->text();
            items += QString(text).remove(u'&') + u'=' + action->shortcut().toString();
            if (action->isSeparator()) continue;
            const QKeySequence letter = QKeySequence::mnemonic(text);
            QVERIFY2(text.count(u'&') == 1 && !letter.isEmpty() && !letters.contains(letter),
                     qPrintable(text));
            letters += letter;
        }
        QTEST(items, "items");
    }

    // No key belongs to two commands nor to the editor (Ctrl+V is Save's, as it always was).
    void NoKeyTwice() {
        QList<QKeySequence> keys;
        for (const QAction* action : fixture_.window->findChildren<QAction*>())
            if (!action->shortcut().isEmpty()) keys += action->shortcut();
        for (const QShortcut* shortcut : fixture_.window->findChildren<QShortcut*>())
            keys += shortcut->key();
        for (const QKeySequence& key : keys)
            QVERIFY2(keys.count(key) == 1, qPrintable(key.toString()));
        for (const Qt::Key letter : {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_Z, Qt::Key_Y})
            QVERIFY2(!keys.contains(QKeySequence(Qt::CTRL | letter)),
                     qPrintable(QString::number(letter)));
    }

    void TabEnterF1AndF10() {
        TMainWindow& window = *fixture_.window;
        TMainWindowControls& ui = window.Controls();
        AddDeals(window, 5, 3);
        window.show();
        const auto activate = [&window] {
            QApplication::setActiveWindow(&window);
            return QTest::qWaitForWindowActive(&window);
        };
        QVERIFY(activate());
        ui.RichEdit->setPlainText(QStringLiteral("HCP(N) > 5"));
        ui.RichEdit->setFocus();
        QTest::keyClick(ui.RichEdit, Qt::Key_Tab);
        QVERIFY(!ui.RichEdit->hasFocus());
        QCOMPARE(ui.RichEdit->toPlainText(), QStringLiteral("HCP(N) > 5"));
        QString shown;
        const auto recordTitle = [&shown] {
            WhenDialogOpens([&shown](QDialog& dialog) {
                shown = dialog.windowTitle();
                dialog.reject();
            });
        };
        ui.HandLabels[1][0]->setFocus();
        recordTitle();
        QTest::keyClick(ui.HandLabels[1][0], Qt::Key_Return);
        QCOMPARE(shown, QStringLiteral("East"));
        // The menu item shows the focused hand's, North's when no hand has the focus.
        recordTitle();
        ui.RichEdit->setFocus();
        ui.itmDealInfo->trigger();
        QCOMPARE(shown, QStringLiteral("North"));
        // F1: the help, whose first link puts the first example in place of the selection.
        QVERIFY(activate());
        QTest::keyClick(ui.RichEdit, Qt::Key_F1);
        auto* help = window.findChild<THelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        ui.RichEdit->selectAll();
        help->OpenLink(QUrl(QStringLiteral("insert:0")));
        const std::vector<THelpBlock> blocks = HelpBlocks();
        const auto first = std::ranges::find(blocks, THelpBlockKind::Example, &THelpBlock::Kind);
        QCOMPARE(ui.RichEdit->toPlainText().toStdString(), first->Code);
        QVERIFY(activate());
        QTest::keyClick(ui.RichEdit, Qt::Key_F10);
        QTRY_COMPARE(window.menuBar()->activeAction(), ui.DealsMenu->menuAction());
        ui.DealsMenu->close();
    }
};

QTEST_MAIN(TKeyboardTest)
#include "KeyboardTest.moc"
