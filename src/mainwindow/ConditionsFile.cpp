// The "Условия" commands: open and save a conditions file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>

#include "files/ConditionsFormat.h"
#include "mainwindow/MainWindow.h"
#include "files/TextFile.h"

void TMainWindow::itmOpenConditionsClick() {
    const QString fileName = services_->ChooseFileToOpen(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFileError(QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + file.errorString());
        return;
    }
    const std::optional<QStringList> lines = ParseConditions(file.readAll());
    if (!lines) {
        services_->ShowMessage(this, QStringLiteral("Файл ") +
                                         QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) +
                                         QStringLiteral(" не содержит условия"));
        return;
    }
    RichEdit->hide();
    RichEdit->setPlainText(lines->join(u'\n'));
    RichEdit->show();
    conditionsChooser_.Folder = FolderOfFile(fileName);
}

void TMainWindow::itmSaveConditionsClick() {
    const QStringList lines = ConditionLines();
    if (lines.isEmpty()) return;
    const QString fileName = services_->ChooseFileToSave(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo(fileName).absoluteDir().exists()) return;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(FormatConditions(lines)) < 0 ||
        !file.commit()) {
        ShowFileError(QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + file.errorString());
        return;
    }
    conditionsChooser_.Folder = FolderOfFile(fileName);
}
