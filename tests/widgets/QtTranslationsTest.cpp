// Qt's own dialogs and context menus in Russian, and English where Qt's
// Russian translations are missing.
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeView>
#include <QtTest>

#include "support/TempFolder.h"
#include "widgets/ChooserColumns.h"
#include "widgets/QtTranslations.h"

namespace {
QStringList ContextMenuTexts() {
    QPlainTextEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text().section(u'\t', 0, 0);
    return texts;
}
}  // namespace

class TQtTranslationsTest : public QObject {
    Q_OBJECT
private slots:
    // Runs first, while no translation is installed.
    void missingTranslationsLeaveEnglish() {
        const TTempFolder empty;
        QVERIFY(!InstallQtTranslations(*QCoreApplication::instance(), empty.QtPath()));
        QVERIFY(ContextMenuTexts().contains("&Undo"));
        QCOMPARE(QCoreApplication::instance()->findChildren<QTranslator*>().size(), 0);
        QCOMPARE(QLocale().language(), QLocale::system().language());
    }

    void choosersAndMenusInRussian() {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + "/qtbase_ru.qm"))
            QSKIP("Qt's Russian translations (qt6-translations-l10n) are not installed");
        QVERIFY(InstallQtTranslations(*QCoreApplication::instance()));
        const QStringList menu = ContextMenuTexts();
        QVERIFY2(!menu.contains("&Undo") && !menu.contains("Select All"),
                 qPrintable(menu.join(", ")));
        QVERIFY2(menu.join(' ').contains(QStringLiteral("Выделить")), qPrintable(menu.join(", ")));

        QFileDialog chooser;
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        const QString lookIn = chooser.findChild<QLabel*>("lookInLabel")->text();
        QVERIFY2(lookIn != "Look in:" && !lookIn.isEmpty(), qPrintable(lookIn));

        // The columns are wide enough for their translated headings.
        FitChooserColumns(chooser);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        auto* details = chooser.findChild<QTreeView*>("treeView");
        QVERIFY(details);
        const QHeaderView* header = details->header();
        for (int column = 1; column < header->count(); ++column) {
            const QString heading = header->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(
                header->sectionSize(column) >= header->fontMetrics().horizontalAdvance(heading),
                qPrintable(heading));
        }
        // The places: wide enough for their names.
        auto* places = chooser.findChild<QListView*>("sidebar");
        QVERIFY(places);
        QTRY_VERIFY(places->viewport()->width() >= places->sizeHintForColumn(0));
        // Russian dates and file types come with the Russian default locale.
        QCOMPARE(QLocale().language(), QLocale::Russian);
    }
};

QTEST_MAIN(TQtTranslationsTest)
#include "QtTranslationsTest.moc"
