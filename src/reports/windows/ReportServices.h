#pragma once
// The platform services the report window asks the user through: the save
// chooser, the print preview and dialog, and the error message box. Tests put their own
// answers in their place.
#include <QString>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

struct TSaveChoice {
    QString Path;       // the file name as the chooser returned it, extension included
    int TypeIndex = 0;  // the chosen entry of ReportFileTypes()
};

class TReportServices {
public:
    virtual ~TReportServices() = default;
    // The chosen file and type, or nothing when the user cancelled.
    virtual std::optional<TSaveChoice> ChooseSaveFile(QWidget* parent) = 0;
    // Lets the user set up `printer`; false when the user cancelled.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows the pages `paint` draws on `printer` in a preview whose print
    // command sets the printer up (SetUpPrinter) and prints them with `paint`.
    // False when the user closed the preview without printing.
    virtual bool PreviewAndPrint(QWidget* parent, QPrinter& printer,
                                 const std::function<void(QPrinter&)>& paint) = 0;
    // Tells the user of a failure, with an OK button.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// The ordinary dialogs: a save chooser whose default extension follows the
// chosen type, the print preview, the print dialog and a warning message box.
class TDesktopReportServices : public TReportServices {
public:
    std::optional<TSaveChoice> ChooseSaveFile(QWidget* parent) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    bool PreviewAndPrint(QWidget* parent, QPrinter& printer,
                         const std::function<void(QPrinter&)>& paint) override;
    void ShowError(QWidget* parent, const QString& text) override;
};
