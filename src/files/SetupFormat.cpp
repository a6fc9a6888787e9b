#include "files/SetupFormat.h"

#include "files/TextFile.h"

namespace {

const QString ConditionsMark = QStringLiteral("[Conditions]");
// Between the state record and the fixed cards' text.
const QString FixedCardsMark = QStringLiteral(" [Fixed] ");

// Field widths of the state record, in order after the four seat flags.
constexpr int NumberWidth = 10;
constexpr int BoundsWidth = 5;
constexpr int StateRecordLength = 4 + 4 * NumberWidth + 1 + 4 * BoundsWidth;

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
    if (!record.FixedCards.isEmpty()) line += FixedCardsMark + record.FixedCards;
    return line;
}

TStateRecord ParseStateRecord(const QString& line) {
    TStateRecord record;
    for (int seat = 0; seat < 4; ++seat) record.SeatShown[seat] = line.mid(seat, 1) != u"0";
    int position = 4;
    for (int* field :
         {&record.KeyValue, &record.Total, &record.CurrentDeal, &record.ColumnsCount}) {
        FieldInteger(line, position, NumberWidth, *field);
        position += NumberWidth;
    }
    record.WindowState = line.mid(position, 1) == u"2" ? 2 : 0;
    position += 1;
    FieldInteger(line, position, BoundsWidth, record.Left);
    FieldInteger(line, position + BoundsWidth, BoundsWidth, record.Top);
    record.HasWidth = FieldInteger(line, position + 2 * BoundsWidth, BoundsWidth, record.Width);
    record.HasHeight = FieldInteger(line, position + 3 * BoundsWidth, BoundsWidth, record.Height);
    // Only the mark makes the rest fixed cards: whatever else a line held there
    // is ignored as it always was.
    const QString rest = line.mid(position + 4 * BoundsWidth);
    if (rest.startsWith(FixedCardsMark))
        record.FixedCards = rest.mid(FixedCardsMark.size()).trimmed();
    return record;
}

QByteArray FormatSetupHead(const TSetupContent& content) {
    const QString lineEnd = QStringLiteral("\r\n");
    return EncodeWindows1251(FormatStateRecord(content.State) + lineEnd + content.DealsFolder +
                             lineEnd + content.ConditionsFolder + lineEnd);
}

QByteArray FormatSetupTail(const QStringList& conditionLines) {
    const QString lineEnd = QStringLiteral("\r\n");
    return EncodeWindows1251(ConditionsMark + lineEnd + conditionLines.join(lineEnd));
}

QByteArray FormatSetup(const TSetupContent& content) {
    QByteArray bytes = FormatSetupHead(content);
    // The deal lines, which can be millions, are appended as they are.
    bytes.reserve(bytes.size() + content.DealLines.size() * 110 + 64);
    for (const QByteArray& deal : content.DealLines) {
        bytes += deal;
        bytes += "\r\n";
    }
    bytes += FormatSetupTail(content.ConditionLines);
    return bytes;
}

TSetupParser::TSetupParser(std::function<void(std::string_view)> takeDealLine)
    : takeDealLine_(std::move(takeDealLine)) {}

void TSetupParser::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t lineFeed = bytes.find('\n');
        if (lineFeed == std::string_view::npos) {
            partial_.append(bytes);
            return;
        }
        if (partial_.empty()) {
            TakeLine(bytes.substr(0, lineFeed), true);
        } else {
            partial_.append(bytes.substr(0, lineFeed));
            TakeLine(partial_, true);
            partial_.clear();
        }
        bytes.remove_prefix(lineFeed + 1);
    }
}

void TSetupParser::TakeLine(std::string_view line, bool ended) {
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto bytesOf = [](std::string_view text) {
        return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    };
    switch (part_) {
        case TPart::Record:
            record_ = bytesOf(line);
            part_ = TPart::DealsFolder;
            break;
        case TPart::DealsFolder:
            dealsFolder_ = bytesOf(line);
            part_ = TPart::ConditionsFolder;
            break;
        case TPart::ConditionsFolder:
            conditionsFolder_ = bytesOf(line);
            part_ = TPart::Deals;
            break;
        case TPart::Deals:
            if (line.empty()) {
                endedByEmptyLine_ = true;
                part_ = TPart::Rest;
            } else if (line == std::string_view("[Conditions]")) {
                part_ = TPart::Condition;
            } else {
                takeDealLine_(line);
            }
            break;
        case TPart::Condition:
            conditionLines_.append(DecodeWindows1251(bytesOf(line)));
            break;
        case TPart::Rest:
            break;  // after an empty line nothing more is read
    }
}

TSetupContent TSetupParser::Finish() {
    if (!partial_.empty()) TakeLine(partial_, false);
    partial_.clear();
    TSetupContent content;
    content.State = ParseStateRecord(DecodeWindows1251(record_));
    content.DealsFolder = DecodeWindows1251(dealsFolder_);
    content.ConditionsFolder = DecodeWindows1251(conditionsFolder_);
    content.ConditionLines = conditionLines_;
    QByteArray record = record_;
    if (record.endsWith('\r')) record.chop(1);  // a file cut between CR and LF
    // Fixed cards after the record are read whole: only other text there is lost.
    const bool recordWhole = record.size() <= StateRecordLength ||
                             record.mid(StateRecordLength).startsWith(FixedCardsMark.toLatin1());
    content.Whole = recordWhole && !endedByEmptyLine_;
    return content;
}

TSetupContent ParseSetup(const QByteArray& bytes) {
    QList<QByteArray> dealLines;
    TSetupParser parser([&dealLines](std::string_view line) {
        dealLines.append(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    });
    parser.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    TSetupContent content = parser.Finish();
    content.DealLines = std::move(dealLines);
    return content;
}
