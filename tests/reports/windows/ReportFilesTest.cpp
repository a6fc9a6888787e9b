// The report file writers: Windows-1251 table, plain text and RTF, and writing
// them to disk.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

#include "reports/windows/ReportFiles.h"
#include "reports/windows/RtfReader.h"
#include "support/FolderSnapshot.h"
#include "support/TempFolder.h"
#include "text/Cp1251.h"

namespace {

// Characters a report or a user may put in the window: ASCII, the three RTF
// specials, Cyrillic, the other symbols of Windows-1251, characters outside it
// (suit symbols, CJK, an emoji beyond the 16-bit range), tabs and controls.
const QList<char32_t> kAlphabet = {
    'A',  'z',  '0',  '9',  ' ',  '.',  '-',  '(',   ')',  '?',     '\'',   '\\',   '{',
    '}',  '\t', 0x01, 0x1F, 0x7F, U'Р', U'я', U'Ё',  U'ё', U'№',    U'€',   U'«',   U'»',
    0xA0, 0xAD, 0x98, U'♠', U'♥', U'♦', U'♣', U'中', U'ü', 0x1F0A1, 0xFFFD, 0xFFFF,
};

QString RandomLine(QRandomGenerator& random) {
    QString line;
    const int length = random.bounded(0, 30);
    for (int i = 0; i < length; ++i) {
        const char32_t c = kAlphabet[random.bounded(static_cast<int>(kAlphabet.size()))];
        line += QString::fromUcs4(&c, 1);
    }
    return line;
}

}  // namespace

