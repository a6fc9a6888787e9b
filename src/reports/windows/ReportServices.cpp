#include "reports/windows/ReportServices.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "reports/windows/ReportFiles.h"

std::optional<TSaveChoice> TDesktopReportServices::ChooseSaveFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The platform's own chooser does not tell us when the type changes; ours does.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList types = ReportFileTypes();
    dialog.setNameFilters(types);
    dialog.selectNameFilter(types.first());
    dialog.setDefaultSuffix(ExtensionOfFileType(0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, types](const QString& filter) {
                         dialog.setDefaultSuffix(ExtensionOfFileType(types.indexOf(filter)));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return TSaveChoice{dialog.selectedFiles().constFirst(),
                       static_cast<int>(types.indexOf(dialog.selectedNameFilter()))};
}

bool TDesktopReportServices::SetUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintSelection);
    return dialog.exec() == QDialog::Accepted;
}

void TDesktopReportServices::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QString(), text, QMessageBox::Ok);
}
