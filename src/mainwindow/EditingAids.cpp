// The condition editing aids: the operator, constant and function menus of the
// toolbar and the one operation that puts their text into the condition editor.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <memory>

#include "dialogs/BalancedWindow.h"
#include "dialogs/HCPWindow.h"
#include "dialogs/MultyWindow.h"
#include "dialogs/Polish1cWindow.h"
#include "dialogs/Prec1dWindow.h"
#include "dialogs/Prec1hWindow.h"
#include "dialogs/Prec1sWindow.h"
#include "dialogs/Prec2cWindow.h"
#include "dialogs/RangeWindow.h"
#include "dialogs/ShapeWindow.h"
#include "dialogs/SuitByLengthWindow.h"
#include "dialogs/SuitLengthWindow.h"
#include "dialogs/SuitsWindow.h"
#include "dialogs/Unbal1dWindow.h"
#include "mainwindow/MainWindow.h"

namespace {
// A menu item that inserts a word of the language; no caption is a separator.
struct TWordItem {
    const char* caption;
    const char* word;
};

constexpr TWordItem kOperatorItems[] = {
    {"Not", "Not"}, {"Or", "Or"}, {"And", "And"}, {},           {"+", "+"}, {"--", "-"},  {},
    {">", ">"},     {">=", ">="}, {"<", "<"},     {"<=", "<="}, {"=", "="}, {"<>", "<>"},
};

constexpr TWordItem kConstantItems[] = {
    {"North", "North"}, {"East", "East"},         {"South", "South"},   {"West", "West"},     {},
    {"Clubs", "Clubs"}, {"Diamonds", "Diamonds"}, {"Hearts", "Hearts"}, {"Spades", "Spades"},
};

using TDialogMaker = std::unique_ptr<TFunctionWindow> (*)(QWidget* owner);

template <class Window>
std::unique_ptr<TFunctionWindow> MakeDialog(QWidget* owner) {
    return std::make_unique<Window>(owner);
}

// A function menu item and the dialog it opens; no caption is a separator.
struct TFunctionItem {
    const char* caption;
    TDialogMaker makeDialog;
};

constexpr TFunctionItem kFunctionItems[] = {
    {"HCP", MakeDialog<THCPWindow>},
    {"SuitLength", MakeDialog<TSuitLengthWindow>},
    {"SuitByLength", MakeDialog<TSuitByLengthWindow>},
    {},
    {"Range", MakeDialog<TRangeWindow>},
    {"Suits", MakeDialog<TSuitsWindow>},
    {"Shape", MakeDialog<TShapeWindow>},
    {},
    {"Balanced", MakeDialog<TBalancedWindow>},
    {"Polish1c", MakeDialog<TPolish1cWindow>},
    {"Unbal1d", MakeDialog<TUnbal1dWindow>},
    {"Prec1d", MakeDialog<TPrec1dWindow>},
    {"Prec1h", MakeDialog<TPrec1hWindow>},
    {"Prec1s", MakeDialog<TPrec1sWindow>},
    {"Prec2c", MakeDialog<TPrec2cWindow>},
    {"Multy", MakeDialog<TMultyWindow>},
};
}  // namespace

void TMainWindow::InsertConditionText(const QString& text) {
    if (text.isEmpty()) return;
    QTextCursor cursor = RichEdit->textCursor();
    cursor.insertText(text);  // replaces the selection, leaves the caret after the text
    RichEdit->setTextCursor(cursor);
}

void TMainWindow::BuildEditingMenus() {
    // Operator and constant items share one handler: a blank, the word, a blank.
    const auto addWords = [this](QMenu* menu, const auto& items) {
        for (const TWordItem& item : items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            const QString word = " " + QString(item.word) + " ";
            connect(menu->addAction(item.caption), &QAction::triggered, this,
                    [this, word] { InsertConditionText(word); });
        }
    };
    addWords(OperatorMenu, kOperatorItems);
    addWords(ConstantMenu, kConstantItems);

    // Function items: the dialog, owned by this window, returns the call text
    // (empty when cancelled), which goes in as it is.
    for (const TFunctionItem& item : kFunctionItems) {
        if (!item.caption) {
            FunctionMenu->addSeparator();
            continue;
        }
        connect(FunctionMenu->addAction(item.caption), &QAction::triggered, this,
                [this, makeDialog = item.makeDialog] {
                    const std::unique_ptr<TFunctionWindow> dialog = makeDialog(this);
                    InsertConditionText(dialog->Execute());
                });
    }
}
