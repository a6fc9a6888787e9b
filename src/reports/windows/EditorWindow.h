#pragma once
// The report window: one report (the statistics or a deal listing) as editable
// monospaced text, with a tool bar to print it and to save it as RTF or as
// plain text. The main window creates one for each report command, fills it,
// shows it modally and destroys it.
#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QPlainTextEdit;
class QToolBar;
class TDeals;
class TReportServices;

class TEditorWindow : public QDialog {
    Q_OBJECT

public:
    // `services` asks the user for a file or a printer and shows failures; the
    // window does not own it. Without one the ordinary dialogs are used.
    explicit TEditorWindow(QWidget* owner, TReportServices* services = nullptr);
    ~TEditorWindow() override;

    // Fills the window with the statistics report of the collection, whose
    // statistics the caller has computed, under the caption "Статистика".
    void ShowStatistics(TDeals& deals);
    // The double-dummy analysis report's lines.
    void ShowAnalysis(const std::vector<std::string>& lines);
    // Fills the window with the listing of the collection's deals, drawing the
    // hands of the seats whose flag is set, `columns` deals to a row, under the
    // caption "Просмотр раздач".
    void ShowListing(TDeals& deals, bool north, bool east, bool south, bool west, int columns);

    // Replaces the text with `lines` (UTF-8), sets the caption and puts the
    // caret at the first character. The area is not redrawn while it fills.
    void FillLines(const QString& caption, const std::vector<std::string>& lines);

    // The text as it stands, with the user's edits, one entry per line.
    QStringList ReportLines() const;

    // The tool bar's commands: save the text as it stands, and preview and
    // print it. A
    // cancelled dialog does nothing; a failure is shown and the text stays.
    void tbSaveClick();
    void tbPrintClick();

private:
    std::unique_ptr<TReportServices> OwnServices;
    TReportServices* Services;
    QToolBar* ToolBar1;
    QAction* tbPrint;
    QAction* tbSave;
    QPlainTextEdit* RichEdit;
    bool listing_ = false;  // a deal listing: its rows are kept whole on the printed pages
};
