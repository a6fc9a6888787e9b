#include "dialogs/StudyWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "simulation/Contract.h"
#include "simulation/LeadStudy.h"
#include "simulation/Tabulation.h"
#include "simulation/VariantComparison.h"
#include "simulation/Variants.h"
#include "widgets/DialogButtons.h"

namespace {

// The UTF-16 index of the character (code point) at `characters` in `text`;
// the end when the text is shorter.
int Utf16Index(const QString& text, int characters) {
    int index = 0;
    for (int remaining = std::max(0, characters); index < text.size() && remaining > 0; --remaining)
        index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return index;
}

// "Вариант «Стейман», правило 2: ..." — where the fault lies, then the message.
QString ErrorText(const TStatus& status) {
    QString where = QString::fromStdString(status.Where());
    if (where.startsWith(u'-')) where.clear();  // an option's name means nothing in a window
    if (where.isEmpty() && status.Line() > 0)
        where = QStringLiteral("строка %1").arg(status.Line());
    QString message = QString::fromStdString(status.Message());
    if (where.isEmpty()) {
        if (!message.isEmpty()) message[0] = message[0].toUpper();
        return message;
    }
    where[0] = where[0].toUpper();
    return where + QStringLiteral(": ") + message;
}

}  // namespace

TStudyWindow::TStudyWindow(QWidget* owner, const QString& caption) : QDialog(owner) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    layout_ = new QVBoxLayout(this);
}

void TStudyWindow::FinishLayout() {
    lError = new TErrorLabel(this);
    layout_->addWidget(lError);

    layout_->addLayout(NewOkCancelRow(this, btnOk, btnCancel));
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &TStudyWindow::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(480);
}

void TStudyWindow::btnOkClick() {
    study_.reset();
    lError->hide();
    if (Check()) accept();
}

void TStudyWindow::ShowError(const TStatus& status) { lError->ShowMessage(ErrorText(status)); }

void TStudyWindow::ShowError(const TStatus& status, QLineEdit* field) {
    ShowError(status);
    field->setFocus();
    if (status.Position() >= 0)
        field->setCursorPosition(Utf16Index(field->text(), status.TextStart() + status.Position()));
    else
        field->selectAll();
}

void TStudyWindow::ShowError(const TStatus& status, QPlainTextEdit* field) {
    ShowError(status);
    field->setFocus();
    QTextDocument* document = field->document();
    int position = -1;
    if (status.Position() >= 0) {
        // The offset counts characters of the whole text, line ends included.
        position = Utf16Index(field->toPlainText(), status.TextStart() + status.Position());
    } else if (status.Line() > 0) {
        const QTextBlock block = document->findBlockByNumber(status.Line() - 1);
        if (block.isValid()) position = block.position();
    }
    if (position < 0) return;
    QTextCursor cursor = field->textCursor();
    cursor.setPosition(std::min(position, document->characterCount() - 1));
    field->setTextCursor(cursor);
}

// ---- Studies that score contracts -----------------------------------------

void TContractStudyWindow::SetInputs(const QString& text, TVulnerability vulnerability) {
    SetText(text);
    cbVulnerability->setCurrentIndex(static_cast<int>(vulnerability));
}

TVulnerability TContractStudyWindow::Vulnerability() const {
    return static_cast<TVulnerability>(cbVulnerability->currentIndex());
}

void TContractStudyWindow::AddVulnerabilityRow(QFormLayout* rows) {
    cbVulnerability = new QComboBox(this);
    cbVulnerability->setObjectName(QStringLiteral("cbVulnerability"));
    for (const TVulnerability vulnerability : {TVulnerability::None, TVulnerability::NorthSouth,
                                               TVulnerability::EastWest, TVulnerability::Both})
        cbVulnerability->addItem(
            QString::fromStdString(std::string(VulnerabilityCaption(vulnerability))));
    rows->addRow(QStringLiteral("Зона"), cbVulnerability);
}

// ---- Сравнение вариантов --------------------------------------------------

TVariantsWindow::TVariantsWindow(QWidget* owner)
    : TContractStudyWindow(owner, QStringLiteral("Сравнение вариантов")) {
    auto* description = new QLabel(
        QStringLiteral("Вариант начинается строкой «НАЗВАНИЕ:», за ней по правилу в строке:\n"
                       "«УСЛОВИЕ => КОНТРАКТ РАЗЫГРЫВАЮЩИЙ» или в последней строке просто\n"
                       "«КОНТРАКТ РАЗЫГРЫВАЮЩИЙ», например 3NT N, 4S S, 5CX E, PASS.\n"
                       "В каждой раздаче вариант играет контракт первого правила, условие\n"
                       "которого выполнено. Счёт — за линию N-S."),
        this);
    layout_->addWidget(description);
    edVariants = new QPlainTextEdit(this);
    edVariants->setObjectName(QStringLiteral("edVariants"));
    edVariants->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edVariants->setPlaceholderText(
        QStringLiteral("Пас:\n2NT N\n\nИгра:\n3NT N\n\nСтейман:\n(SuitLength(S,H) >= 4) AND "
                       "(SuitLength(N,H) >= 4) => 4H N\n3NT N"));
    // Room for a few variants, small enough for a scaled screen with a message below.
    edVariants->setMinimumHeight(edVariants->fontMetrics().lineSpacing() * 8);
    layout_->addWidget(edVariants);
    auto* rows = new QFormLayout;
    AddVulnerabilityRow(rows);
    layout_->addLayout(rows);
    FinishLayout();
}

