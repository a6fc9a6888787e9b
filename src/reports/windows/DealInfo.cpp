#include "reports/windows/DealInfo.h"

#include <QLabel>
#include <system_error>

#include "analysis/DoubleDummy.h"
#include "deals/Board.h"
#include "deals/Deal.h"
#include "deals/Hand.h"
#include "reports/AnalysisReport.h"
#include "widgets/ScreenFit.h"

namespace {

QLabel* Placed(QWidget* parent, const QString& name, const QFont& font, int left, int top,
               int width = 0, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment);
    if (width > 0)
        label->setGeometry(left, top, width, 16);
    else
        label->move(left, top);
    return label;
}

}  // namespace

TDealInfo::TDealInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("DealInfo"));
    setFixedSize(188, 140);
    move(382, 88);
    QFont text;
    text.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono"});
    text.setPixelSize(13);
    QFont symbols;
    symbols.setFamilies({"DejaVu Sans", "Symbol"});
    symbols.setPixelSize(11);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    Placed(this, QStringLiteral("Label3"), text, 60, 16, 38, right)->setText(QStringLiteral("HCP"));
    Placed(this, QStringLiteral("Label7"), text, 116, 16, 50, right)
        ->setText(QStringLiteral("Длина"));
    // Spades, hearts, diamonds, clubs, each in its colour.
    const QString suitSymbols[4] = {QStringLiteral("\u2660"), QStringLiteral("\u2665"),
                                    QStringLiteral("\u2666"), QStringLiteral("\u2663")};
    const QColor suitColors[4] = {QColor(), QColor(255, 0, 0), QColor(128, 0, 0),
                                  QColor(0, 0, 128)};
    const char* const symbolNames[4] = {"Label6", "Label5", "Label4", "Label2"};
    const char* const pointNames[4] = {"lHCPS", "lHCPH", "lHCPd", "lHCPc"};
    const char* const lengthNames[4] = {"lLS", "lLH", "lLD", "lLC"};
    for (int suit = 0; suit < 4; ++suit) {
        QLabel* symbol =
            Placed(this, QLatin1String(symbolNames[suit]), symbols, 23, 40 + 16 * suit);
        symbol->setText(suitSymbols[suit]);
        if (suitColors[suit].isValid())
            symbol->setStyleSheet(QStringLiteral("color: %1").arg(suitColors[suit].name()));
        symbol->adjustSize();
        lHCP[suit] =
            Placed(this, QLatin1String(pointNames[suit]), text, 60, 38 + 16 * suit, 38, right);
        lL[suit] =
            Placed(this, QLatin1String(lengthNames[suit]), text, 116, 38 + 16 * suit, 50, right);
    }
    Placed(this, QStringLiteral("Label1"), text, 9, 110)->setText(QStringLiteral("Всего"));
    findChild<QLabel*>(QStringLiteral("Label1"))->adjustSize();
    lHCP0 = Placed(this, QStringLiteral("lHCP0"), text, 60, 110, 38, right);
    lDistr = Placed(this, QStringLiteral("lDistr"), text, 112, 110);
}

void TDealInfo::Fill(THand& hand, const QString& seatName, int x, int y) {
    if (x > 0 || y > 0) move(x > 0 ? x : this->x(), y > 0 ? y : this->y());
    FitIntoScreen(this);
    setWindowTitle(seatName);
    lHCP0->setText(QString::number(hand.HCP(0)));
    for (int suit = 0; suit < 4; ++suit) {  // spades (suit 4) first
        lHCP[suit]->setText(QString::number(hand.HCP(4 - suit)));
        lL[suit]->setText(QString::number(hand.SuitLength(4 - suit)));
    }
    lDistr->setText(QStringLiteral("%1-%2-%3-%4")
                        .arg(hand.SuitByLength(1))
                        .arg(hand.SuitByLength(2))
                        .arg(hand.SuitByLength(3))
                        .arg(hand.SuitByLength(4)));
    lDistr->adjustSize();
}

void TDealInfo::ShowHand(THand& hand, const QString& seatName, int x, int y) {
    Fill(hand, seatName, x, y);
    exec();
}

TDealInfo::~TDealInfo() {
    if (solver_.joinable()) solver_.join();
}

void TDealInfo::ShowDealTable(const TDeal& deal, int64_t board) {
    ShowDealTable(deal, PbnBoardDealer(board), std::string(PbnBoardVulnerability(board)));
}

void TDealInfo::ShowDealTable(const TDeal& deal, int32_t dealer, const std::string& vulnerability) {
    if (lPar != nullptr || solver_.joinable()) return;
    QFont text;
    text.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono"});
    text.setPixelSize(13);
    // Below the hand's figures: the declarers across, the strains down.
    lTricksHeading = Placed(this, QStringLiteral("lTricksHeading"), text, 9, 136, 170);
    lTricksHeading->setText(QStringLiteral("Взятки   С  В  Ю  З"));
    const char* const names[5] = {"lTricksNT", "lTricksS", "lTricksH", "lTricksD", "lTricksC"};
    const QString strains[5] = {QStringLiteral("БК"), QStringLiteral("\u2660"),
                                QStringLiteral("\u2665"), QStringLiteral("\u2666"),
                                QStringLiteral("\u2663")};
    for (int row = 0; row < 5; ++row) {
        lTricks[row] = Placed(this, QLatin1String(names[row]), text, 9, 152 + 16 * row, 170);
        lTricks[row]->setText(strains[row].leftJustified(7) + QStringLiteral("  -  -  -  -"));
    }
    lPar = Placed(this, QStringLiteral("lPar"), text, 9, 236, 170);
    lPar->setText(QStringLiteral("Считается..."));
    setFixedSize(188, 260);

    // The worker has its own copy of the deal; its answer is delivered on the
    // dialog's thread, and a dialog closed earlier waits for it in its destructor
    // (the queued answer dies with the dialog).
    try {
        solver_ = std::thread([this, copy = deal, dealer, vulnerability] {
            TDealAnalysis analysis = AnalyseDeal(copy);
            QMetaObject::invokeMethod(
                this,
                [this, analysis, dealer, vulnerability] {
                    FillTable(analysis, dealer, vulnerability);
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to spare: the table is solved here, a fraction of a second.
        FillTable(AnalyseDeal(deal), dealer, vulnerability);
    }
}

void TDealInfo::FillTable(TDealAnalysis analysis, int32_t dealer,
                          const std::string& vulnerability) {
    tableReady_ = true;
    if (!analysis.Solved) {
        lPar->setText(QStringLiteral("Не анализируется"));
        lPar->setToolTip(QString::fromStdString(analysis.Fault));
        return;
    }
    const int strains[5] = {NoTrump, 4, 3, 2, 1};
    for (int row = 0; row < 5; ++row) {
        QString line = lTricks[row]->text().left(7);
        for (int seat = 1; seat <= 4; ++seat)
            line += QStringLiteral("%1").arg(analysis.Table.At(seat, strains[row]), 3);
        lTricks[row]->setText(line);
    }
    analysis.Par.reset();
    AddPar(analysis, dealer, vulnerability);
    const TParResult par = analysis.Par.value_or(TParResult());
    if (analysis.Par)
        lPar->setText(QString::fromStdString(RussianParText(par, false)));
    else
        lPar->setText(QStringLiteral("Пар не вычислен"));
    lPar->setToolTip(QString::fromStdString(RussianParText(par, true)));
}
