#pragma once
// The deal information dialog: the points and length of each suit of one
// hand, its total points and its distribution, titled with the seat's name.
#include <QDialog>
#include <cstdint>
#include <string>
#include <thread>

class QLabel;
class TDeal;
class THand;
struct TDealAnalysis;

class TDealInfo : public QDialog {
    Q_OBJECT
public:
    explicit TDealInfo(QWidget* parent = nullptr);
    // Waits for the table's solve when the dialog closes before it is ready.
    ~TDealInfo() override;

    // Fills the dialog and places its left edge at x and its top edge at y,
    // each only when greater than 0; then shows it modally until closed.
    void ShowHand(THand& hand, const QString& seatName, int x, int y);
    // The same without showing.
    void Fill(THand& hand, const QString& seatName, int x, int y);

    // Adds the deal's double-dummy table (strains by declarers) and its par for
    // the board's dealer (1..4) and vulnerability ("None", "NS", "EW", "All")
    // below the hand's figures. The table is solved on a worker thread: the
    // dialog shows at once and the table fills in.
    void ShowDealTable(const TDeal& deal, int32_t dealer, const std::string& vulnerability);
    // The same for board number `board` of the usual rotation.
    void ShowDealTable(const TDeal& deal, int64_t board);
    bool TableReady() const { return tableReady_; }

    // [spades, hearts, diamonds, clubs]
    QLabel* lHCP[4] = {};
    QLabel* lL[4] = {};
    QLabel* lHCP0 = nullptr;
    QLabel* lDistr = nullptr;
    // The table's heading, its rows (notrump, spades .. clubs) and the par line.
    QLabel* lTricksHeading = nullptr;
    QLabel* lTricks[5] = {};
    QLabel* lPar = nullptr;

private:
    void FillTable(TDealAnalysis analysis, int32_t dealer, const std::string& vulnerability);

    std::thread solver_;
    bool tableReady_ = false;
};
