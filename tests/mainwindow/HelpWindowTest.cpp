// The help window: F1 and the "Справка" item open it; it names every
// function; a click on an example puts that condition into the editor.
#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QUrl>

#include "help/Help.h"
#include "language/FunctionTable.h"
#include "mainwindow/HelpWindow.h"
#include "support/WindowFixture.h"

class THelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void F1OpensItAndAnExampleGoesIntoTheEditor() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        QCOMPARE(window->itmHelp->shortcut(), QKeySequence(Qt::Key_F1));
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->RichEdit, Qt::Key_F1);
        THelpWindow* help = window->findChild<THelpWindow*>();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        const QString text = help->Browser()->toPlainText();
        for (const TFunctionRow& function : FunctionTable())
            QVERIFY2(text.contains(
                         QString::fromUtf8(function.Help.Usage.data(), function.Help.Usage.size())),
                     function.Name.data());

        // The links count the examples in the order the page shows them.
        std::vector<std::string> examples;
        for (const THelpBlock& block : HelpBlocks())
            if (block.Kind == THelpBlockKind::Example) examples.push_back(block.Code);
        window->RichEdit->setPlainText(QStringLiteral("HCP(N) > 5"));
        window->RichEdit->selectAll();
        help->OpenLink(QUrl(QStringLiteral("insert:%1").arg(examples.size() - 1)));
        QCOMPARE(window->RichEdit->toPlainText(), QString::fromStdString(examples.back()));
        help->OpenLink(QUrl(QStringLiteral("insert:%1").arg(examples.size())));
        help->OpenLink(QUrl(QStringLiteral("https://example.org")));
        QCOMPARE(window->RichEdit->toPlainText(), QString::fromStdString(examples.back()));

        // The item opens the same window again, not a second one.
        help->close();
        window->itmHelp->trigger();
        QCOMPARE(window->findChildren<THelpWindow*>().size(), 1);
        QVERIFY(help->isVisible());
    }
};

QTEST_MAIN(THelpWindowTest)
#include "HelpWindowTest.moc"
