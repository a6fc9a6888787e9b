#include "mainwindow/PlatformServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QThread>
#include <QWidget>

#include "widgets/ChooserColumns.h"
#include "widgets/ScreenFit.h"

namespace {
constexpr int NoteMilliseconds = 30000;
}  // namespace

void TDesktopServices::ShowMessage(QWidget* parent, const QString& text) {
    const QString title =
        parent ? parent->window()->windowTitle() : QApplication::applicationName();
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void TDesktopServices::ShowNote(QWidget* parent, const QString& text) {
    auto* window = parent ? qobject_cast<QMainWindow*>(parent->window()) : nullptr;
    if (window == nullptr) return;
    window->statusBar()->showMessage(text, NoteMilliseconds);
}

namespace {
// "Первая сдача" under the chooser's type list, starting from *value; the
// chooser's own widgets are needed for it. nullptr when not asked.
QSpinBox* AddFirstBoardField(QFileDialog& dialog, const int* value) {
    if (value == nullptr) return nullptr;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr) return nullptr;
    auto* field = new QSpinBox(&dialog);
    field->setObjectName(QStringLiteral("firstBoard"));
    field->setRange(1, 9999);
    field->setValue(*value);
    auto* label = new QLabel(QStringLiteral("Первая сдача:"), &dialog);
    label->setBuddy(field);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, Qt::AlignLeft);
    return field;
}

// fileType, when given, receives the index of the chosen entry of the filter.
QString RunChooser(QWidget* parent, const TFileChooser& chooser, QFileDialog::AcceptMode mode,
                   int* fileType = nullptr) {
    QFileDialog dialog(parent, QString(), chooser.Folder, chooser.Filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(chooser.DefaultSuffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // A name typed without an extension gets the one of the chosen type ("*.pbn").
    const QStringList types = chooser.Filter.split(QStringLiteral(";;"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& type) {
        const QString pattern = type.section(u'(', 1).section(u')', 0, 0).section(u' ', 0, 0);
        dialog.setDefaultSuffix(pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2)
                                                                         : chooser.DefaultSuffix);
    });
    if (chooser.SelectedFilter && types.contains(*chooser.SelectedFilter))
        dialog.selectNameFilter(*chooser.SelectedFilter);
    FitChooserColumns(dialog);
    QSpinBox* firstBoard = AddFirstBoardField(dialog, chooser.FirstBoard);
    // The chooser's own size suits a screen at 100 %; on a small scaled one it is kept inside.
    FitIntoScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (firstBoard) *chooser.FirstBoard = firstBoard->value();
    if (fileType) *fileType = static_cast<int>(types.indexOf(dialog.selectedNameFilter()));
    if (chooser.SelectedFilter) *chooser.SelectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().first();
}
}  // namespace

QString TDesktopServices::ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) {
    return RunChooser(parent, chooser, QFileDialog::AcceptOpen);
}

QString TDesktopServices::ChooseFileToSave(QWidget* parent, const TFileChooser& chooser) {
    return RunChooser(parent, chooser, QFileDialog::AcceptSave);
}

QString TDesktopServices::ChooseFileToSaveWithType(QWidget* parent, const TFileChooser& chooser,
                                                   int& fileType) {
    fileType = -1;
    return RunChooser(parent, chooser, QFileDialog::AcceptSave, &fileType);
}

TMessageBoxSink::TMessageBoxSink(TPlatformServices& services, QWidget* parent)
    : services_(services), parent_(parent) {}

void TMessageBoxSink::Show(const std::string& message, int32_t) {
    const QString text = QString::fromStdString(message);
    if (QThread::currentThread() == parent_->thread()) {
        services_.ShowMessage(parent_, text);
        return;
    }
    // A message from another thread waits for the GUI thread; the caller goes on.
    QMetaObject::invokeMethod(
        parent_, [this, text] { services_.ShowMessage(parent_, text); }, Qt::QueuedConnection);
}
