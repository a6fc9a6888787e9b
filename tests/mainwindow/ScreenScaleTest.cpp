// Every window inside a 1366×768 screen at 100, 150 and 200 %, no label's text cut; the
// program runs itself for each scale, on the offscreen platform with that screen.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "dialogs/DialogCatalogue.h"
#include "dialogs/FixedCardsWindow.h"
#include "dialogs/StudyWindows.h"
#include "language/FunctionTable.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/PlatformServices.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

namespace {

void CheckFit(QWidget& window, QStringList& misfits) {
    if (!window.screen()->availableGeometry().contains(window.frameGeometry()))
        misfits += window.objectName() + window.windowTitle() + " is off the screen";
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        QString text = label->text();
        if (!label->isVisibleTo(&window) || label->wordWrap() || text.isEmpty() ||
            text.contains(u'\n') || Qt::mightBeRichText(text))
            continue;
        if (label->buddy() != nullptr) text.remove(u'&');
        if (label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
            misfits += window.windowTitle() + QStringLiteral(": «%1» is clipped").arg(text);
    }
    // A wrapped message has the height of its lines, and no field gives up its own.
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisibleTo(&window) && label->wordWrap() && !label->text().isEmpty() &&
            label->heightForWidth(label->width()) > label->height())
            misfits += window.windowTitle() + QStringLiteral(": «%1» is cut").arg(label->text());
    for (const QWidget* field : window.findChildren<QWidget*>(QRegularExpression("^(ed|cb)")))
        if (field->isVisibleTo(&window) && field->height() < field->minimumSizeHint().height())
            misfits +=
                window.windowTitle() + QStringLiteral(": %1 is squashed").arg(field->objectName());
}

}  // namespace

class TScreenScaleTest : public QObject {
    Q_OBJECT
private slots:
    void EveryWindowFitsTheScreen() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        AddDeals(*window, 3, 2);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStringList misfits;
        CheckFit(*window, misfits);
        ui.itmHelp->trigger();
        auto* help = window->findChild<THelpWindow*>();
        QTest::qWait(50);  // shown, it fits its frame too
        CheckFit(*help, misfits);
        help->close();
        std::vector<std::function<void()>> dialogs;
        for (QAction* item : {ui.itmFixedCards, ui.itmDealInfo, ui.itmStatistics, ui.itmHandout,
                              ui.itmCompareVariants, ui.itmLeads, ui.itmTabulate, ui.itmAbout})
            dialogs.emplace_back([item] { item->trigger(); });
        // The dealer and vulnerability, and the repeats of the run just made.
        window->itmGenerateClick();
        QTRY_VERIFY(window->State() == TMainWindow::TState::Idle);
        for (QAction* item : ui.DealsMenu->actions())
            if (item->text().contains(QStringLiteral("Повторить")) ||
                item->text().contains(QStringLiteral("зона")))
                dialogs.emplace_back([item] { item->trigger(); });
        // The desktop's own save chooser, with its "Первая сдача" field.
        dialogs.emplace_back([owner = window.get()] {
            int firstBoard = 1;
            TDesktopServices().ChooseFileToSave(
                owner, {QStringLiteral("Раздачи (*.dls)"), QStringLiteral("dls"), {}, &firstBoard});
        });
        for (const TFunctionRow& function : FunctionTable())
            if (const TDialogMaker make = FunctionDialog(function.Name))
                dialogs.emplace_back([make, owner = window.get()] { make(owner)->Execute(); });
        std::size_t seen = 0;
        for (const auto& open : dialogs) {
            WhenDialogOpens([&misfits, &seen](QDialog& dialog) {
                ++seen;
                // A study's message under its fields: the lead's runs to three lines.
                if (auto* lead = qobject_cast<TLeadWindow*>(&dialog))
                    lead->SetInputs(QStringLiteral("3NT S"), TVulnerability::None);
                if (auto* study = qobject_cast<TStudyWindow*>(&dialog)) {
                    study->btnOk->click();
                    QVERIFY(study->lError->isVisible());
                }
                CheckFit(dialog, misfits);
                dialog.reject();
            });
            open();
        }
        QCOMPARE(seen, dialogs.size());
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
        const std::string command = std::string("echo scale ") + scale +
                                    "; QT_QPA_PLATFORM=offscreen:configfile=" + config.string() +
                                    " QT_SCALE_FACTOR=" + scale + " '" + argv[0] + "' --scaled";
        if (std::system(command.c_str()) != 0) ++failed;
    }
    std::filesystem::remove(config);
    return failed;
}

#include "ScreenScaleTest.moc"
