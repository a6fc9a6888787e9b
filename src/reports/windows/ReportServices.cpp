#include "reports/windows/ReportServices.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "reports/windows/ReportFiles.h"
#include "widgets/ChooserColumns.h"

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
    FitChooserColumns(dialog);
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

bool TDesktopReportServices::PreviewAndPrint(QWidget* parent, QPrinter& printer,
                                             const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    if (parent) preview.setWindowTitle(parent->windowTitle());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* target) { paint(*target); });
    // The preview's own print command would ask with a print dialog of its
    // own; ours offers printing to a file, a page range and the selection.
    const QString printCaption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() != printCaption) continue;
        QObject::disconnect(action, nullptr, &preview, nullptr);
        QObject::connect(action, &QAction::triggered, &preview, [&, this] {
            if (!SetUpPrinter(&preview, printer)) return;
            paint(printer);
            preview.accept();
        });
    }
    return preview.exec() == QDialog::Accepted;
}

void TDesktopReportServices::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QString(), text, QMessageBox::Ok);
}
