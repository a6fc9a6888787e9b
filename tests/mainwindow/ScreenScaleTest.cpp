// Every window on a 1366×768 screen at 100 %, 150 % and 200 %: inside the
// screen's free area, and no label's text wider than the label. The program
// runs itself once for each scale, on the offscreen platform with that screen.
#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dialogs/DialogCatalogue.h"
#include "dialogs/FixedCardsWindow.h"
#include "language/FunctionTable.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/PlatformServices.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

namespace {

// Whether the window lies in its screen's free area and shows every label whole.
QString Misfit(QWidget& window) {
    const QRect area = window.screen()->availableGeometry();
    if (!area.contains(window.frameGeometry()))
        return window.objectName() + window.windowTitle() + QStringLiteral(" is off the screen");
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        QString text = label->text();
        if (!label->isVisibleTo(&window) || label->wordWrap() || text.isEmpty() ||
            text.contains(u'\n') || Qt::mightBeRichText(text))
            continue;
        if (label->buddy() != nullptr) text.remove(u'&');
        if (label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
            return window.windowTitle() + QStringLiteral(": «%1» is clipped").arg(text);
    }
    return {};
}

// Checks the next modal dialog once it is shown, then closes it; counts it in `seen`.
void CheckNextDialog(QStringList& misfits, int& seen) {
    WhenDialogOpens([&misfits, &seen](QDialog& dialog) {
        ++seen;
        if (const QString misfit = Misfit(dialog); !misfit.isEmpty()) misfits.append(misfit);
        dialog.reject();
    });
}

}  // namespace

class TScreenScaleTest : public QObject {
    Q_OBJECT
private slots:
    void EveryWindowFitsTheScreen() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        AddDeals(*window, 3, 2);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStringList misfits;
        int seen = 0, opened = 0;
        if (const QString misfit = Misfit(*window); !misfit.isEmpty()) misfits.append(misfit);

        window->itmHelp->trigger();
        auto* help = window->findChild<THelpWindow*>();
        QTest::qWait(50);  // shown, it fits its frame too
        if (const QString misfit = Misfit(*help); !misfit.isEmpty()) misfits.append(misfit);
        help->close();

        for (QAction* item : {window->itmFixedCards, window->itmDealInfo, window->itmStatistics,
                              window->itmHandout, window->itmCompareVariants, window->itmLeads,
                              window->itmTabulate, window->itmAbout}) {
            CheckNextDialog(misfits, seen);
            item->trigger();
            ++opened;
        }
        // The desktop's own save chooser, with its "Первая сдача" field.
        int firstBoard = 1;
        CheckNextDialog(misfits, seen);
        TDesktopServices().ChooseFileToSave(
            window.get(),
            {QStringLiteral("Раздачи (*.dls)"), QStringLiteral("dls"), {}, &firstBoard});
        ++opened;
        for (const TFunctionRow& function : FunctionTable()) {
            const TDialogMaker make = FunctionDialog(function.Name);
            if (make == nullptr) continue;
            CheckNextDialog(misfits, seen);
            make(window.get())->Execute();
            ++opened;
        }
        QCOMPARE(seen, opened);
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(u'\n')));
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--scaled") {
        QApplication app(argc, argv);
        TScreenScaleTest test;
        return QTest::qExec(&test, 1, argv);
    }
    const std::filesystem::path config = std::filesystem::temp_directory_path() /
                                         ("korvana-screen-" + std::to_string(getpid()) + ".json");
    std::ofstream(config) << R"({"screens": [{"name": "1366x768", "x": 0, "y": 0, "width": 1366,
        "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    int failed = 0;
    for (const char* scale : {"1", "1.5", "2"}) {
        const std::string command = std::string("QT_QPA_PLATFORM=offscreen:configfile=") +
                                    config.string() + " QT_SCALE_FACTOR=" + scale + " '" + argv[0] +
                                    "' --scaled";
        std::printf("scale %s\n", scale);
        std::fflush(stdout);
        if (std::system(command.c_str()) != 0) ++failed;
    }
    std::filesystem::remove(config);
    return failed;
}

#include "ScreenScaleTest.moc"