void TVariantsWindow::SetText(const QString& text) { edVariants->setPlainText(text); }

QString TVariantsWindow::Text() const { return edVariants->toPlainText(); }

bool TVariantsWindow::Check() {
    std::vector<TVariant> variants;
    auto comparison = std::make_unique<TVariantComparison>();
    TStatus status = ReadVariantsText(Text().toStdString(), variants);
    if (status.IsOk()) status = comparison->Prepare(std::move(variants), Vulnerability());
    if (!status.IsOk()) {
        ShowError(status, edVariants);
        return false;
    }
    study_ = std::move(comparison);
    return true;
}

// ---- Первый ход -----------------------------------------------------------

TLeadWindow::TLeadWindow(std::vector<const TDeal*> deals, QWidget* owner)
    : TContractStudyWindow(owner, QStringLiteral("Первый ход")), deals_(std::move(deals)) {
    auto* description = new QLabel(
        QStringLiteral("Ходит левый противник разыгрывающего; во всех раздачах у него\n"
                       "должны быть одни и те же 13 карт (закрепите их перед генерацией)."),
        this);
    layout_->addWidget(description);
    auto* rows = new QFormLayout;
    edContract = new QLineEdit(this);
    edContract->setObjectName(QStringLiteral("edContract"));
    edContract->setPlaceholderText(QStringLiteral("3NT S"));
    rows->addRow(QStringLiteral("Контракт и разыгрывающий"), edContract);
    AddVulnerabilityRow(rows);
    layout_->addLayout(rows);
    FinishLayout();
}

void TLeadWindow::SetText(const QString& contract) { edContract->setText(contract); }

QString TLeadWindow::ContractText() const { return edContract->text().trimmed(); }

bool TLeadWindow::Check() {
    const TContractReading reading = ReadContract(ContractText().toStdString());
    auto study = std::make_unique<TLeadStudy>();
    const TStatus status = reading.Contract
                               ? study->Prepare(*reading.Contract, Vulnerability(), deals_)
                               : TStatus::Usage(reading.Error);
    if (!status.IsOk()) {
        ShowError(status, edContract);
        return false;
    }
    study_ = std::move(study);
    return true;
}

// ---- Распределение --------------------------------------------------------

TTabulationWindow::TTabulationWindow(QWidget* owner)
    : TStudyWindow(owner, QStringLiteral("Распределение")) {
    auto* description = new QLabel(
        QStringLiteral("До четырёх целых или логических выражений языка условий, например\n"
                       "HCP(N) + HCP(S), Tricks(N, SP), (SuitLength(N,SP) + SuitLength(S,SP)) "
                       ">= 8."),
        this);
    layout_->addWidget(description);
    auto* rows = new QFormLayout;
    for (int i = 0; i < Fields; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("edExpression%1").arg(i + 1));
        rows->addRow(QStringLiteral("Выражение %1").arg(i + 1), field);
        edExpressions[static_cast<std::size_t>(i)] = field;
    }
    layout_->addLayout(rows);
    cbCross = new QCheckBox(QStringLiteral("Таблица сочетаний первых двух выражений"), this);
    cbCross->setObjectName(QStringLiteral("cbCross"));
    layout_->addWidget(cbCross);
    FinishLayout();
}

void TTabulationWindow::SetInputs(const QStringList& expressions, bool cross) {
    for (int i = 0; i < Fields; ++i)
        edExpressions[static_cast<std::size_t>(i)]->setText(i < expressions.size() ? expressions[i]
                                                                                   : QString());
    cbCross->setChecked(cross);
}

QStringList TTabulationWindow::Expressions() const {
    QStringList texts;
    for (const QLineEdit* field : edExpressions) texts << field->text();
    return texts;
}

bool TTabulationWindow::Cross() const { return cbCross->isChecked(); }

bool TTabulationWindow::Check() {
    // Each filled field alone first, so that a fault points into its own field.
    std::vector<std::string> expressions;
    for (int i = 0; i < Fields; ++i) {
        QLineEdit* field = edExpressions[static_cast<std::size_t>(i)];
        if (field->text().trimmed().isEmpty()) continue;
        const std::string text = field->text().toStdString();
        TTabulation alone;
        if (TStatus status = alone.Prepare({text}, false); !status.IsOk()) {
            ShowError(status.SetWhere("выражение " + std::to_string(i + 1)), field);
            return false;
        }
        expressions.push_back(text);
    }
    const bool none = expressions.empty();
    auto tabulation = std::make_unique<TTabulation>();
    if (TStatus status = tabulation->Prepare(std::move(expressions), Cross()); !status.IsOk()) {
        if (status.Where() == "--cross") status.SetWhere("таблица сочетаний");
        if (none)
            ShowError(status, edExpressions[0]);
        else
            ShowError(status);
        return false;
    }
    study_ = std::move(tabulation);
    return true;
}
