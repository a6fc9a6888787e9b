// The "Условия" commands: open and save a conditions file.
#include "files/ConditionsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "files/ConditionsFormat.h"
#include "files/TextFile.h"
#include "files/WholeFile.h"
#include "mainwindow/MainWindow.h"

void TMainWindow::itmOpenConditionsClick() {
    const QString fileName = services_->ChooseFileToOpen(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo::exists(fileName) || QFileInfo(fileName).isDir()) return;
    const TConditionsFileRead read = ReadConditionsFile(fileName);
    if (read.Outcome == TConditionsFileRead::Failed) {
        ShowFileError(read.Message);
        return;
    }
    if (read.Outcome == TConditionsFileRead::Refused) {
        services_->ShowMessage(this, read.Message);
        return;
    }
    RichEdit->hide();
    RichEdit->setPlainText(read.Lines.join(u'\n'));
    RichEdit->show();
    conditionsChooser_.Folder = FolderOfFile(fileName);
}

void TMainWindow::itmSaveConditionsClick() {
    const QStringList lines = ConditionLines();
    if (lines.isEmpty()) return;
    const QString fileName = services_->ChooseFileToSave(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo(fileName).absoluteDir().exists()) return;
    const QString failure = WriteWholeFile(fileName, FormatConditions(lines));
    if (!failure.isEmpty()) {
        ShowFileError(QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + failure);
        return;
    }
    conditionsChooser_.Folder = FolderOfFile(fileName);
}
