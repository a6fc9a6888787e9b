#pragma once
// The dialogs of the three simulations: comparing variants, the opening lead
// and tabulating expressions. Each only gathers its inputs: OK checks them
// with the simulation's own Prepare, so a fault keeps the dialog open with its
// message under the fields and the caret where the fault lies; accepted, the
// dialog hands back the prepared study, ready to run.
#include <QDialog>
#include <array>
#include <memory>
#include <vector>

#include "simulation/DealStudy.h"
#include "simulation/Scoring.h"
#include "text/Status.h"
#include "widgets/ErrorLabel.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class TDeal;

// What the three dialogs share: the message label, OK and Cancel, and the
// study prepared on OK.
class TStudyWindow : public QDialog {
    Q_OBJECT
public:
    // The study prepared on OK; null before it and after Cancel.
    std::unique_ptr<TDealStudy> TakeStudy() { return std::move(study_); }

    TErrorLabel* lError = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    TStudyWindow(QWidget* owner, const QString& caption);
    // Adds the message label and the buttons below the fields; OK calls Check.
    void FinishLayout();
    // Prepares the study from the fields: false after showing why not.
    virtual bool Check() = 0;
    // Shows the status's message; with a position, the caret goes to that
    // character of the field.
    void ShowError(const TStatus& status);
    void ShowError(const TStatus& status, QLineEdit* field);
    void ShowError(const TStatus& status, QPlainTextEdit* field);

    QVBoxLayout* layout_ = nullptr;
    std::unique_ptr<TDealStudy> study_;

private:
    void btnOkClick();
};

// The studies that score contracts: each window's own text field and the
// "Зона" row, the vulnerability the contracts are scored at.
class TContractStudyWindow : public TStudyWindow {
    Q_OBJECT
public:
    void SetInputs(const QString& text, TVulnerability vulnerability);
    TVulnerability Vulnerability() const;

    QComboBox* cbVulnerability = nullptr;

protected:
    using TStudyWindow::TStudyWindow;
    // Adds the combo box of the four vulnerabilities, in TVulnerability's order.
    void AddVulnerabilityRow(QFormLayout* rows);
    // Puts the text of SetInputs into the window's own field.
    virtual void SetText(const QString& text) = 0;
};

// "Сравнение вариантов": the variants as text, one rule a line, and the vulnerability.
class TVariantsWindow : public TContractStudyWindow {
    Q_OBJECT
public:
    explicit TVariantsWindow(QWidget* owner = nullptr);
    QString Text() const;

    QPlainTextEdit* edVariants = nullptr;

protected:
    void SetText(const QString& text) override;
    bool Check() override;
};

// "Первый ход": the contract with its declarer and the vulnerability. The
// leader must hold the same thirteen cards in every deal given.
class TLeadWindow : public TContractStudyWindow {
    Q_OBJECT
public:
    // The deals the lead is studied over; the window does not own them.
    TLeadWindow(std::vector<const TDeal*> deals, QWidget* owner = nullptr);
    QString ContractText() const;

    QLineEdit* edContract = nullptr;

protected:
    void SetText(const QString& contract) override;
    bool Check() override;

private:
    std::vector<const TDeal*> deals_;
};

// "Распределение": up to four expressions and the table of the first two crossed.
class TTabulationWindow : public TStudyWindow {
    Q_OBJECT
public:
    static constexpr int Fields = 4;
    explicit TTabulationWindow(QWidget* owner = nullptr);
    void SetInputs(const QStringList& expressions, bool cross);
    QStringList Expressions() const;  // every field, empty ones too
    bool Cross() const;

    std::array<QLineEdit*, Fields> edExpressions{};
    QCheckBox* cbCross = nullptr;

protected:
    bool Check() override;
};
