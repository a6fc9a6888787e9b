// The report window: filling, the font and layout, saving through the chooser.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/StatisticsReport.h"
#include "reports/windows/EditorWindow.h"
#include "reports/windows/ReportFiles.h"
#include "reports/windows/RtfReader.h"
#include "support/DealInto.h"
#include "support/PrintedPdf.h"

Q_DECLARE_METATYPE(TListingSeats)

namespace {

const std::vector<std::string> kReport = {"Всего раздач: 3", "", "Расклад  N  ", " 1.AKQT63   ",
                                          ""};

// Types `text` into `widget` key by key, Cyrillic included.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

// Answers the save chooser once it is open: picks the types in `typeClicks` in
// turn as the user would, types `name` and presses Save.
void AnswerSaveChooser(const QString& folder, const QList<int>& typeClicks, const QString& name) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->nameFilters(), ReportFileTypes());
        QCOMPARE(dialog->defaultSuffix(), QString("rtf"));
        dialog->setDirectory(folder);
        auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(combo);
        for (const int index : typeClicks) {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            emit combo->textActivated(combo->itemText(index));
        }
        auto* nameEdit = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(nameEdit);
        nameEdit->clear();
        QTest::keyClicks(nameEdit, name);
        static_cast<QDialog*>(dialog)->accept();  // the Save button
    });
}

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndFont() {
        TEditorWindow window(nullptr);
        QCOMPARE(window.objectName(), QString("EditorWindow"));
        auto* edit = window.findChild<QPlainTextEdit*>("RichEdit");
        QVERIFY(edit);
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(!edit->isReadOnly());
        const QFontInfo font(edit->font());
        QVERIFY2(font.family() == "Courier New" || font.family() == "Liberation Mono",
                 qPrintable(font.family()));
        QVERIFY(font.fixedPitch());
        QCOMPARE(edit->font().pointSize(), 9);
        auto* toolBar = window.findChild<QToolBar*>("ToolBar1");
        QVERIFY(toolBar);
        const QList<QAction*> actions = toolBar->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->objectName(), QString("tbPrint"));
        QCOMPARE(actions[1]->objectName(), QString("tbSave"));
        for (QAction* action : actions) QVERIFY(!action->icon().isNull());
        QVERIFY(!window.windowIcon().isNull());
    }

    // A fill replaces whatever was there, sets the caption and puts the caret
    // at the first character even where the user had moved it.
    void fillReplacesTextAndResetsCaret() {
        TEditorWindow window(nullptr);
        auto* edit = window.findChild<QPlainTextEdit*>("RichEdit");
        window.FillLines("Статистика", {"old line", "another"});
        edit->moveCursor(QTextCursor::End);
        window.FillLines("Просмотр раздач", kReport);
        QCOMPARE(window.windowTitle(), QString("Просмотр раздач"));
        QCOMPARE(window.ReportLines(), AsQt(kReport));
        QCOMPARE(edit->textCursor().position(), 0);
        QVERIFY(edit->updatesEnabled());
        window.FillLines("Статистика", {});
        QCOMPARE(window.ReportLines(), QStringList{""});
    }

    void showStatistics() {
        TDeals deals;
        DealInto(deals, 1, 3);
        deals.ComputeStatistics();
        TEditorWindow window(nullptr);
        window.FillLines("Просмотр раздач", {"stale", "text"});
        window.ShowStatistics(deals);
        QCOMPARE(window.windowTitle(), QString("Статистика"));
        const QStringList lines = window.ReportLines();
        QCOMPARE(lines.size(), 90);
        QCOMPARE(lines.first(), QString("Всего раздач: 3"));
        QCOMPARE(lines, AsQt(StatisticsReportLines(deals)));
        QCOMPARE(window.findChild<QPlainTextEdit*>("RichEdit")->textCursor().position(), 0);
    }

    void showListing_data() {
        QTest::addColumn<TListingSeats>("seats");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("lineCount");
        // Seven deals: rows of 4 lines plus one empty line each.
        QTest::newRow("east, three to a row")
            << TListingSeats{false, true, false, false} << 3 << 3 * 5;
        QTest::newRow("north and south, two")
            << TListingSeats{true, false, true, false} << 2 << 4 * 10;
        QTest::newRow("three seats, nine") << TListingSeats{true, true, true, false} << 9 << 1 * 13;
        QTest::newRow("all seats, one") << TListingSeats{true, true, true, true} << 1 << 7 * 13;
    }
    void showListing() {
        QFETCH(TListingSeats, seats);
        QFETCH(int, columns);
        QFETCH(int, lineCount);
        TDeals deals;
        DealInto(deals, 1, 7);
        TEditorWindow window(nullptr);
        window.ShowListing(deals, seats.North, seats.East, seats.South, seats.West, columns);
        QCOMPARE(window.windowTitle(), QString("Просмотр раздач"));
        const QStringList lines = window.ReportLines();
        QCOMPARE(lines.size(), lineCount);
        QVERIFY(lines.first().startsWith(" 1."));
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines, AsQt(DealListingLines(deals, seats, columns)));
        QCOMPARE(window.findChild<QPlainTextEdit*>("RichEdit")->textCursor().position(), 0);
    }

    void saveWritesChosenFormat_data() {
        QTest::addColumn<int>("typeIndex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("rich as .rtf") << 0 << "report.rtf" << false;
        QTest::newRow("plain as .txt") << 1 << "report.txt" << true;
        QTest::newRow("plain under .rtf") << 1 << "report.rtf" << true;
        QTest::newRow("rich under .txt") << 0 << "report.txt" << false;
    }
    // The chosen type alone decides the format; text typed into the window is
    // saved with the report; a second save replaces the file.
    void saveWritesChosenFormat() {
        QFETCH(int, typeIndex);
        QFETCH(QString, name);
        QFETCH(bool, plain);
        TReportWindowFixture report;
        const QString path = report.dir.QtFile(name);
        report.window.FillLines("Статистика", {"first report, a longer one", "x"});
        report.services.SaveAnswers = {TSaveChoice{path, typeIndex}, TSaveChoice{path, typeIndex}};
        report.window.findChild<QAction*>("tbSave")->trigger();
        auto* edit = report.window.findChild<QPlainTextEdit*>("RichEdit");
        report.window.FillLines("Статистика", kReport);
        edit->moveCursor(QTextCursor::End);
        TypeText(edit, "{к}\\");
        report.window.findChild<QAction*>("tbSave")->trigger();
        QCOMPARE(report.services.SaveChooserShown, 2);
        QCOMPARE(report.services.Errors, QStringList{});
        QStringList expected = AsQt(kReport);
        expected.last() = "{к}\\";
        const QByteArray bytes = ReadAll(path);
        if (plain) {
            QCOMPARE(bytes, PlainTextReport(expected));
        } else {
            const TRtfDocument doc = ReadRtf(bytes);
            QVERIFY2(doc.Error.isEmpty(), qPrintable(doc.Error));
            QCOMPARE(doc.Paragraphs, expected);
        }
    }

    // A cancelled chooser writes nothing; a file that cannot be written: the
    // system's text is shown and the window keeps its text and stays open.
    void cancelledOrFailedSave() {
        TReportWindowFixture report;
        report.window.FillLines("Статистика", kReport);
        report.window.show();
        report.window.tbSaveClick();
        QCOMPARE(report.services.SaveChooserShown, 1);
        QCOMPARE(QDir(report.dir.QtPath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{});
        QCOMPARE(report.services.Errors, QStringList{});
        const QString path = report.dir.QtFile("no/such/folder/r.txt");
        report.services.SaveAnswers = {TSaveChoice{path, 1}};
        report.window.tbSaveClick();
        QCOMPARE(report.services.Errors.size(), 1);
        QVERIFY(report.services.Errors[0].contains(path));
        QVERIFY(report.services.Errors[0].contains("No such file or directory"));
        QVERIFY(report.window.isVisible());
        QCOMPARE(report.window.ReportLines(), AsQt(kReport));
    }

    void chooserExtensionFollowsType_data() {
        QTest::addColumn<QList<int>>("typeClicks");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<int>("expectedType");
        QTest::newRow("rich, no extension") << QList<int>{} << "report"
                                            << "report.rtf" << 0;
        QTest::newRow("plain, no extension") << QList<int>{1} << "report"
                                             << "report.txt" << 1;
        QTest::newRow("plain, then rich again") << QList<int>{1, 0} << "report"
                                                << "report.rtf" << 0;
        QTest::newRow("plain, typed .rtf") << QList<int>{1} << "report.rtf"
                                           << "report.rtf" << 1;
        QTest::newRow("rich, typed .txt") << QList<int>{} << "report.txt"
                                          << "report.txt" << 0;
    }
    // The ordinary save chooser: its default extension follows the chosen
    // type while it is open.
    void chooserExtensionFollowsType() {
        QFETCH(QList<int>, typeClicks);
        QFETCH(QString, typed);
        QFETCH(QString, expectedName);
        QFETCH(int, expectedType);
        const TTempFolder dir;
        TDesktopReportServices services;
        AnswerSaveChooser(dir.QtPath(), typeClicks, typed);
        const std::optional<TSaveChoice> choice = services.ChooseSaveFile(nullptr);
        QVERIFY(choice);
        QCOMPARE(choice->Path, dir.QtFile(expectedName));
        QCOMPARE(choice->TypeIndex, expectedType);
    }

    // The whole road with the ordinary chooser: plain text chosen, a name
    // typed without extension, saved twice over the same file.
    void saveThroughOrdinaryChooser() {
        const TTempFolder dir;
        TEditorWindow window(nullptr);
        window.FillLines("Просмотр раздач", {"first", "second"});
        AnswerSaveChooser(dir.QtPath(), {1}, "listing");
        window.tbSaveClick();
        QCOMPARE(ReadAll(dir.QtFile("listing.txt")), QByteArray("first\r\nsecond\r\n"));
        window.FillLines("Просмотр раздач", kReport);
        AnswerSaveChooser(dir.QtPath(), {1}, "listing");
        window.tbSaveClick();
        QCOMPARE(ReadAll(dir.QtFile("listing.txt")), PlainTextReport(AsQt(kReport)));
        QCOMPARE(QDir(dir.QtPath()).entryList(QDir::Files), QStringList{"listing.txt"});
    }
};

QTEST_MAIN(EditorWindowTest)
#include "EditorWindowTest.moc"