class ReportFilesTest : public QObject {
    Q_OBJECT

private slots:
    // The table agrees with the platform's Windows-1251 converter for every
    // byte and every character of the basic plane. The one difference: the
    // platform reads 0x98 as U+0098 but will not write U+0098 back; ours does,
    // so every byte survives a round trip.
    void cp1251MatchesPlatformConverter() {
        QStringDecoder decoder("windows-1251");
        QVERIFY(decoder.isValid());
        for (int byte = 0; byte < 256; ++byte) {
            const char raw = static_cast<char>(byte);
            const QString decoded = decoder.decode(QByteArrayView(&raw, 1));
            QCOMPARE(decoded.size(), 1);
            QCOMPARE(cp1251::ToUnicode(static_cast<unsigned char>(byte)), decoded.at(0).unicode());
            QCOMPARE(cp1251::FromUnicode(decoded.at(0).unicode()),
                     static_cast<unsigned char>(byte));
        }
        int mapped = 0;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || c == 0x98) continue;
            const QChar ch(static_cast<char16_t>(c));
            QStringEncoder encoder("windows-1251");  // its error flag never resets
            const QByteArray platform = encoder.encode(QStringView(&ch, 1));
            const bool platformHolds = !encoder.hasError();
            const auto ours = cp1251::FromUnicode(c);
            QVERIFY2(ours.has_value() == platformHolds, qPrintable(QString::number(c, 16)));
            if (ours) {
                QCOMPARE(platform.size(), 1);
                QCOMPARE(static_cast<unsigned char>(platform[0]), *ours);
                ++mapped;
            }
        }
        QCOMPARE(mapped, 255);
        QVERIFY(!cp1251::FromUnicode(0x1F0A1));
    }

    void plainText_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no lines") << QStringList{} << QByteArray();
        QTest::newRow("trailing spaces and empty lines")
            << QStringList{"N  ", "", "  x  "} << QByteArray("N  \r\n\r\n  x  \r\n");
        QTest::newRow("cyrillic") << QStringList{"Всего раздач: 5"}
                                  << QByteArray(
                                         "\xc2\xf1\xe5\xe3\xee \xf0\xe0\xe7\xe4\xe0\xf7: 5\r\n");
        QTest::newRow("symbols of the code page")
            << QStringList{"№ «ё» €"} << QByteArray("\xb9 \xab\xb8\xbb \x88\r\n");
        QTest::newRow("outside the code page")
            << QStringList{"♠AK ♥Q", QString::fromUcs4(U"a\U0001F0A1b")}
            << QByteArray("?AK ?Q\r\na?b\r\n");
        QTest::newRow("lone surrogate")
            << QStringList{QString(QChar(0xD800)) + "x"} << QByteArray("?x\r\n");
    }
    void plainText() {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, expected);
        QCOMPARE(PlainTextReport(lines), expected);
    }

    void richTextHeader() {
        const TRtfDocument doc = ReadRtf(RichTextReport({"x"}));
        QVERIFY2(doc.Error.isEmpty(), qPrintable(doc.Error));
        QVERIFY(doc.Words.contains("ansi"));
        QVERIFY(doc.Words.contains("ansicpg"));
        QVERIFY(RichTextReport({}).contains("\\ansicpg1251"));
        QVERIFY(RichTextReport({}).contains("\\fs18"));
        QCOMPARE(doc.Fonts, QStringList{"\\f0\\fmodern\\fprq1\\fcharset204 Courier New;"});
    }

    void richTextReadsBack_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no lines") << QStringList{};
        QTest::newRow("report lines")
            << QStringList{"Всего раздач: 50", "", "4-3-3-3   (5)10.00  "};
        QTest::newRow("escapes") << QStringList{"{\\rtf1 \\par}", "\\",      "{", "}",
                                                "\\'e0",          "\\u1234?"};
        QTest::newRow("words glued to text") << QStringList{"\tabc", "a\tb", "1\t2"};
        QTest::newRow("leading and trailing spaces") << QStringList{" ", "  a  ", "\t "};
        QTest::newRow("outside the code page") << QStringList{
            "♠ ♥ ♦ ♣", "中文", QString::fromUcs4(U"\U0001F0A1\U0001F0B1"), "\uFFFF9"};
        QTest::newRow("upper half of the code page")
            << QStringList{"€‚ƒ„…†‡‰Љ‹ЊЌЋЏ", "\u0098\u00a0\u00ad№"};
        QTest::newRow("controls") << QStringList{QString(QChar(1)) + "x" + QChar(0x1F)};
    }
    void richTextReadsBack() {
        QFETCH(QStringList, lines);
        const QByteArray rtf = RichTextReport(lines);
        const TRtfDocument doc = ReadRtf(rtf);
        QVERIFY2(doc.Error.isEmpty(), qPrintable(doc.Error));
        QCOMPARE(doc.Paragraphs, lines);
        QCOMPARE(doc.Trailing, QString());
        // The writer keeps to 7-bit ASCII, so the file means the same in any code page.
        for (const char c : rtf) QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }

    // Random lines over a mixed alphabet read back unchanged, and no text adds
    // a control word or a group of its own.
    void richTextRandomLinesReadBack() {
        QRandomGenerator random(20261207);
        const QSet<QString> allowed = {
            "rtf",      "ansi", "ansicpg", "deff",  "deflang", "fonttbl", "f",   "fmodern", "fprq",
            "fcharset", "uc",   "pard",    "plain", "fs",      "par",     "tab", "u"};
        for (int round = 0; round < 300; ++round) {
            QStringList lines;
            const int count = random.bounded(0, 6);
            for (int i = 0; i < count; ++i) lines += RandomLine(random);
            const TRtfDocument doc = ReadRtf(RichTextReport(lines));
            QVERIFY2(doc.Error.isEmpty(), qPrintable(doc.Error));
            QCOMPARE(doc.Paragraphs, lines);
            QVERIFY2(allowed.contains(doc.Words),
                     qPrintable(QStringList(doc.Words.values()).join(' ')));
            QCOMPARE(doc.MaxDepth, 3);  // document, font table, font entry
        }
    }

    void fileTypes() {
        QCOMPARE(ReportFileTypes(),
                 (QStringList{"Форматированный текст (*.rtf)", "Просто текст (*.txt)"}));
        QCOMPARE(FormatOfFileType(0), TReportFormat::RichText);
        QCOMPARE(FormatOfFileType(1), TReportFormat::PlainText);
        QCOMPARE(FormatOfFileType(-1), TReportFormat::RichText);
        QCOMPARE(ExtensionOfFileType(0), QString("rtf"));
        QCOMPARE(ExtensionOfFileType(1), QString("txt"));
    }

    // The format alone decides what is written, whatever the name says; a
    // second save replaces the first, also with a shorter text.
    void writeReplacesWithChosenFormat() {
        const TTempFolder dir;
        const QString path = dir.QtFile("report.rtf");
        const QStringList longer{"Всего раздач: 1000", "line two"};
        QCOMPARE(WriteReportFile(path, TReportFormat::PlainText, longer), QString());
        QCOMPARE(ReadAll(path), PlainTextReport(longer));
        QCOMPARE(WriteReportFile(path, TReportFormat::PlainText, {"x"}), QString());
        QCOMPARE(ReadAll(path), QByteArray("x\r\n"));
        const QString textPath = dir.QtFile("report.txt");
        QCOMPARE(WriteReportFile(textPath, TReportFormat::RichText, longer), QString());
        QCOMPARE(ReadRtf(ReadAll(textPath)).Paragraphs, longer);
    }

    void writeFailureGivesSystemText() {
        const TTempFolder dir;
        QVERIFY(QDir(dir.QtPath()).mkdir("folder"));
        QVERIFY(!WriteReportFile(dir.QtFile("folder"), TReportFormat::PlainText, {"x"}).isEmpty());
        QVERIFY(QFileInfo(dir.QtFile("folder")).isDir());
        QVERIFY(!WriteReportFile(dir.QtFile("missing/report.txt"), TReportFormat::RichText, {"x"})
                     .isEmpty());
        QVERIFY(!QFile::exists(dir.QtFile("missing")));
    }
};

QTEST_GUILESS_MAIN(ReportFilesTest)
#include "ReportFilesTest.moc"
