#pragma once
// Report services for tests: answers the save chooser and the print dialog
// from queued answers and records what the window asked.
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>

#include "reports/windows/ReportServices.h"

class TFakeReportServices : public TReportServices {
public:
    std::optional<TSaveChoice> ChooseSaveFile(QWidget*) override {
        ++SaveChooserShown;
        if (SaveAnswers.empty()) return std::nullopt;
        const std::optional<TSaveChoice> answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }
    bool SetUpPrinter(QWidget*, QPrinter& printer) override {
        ++PrintDialogShown;
        PrinterDocName = printer.docName();
        if (!PrinterAnswer) return false;
        PrinterAnswer(printer);
        return true;
    }
    // No preview is shown: its print command is given at once.
    bool PreviewAndPrint(QWidget* parent, QPrinter& printer,
                         const std::function<void(QPrinter&)>& paint) override {
        ++PreviewShown;
        if (!SetUpPrinter(parent, printer)) return false;
        paint(printer);
        return true;
    }
    void ShowError(QWidget*, const QString& text) override { Errors += text; }

    std::deque<std::optional<TSaveChoice>> SaveAnswers;  // empty: the user cancels
    std::function<void(QPrinter&)> PrinterAnswer;        // unset: the user cancels
    int SaveChooserShown = 0;
    int PreviewShown = 0;
    int PrintDialogShown = 0;
    QString PrinterDocName = "not asked";
    QStringList Errors;
};
