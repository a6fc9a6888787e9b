#pragma once
// The deal information dialog: the points and length of each suit of one
// hand, its total points and its distribution, titled with the seat's name.
#include <QDialog>

class QLabel;
class THand;

class TDealInfo : public QDialog {
    Q_OBJECT
public:
    explicit TDealInfo(QWidget* parent = nullptr);

    // Fills the dialog and places its left edge at x and its top edge at y,
    // each only when greater than 0; then shows it modally until closed.
    void ShowHand(THand& hand, const QString& seatName, int x, int y);
    // The same without showing.
    void Fill(THand& hand, const QString& seatName, int x, int y);

    // [spades, hearts, diamonds, clubs]
    QLabel* lHCP[4] = {};
    QLabel* lL[4] = {};
    QLabel* lHCP0 = nullptr;
    QLabel* lDistr = nullptr;
};
