// The window's handout as a PDF: the first board, tables solved once, STOP.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "reports/windows/HandoutDialog.h"
#include "support/DialogDriver.h"
#include "support/PrintedPdf.h"

class HandoutCommandTest : public QObject {
    Q_OBJECT
    TWindowFixture fixture_;
    TFakeReportServices preview_;

    // The command with the dialog's first board and table: the PDF's text once shown.
    QString Handout(TMainWindow& window, int firstBoard, bool analysis, int shown) {
        const QString pdf = fixture_.File(QStringLiteral("handout.pdf"));
        fixture_.services->reports = &preview_;
        preview_.PrinterAnswer = [pdf](QPrinter& printer) { printer.setOutputFileName(pdf); };
        WhenDialogOpens([firstBoard, analysis](QDialog& dialog) {
            static_cast<THandoutDialog&>(dialog).seFirstBoard->setValue(firstBoard);
            static_cast<THandoutDialog&>(dialog).chAnalysis->setChecked(analysis);
            dialog.accept();
        });
        window.Controls().itmHandout->trigger();
        if (shown < 0 || !QTest::qWaitFor([&] { return preview_.PreviewShown == shown; }, 30000))
            return {};
        return RunTool("pdftotext", {pdf, "-"});
    }

private slots:
    void BoardsFromTheFirstOneAndTablesSolvedOnce() {
        auto window = fixture_.Open();
        AddDeals(*window, 3, 2);
        const QString plain = Handout(*window, 5, false, 1);
        for (const char* line : {"Сдача 5", "Сдача 6", "Сдаёт: В", "Зона: ВЗ"})
            QVERIFY2(plain.contains(QString::fromUtf8(line)) && !plain.contains(u"Пар"), line);
        QCOMPARE(Handout(*window, 1, true, 2).count(QStringLiteral("Пар")), 2);
        window->Controls().lDealtTotal->clear();
        QVERIFY(Handout(*window, 9, true, 3).contains(QStringLiteral("Сдача 10")));
        QCOMPARE(window->Controls().lDealtTotal->text(), QString());  // nothing solved again
        AddDeals(*window, 7, 30);  // STOP: no preview, and the window says so
        Handout(*window, 1, true, -1);
        window->Controls().btnStop->click();
        QTRY_COMPARE_WITH_TIMEOUT(window->State(), TMainWindow::TState::Idle, 20000);
        QCOMPARE(preview_.PreviewShown, 3);
        QVERIFY(fixture_.services->messages.join(u' ').contains(QStringLiteral("не сделан")));
    }
};

QTEST_MAIN(HandoutCommandTest)
#include "HandoutCommandTest.moc"
