// The condition editing aids: the operator, constant and function menus of the
// toolbar and the insertion of their text into the condition editor.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "dialogs/FunctionWindow.h"
#include "help/Help.h"
#include "language/ConditionCheck.h"
#include "language/FunctionTable.h"
#include "language/Grammar.h"
#include "mainwindow/HelpWindow.h"
#include "support/DialogDriver.h"
#include "support/RecordingSink.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {
// The menu's captions in order, a separator written as "|".
QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QString("|") : action->text());
    return captions;
}

QAction* Item(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption) return action;
    return nullptr;
}

// Puts text into the editor and selects from `start` to `end` (a caret when equal).
void SetEditor(QPlainTextEdit* editor, const QString& text, int start, int end) {
    editor->setPlainText(text);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}
}  // namespace

class EditingAidsTest : public QObject {
    Q_OBJECT
private:
    // A new setup folder for every test: the window keeps its condition there.
    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

    QPlainTextEdit* Editor() { return Ui().RichEdit; }

    // Chooses a function menu item and confirms its dialog unchanged (or with choices).
    void ChooseFunction(const QString& caption, bool confirm = true,
                        const QStringList& choices = {}) {
        QAction* item = Item(Ui().FunctionMenu, caption);
        QVERIFY(item);
        WhenDialogOpens([confirm, choices](QDialog& dialog) {
            MakeChoices(dialog, choices);
            if (confirm)
                ClickOk(dialog);
            else
                QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        });
        item->trigger();
    }

private slots:
    void init() {
        window_ = fixture_.Open();
        QCOMPARE(Editor()->toPlainText(), QString());
    }
    void cleanup() { fixture_.Renew(); }

    void menusDropDownFromTheirButtons() {
        QCOMPARE(Ui().tbOperator->menu(), Ui().OperatorMenu);
        QCOMPARE(Ui().tbConst->menu(), Ui().ConstantMenu);
        QCOMPARE(Ui().tbInsertFunction->menu(), Ui().FunctionMenu);
        QCOMPARE(Captions(Ui().OperatorMenu), QStringList({"Not", "Or", "And", "|", "+", "--", "|",
                                                           ">", ">=", "<", "<=", "=", "<>"}));
        QCOMPARE(Captions(Ui().ConstantMenu),
                 QStringList({"North", "East", "South", "West", "|", "Clubs", "Diamonds", "Hearts",
                              "Spades"}));
        QCOMPARE(
            Captions(Ui().FunctionMenu),
            QStringList({"HCP",      "SuitLength", "SuitByLength", "|",        "Range",   "Suits",
                         "Shape",    "|",          "Balanced",     "Polish1c", "Unbal1d", "Prec1d",
                         "Prec1h",   "Prec1s",     "Prec2c",       "Multy",    "|",       "Losers",
                         "Controls", "TopHonours", "HasCard",      "|",        "Tricks"}));
    }

