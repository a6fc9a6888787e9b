// The condition editing aids: the operator, constant and function menus of the
// toolbar and the one operation that puts their text into the condition editor.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <memory>

#include "dialogs/DialogCatalogue.h"
#include "language/FunctionTable.h"
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

    // Function items, one per function with a dialog, in the function table's
    // order and groups: the dialog, owned by this window, returns the call
    // text (empty when cancelled), which goes in as it is.
    const TFunctionRow* previous = nullptr;
    for (const TFunctionRow& function : FunctionTable()) {
        const TDialogMaker makeDialog = FunctionDialog(function.Name);
        if (makeDialog == nullptr) continue;
        if (previous != nullptr && previous->MenuGroup != function.MenuGroup)
            FunctionMenu->addSeparator();
        previous = &function;
        const QString caption = QString::fromUtf8(function.Name.data(), function.Name.size());
        connect(FunctionMenu->addAction(caption), &QAction::triggered, this, [this, makeDialog] {
            const std::unique_ptr<TFunctionWindow> dialog = makeDialog(this);
            InsertConditionText(dialog->Execute());
        });
    }
}
