#pragma once
// The setup file "generate.stp": the state record of line 1, the two chooser
// folders, one deal line per deal, "[Conditions]" and the condition's lines.
// Reading and writing the text only; the main window applies what was read.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

struct TStateRecord {
    std::array<bool, 4> SeatShown{true, true, true, true};  // North, East, South, West
    int KeyValue = 0;
    int Total = 0;
    int CurrentDeal = 0;
    int ColumnsCount = 5;
    int WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool HasWidth = false;  // whether the width and height fields held integers
    bool HasHeight = false;
    // The fixed cards' text (ReadFixedCards reads it), after the 65 characters
    // and " [Fixed] "; nothing is written while nothing is fixed, so such a
    // record is the 65 characters alone, and a reader of those alone loses
    // nothing else.
    QString FixedCards;
};

// The 65-character record: each integer right-aligned in its field, only its
// last characters kept when it is longer than the field; then the fixed cards.
QString FormatStateRecord(const TStateRecord& record);
// Fields that are missing or no integer keep the defaults of TStateRecord.
TStateRecord ParseStateRecord(const QString& line);

struct TSetupContent {
    TStateRecord State;
    QString DealsFolder;
    QString ConditionsFolder;
    QList<QByteArray> DealLines;  // plain ASCII, as the deals give them
    QStringList ConditionLines;
    // False when the reading stopped before the end of the bytes: a state
    // record longer than any written, or lines left after an empty line that
    // ended the deals. Writing back what was read would lose the rest.
    bool Whole = true;
};

// The file's bytes: Windows-1251, CR LF after every line but the last
// condition line (an empty condition leaves "[Conditions]" CR LF last).
QByteArray FormatSetup(const TSetupContent& content);
// Deal lines run up to "[Conditions]", an empty line or the end; the condition
// is read only when "[Conditions]" ended them. Never fails.
TSetupContent ParseSetup(const QByteArray& bytes);
