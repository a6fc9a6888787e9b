#pragma once
// What the main window asks of the desktop: message boxes, notes and file choosers.
// Tests install their own answers; the program uses TDesktopServices.
#include <QString>

#include "text/MessageSink.h"

class QWidget;
class TReportServices;

// One pair of file choosers: its filter, default extension and starting folder.
struct TFileChooser {
    QString Filter;         // for example "Раздачи (*.dls);;Все файлы (*)"
    QString DefaultSuffix;  // added when the typed name has no extension
    QString Folder;         // where the chooser starts; follows the last file used
    // When set, the save chooser also asks "Первая сдача", starting from this
    // value and leaving the chosen one here.
    int* FirstBoard = nullptr;
    // When set, the chooser opens on this entry of Filter (the first when it
    // is none of them) and leaves the entry chosen here.
    QString* SelectedFilter = nullptr;
};

class TPlatformServices {
public:
    virtual ~TPlatformServices() = default;
    // A modal message box with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A note the user may read but need not answer, such as a damaged file
    // mended at start: it must not stop the window from opening.
    virtual void ShowNote(QWidget* parent, const QString& text) = 0;
    // The preview and printing of reports; null for the desktop's own.
    virtual TReportServices* Printing() { return nullptr; }
    // The chosen existing file, or an empty text when the user cancelled.
    virtual QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) = 0;
    // The chosen file name (overwriting confirmed), or an empty text.
    virtual QString ChooseFileToSave(QWidget* parent, const TFileChooser& chooser) = 0;
    // The same, and the file type the user chose: the index of its entry in
    // the chooser's Filter, or -1 when not known (then the name decides).
    virtual QString ChooseFileToSaveWithType(QWidget* parent, const TFileChooser& chooser,
                                             int& fileType) {
        fileType = -1;
        return ChooseFileToSave(parent, chooser);
    }
};

// QMessageBox and QFileDialog.
class TDesktopServices : public TPlatformServices {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    // In the status bar of the parent's main window, for a while.
    void ShowNote(QWidget* parent, const QString& text) override;
    QString ChooseFileToOpen(QWidget* parent, const TFileChooser& chooser) override;
    QString ChooseFileToSave(QWidget* parent, const TFileChooser& chooser) override;
    QString ChooseFileToSaveWithType(QWidget* parent, const TFileChooser& chooser,
                                     int& fileType) override;
};

// The core's messages shown by the platform's message box, on the GUI thread.
// Installs itself for its lifetime and restores the sink it replaced.
class TMessageBoxSink : public TInstalledSink {
public:
    TMessageBoxSink(TPlatformServices& services, QWidget* parent);
    void Show(const std::string& message, int32_t position) override;

private:
    TPlatformServices& services_;
    QWidget* parent_;
};
