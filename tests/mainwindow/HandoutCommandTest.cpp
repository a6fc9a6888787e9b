// The window's handout command: the dialog's inputs make the pages, printed
// here to a PDF file read back with pdftotext; deals not yet analysed are
// solved on a worker first, with progress and STOP, and the results kept.
#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "deals/PbnFile.h"
#include "reports/windows/HandoutDialog.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

namespace {

// Layouts that the solver answers at once: each hand one whole suit, rotated.
TDeal OneSuitEach(int rotation) {
    const char* const hands[4] = {"AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.",
                                  "...AKQJT98765432"};
    std::string value = "N:";
    for (int i = 0; i < 4; ++i) value += std::string(i ? " " : "") + hands[(i + rotation) % 4];
    TDeal deal;
    ReadPbnDealValue(value, deal);
    return deal;
}

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class HandoutCommandTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow> window_;
    std::unique_ptr<TFakeReportServices> preview_;

    // Runs the command with the dialog's first board and analysis set; the
    // preview prints to `pdf`.
    void RunHandout(int firstBoard, bool analysis, const QString& pdf) {
        preview_->PrinterAnswer = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        WhenDialogOpens([firstBoard, analysis](QDialog& dialog) {
            auto& handout = static_cast<THandoutDialog&>(dialog);
            handout.seFirstBoard->setValue(firstBoard);
            handout.chAnalysis->setChecked(analysis);
            handout.accept();
        });
        window_->itmHandoutClick();
    }

private slots:
    void init() {
        preview_ = std::make_unique<TFakeReportServices>();
        window_ = fixture_.Open();
        window_->HandoutServices = preview_.get();
    }
    void cleanup() {
        window_.reset();
        fixture_.Renew();
    }

    // Boards from the first one the dialog gives, each with the dealer and
    // vulnerability of its number; no solving without the table.
    void BoardsFollowTheFirstBoard() {
        AddDeals(*window_, 3, 3);
        const QString pdf = fixture_.File(QStringLiteral("plain.pdf"));
        RunHandout(5, false, pdf);
        QCOMPARE(window_->State(), TMainWindow::TState::Idle);
        QCOMPARE(preview_->PreviewShown, 1);
        const QString text = PdfText(pdf);
        for (const char* expected : {"Сдача 5", "Сдаёт: С", "Зона: СЮ", "Сдача 6", "Сдаёт: В",
                                     "Зона: ВЗ", "Сдача 7", "Сдаёт: Ю", "Зона: обе"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains(QStringLiteral("Пар")));
        int offered = 0;  // the dialog opens with the inputs of the last time
        WhenDialogOpens([&offered](QDialog& dialog) {
            offered = static_cast<THandoutDialog&>(dialog).seFirstBoard->value();
            dialog.reject();
        });
        window_->itmHandoutClick();
        QCOMPARE(offered, 5);
        QCOMPARE(preview_->PreviewShown, 1);
    }

    // The table is solved on a worker once, then kept: a second handout
    // shows it at once.
    void AnalysisIsSolvedOnAWorkerAndKept() {
        for (int rotation : {0, 1}) window_->Deals().Add(OneSuitEach(rotation));
        const QString pdf = fixture_.File(QStringLiteral("solved.pdf"));
        RunHandout(1, true, pdf);
        QCOMPARE(window_->State(), TMainWindow::TState::Analysing);
        QVERIFY(!window_->btnStop->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(preview_->PreviewShown, 1, 30000);
        QCOMPARE(window_->State(), TMainWindow::TState::Idle);
        QCOMPARE(window_->lDealtTotal->text(), QStringLiteral("2/2"));
        QCOMPARE(PdfText(pdf).count(QStringLiteral("Пар")), 2);

        RunHandout(3, true, pdf);
        QCOMPARE(window_->State(), TMainWindow::TState::Idle);
        QCOMPARE(preview_->PreviewShown, 2);
        QVERIFY(PdfText(pdf).contains(QStringLiteral("Сдача 4")));
    }

    // STOP: no preview, and the window says the handout was not made.
    void StopMakesNoHandout() {
        for (const TDeal& deal : DealsOfKey(7, 30)) window_->Deals().Add(deal);
        RunHandout(1, true, fixture_.File(QStringLiteral("stopped.pdf")));
        QTRY_VERIFY_WITH_TIMEOUT(window_->lDealtTotal->text().startsWith(QStringLiteral("1/")),
                                 20000);
        window_->btnStop->click();
        QTRY_COMPARE_WITH_TIMEOUT(window_->State(), TMainWindow::TState::Idle, 20000);
        QCOMPARE(preview_->PreviewShown, 0);
        QCOMPARE(fixture_.services->messages.size(), 1);
        QVERIFY(fixture_.services->messages.front().contains(QStringLiteral("не сделан")));
    }
};

QTEST_MAIN(HandoutCommandTest)
#include "HandoutCommandTest.moc"