    void wordItems_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("after");
        const auto row = [](const char* name, QString menu, QString caption, QString before,
                            int start, int end, QString after) {
            QTest::newRow(name) << menu << caption << before << start << end << after;
        };
        row(">= replaces a selection", "operator", ">=", "HCP(North)", 0, 10, " >= ");
        row("selection made backwards", "operator", "<>", "x HCP(North) y", 12, 2, "x  <>  y");
        row("And between two characters", "operator", "And", "ab", 1, 1, "a And b");
        row("-- inserts the minus", "operator", "--", "", 0, 0, " - ");
        row("Not keeps its capitals", "operator", "Not", "", 0, 0, " Not ");
        row("constant at the end", "constant", "Spades", "HCP(North,", 10, 10,
            "HCP(North, Spades ");
        row("seat on a second line", "constant", "West", "a\nb", 2, 2, "a\n West b");
    }
    void wordItems() {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, before);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, after);
        SetEditor(Editor(), before, start, end);
        QAction* item = Item(menu == "operator" ? Ui().OperatorMenu : Ui().ConstantMenu, caption);
        QVERIFY(item);
        item->trigger();
        QCOMPARE(Editor()->toPlainText(), after);
        // Nothing stays selected and the caret sits right after the inserted text.
        const QTextCursor cursor = Editor()->textCursor();
        QVERIFY(!cursor.hasSelection());
        const QString inserted = " " + QString(caption == "--" ? "-" : caption) + " ";
        QCOMPARE(cursor.position(), std::min(start, end) + int(inserted.size()));
    }

    void insertionLeavesTheFocusAlone() {
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Ui().seTotal->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Ui().seTotal));
        Item(Ui().OperatorMenu, "Or")->trigger();
        QCOMPARE(Editor()->toPlainText(), QString(" Or "));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Ui().seTotal));
    }

    void emptyTextChangesNothing() {
        SetEditor(Editor(), "HCP(North)", 0, 3);
        window_->InsertConditionText(QString());
        QCOMPARE(Editor()->toPlainText(), QString("HCP(North)"));
        QCOMPARE(Editor()->textCursor().selectedText(), QString("HCP"));
    }

    // A call text goes in with no blanks, against the text on either side.
    void functionCallSitsAgainstItsNeighbours() {
        SetEditor(Editor(), "NOT()", 4, 4);
        ChooseFunction("HCP", true, {"cmbSeat", "South", "cmbSuit", "Spades"});
        QCOMPARE(Editor()->toPlainText(), QString("NOT(HCP(South,Spades))"));
        QCOMPARE(Editor()->textCursor().position(), 21);
        QVERIFY(window_->findChildren<TFunctionWindow*>().isEmpty());
    }

    void functionDialogOpensBesideTheWindow() {
        window_->move(120, 90);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QPoint shownAt;
        QWidget* owner = nullptr;
        WhenDialogOpens([&](QDialog& dialog) {
            shownAt = dialog.pos();
            owner = dialog.parentWidget();
            ClickOk(dialog);
        });
        Item(Ui().FunctionMenu, "Range")->trigger();
        QCOMPARE(owner, static_cast<QWidget*>(window_.get()));
        QCOMPARE(shownAt, window_->pos() + QPoint(100, 30));
    }

    void cancellingLeavesTheEditorUnchanged() {
        SetEditor(Editor(), "Balanced(North) AND ", 9, 14);
        ChooseFunction("Suits", false, {"cmbSeat", "East", "seMinHCP", "5"});
        QCOMPARE(Editor()->toPlainText(), QString("Balanced(North) AND "));
        QCOMPARE(Editor()->textCursor().selectedText(), QString("North"));
    }

    // Every function item, confirmed unchanged into an empty editor, writes a
    // condition the generator's check accepts: as it stands where the function
    // gives a Boolean, compared with a number where it gives an integer.
    // A help example is a whole condition: it takes the selection's place, fills
    // an empty editor or is joined to the condition there, which still runs.
    void helpExampleIsNeverGlued() {
        const QString points = QString::fromUtf8(HelpExamples()[1].Condition.data());
        const QString slam = QString::fromUtf8(HelpExamples()[7].Condition.data());
        const std::tuple<QString, int, int, QString> cases[] = {
            {"", 0, 0, slam},
            {points, 0, 0, "(" + points + ") AND (" + slam + ")"},
            {"HCP(N) >=\n 8\n\n", 3, 3, "(HCP(N) >=\n 8) AND (" + slam + ")"},
            {"Multy(N) AND Multy(S)", 13, 21, "Multy(N) AND " + slam},
        };
        Ui().itmHelp->trigger();
        auto* help = window_->findChild<THelpWindow*>();
        const std::unique_ptr<TRuleList> rules = CreateConditionRules();
        for (const auto& [before, from, to, after] : cases) {
            SetEditor(Editor(), before, from, to);
            // The help's examples: one for each function, then the examples' list.
            help->OpenLink(QUrl(QStringLiteral("insert:%1").arg(FunctionTable().size() + 7)));
            QCOMPARE(Editor()->toPlainText(), after);
            const std::string joined = window_->ConditionLines().join(QString()).toStdString();
            QVERIFY(from != to || TCompiledCondition().Prepare(joined, *rules));
        }
    }

    void dialogsAndLanguageAgree_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<bool>("integer");
        for (const char* function :
             {"HCP", "SuitLength", "SuitByLength", "Losers", "Controls", "TopHonours", "Tricks"})
            QTest::newRow(function) << QString(function) << QStringList() << true;
        for (const char* function : {"Range", "Suits", "Shape", "Balanced", "Polish1c", "Unbal1d",
                                     "Prec1d", "Prec1h", "Prec1s", "Prec2c", "Multy", "HasCard"})
            QTest::newRow(function) << QString(function) << QStringList() << false;
        QTest::newRow("HCP of one suit")
            << "HCP" << QStringList{"cmbSeat", "West", "cmbSuit", "Diamonds"} << true;
        QTest::newRow("SuitLength of spades")
            << "SuitLength" << QStringList{"cmbSuit", "Spades"} << true;
        QTest::newRow("SuitByLength 4") << "SuitByLength" << QStringList{"SpinEdit", "4"} << true;
        QTest::newRow("Suits at most")
            << "Suits" << QStringList{"cmbCode", "<=", "seMinHCP", "4", "seClubs", "0"} << false;
        QTest::newRow("Shape at least")
            << "Shape" << QStringList{"cmbCode", ">=", "seMinHCP", "13"} << false;
        QTest::newRow("Multy changed")
            << "Multy" << QStringList{"seMin6", "3", "seMax5", "7"} << false;
    }
    void dialogsAndLanguageAgree() {
        QFETCH(QString, function);
        QFETCH(QStringList, choices);
        QFETCH(bool, integer);
        ChooseFunction(function, true, choices);
        const QString call = Editor()->toPlainText();
        QVERIFY(call.startsWith(function + "("));

        const std::unique_ptr<TRuleList> rules = CreateConditionRules();
        TRecordingSink sink;
        TCompiledCondition condition;
        // An integer alone is no condition: the check must refuse it.
        QCOMPARE(condition.Prepare(call.toStdString(), *rules), !integer);
        if (integer) {
            sink.messages.clear();
            Item(Ui().OperatorMenu, ">=")->trigger();
            window_->InsertConditionText("0");
        }
        const QString text = window_->ConditionLines().join(QString());
        QVERIFY2(
            condition.Prepare(text.toStdString(), *rules),
            qPrintable(text + " : " +
                       (sink.messages.empty() ? QString()
                                              : QString::fromStdString(sink.messages[0].text))));
        QVERIFY(sink.messages.empty());
    }
};

QTEST_MAIN(EditingAidsTest)
#include "EditingAidsTest.moc"
