#pragma once
// The setup file "generate.stp": the state record of line 1, the two chooser
// folders, one deal line per deal, "[Conditions]" and the condition's lines.
// Reading and writing the text only; the main window applies what was read.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <string_view>

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
    // and " [Fixed] ", as older versions wrote them; the window now keeps them
    // in korvana.ini and writes them here only when that file cannot take
    // them. Empty, the record is the 65 characters alone.
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
// The same bytes in three parts, for a writer that writes the deal lines
// itself: the state record and the two folders, each with its CR LF...
QByteArray FormatSetupHead(const TSetupContent& content);
// ...then each deal line with CR LF, then "[Conditions]" and the condition.
QByteArray FormatSetupTail(const QStringList& conditionLines);

// Reads the bytes of a setup file as they come, in pieces of any size, as
// ParseSetup reads them whole: each deal line goes to `takeDealLine` as soon
// as it is whole (the view lasts for that call only), so a file of millions
// of deals needs no list of lines.
class TSetupParser {
public:
    explicit TSetupParser(std::function<void(std::string_view)> takeDealLine);
    void Feed(std::string_view bytes);
    // The end of the bytes: everything but the deal lines, which went to takeDealLine.
    TSetupContent Finish();

private:
    enum class TPart { Record, DealsFolder, ConditionsFolder, Deals, Condition, Rest };
    // One line without its line end; `ended` when LF ended it (and CR LF is
    // then cut), false for the last line of bytes without a line break.
    void TakeLine(std::string_view line, bool ended);

    std::function<void(std::string_view)> takeDealLine_;
    std::string partial_;  // the bytes of a line not yet ended
    TPart part_ = TPart::Record;
    QByteArray record_, dealsFolder_, conditionsFolder_;
    QStringList conditionLines_;
    bool endedByEmptyLine_ = false;
};
// Deal lines run up to "[Conditions]", an empty line or the end; the condition
// is read only when "[Conditions]" ended them. Never fails.
TSetupContent ParseSetup(const QByteArray& bytes);
