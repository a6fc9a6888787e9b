// The window from the keyboard: a letter for Alt in every menu, distinct
// shortcuts that leave the editor's own keys alone, Tab out of the editor,
// F10 to the menus and Enter on a hand for its deal information.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QToolButton>
#include <QUrl>
#include <algorithm>

#include "help/Help.h"
#include "mainwindow/HelpWindow.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

namespace {

// The letters of a list of actions: each caption has one, none twice.
void ExpectOneLetterEach(const QList<QAction*>& actions, const QString& where) {
    QSet<QChar> letters;
    for (const QAction* action : actions) {
        if (action->isSeparator()) continue;
        const QString text = action->text();
        const qsizetype amp = text.indexOf(u'&');
        QVERIFY2(amp >= 0 && amp + 1 < text.size() && text.indexOf(u'&', amp + 1) < 0,
                 qPrintable(where + ": " + text));
        QVERIFY2(!letters.contains(text[amp + 1].toLower()), qPrintable(where + ": " + text));
        letters.insert(text[amp + 1].toLower());
    }
}

}  // namespace

class TKeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void EveryMenuHasLettersAndShortcutsDoNotCollide() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        ExpectOneLetterEach(window->menuBar()->actions(), "menu bar");
        QSet<QKeySequence> shortcuts;
        const QSet<QKeySequence> editorKeys = {
            QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::CTRL | Qt::Key_C),
            QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::CTRL | Qt::Key_Z),
            QKeySequence(Qt::CTRL | Qt::Key_Y)};
        QList<QAction*> all = window->menuBar()->actions();
        for (const QAction* top : window->menuBar()->actions())
            if (const QMenu* menu = top->menu()) {
                ExpectOneLetterEach(menu->actions(), top->text());
                all += menu->actions();
            }
        for (const QAction* action : all) {
            if (action->shortcut().isEmpty()) continue;
            QVERIFY2(!shortcuts.contains(action->shortcut()), qPrintable(action->text()));
            QVERIFY2(!editorKeys.contains(action->shortcut()), qPrintable(action->text()));
            shortcuts.insert(action->shortcut());
        }
        // Every command button says what it does; the seat toggles stay without words.
        for (const QToolButton* button : window->ToolBar1->findChildren<QToolButton*>())
            if (!button->objectName().startsWith(QStringLiteral("qt_")) &&
                !std::ranges::count(window->tbSeats, button))
                QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
        // The commands beyond the original ones have keys of their own.
        for (const QAction* action :
             {window->itmAnalyze, window->itmFixedCards, window->itmHelp, window->itmDealInfo})
            QVERIFY2(!action->shortcut().isEmpty(), qPrintable(action->text()));
    }

    void TabLeavesTheEditorAndEnterOnAHandShowsItsInformation() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        AddDeals(*window, 5, 3);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->RichEdit->setPlainText(QStringLiteral("HCP(N) > 5"));
        window->RichEdit->setFocus();
        QTest::keyClick(window->RichEdit, Qt::Key_Tab);
        QVERIFY(!window->RichEdit->hasFocus());
        QCOMPARE(window->RichEdit->toPlainText(), QStringLiteral("HCP(N) > 5"));

        QString shown;
        const auto recordTitle = [&shown] {
            WhenDialogOpens([&shown](QDialog& dialog) {
                shown = dialog.windowTitle();
                dialog.reject();
            });
        };
        QLabel* east = window->HandLabels[1][0];
        east->setFocus();
        recordTitle();
        QTest::keyClick(east, Qt::Key_Return);
        QCOMPARE(shown, QStringLiteral("East"));
        // The menu item shows the focused hand's, North's when no hand has the focus.
        recordTitle();
        window->RichEdit->setFocus();
        window->itmDealInfo->trigger();
        QCOMPARE(shown, QStringLiteral("North"));

        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // F1: the help, whose first link puts the first example in place of the selection.
        QTest::keyClick(window->RichEdit, Qt::Key_F1);
        THelpWindow* help = window->findChild<THelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        window->RichEdit->selectAll();
        help->OpenLink(QUrl(QStringLiteral("insert:0")));
        const std::vector<THelpBlock> blocks = HelpBlocks();
        const auto first = std::ranges::find(blocks, THelpBlockKind::Example, &THelpBlock::Kind);
        QCOMPARE(window->RichEdit->toPlainText().toStdString(), first->Code);
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->RichEdit, Qt::Key_F10);
        QTRY_COMPARE(window->menuBar()->activeAction(), window->DealsMenu->menuAction());
        window->DealsMenu->close();
    }
};

QTEST_MAIN(TKeyboardTest)
#include "KeyboardTest.moc"
