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
QString ErrorText(const TInputError& error) {
    QString where = QString::fromStdString(error.Where);
    if (where.startsWith(u'-')) where.clear();  // an option's name means nothing in a window
    if (where.isEmpty() && error.Line > 0) where = QStringLiteral("строка %1").arg(error.Line);
    QString message = QString::fromStdString(error.Message);
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

void TStudyWindow::ShowError(const QString& text) { lError->ShowMessage(text); }

void TStudyWindow::ShowError(const TInputError& error, QLineEdit* field) {
    ShowError(ErrorText(error));
    field->setFocus();
    if (error.Position >= 0)
        field->setCursorPosition(Utf16Index(field->text(), error.TextStart + error.Position));
    else
        field->selectAll();
}

void TStudyWindow::ShowError(const TInputError& error, QPlainTextEdit* field) {
    ShowError(ErrorText(error));
    field->setFocus();
    QTextDocument* document = field->document();
    int position = -1;
    if (error.Position >= 0) {
        // The offset counts characters of the whole text, line ends included.
        position = Utf16Index(field->toPlainText(), error.TextStart + error.Position);
    } else if (error.Line > 0) {
        const QTextBlock block = document->findBlockByNumber(error.Line - 1);
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
    edVariants->setMinimumHeight(220);
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
    TInputError error;
    auto comparison = std::make_unique<TVariantComparison>();
    if (!ReadVariantsText(Text().toStdString(), variants, error) ||
        !comparison->Prepare(std::move(variants), Vulnerability(), error)) {
        ShowError(error, edVariants);
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
    TInputError error;
    error.Kind = TInputError::TKind::Usage;
    const TContractReading reading = ReadContract(ContractText().toStdString());
    if (!reading.Contract || reading.Contract->IsPass()) {
        error.Message = reading.Contract ? "при пасе первого хода нет" : reading.Error;
        ShowError(error, edContract);
        return false;
    }
    if (deals_.empty()) {
        ShowError(QStringLiteral("Нет раздач: сгенерируйте или загрузите их."));
        return false;
    }
    const TContract contract = *reading.Contract;
    const int32_t leader = LeftHandOpponent(contract.Declarer);
    const std::vector<int32_t> cards = TLeadStudy::LeaderCards(*deals_.front(), leader);
    for (std::size_t i = 1; i < deals_.size(); ++i) {
        if (TLeadStudy::LeaderCards(*deals_[i], leader) == cards) continue;
        ShowError(QStringLiteral("Ходит %1: в раздаче %2 у %3 другие карты, чем в первой. "
                                 "Рука ходящего должна быть одна во всех раздачах — "
                                 "закрепите его 13 карт и сгенерируйте раздачи заново.")
                      .arg(QString::fromStdString(std::string(SeatLetter(leader))))
                      .arg(i + 1)
                      .arg(QString::fromStdString(std::string(SeatGenitive(leader)))));
        return false;
    }
    auto study = std::make_unique<TLeadStudy>();
    if (!study->Prepare(contract, Vulnerability(), cards, error)) {
        ShowError(error, edContract);
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
    TInputError error;
    for (int i = 0; i < Fields; ++i) {
        QLineEdit* field = edExpressions[static_cast<std::size_t>(i)];
        if (field->text().trimmed().isEmpty()) continue;
        const std::string text = field->text().toStdString();
        TTabulation alone;
        if (!alone.Prepare({text}, false, error)) {
            error.Where = "выражение " + std::to_string(i + 1);
            ShowError(error, field);
            return false;
        }
        expressions.push_back(text);
    }
    if (expressions.empty()) {
        ShowError(QStringLiteral("Задайте хотя бы одно выражение."));
        edExpressions[0]->setFocus();
        return false;
    }
    auto tabulation = std::make_unique<TTabulation>();
    if (!tabulation->Prepare(std::move(expressions), Cross(), error)) {
        if (error.Where == "--cross") error.Where = "таблица сочетаний";
        ShowError(QString(ErrorText(error)));
        return false;
    }
    study_ = std::move(tabulation);
    return true;
}
