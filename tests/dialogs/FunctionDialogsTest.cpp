// The function-insertion dialogs: the call texts they build, their presets,
// the clamping of their number fields, cancelling and placement.
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>

#include "dialogs/internal/BalancedWindow.h"
#include "dialogs/internal/ControlsWindow.h"
#include "dialogs/internal/HCPWindow.h"
#include "dialogs/internal/HasCardWindow.h"
#include "dialogs/internal/LosersWindow.h"
#include "dialogs/internal/MultyWindow.h"
#include "dialogs/internal/Polish1cWindow.h"
#include "dialogs/internal/Prec1dWindow.h"
#include "dialogs/internal/Prec1hWindow.h"
#include "dialogs/internal/Prec1sWindow.h"
#include "dialogs/internal/Prec2cWindow.h"
#include "dialogs/internal/RangeWindow.h"
#include "dialogs/internal/ShapeWindow.h"
#include "dialogs/internal/SuitByLengthWindow.h"
#include "dialogs/internal/SuitLengthWindow.h"
#include "dialogs/internal/SuitsWindow.h"
#include "dialogs/internal/TopHonoursWindow.h"
#include "dialogs/internal/TricksWindow.h"
#include "dialogs/internal/Unbal1dWindow.h"
#include "language/ConditionCheck.h"
#include "language/FunctionTable.h"
#include "language/Grammar.h"
#include "support/DialogDriver.h"
#include "support/RecordingSink.h"

namespace {
template <class Window>
std::unique_ptr<TFunctionWindow> Make(QWidget* owner) {
    return std::make_unique<Window>(owner);
}

const std::map<QString, std::function<std::unique_ptr<TFunctionWindow>(QWidget*)>> kDialogs = {
    {"HCP", Make<THCPWindow>},
    {"SuitLength", Make<TSuitLengthWindow>},
    {"SuitByLength", Make<TSuitByLengthWindow>},
    {"Range", Make<TRangeWindow>},
    {"Suits", Make<TSuitsWindow>},
    {"Shape", Make<TShapeWindow>},
    {"Balanced", Make<TBalancedWindow>},
    {"Polish1c", Make<TPolish1cWindow>},
    {"Unbal1d", Make<TUnbal1dWindow>},
    {"Prec1d", Make<TPrec1dWindow>},
    {"Prec1h", Make<TPrec1hWindow>},
    {"Prec1s", Make<TPrec1sWindow>},
    {"Prec2c", Make<TPrec2cWindow>},
    {"Multy", Make<TMultyWindow>},
    {"Losers", Make<TLosersWindow>},
    {"Controls", Make<TControlsWindow>},
    {"TopHonours", Make<TTopHonoursWindow>},
    {"HasCard", Make<THasCardWindow>},
    {"Tricks", Make<TTricksWindow>},
};

std::unique_ptr<TFunctionWindow> MakeDialog(const QString& function, QWidget* owner = nullptr) {
    return kDialogs.at(function)(owner);
}

// Opens the dialog with Execute, runs the steps inside it and returns its text.
QString Run(TFunctionWindow& dialog, std::function<void(QDialog&)> steps) {
    WhenDialogOpens(std::move(steps));
    return dialog.Execute();
}
}  // namespace

class FunctionDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void confirmedUnchanged_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("callText");
        const std::pair<const char*, const char*> rows[] = {
            {"HCP", "HCP(North)"},
            {"SuitLength", "SuitLength(North,Clubs)"},
            {"SuitByLength", "SuitByLength(North,1)"},
            {"Balanced", "Balanced(North,0,37)"},
            {"Polish1c", "Polish1c(North,12,14,16,18)"},
            {"Unbal1d", "Unbal1d(North,11,15)"},
            {"Prec1d", "Prec1d(North,11,14,11,15)"},
            {"Prec1h", "Prec1h(North,11,15)"},
            {"Prec1s", "Prec1s(North,11,15)"},
            {"Prec2c", "Prec2c(North,11,15)"},
            {"Multy", "Multy(North,6,10,0,10,10,10)"},
            {"Range", "Range(North,0,37)"},
            {"Suits", "Suits(North,0,-1,-1,-1,-1)"},
            {"Shape", "Shape(North,0,-1,-1,-1,-1)"},
            {"Losers", "Losers(North)"},
            {"Controls", "Controls(North)"},
            {"TopHonours", "TopHonours(North,Spades,3)"},
            {"HasCard", "HasCard(North,Spades,14)"},
            {"Tricks", "Tricks(North)"},
        };
        for (const auto& [function, callText] : rows)
            QTest::newRow(function) << QString(function) << QString(callText);
        QCOMPARE(std::size(rows), kDialogs.size());
    }
    void confirmedUnchanged() {
        QFETCH(QString, function);
        QFETCH(QString, callText);
        auto dialog = MakeDialog(function);
        QString title;
        const QString text = Run(*dialog, [&](QDialog& d) {
            title = d.windowTitle();
            ClickOk(d);
        });
        QCOMPARE(title, function);
        QCOMPARE(text, callText);
    }

    // The user's choices, each a list and an item or a field and typed keys.
    void choices_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("choices");  // name, value, name, value ...
        QTest::addColumn<QString>("callText");
        QTest::newRow("HCP of South's spades")
            << "HCP" << QStringList{"cmbSeat", "South", "cmbSuit", "Spades"} << "HCP(South,Spades)";
        QTest::newRow("Losers of East's diamonds")
            << "Losers" << QStringList{"cmbSeat", "East", "cmbSuit", "Diamonds"}
            << "Losers(East,Diamonds)";
        QTest::newRow("Controls of the whole hand after a suit")
            << "Controls" << QStringList{"cmbSuit", "Spades", "cmbSuit", "Все масти"}
            << "Controls(North)";
        QTest::newRow("TopHonours beyond the range")
            << "TopHonours" << QStringList{"cmbSuit", "Clubs", "SpinEdit", "99"}
            << "TopHonours(North,Clubs,13)";
        QTest::newRow("HasCard the queen of hearts for West")
            << "HasCard" << QStringList{"cmbSeat", "West", "cmbSuit", "Hearts", "cmbRank", "Дама"}
            << "HasCard(West,Hearts,12)";
        QTest::newRow("HasCard the two of clubs")
            << "HasCard" << QStringList{"cmbSuit", "Clubs", "cmbRank", "2"}
            << "HasCard(North,Clubs,2)";
        QTest::newRow("Tricks of East in hearts")
            << "Tricks" << QStringList{"cmbSeat", "East", "cmbSuit", "Hearts"}
            << "Tricks(East,Hearts)";
        QTest::newRow("SuitLength of West's hearts")
            << "SuitLength" << QStringList{"cmbSeat", "West", "cmbSuit", "Hearts"}
            << "SuitLength(West,Hearts)";
        QTest::newRow("Suits at least five spades for East")
            << "Suits" << QStringList{"cmbSeat", "East", "cmbCode", ">=", "seMinHCP", "5"}
            << "Suits(East,1,5,-1,-1,-1)";
        QTest::newRow("Suits at most, all four lengths")
            << "Suits" << QStringList{"cmbCode", "<=",         "seMinHCP", "4",       "seMaxHCP",
                                      "3",       "seDiamonds", "2",        "seClubs", "13"}
            << "Suits(North,-1,4,3,2,13)";
        QTest::newRow("Shape 5-3-3-2")
            << "Shape"
            << QStringList{"seMinHCP", "5", "seMaxHCP", "3", "seDiamonds", "3", "seClubs", "2"}
            << "Shape(North,0,5,3,3,2)";
        QTest::newRow("SuitByLength fourth")
            << "SuitByLength" << QStringList{"SpinEdit", "4"} << "SuitByLength(North,4)";
        QTest::newRow("Polish1c further fields")
            << "Polish1c" << QStringList{"seMinSUnbal", "17", "seMinSBal", "20"}
            << "Polish1c(North,12,14,17,20)";
        QTest::newRow("Multy every field")
            << "Multy" << QStringList{"seMinHCP", "5", "seMaxHCP", "9", "seMin6", "1",
                                      "seMax7",   "2", "seMax4",   "3", "seMax5", "4"}
            << "Multy(North,5,9,1,2,3,4)";
        // Values beyond a range, or no number at all, read within the range at OK.
        QTest::newRow("99 reads as 37")
            << "Balanced" << QStringList{"seMinHCP", "99"} << "Balanced(North,37,37)";
        QTest::newRow("no number reads as the lowest")
            << "Range" << QStringList{"seMaxHCP", "x"} << "Range(North,0,0)";
        QTest::newRow("below the range")
            << "Prec1d" << QStringList{"seMaxUnbal", "-5"} << "Prec1d(North,11,14,11,0)";
        QTest::newRow("Multy side fields end at 10")
            << "Multy" << QStringList{"seMin6", "25"} << "Multy(North,6,10,10,10,10,10)";
        QTest::newRow("lengths end at 13")
            << "Suits" << QStringList{"seClubs", "14"} << "Suits(North,0,-1,-1,-1,13)";
        QTest::newRow("lengths start at -1")
            << "Shape" << QStringList{"seMaxHCP", "-7"} << "Shape(North,0,-1,-1,-1,-1)";
        QTest::newRow("element at most 4")
            << "SuitByLength" << QStringList{"SpinEdit", "9"} << "SuitByLength(North,4)";
        QTest::newRow("element at least 1")
            << "SuitByLength" << QStringList{"SpinEdit", "0"} << "SuitByLength(North,1)";
        QTest::newRow("two characters at most")
            << "Unbal1d" << QStringList{"seMinHCP", "123"} << "Unbal1d(North,12,15)";
    }
    void choices() {
        QFETCH(QString, function);
        QFETCH(QStringList, choices);
        QFETCH(QString, callText);
        auto dialog = MakeDialog(function);
        const QString text = Run(*dialog, [&](QDialog& d) {
            MakeChoices(d, choices);
            ClickOk(d);
        });
        QCOMPARE(text, callText);
    }

    void closingGivesEmptyText_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("way");
        for (const char* function : {"HCP", "Suits", "Multy"})
            for (const char* way : {"Cancel", "Esc", "close box"})
                QTest::addRow("%s by %s", function, way) << QString(function) << QString(way);
    }
    void closingGivesEmptyText() {
        QFETCH(QString, function);
        QFETCH(QString, way);
        auto dialog = MakeDialog(function);
        const QString text = Run(*dialog, [&](QDialog& d) {
            ChooseItem(d, "cmbSeat", "West");
            if (way == "Cancel")
                QTest::mouseClick(d.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
            else if (way == "Esc")
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.close();
        });
        QVERIFY(text.isEmpty());
    }

    // Tab walks the controls as they stand on screen, top to bottom and left
    // to right, from the seat list to OK and Cancel, and round again.
    void tabFollowsTheLayout() {
        for (const auto& [function, make] : kDialogs) {
            const auto dialog = make(nullptr);
            QStringList expected, visited;
            Run(*dialog, [&](QDialog& d) {
                QList<QWidget*> controls;
                for (QWidget* child : d.findChildren<QWidget*>())
                    if (child->isVisible() && (child->focusPolicy() & Qt::TabFocus) &&
                        child->focusProxy() == nullptr && child->parentWidget() == &d)
                        controls << child;
                std::sort(controls.begin(), controls.end(), [&](QWidget* a, QWidget* b) {
                    const QPoint pa = a->mapTo(&d, QPoint()), pb = b->mapTo(&d, QPoint());
                    return pa.y() + a->height() / 2 < pb.y() + b->height() / 2 - 4 ||
                           (std::abs(pa.y() - pb.y()) <= 4 && pa.x() < pb.x());
                });
                for (QWidget* control : controls) expected << control->objectName();
                for (int i = 0; i <= controls.size(); ++i) {
                    QWidget* focus = KeyboardFocus(d);
                    QVERIFY(focus);
                    visited << focus->objectName();
                    QTest::keyClick(focus, Qt::Key_Tab);
                }
                d.reject();
            });
            QCOMPARE(expected.first(), QString("cmbSeat"));
            QCOMPARE(expected.mid(expected.size() - 2), QStringList({"btnOk", "btnCancel"}));
            expected << expected.first();
            QCOMPARE(visited, expected);
        }
    }

    // Keys alone, as someone without a mouse would use a dialog: Return in a
    // list or a number field is OK, Return on Cancel and Esc cancel.
    void keyboardOnly_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("keys");  // Tab, Down, End, Return, Esc or typed characters
        QTest::addColumn<QString>("callText");
        QTest::newRow("Suits by keys") << "Suits"
                                       << "Down Tab End Tab 5 Return"
                                       << "Suits(East,1,5,-1,-1,-1)";
        QTest::newRow("Return in the seat list") << "HCP"
                                                 << "End Return"
                                                 << "HCP(West)";
        QTest::newRow("Return in a number field") << "Balanced"
                                                  << "Tab 1 2 Return"
                                                  << "Balanced(North,12,37)";
        QTest::newRow("Return on OK") << "Range"
                                      << "Tab Tab Tab Return"
                                      << "Range(North,0,37)";
        QTest::newRow("Return on Cancel") << "Range"
                                          << "Tab Tab Tab Tab Return"
                                          << "";
        QTest::newRow("Esc in a number field") << "Polish1c"
                                               << "Tab 9 Esc"
                                               << "";
    }
    void keyboardOnly() {
        QFETCH(QString, function);
        QFETCH(QString, keys);
        QFETCH(QString, callText);
        const std::map<QString, Qt::Key> named = {{"Tab", Qt::Key_Tab},
                                                  {"Down", Qt::Key_Down},
                                                  {"End", Qt::Key_End},
                                                  {"Return", Qt::Key_Return},
                                                  {"Esc", Qt::Key_Escape}};
        auto dialog = MakeDialog(function);
        const QString text = Run(*dialog, [&](QDialog& d) {
            for (const QString& key : keys.split(' ')) {
                QWidget* focus = KeyboardFocus(d);
                QVERIFY(focus);
                if (named.count(key))
                    QTest::keyClick(focus, named.at(key));
                else
                    QTest::keyClicks(focus, key);
            }
        });
        QCOMPARE(text, callText);
    }

    // Each Execute starts afresh on North with an empty result, whatever the
    // dialog showed before.
    void executeStartsOnNorth() {
        auto dialog = MakeDialog("Prec2c");
        QCOMPARE(Run(*dialog,
                     [](QDialog& d) {
                         ChooseItem(d, "cmbSeat", "South");
                         ClickOk(d);
                     }),
                 QString("Prec2c(South,11,15)"));
        QCOMPARE(Run(*dialog, [](QDialog& d) { ClickOk(d); }), QString("Prec2c(North,11,15)"));
        QVERIFY(Run(*dialog, [](QDialog& d) { d.reject(); }).isEmpty());
    }

    void presetsOfExecute() {
        auto hcp = MakeDialog("HCP");
        hcp->findChild<QComboBox*>("cmbSuit")->setCurrentIndex(2);
        QCOMPARE(Run(*hcp, [](QDialog& d) { ClickOk(d); }), QString("HCP(North)"));
        auto shape = MakeDialog("Shape");
        shape->findChild<QComboBox*>("cmbCode")->setCurrentIndex(2);
        QCOMPARE(Run(*shape, [](QDialog& d) { ClickOk(d); }),
                 QString("Shape(North,0,-1,-1,-1,-1)"));
    }

    void opensBesideItsOwner() {
        QWidget owner;
        owner.setGeometry(200, 150, 500, 400);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QPoint corner = owner.pos();
        auto dialog = MakeDialog("Range", &owner);
        QPoint shownAt;
        Run(*dialog, [&](QDialog& d) {
            shownAt = d.pos();
            ClickOk(d);
        });
        QCOMPARE(shownAt, corner + QPoint(100, 30));
    }

    // Every text a dialog builds is a condition the language accepts: as it
    // stands for the Boolean functions, compared with a number for the three
    // integer ones (which the check refuses on their own).
    void languageAcceptsCallTexts_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("choices");
        for (const auto& [function, make] : kDialogs)
            QTest::addRow("%s unchanged", qPrintable(function)) << function << QStringList();
        QTest::newRow("HCP of one suit")
            << "HCP" << QStringList{"cmbSeat", "West", "cmbSuit", "Diamonds"};
        QTest::newRow("SuitLength spades") << "SuitLength" << QStringList{"cmbSuit", "Spades"};
        QTest::newRow("SuitByLength 3") << "SuitByLength" << QStringList{"SpinEdit", "3"};
        QTest::newRow("Suits at most")
            << "Suits" << QStringList{"cmbCode", "<=", "seMinHCP", "4", "seClubs", "0"};
        QTest::newRow("Shape at least")
            << "Shape" << QStringList{"cmbCode", ">=", "seMinHCP", "13"};
        QTest::newRow("Multy") << "Multy" << QStringList{"seMin6", "3", "seMax5", "7"};
        QTest::newRow("Losers in hearts") << "Losers" << QStringList{"cmbSuit", "Hearts"};
        QTest::newRow("Controls in clubs") << "Controls" << QStringList{"cmbSuit", "Clubs"};
        QTest::newRow("TopHonours 5 diamonds")
            << "TopHonours" << QStringList{"cmbSuit", "Diamonds", "SpinEdit", "5"};
        QTest::newRow("HasCard heart ten")
            << "HasCard" << QStringList{"cmbSuit", "Hearts", "cmbRank", "10"};
    }
    void languageAcceptsCallTexts() {
        QFETCH(QString, function);
        QFETCH(QStringList, choices);
        auto dialog = MakeDialog(function);
        const QString text = Run(*dialog, [&](QDialog& d) {
            MakeChoices(d, choices);
            ClickOk(d);
        });
        QVERIFY(!text.isEmpty());
        const TFunctionRow* row = FindFunction(function.toUpper().toStdString());
        QVERIFY(row != nullptr);
        const bool integer = row->Result == vtInteger;
        auto rules = CreateConditionRules();
        TRecordingSink sink;
        TCompiledCondition condition;
        const QString accepted = integer ? text + ">=0" : text;
        QVERIFY2(condition.Prepare(accepted.toStdString(), *rules),
                 sink.messages.empty() ? qPrintable(accepted) : sink.messages[0].text.c_str());
        if (integer) QVERIFY(!condition.Prepare(text.toStdString(), *rules));
    }

    // What every dialog shares: the seat list, the buttons, the description's
    // font and a title bar with only the close box.
    void sharedControls() {
        for (const auto& [function, make] : kDialogs) {
            const auto dialog = make(nullptr);
            auto* seats = dialog->findChild<QComboBox*>("cmbSeat");
            QVERIFY(seats && !seats->isEditable());
            QStringList items;
            for (int i = 0; i < seats->count(); ++i) items << seats->itemText(i);
            QCOMPARE(items, QStringList({"North", "East", "South", "West"}));
            QCOMPARE(dialog->findChild<QLabel*>("lSeat")->text(), QString("Позиция"));
            QCOMPARE(dialog->findChild<QPushButton*>("btnOk")->text(), QString("OK"));
            QCOMPARE(dialog->findChild<QPushButton*>("btnCancel")->text(), QString("Отмена"));
            const QFont description = dialog->findChild<QLabel*>("lDescription")->font();
            QVERIFY(description.bold() && description.italic());
            QVERIFY(description.pointSizeF() > dialog->font().pointSizeF());
            const Qt::WindowFlags flags = dialog->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinMaxButtonsHint));
            QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
        }
    }

    void suitsLabelsShowSuitSymbols() {
        auto suits = MakeDialog("Suits");
        const std::pair<const char*, char32_t> labels[] = {{"Label1", U'\u2660'},
                                                           {"Label2", U'\u2665'},
                                                           {"Label4", U'\u2666'},
                                                           {"Label5", U'\u2663'}};
        for (const auto& [name, symbol] : labels) {
            auto* label = suits->findChild<QLabel*>(name);
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromUcs4(&symbol, 1));
            QVERIFY2(QFontMetrics(label->font()).inFontUcs4(symbol),
                     qPrintable(QFontInfo(label->font()).family()));
        }
        auto shape = MakeDialog("Shape");
        QStringList shapeLabels;
        for (const char* name : {"Label1", "Label2", "Label4", "Label5"})
            shapeLabels << shape->findChild<QLabel*>(name)->text();
        QCOMPARE(shapeLabels, QStringList({"1", "2", "3", "4"}));
    }
};

QTEST_MAIN(FunctionDialogsTest)
#include "FunctionDialogsTest.moc"
