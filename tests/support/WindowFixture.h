#pragma once
// What the window tests share: platform services answered by the test, a main
// window over a temporary setup folder, and deals of a known key value.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PlatformServices.h"
#include "reports/windows/EditorWindow.h"
#include "reports/windows/ReportServices.h"
#include "support/FolderSnapshot.h"
#include "support/TempFolder.h"
#include "widgets/NumberField.h"

// The main window's services: recorded messages and scripted file choices, so
// that no window waits for a person.
class TFakeServices : public TPlatformServices {
public:
    void ShowMessage(QWidget*, const QString& text) override { messages.append(text); }
    void ShowNote(QWidget*, const QString& text) override { notes.append(text); }
    TReportServices* Printing() override { return reports; }
    QString ChooseFileToOpen(QWidget*, const TFileChooser& chooser) override {
        return Next(chooser, openedIn);
    }
    QString ChooseFileToSave(QWidget*, const TFileChooser& chooser) override {
        return Next(chooser, savedIn);
    }

    QStringList messages;
    QStringList notes;
    TReportServices* reports = nullptr;  // the report services' answers; null: the desktop's own
    std::deque<QString> answers;         // the next file names to choose; none left: cancel
    QStringList openedIn;                // the starting folder of every open chooser shown
    QStringList savedIn;                 // the same for save choosers

private:
    QString Next(const TFileChooser& chooser, QStringList& shownIn) {
        shownIn.append(chooser.Folder);
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The report window's services: the save chooser and the print dialog answer
// from queued answers and record what the window asked.
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

// A main window over a temporary setup folder with scripted services. A test
// may open windows of its own with Open(); a test class with one shown window
// per test calls OpenShown() in init() and Renew() in cleanup().
class TWindowFixture {
public:
    std::shared_ptr<TFakeServices> services = std::make_shared<TFakeServices>();
    std::unique_ptr<TMainWindow> window;  // the window of OpenShown()

    ~TWindowFixture() { window.reset(); }  // it writes the setup file as it closes

    std::unique_ptr<TMainWindow> Open() const {
        return std::make_unique<TMainWindow>(Folder(), services);
    }
    // Opens `window` (closing the one before), shows it and waits until it is exposed.
    bool OpenShown() {
        window.reset();
        window = Open();
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    // Closes the window and starts again with a new folder and new services.
    void Renew() {
        window.reset();
        folder_ = std::make_unique<TTempFolder>();
        services = std::make_shared<TFakeServices>();
    }

    QString Folder() const { return folder_->QtPath(); }
    QString File(const QString& name) const { return folder_->QtFile(name); }
    QString SetupFile() const { return File(QStringLiteral("generate.stp")); }

private:
    std::unique_ptr<TTempFolder> folder_ = std::make_unique<TTempFolder>();
};

// Deals `count` deals of the editor's condition as Ctrl+G does and waits for
// the run to end; whether it ended.
inline bool DealAndWait(TMainWindow& window, int count) {
    window.Controls().seTotal->SetValue(count);
    window.itmGenerateClick();
    return QTest::qWaitFor([&window] { return window.State() == TMainWindow::TState::Idle; },
                           20000);
}

// What a report window showed.
struct TShownReport {
    bool Shown = false;
    bool Modal = false;
    QWidget* Owner = nullptr;
    QString Caption;
    QStringList Lines;
    QPointer<TEditorWindow> Window;  // null once the closed window is gone
};

// While it lives, reads the report window inside its modal loop as soon as it
// opens (it looks every few milliseconds) and closes it.
class TReportReader {
public:
    TReportReader() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* window = qobject_cast<TEditorWindow*>(QApplication::activeModalWidget());
            if (window == nullptr || Report.Shown) return;
            Report = {true,
                      window->isModal() && window->isVisible(),
                      window->parentWidget(),
                      window->windowTitle(),
                      window->ReportLines(),
                      window};
            window->close();
        });
        timer_.start(10);
    }
    TShownReport Report;

private:
    QTimer timer_;
};

// The first `count` deals dealt after seeding with `key`.
inline std::vector<TDeal> DealsOfKey(int key, int count) {
    TRandomSource source;
    source.SetSeed(key);
    std::vector<TDeal> deals(count);
    for (TDeal& deal : deals) deal.DealRandom(source);
    return deals;
}

// Deals of a key value added to the window as a command adds them; the first
// of all becomes the current deal.
inline void AddDeals(TMainWindow& window, int key, int count) {
    for (const TDeal& deal : DealsOfKey(key, count)) window.Deals().Add(deal);
    window.Controls().seCurrentDeal->SetRange(1, window.Deals().Count());
    window.Controls().seCurrentDeal->SetValue(1);
}

// The deal lines of a collection from `from` on, and of a list of deals.
inline QStringList DealLines(TDeals& deals, int from = 0) {
    QStringList lines;
    for (int index = from; index < deals.Count(); ++index)
        lines.append(QString::fromStdString(deals.GetDeal(index)->ToText()));
    return lines;
}
inline QStringList DealLines(const std::vector<TDeal>& deals) {
    QStringList lines;
    for (const TDeal& deal : deals) lines.append(QString::fromStdString(deal.ToText()));
    return lines;
}

inline QStringList AsQt(const std::vector<std::string>& lines) {
    QStringList result;
    for (const std::string& line : lines) result += QString::fromStdString(line);
    return result;
}

// The four labels of a seat, spades first, as one text: "7532 A6 Q2 KJ842".
inline QString SeatText(const TMainWindow& window, int seat) {
    QStringList texts;
    for (const QLabel* label : window.Controls().HandLabels[seat - 1]) texts.append(label->text());
    return texts.join(u' ');
}

// The suit texts of a deal's hand in the same form.
inline QString HandText(TDeal& deal, int seat) {
    const auto texts = deal.Hand(seat).SuitTexts();  // clubs first
    return QStringList{QString::fromStdString(texts[3]), QString::fromStdString(texts[2]),
                       QString::fromStdString(texts[1]), QString::fromStdString(texts[0])}
        .join(u' ');
}
