// Clear, open and save deals; the Idle and Generating states; the requests
// of a generator run and the end of a run.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>

#include "deals/DealCollection.h"
#include "files/TextFile.h"
#include "mainwindow/MainWindow.h"
#include "text/FileError.h"
#include "widgets/NumberField.h"

// The error offset counts characters of the editor's lines joined with
// nothing between them; the caret goes to the same character in the editor.
void TMainWindow::PutCaretAtJoinedOffset(int offset) {
    QTextDocument* document = RichEdit->document();
    int remaining = std::max(0, offset);
    int position = document->characterCount() - 1;  // the end, when the offset lies beyond
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int index = 0;  // UTF-16 index of the character `remaining` within this line
        while (index < text.size() && remaining > 0) {
            index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
            --remaining;
        }
        if (index < text.size() || !block.next().isValid()) {
            position = block.position() + index;
            break;
        }
    }
    QTextCursor cursor = RichEdit->textCursor();
    cursor.setPosition(position);
    RichEdit->setTextCursor(cursor);
}

void TMainWindow::SetState(TState state) {
    state_ = state;
    const bool idle = state == TState::Idle;
    for (QMenu* menu : {DealsMenu, ConditionsMenu, ViewMenu}) {
        menu->menuAction()->setEnabled(idle);
        // The menus' own items too, so that their shortcuts rest as well.
        for (QAction* action : menu->actions()) action->setEnabled(idle);
    }
    if (AnalysisMenu != nullptr) {
        AnalysisMenu->menuAction()->setEnabled(idle);
        for (QAction* action : AnalysisMenu->actions()) action->setEnabled(idle);
    }
    itmAbout->setEnabled(idle);
    itmExit->setEnabled(idle);
    for (QWidget* control :
         std::initializer_list<QWidget*>{ToolBar1, seTotal, seCurrentDeal, seKeyValue, RichEdit})
        control->setEnabled(idle);
    // The key field rests while runs deal securely; the secret needs a secure run.
    seKeyValue->setEnabled(idle && !itmSecure->isChecked());
    itmShowSecret->setEnabled(idle && lastSecret_.has_value());
    btnStop->setVisible(!idle);
    // The figures beside it stay after the command, under the caption of what counted them.
    if (state == TState::Analysing) lDealtCaption->setText(QStringLiteral("Решено"));
    if (state == TState::Generating) lDealtCaption->setText(QStringLiteral("Всего сдано"));
}

void TMainWindow::ShowProgress(int32_t kept, int64_t dealt) {
    lDealtTotal->setText(QStringLiteral("%1(%2)").arg(kept).arg(dealt));
}

// After the run's final progress: the first new deal becomes the current one.
void TMainWindow::FinishRun(int32_t kept, int32_t startCount) {
    if (kept > 0) {
        SetDealRange(1, run_->Deals().Count());
        seCurrentDeal->SetValue(startCount + 1);
        ShowDealCount();
        DisplayDeal(-1);
    }
    SetState(TState::Idle);
    if (run_->RanOutOfMemory())
        services_->ShowMessage(this, QStringLiteral("Не хватает памяти: генерация остановлена, "
                                                    "отобрано раздач: %1.")
                                         .arg(kept));
    run_->Reclaim();  // the run has ended: this only reclaims its thread
}

void TMainWindow::itmClearClick() {
    run_->Deals().Clear();
    secureDeals_ = false;
    firstRunSeed_.reset();
    SetDealRange(0, 0);
    seCurrentDeal->SetValue(0);
    lTotal->setText(QStringLiteral("0"));
    DisplayDeal(-1);
}

void TMainWindow::ShowFileError(const QString& text) { services_->ShowMessage(this, text); }

void TMainWindow::itmOpenDealsClick() {
    const QString fileName = services_->ChooseFileToOpen(this, dealsChooser_);
    if (!fileName.isEmpty()) OpenDealsFile(fileName);
}

void TMainWindow::OpenDealsFile(const QString& fileName) {
    const int before = run_->Deals().Count();
    try {
        LoadDealsFile(fileName);
    } catch (const TFileError& error) {
        ShowFileError(QString::fromStdString(error.what()));  // what was read stays
    }
    if (run_->Deals().Count() <= before) return;
    SetDealRange(1, run_->Deals().Count());
    seCurrentDeal->SetValue(before + 1);
    ShowDealCount();
    DisplayDeal(-1);
    dealsChooser_.Folder = FolderOfFile(fileName);
}

void TMainWindow::itmSaveDealsClick() {
    if (run_->Deals().Count() == 0) return;
    int fileType = -1;
    int firstBoard = SaveFirstBoard();
    TFileChooser chooser = DealsSaveChooser();
    chooser.FirstBoard = &firstBoard;
    const QString fileName = services_->ChooseFileToSaveWithType(this, chooser, fileType);
    if (fileName.isEmpty()) return;
    KeepSaveFirstBoard(firstBoard);
    try {
        SaveDealsFile(fileName, fileType);
        dealsChooser_.Folder = FolderOfFile(fileName);
    } catch (const TFileError& error) {
        ShowFileError(QString::fromStdString(error.what()));
    }
}
