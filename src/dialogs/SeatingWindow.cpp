#include "dialogs/SeatingWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "widgets/DialogButtons.h"
#include "widgets/ScreenFit.h"

namespace {

// A board's vulnerability and the word the handout prints for it.
struct TVulnerabilityItem {
    const char* PbnName;
    const char* Caption;
};
constexpr TVulnerabilityItem Vulnerabilities[] = {
    {"None", "никто"}, {"NS", "СЮ"}, {"EW", "ВЗ"}, {"All", "обе"}};

const QString Rotation = QStringLiteral("по порядку сдач");

}  // namespace

TSeatingWindow::TSeatingWindow(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Сдающий и зона"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* description = new QLabel(
        QStringLiteral("Для раздач, которые сдаёт генератор; раздачи из файлов сохраняют свои.\n"
                       "«По порядку сдач» — по номеру сдачи, как в турнире: в сдаче 1\n"
                       "сдаёт Север, зона никто, в сдаче 2 — Восток, зона СЮ, и так далее."),
        this);
    description->setObjectName(QStringLiteral("lDescription"));
    layout->addWidget(description);

    auto* rows = new QFormLayout;
    cmbDealer = new QComboBox(this);
    cmbDealer->setObjectName(QStringLiteral("cmbDealer"));
    cmbDealer->addItems({Rotation, QStringLiteral("Север"), QStringLiteral("Восток"),
                         QStringLiteral("Юг"), QStringLiteral("Запад")});
    rows->addRow(QStringLiteral("Сдающий"), cmbDealer);
    cmbVulnerability = new QComboBox(this);
    cmbVulnerability->setObjectName(QStringLiteral("cmbVulnerability"));
    cmbVulnerability->addItem(Rotation);
    for (const TVulnerabilityItem& item : Vulnerabilities)
        cmbVulnerability->addItem(QString::fromUtf8(item.Caption));
    rows->addRow(QStringLiteral("Зона"), cmbVulnerability);
    layout->addLayout(rows);

    layout->addLayout(NewOkCancelRow(this, btnOk, btnCancel));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<TSeatingChoice> TSeatingWindow::Execute(const TSeatingChoice& current) {
    cmbDealer->setCurrentIndex(current.Dealer.value_or(0));
    int vulnerability = 0;
    for (std::size_t i = 0; i < std::size(Vulnerabilities); ++i)
        if (current.Vulnerability == Vulnerabilities[i].PbnName)
            vulnerability = static_cast<int>(i) + 1;
    cmbVulnerability->setCurrentIndex(vulnerability);
    cmbDealer->setFocus();
    if (QWidget* owner = parentWidget()) move(owner->pos() + QPoint(100, 30));
    FitIntoScreen(this);
    if (exec() != QDialog::Accepted) return std::nullopt;
    TSeatingChoice choice;
    if (cmbDealer->currentIndex() > 0) choice.Dealer = cmbDealer->currentIndex();
    if (const int chosen = cmbVulnerability->currentIndex(); chosen > 0)
        choice.Vulnerability = Vulnerabilities[chosen - 1].PbnName;
    return choice;
}
