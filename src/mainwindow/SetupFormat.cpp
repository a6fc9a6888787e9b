#include "mainwindow/SetupFormat.h"

#include "mainwindow/TextFile.h"

namespace {

const QString ConditionsMark = QStringLiteral("[Conditions]");

// Field widths of the state record, in order after the four seat flags.
constexpr int NumberWidth = 10;
constexpr int BoundsWidth = 5;

QString RightAligned(int value, int width) {
    const QString text = QString::number(value);
    return text.size() > width ? text.right(width) : text.rightJustified(width, u' ');
}

// The field's integer, when its characters (fewer at the end of a short line)
// are an optional "-" and at least one digit once blanks are dropped.
bool FieldInteger(const QString& line, int start, int width, int& value) {
    const QString field = line.mid(start, width).trimmed();
    int i = field.startsWith(u'-') ? 1 : 0;
    if (i >= field.size()) return false;
    for (int k = i; k < field.size(); ++k)
        if (field[k] < u'0' || field[k] > u'9') return false;
    bool ok = false;
    const int parsed = field.toInt(&ok);  // false when it does not fit 32 bits
    if (ok) value = parsed;
    return ok;
}

}  // namespace

QString FormatStateRecord(const TStateRecord& record) {
    QString line;
    for (bool shown : record.SeatShown) line += shown ? u'1' : u'0';
    line += RightAligned(record.KeyValue, NumberWidth);
    line += RightAligned(record.Total, NumberWidth);
    line += RightAligned(record.CurrentDeal, NumberWidth);
    line += RightAligned(record.ColumnsCount, NumberWidth);
    line += RightAligned(record.WindowState, 1);
    line += RightAligned(record.Left, BoundsWidth);
    line += RightAligned(record.Top, BoundsWidth);
    line += RightAligned(record.Width, BoundsWidth);
    line += RightAligned(record.Height, BoundsWidth);
    return line;
}

TStateRecord ParseStateRecord(const QString& line) {
    TStateRecord record;
    for (int seat = 0; seat < 4; ++seat) record.SeatShown[seat] = line.mid(seat, 1) != u"0";
    int position = 4;
    for (int* field : {&record.KeyValue, &record.Total, &record.CurrentDeal, &record.ColumnsCount}) {
        FieldInteger(line, position, NumberWidth, *field);
        position += NumberWidth;
    }
    record.WindowState = line.mid(position, 1) == u"2" ? 2 : 0;
    position += 1;
    FieldInteger(line, position, BoundsWidth, record.Left);
    FieldInteger(line, position + BoundsWidth, BoundsWidth, record.Top);
    record.HasWidth = FieldInteger(line, position + 2 * BoundsWidth, BoundsWidth, record.Width);
    record.HasHeight = FieldInteger(line, position + 3 * BoundsWidth, BoundsWidth, record.Height);
    return record;
}

QByteArray FormatSetup(const TSetupContent& content) {
    QString text;
    const QString lineEnd = QStringLiteral("\r\n");
    text += FormatStateRecord(content.State) + lineEnd;
    text += content.DealsFolder + lineEnd;
    text += content.ConditionsFolder + lineEnd;
    for (const QString& deal : content.DealLines) text += deal + lineEnd;
    text += ConditionsMark + lineEnd;
    text += content.ConditionLines.join(lineEnd);
    return EncodeWindows1251(text);
}

TSetupContent ParseSetup(const QByteArray& bytes) {
    TSetupContent content;
    const QStringList lines = DecodeWindows1251Lines(bytes);
    content.State = ParseStateRecord(lines.value(0));
    content.DealsFolder = lines.value(1);
    content.ConditionsFolder = lines.value(2);
    qsizetype next = 3;
    while (next < lines.size() && !lines[next].isEmpty() && lines[next] != ConditionsMark)
        content.DealLines.append(lines[next++]);
    if (next < lines.size() && lines[next] == ConditionsMark)
        content.ConditionLines = lines.mid(next + 1);
    return content;
}
