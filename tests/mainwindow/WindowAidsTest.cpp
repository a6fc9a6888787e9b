// What helps a user find and move things: the open chooser's entries, the
// menu hints in the status bar, and a board copied and pasted.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QtTest>

#include "deals/DealFormats.h"
#include "support/WindowFixture.h"

namespace {

// Records the open chooser's filter and the entry it opens on, and answers
// with the entry `choose` (none: the one it opened on).
class TFilterServices : public TFakeServices {
public:
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override {
        entries = chooser.Filter.split(QStringLiteral(";;"));
        openedOn = chooser.SelectedFilter ? *chooser.SelectedFilter : QStringLiteral("none");
        if (chooser.SelectedFilter && !choose.isEmpty()) *chooser.SelectedFilter = choose;
        return TFakeServices::ChooseFileToOpen(parent, chooser);
    }
    QStringList entries;
    QString openedOn;
    QString choose;
};

}  // namespace

class TWindowAidsTest : public QObject {
    Q_OBJECT
private slots:
    // The fixed entries first, then every deals file at once; the entry chosen
    // with a file is where the chooser opens next time, after a restart too.
    void openChooserFindsEveryDealsFile() {
        TWindowFixture fixture;
        auto services = std::make_shared<TFilterServices>();
        fixture.services = services;
        auto window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->entries.mid(0, 2),
                 QStringList({QStringLiteral("Раздачи (*.dls)"), QStringLiteral("Все файлы (*)")}));
        QCOMPARE(services->openedOn, services->entries[0]);
        const QString every = services->entries[2];
        QVERIFY(every.startsWith(QStringLiteral("Все файлы раздач (")));
        for (const TDealFormat& format : DealFormats())
            QVERIFY(every.contains(QStringLiteral("*") + QString::fromUtf8(format.Extension)));

        services->choose = every;
        services->answers = {fixture.File(QStringLiteral("none.pbn"))};
        window->Controls().itmOpenDeals->trigger();
        services->choose.clear();
        window->Controls().itmOpenDeals->trigger();  // cancelled: nothing kept
        QCOMPARE(services->openedOn, every);
        window.reset();  // korvana.ini written
        window = fixture.Open();
        window->Controls().itmOpenDeals->trigger();
        QCOMPARE(services->openedOn, every);
    }

    // Hints are read in a bar of a text line's height; the client area above it
    // keeps its designed size and the editor its margins.
    void menuHintsAreSeen() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStatusBar* status = window->statusBar();
        QTRY_COMPARE(window->centralWidget()->size(), QSize(537, 371));
        QVERIFY(status->isVisible() && status->height() > status->fontMetrics().height());
        QCOMPARE(window->centralWidget()->geometry().bottom() + 1, status->y());
        const QRect editor = window->Controls().RichEdit->geometry();
        QCOMPARE(editor.bottom() + 1 + 16, window->centralWidget()->height());
        // The item reached in its menu, as the keyboard or the mouse reaches it.
        window->menuBar()->setActiveAction(window->Controls().DealsMenu->menuAction());
        window->Controls().DealsMenu->setActiveAction(window->Controls().itmSecure);
        QVERIFY(status->currentMessage().contains(QStringLiteral("«Ключевое число»")));
        window->Controls().DealsMenu->close();
    }
};

QTEST_MAIN(TWindowAidsTest)
#include "WindowAidsTest.moc"
