// The text of the setup file and of the conditions file, without windows.
#include <QTest>

#include "files/ConditionsFormat.h"
#include "files/SettingsFile.h"
#include "files/SetupFormat.h"
#include "files/TextFile.h"

class TSetupFormatTest : public QObject {
    Q_OBJECT
private slots:
    void StateRecordColumns() {
        TStateRecord record;
        record.SeatShown = {true, false, true, false};
        record.KeyValue = -5;
        record.Total = 10;
        record.CurrentDeal = 3;
        record.ColumnsCount = 5;
        record.WindowState = 2;
        record.Left = -32000;  // too wide: its last five characters
        record.Top = 134;
        record.Width = 543;
        record.Height = 420;
        const QString line = FormatStateRecord(record);
        QCOMPARE(line.size(), 65);
        QCOMPARE(line, QStringLiteral(
                           "1010        -5        10         3         5232000  134  543  420"));
    }

    void StateRecordRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("seats");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("hasSize");
        QTest::newRow("whole") << "0110        -5        10         3         7   12  -45  543  420"
                               << "0110" << -5 << 10 << 3 << 7 << 0 << 12 << true;
        QTest::newRow("empty line: defaults") << ""
                                              << "1111" << 0 << 0 << 0 << 5 << 0 << 0 << false;
        QTest::newRow("anything but 0 shows a seat")
            << "x0 1"
            << "1011" << 0 << 0 << 0 << 5 << 0 << 0 << false;
        QTest::newRow("garbage fields take defaults")
            << QStringLiteral("1111") + "      12a3" + "        +7" + "       - 1" + "       abc" +
                   "2" + "  12x" + "    9" + "     "
            << "1111" << 0 << 0 << 0 << 5 << 2 << 0 << false;
        QTest::newRow("minimised reads as normal")
            << QStringLiteral("1111") + "         1" + "         1" + "         0" + "         5" +
                   "1" + "  131" + "  134" + "  543" + "  420"
            << "1111" << 1 << 1 << 0 << 5 << 0 << 131 << true;
        QTest::newRow("beyond 32 bits takes the default")
            << "11119999999999         1         0         5"
            << "1111" << 0 << 1 << 0 << 5 << 0 << 0 << false;
        QTest::newRow("short line: missing fields")
            << "0000         8"
            << "0000" << 8 << 0 << 0 << 5 << 0 << 0 << false;
    }
    void StateRecordRead() {
        QFETCH(QString, line);
        QFETCH(QString, seats);
        const TStateRecord record = ParseStateRecord(line);
        QString shown;
        for (bool seat : record.SeatShown) shown += seat ? u'1' : u'0';
        QCOMPARE(shown, seats);
        QTEST(record.KeyValue, "key");
        QTEST(record.Total, "total");
        QTEST(record.CurrentDeal, "current");
        QTEST(record.ColumnsCount, "columns");
        QTEST(record.WindowState, "state");
        QTEST(record.Left, "left");
        QTEST(record.HasWidth && record.HasHeight, "hasSize");
    }

    // Fixed cards follow the 65 characters after a mark; with none the record
    // is as before, and the fields before them read the same either way.
    // Other text after the record is ignored, as before.
    void FixedCardsFollowTheRecord() {
        TStateRecord record;
        record.KeyValue = 12;
        record.Width = 600;
        record.Height = 400;
        const QString plain = FormatStateRecord(record);
        QCOMPARE(plain.size(), 65);
        QVERIFY(ParseStateRecord(plain).FixedCards.isEmpty());
        record.FixedCards = QStringLiteral("N:AKQJ.K.. S:..A2.");
        const QString line = FormatStateRecord(record);
        QCOMPARE(line, plain + QStringLiteral(" [Fixed] N:AKQJ.K.. S:..A2."));
        QVERIFY(ParseStateRecord(plain + QStringLiteral(" N:AKQJ.K..")).FixedCards.isEmpty());
        QVERIFY(ParseStateRecord(plain + QStringLiteral("[Fixed] N:A...")).FixedCards.isEmpty());
        const TStateRecord back = ParseStateRecord(line);
        QCOMPARE(back.FixedCards, record.FixedCards);
        QCOMPARE(back.KeyValue, 12);
        QCOMPARE(back.Height, 400);
        QVERIFY(back.HasHeight);

        TSetupContent content;
        content.State = record;
        content.DealLines = {QByteArray(108, '1')};
        content.ConditionLines = {QStringLiteral("HCP(N) > 5")};
        const TSetupContent whole = ParseSetup(FormatSetup(content));
        QCOMPARE(whole.State.FixedCards, record.FixedCards);
        QVERIFY(whole.Whole);  // nothing after the record is lost
        QCOMPARE(whole.DealLines, content.DealLines);
        QCOMPARE(whole.ConditionLines, content.ConditionLines);
    }

    void NegativeKeyValueRoundTrip() {
        TStateRecord record;
        record.KeyValue = -5;
        const QString line = FormatStateRecord(record);
        QCOMPARE(line.mid(4, 10), QStringLiteral("        -5"));
        QCOMPARE(ParseStateRecord(line).KeyValue, -5);
    }

    void WholeFileRoundTrip() {
        TSetupContent content;
        content.State.KeyValue = 7;
        content.State.Width = 600;
        content.State.Height = 450;
        content.DealsFolder = QStringLiteral("/tmp/Раздачи/");
        content.ConditionsFolder = QStringLiteral("/home/u/");
        content.DealLines = {QByteArray(108, '1'), QByteArray(108, '2')};
        content.ConditionLines = {QStringLiteral("HCP(North)>=12"), QString(),
                                  QStringLiteral("AND SuitLength(South,Spades) = 5 // пять")};
        const QByteArray bytes = FormatSetup(content);
        QVERIFY(!bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains("\r\n[Conditions]\r\nHCP(North)>=12\r\n\r\nAND"));
        QVERIFY(bytes.contains("\xD0\xE0\xE7\xE4\xE0\xF7\xE8"));  // "Раздачи" in Windows-1251
        const TSetupContent back = ParseSetup(bytes);
        QCOMPARE(back.State.KeyValue, 7);
        QCOMPARE(back.State.Width, 600);
        QCOMPARE(back.DealsFolder, content.DealsFolder);
        QCOMPARE(back.ConditionsFolder, content.ConditionsFolder);
        QCOMPARE(back.DealLines, content.DealLines);
        QCOMPARE(back.ConditionLines, content.ConditionLines);
    }

    void EmptyConditionEndsWithTheMarkLine() {
        TSetupContent content;
        const QByteArray bytes = FormatSetup(content);
        QVERIFY(bytes.endsWith("\r\n\r\n\r\n[Conditions]\r\n"));
        QVERIFY(ParseSetup(bytes).ConditionLines.isEmpty());
    }

    void DealLinesEnd_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("deals");
        QTest::addColumn<QStringList>("condition");
        QTest::newRow("an empty line ends the deals and skips the condition")
            << QByteArray("1111\r\n\r\n\r\nD1\r\n\r\nD2\r\n[Conditions]\r\nx") << 1
            << QStringList{};
        QTest::newRow("the end of the file after the last deal")
            << QByteArray("1111\r\na\r\nb\r\nD1\r\nD2") << 2 << QStringList{};
        QTest::newRow("LF alone ends lines too")
            << QByteArray("1111\n\n\nD1\n[Conditions]\nx\ny") << 1 << QStringList{"x", "y"};
        QTest::newRow("a file of one line") << QByteArray("1111") << 0 << QStringList{};
        QTest::newRow("an empty file") << QByteArray() << 0 << QStringList{};
    }
    void DealLinesEnd() {
        QFETCH(QByteArray, bytes);
        const TSetupContent content = ParseSetup(bytes);
        QTEST(int(content.DealLines.size()), "deals");
        QTEST(content.ConditionLines, "condition");
    }

    void ConditionsFile() {
        const QStringList lines = {QStringLiteral("HCP(North) >= 12"),
                                   QStringLiteral("AND Ширина")};
        const QByteArray bytes = FormatConditions(lines);
        QVERIFY(bytes.startsWith("This is Conditions File of Tavex's Bridge Generator\r\n"));
        QVERIFY(bytes.endsWith("AND \xD8\xE8\xF0\xE8\xED\xE0\r\n"));
        QCOMPARE(ParseConditions(bytes).value(), lines);
        QCOMPARE(ParseConditions(QByteArray(ConditionsFileHeader)).value(), QStringList());
    }

    void ConditionsHeaderMustBeExact_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one letter")
            << QByteArray("This is Conditions File of Tavex's Bridge Generatos\r\nx");
        QTest::newRow("case") << QByteArray(
            "this is Conditions File of Tavex's Bridge Generator\r\nx");
        QTest::newRow("trailing blank")
            << QByteArray("This is Conditions File of Tavex's Bridge Generator \r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void ConditionsHeaderMustBeExact() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ParseConditions(bytes).has_value());
    }

    // The converters are kept between calls: what one text leaves behind (an
    // unpaired surrogate, a character the code page lacks) never reaches the next.
    void ConversionsStartAfresh() {
        const QByteArray cyrillicA("\xC0", 1);
        QCOMPARE(EncodeWindows1251(QStringLiteral("А")), cyrillicA);
        QString unpaired;
        unpaired.append(QChar(0xD83D));
        const QByteArray first = EncodeWindows1251(QStringLiteral("x") + unpaired);
        QVERIFY(first.startsWith('x'));
        QCOMPARE(EncodeWindows1251(QStringLiteral("А")), cyrillicA);
        const QByteArray lacking = EncodeWindows1251(QStringLiteral("中"));
        QCOMPARE(EncodeWindows1251(QStringLiteral("А")), cyrillicA);
        QCOMPARE(EncodeWindows1251(QStringLiteral("中")), lacking);
        QCOMPARE(DecodeWindows1251(cyrillicA + "b"), QStringLiteral("Аb"));
        QCOMPARE(DecodeWindows1251(cyrillicA + "b"), QStringLiteral("Аb"));
    }

    // Bytes that come in pieces of any size read as the same bytes read
    // whole: a line cut anywhere, CR and LF in different pieces, no last break.
    void PiecesReadAsTheWhole_data() {
        QTest::addColumn<QByteArray>("bytes");
        TSetupContent content;
        content.State.KeyValue = -77;
        content.DealsFolder = QStringLiteral("/tmp/Раздачи/");
        for (int i = 0; i < 300; ++i)
            content.DealLines.append(QByteArray(100 + i % 20, char('0' + i % 10)));
        content.ConditionLines = {QStringLiteral("HCP(N) > 10"), QString(),
                                  QStringLiteral("AND юг")};
        const QByteArray written = FormatSetup(content);
        QTest::newRow("as written") << written;
        QTest::newRow("line feeds only") << QByteArray(written).replace("\r\n", "\n");
        QTest::newRow("an empty line among the deals")
            << QByteArray(written).insert(written.indexOf("\r\n", 1000) + 2, "\r\n");
        QTest::newRow("no condition mark") << written.left(written.indexOf("[Conditions]"));
        QTest::newRow("a long record and a CR at the end")
            << QByteArray(80, '1') + "\r\na\r\nb\r\nD1\r\nD2\r";
        QTest::newRow("the record alone, cut after its CR") << QByteArray("1111\r");
        QTest::newRow("empty") << QByteArray();
    }
    void PiecesReadAsTheWhole() {
        QFETCH(QByteArray, bytes);
        const TSetupContent whole = ParseSetup(bytes);
        for (int piece : {1, 2, 7, 109, 110, 4096}) {
            QList<QByteArray> dealLines;
            TSetupParser parser([&dealLines](std::string_view line) {
                dealLines.append(QByteArray(line.data(), qsizetype(line.size())));
            });
            for (qsizetype at = 0; at < bytes.size(); at += piece)
                parser.Feed(std::string_view(
                    bytes.constData() + at, size_t(std::min<qsizetype>(piece, bytes.size() - at))));
            const TSetupContent read = parser.Finish();
            QCOMPARE(dealLines, whole.DealLines);
            QCOMPARE(read.ConditionLines, whole.ConditionLines);
            QCOMPARE(read.Whole, whole.Whole);
            QCOMPARE(read.DealsFolder, whole.DealsFolder);
            QCOMPARE(read.ConditionsFolder, whole.ConditionsFolder);
            QCOMPARE(FormatStateRecord(read.State), FormatStateRecord(whole.State));
        }
    }

    // korvana.ini: what the program does not know (a newer version's keys, comments, bad
    // lines) is written back as it was read; values of any text read back as set.
    void SettingsKeepWhatTheyDoNotKnow() {
        TSettings settings = TSettings::Parse(
            "\xEF\xBB\xBF; note\r\n[Deal]\r\nFixed=N:A...\r\nNewer = a\\\\b\\x\r\n"
            "[Future]\nno line of any form\nk=1");
        QCOMPARE(settings.Value("Deal", "Newer").value(), std::string(" a\\b\\x"));
        QVERIFY(!settings.Value("Future", "Fixed") &&
                !settings.Value("Deal", "no line of any form"));
        const std::string text = "строка\nвторая \\n\r";
        settings.SetValue("Deal", "Fixed", "S:..A2.");
        settings.SetValue("Deal", "Added", text);
        settings.SetValue("Handout", "Title", "=[x]");
        settings.Remove("Future", "k");
        QCOMPARE(settings.Format(), std::string("; note\n[Deal]\nFixed=S:..A2.\nNewer = a\\\\b\\x\n"
                                                "Added=строка\\nвторая \\\\n\\r\n[Future]\n"
                                                "no line of any form\n[Handout]\nTitle==[x]\n"));
        const TSettings back = TSettings::Parse(settings.Format());
        QCOMPARE(back.Value("Deal", "Added").value(), text);
        QCOMPARE(back.Value("Handout", "Title").value(), std::string("=[x]"));
    }

    void FolderOfAFile() {
        QCOMPARE(FolderOfFile(QStringLiteral("/tmp/a/b.dls")), QStringLiteral("/tmp/a/"));
    }
};

QTEST_MAIN(TSetupFormatTest)
#include "SetupFormatTest.moc"
