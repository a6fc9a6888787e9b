// Hostile report texts and hostile destinations for the report files: whatever
// the user typed into the report window, the RTF file holds it as text and no
// more, and a save that cannot be done leaves every file as it was.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <map>

#include "reports/windows/ReportFiles.h"
#include "reports/windows/RtfReader.h"
#include "support/FolderSnapshot.h"
#include "support/HostileMounts.h"
#include "support/TempFolder.h"

namespace {

// What a line reads back as: a surrogate half without its partner is no
// character and stands as U+FFFD.
QString Readable(const QString& line) {
    QString readable;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar unit = line.at(i);
        if (unit.isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
            readable += unit;
            readable += line.at(++i);
        } else {
            readable += unit.isSurrogate() ? QChar(0xFFFD) : unit;
        }
    }
    return readable;
}

const QSet<QString> WriterWords = {"rtf",   "ansi",    "ansicpg", "deff",     "deflang", "fonttbl",
                                   "f",     "fmodern", "fprq",    "fcharset", "uc",      "pard",
                                   "plain", "fs",      "par",     "tab",      "u"};

}  // namespace

class HostileReportTest : public QObject {
    Q_OBJECT

private slots:
    void richTextHoldsHostileTextAsText_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("braces") << QStringList{"{", "}", "}}}}{{{{", "{\\rtf1\\ansi injected}",
                                               "}\\par{"};
        QTest::newRow("backslashes")
            << QStringList{"\\", "\\\\", "a\\", "\\ ", QString(10000, u'\\'), "\\\r\\\n"};
        QTest::newRow("control words") << QStringList{"\\par",
                                                      "\\par\\par\\pard",
                                                      "\\b bold\\b0",
                                                      "\\line\\page\\sect",
                                                      "\\plain\\fs96",
                                                      "\\f1\\fcharset0",
                                                      "\\*\\generator x;",
                                                      "\\bin5 \x01\x02\x03\x04\x05"};
        QTest::newRow("unicode escapes")
            << QStringList{"\\u1234?", "\\u-1?", "\\uc0\\u65", "\\'41\\'e0\\'", "\\'zz", "\\u"};
        QTest::newRow("fields and objects") << QStringList{
            "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt x}}",
            "{\\object\\objemb{\\*\\objdata 0105}}", "{\\*\\shppict{\\pict\\pngblip 89}}"};
        QTest::newRow("nul") << QStringList{QString(QChar(0)), QString("a") + QChar(0) + "b",
                                            QString(1000, QChar(0))};
        QTest::newRow("lone surrogates") << QStringList{
            QString(QChar(0xD800)), QString(QChar(0xDC00)),
            QString("x") + QChar(0xD83D),                             // a high half at the end
            QString(QChar(0xDC00)) + QChar(0xD800),                   // halves in the wrong order
            QString(QChar(0xD83C)) + QChar(0xD83C) + QChar(0xDCA1)};  // one lone, one pair
        QTest::newRow("line breaks inside a line")
            << QStringList{"a\rb", "a\nb", "\r\n", QString("a") + QChar(0x2028) + "b" + QChar(0x85),
                           QString(QChar(0xFEFF)) + "bom"};
        QTest::newRow("control characters")
            << QStringList{QString("\x01\x07\x08\x0b\x0c\x1b\x1f\x7f")};
        QTest::newRow("beyond the basic plane")
            << QStringList{QString::fromUcs4(U"\U0001F0A1\U0010FFFF\U00020000"), "\uFFFE\uFFFF"};
        QString mixed;
        for (int i = 0; i < 100000; ++i)
            mixed += QStringLiteral("{\\par}\\u") + QChar(0x0410 + i % 64);
        QTest::newRow("a very long line") << QStringList{mixed};
        QStringList many;
        for (int i = 0; i < 20000; ++i)
            many += i % 2 ? QStringLiteral("}") : QStringLiteral("\\par{");
        QTest::newRow("very many lines") << many;
    }
    void richTextHoldsHostileTextAsText() {
        QFETCH(QStringList, lines);
        const QByteArray rtf = RichTextReport(lines);
        const TRtfDocument doc = ReadRtf(rtf);
        QVERIFY2(doc.Error.isEmpty(), qPrintable(doc.Error));
        QVERIFY(doc.Balanced);
        QCOMPARE(doc.MaxDepth, 3);  // document, font table, font entry: no group of the text's own
        QVERIFY2(WriterWords.contains(doc.Words),
                 qPrintable(QStringList(doc.Words.values()).join(' ')));
        QCOMPARE(doc.Paragraphs.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(doc.Paragraphs[i], Readable(lines[i]));
        QCOMPARE(doc.Trailing, QString());
        // Plain ASCII without NUL: nothing a reader could take for the end of
        // the text or for bytes of another code page.
        for (const char c : rtf) QVERIFY(c > 0 && static_cast<unsigned char>(c) < 0x80);
        // The body of a line never leaves a backslash, brace or line break of
        // its own: every one is part of an escape.
        const qsizetype body = rtf.indexOf("\\fs18\r\n") + 7;
        QVERIFY(body > 7);
        const QByteArray text =
            rtf.mid(body, rtf.size() - body - 3);  // without the closing "}\r\n"
        QCOMPARE(text.count("\r\n"), lines.size());
        QCOMPARE(text.count('\r'), lines.size());
        QCOMPARE(text.count('\n'), lines.size());
    }

    // Plain text keeps one line per line, whatever the line holds, and every
    // character the code page cannot hold becomes one "?".
    void plainTextOfHostileText() {
        const QStringList lines{QString(QChar(0)), QString(QChar(0xD800)) + "x", "\\par{}",
                                QString::fromUcs4(U"\U0001F0A1")};
        const QByteArray text = PlainTextReport(lines);
        QCOMPARE(text, QByteArray("\0\r\n?x\r\n\\par{}\r\n?\r\n", 18));
    }

    // A save that fails reports the system's text and changes no file: an old
    // report of that name keeps its bytes and no other file is left behind.
    void failedSavesChangeNothing_data() {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("format");
        for (const char* destination : {"vanished folder", "parent is a file", "name is a folder",
                                        "proc folder", "read-only folder", "full disk"}) {
            QTest::addRow("%s, rich text", destination) << QString(destination) << 0;
            QTest::addRow("%s, plain text", destination) << QString(destination) << 1;
        }
    }
    void failedSavesChangeNothing() {
        QFETCH(QString, destination);
        QFETCH(int, format);
        const TTempFolder dir;
        THostileMounts mounts;
        const QByteArray old = "{\\rtf1 the old report\\par}\r\n";
        QString path;
        if (destination == "vanished folder") {
            QVERIFY(QDir(dir.QtPath()).mkdir("gone"));
            QVERIFY(QDir(dir.QtPath()).rmdir("gone"));
            path = dir.QtFile("gone/report.rtf");
        } else if (destination == "parent is a file") {
            QVERIFY(WriteAll(dir.QtFile("plain.txt"), "text"));
            path = dir.QtFile("plain.txt/report.rtf");
        } else if (destination == "name is a folder") {
            QVERIFY(QDir(dir.QtPath()).mkdir("report.rtf"));
            path = dir.QtFile("report.rtf");
        } else if (destination == "proc folder") {
            if (!QFileInfo(QStringLiteral("/proc/self")).isDir()) QSKIP("no /proc here");
            path = QStringLiteral("/proc/self/report.rtf");
        } else {
            const QString disk = dir.QtFile("disk");
            if (!mounts.MountSmallDisk(disk.toStdString(), 64))
                QSKIP("mounting a small file system is refused");
            path = disk + "/report.rtf";
            QVERIFY(WriteAll(path, old));
            if (destination == "read-only folder") {
                if (!THostileMounts::MakeReadOnly(disk.toStdString()))
                    QSKIP("remounting read-only is refused");
            } else {
                QVERIFY(THostileMounts::FillUp(disk.toStdString()));
            }
        }
        const auto before = Snapshot(dir.QtPath());
        QStringList report;
        for (int i = 0; i < 2000; ++i) report += QStringLiteral("Всего раздач: %1 {\\par}").arg(i);
        const QString failure = WriteReportFile(
            path, format == 0 ? TReportFormat::RichText : TReportFormat::PlainText, report);
        QVERIFY2(!failure.isEmpty(), "the save did not fail");
        QVERIFY(Snapshot(dir.QtPath()) == before);
        if (path.endsWith("disk/report.rtf")) QCOMPARE(ReadAll(path), old);

        // The program goes on: the same report saves where there is room.
        QCOMPARE(WriteReportFile(dir.QtFile("good.rtf"), TReportFormat::RichText, report),
                 QString());
        QCOMPARE(ReadRtf(ReadAll(dir.QtFile("good.rtf"))).Paragraphs, report);
    }

    // A report small enough to sit in the write buffer until the end: the
    // full disk shows only then, and the old file must still stay whole.
    void smallReportOnAFullDiskFailsAndKeepsTheOldFile() {
        const TTempFolder dir;
        THostileMounts mounts;
        const QString disk = dir.QtFile("disk");
        if (!mounts.MountSmallDisk(disk.toStdString(), 64))
            QSKIP("mounting a small file system is refused");
        const QString path = disk + "/report.txt";
        const QByteArray old = QByteArray("old report\r\n").repeated(200);
        QVERIFY(WriteAll(path, old));
        QVERIFY(THostileMounts::FillUp(disk.toStdString()));
        const auto before = Snapshot(dir.QtPath());
        QVERIFY(!WriteReportFile(path, TReportFormat::PlainText, {"Всего раздач: 5"}).isEmpty());
        QVERIFY(Snapshot(dir.QtPath()) == before);
        QCOMPARE(ReadAll(path), old);
    }
};

QTEST_GUILESS_MAIN(HostileReportTest)
#include "HostileReportTest.moc"
