// Damaged and hostile files of the main window: the setup file cut at every
// byte or full of garbage, state-record numbers beyond 32 bits, conditions
// files in other encodings, and saves of conditions, deals and the setup file
// into folders that are read-only, gone, or on a full disk. The window always
// opens, says what failed, and never damages a file that was there before.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <filesystem>
#include <map>

#include "files/ConditionsFormat.h"
#include "files/SetupFormat.h"
#include "files/TextFile.h"
#include "support/FolderSnapshot.h"
#include "support/HostileMounts.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {

QByteArray Garbage(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QString Differences(const std::map<QString, QByteArray>& before,
                    const std::map<QString, QByteArray>& after) {
    QString text;
    for (const auto& [name, bytes] : before) {
        const auto found = after.find(name);
        if (found == after.end())
            text += " removed " + name;
        else if (found->second != bytes)
            text += " changed " + name;
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) text += " added " + name;
    return text;
}

// A setup file as the program writes it: five deals, folders and a condition
// with Cyrillic letters.
TSetupContent ValidSetup() {
    TSetupContent content;
    content.State.SeatShown = {true, false, true, true};
    content.State.KeyValue = -5;
    content.State.Total = 12;
    content.State.CurrentDeal = 3;
    content.State.ColumnsCount = 4;
    content.State.WindowState = 0;
    content.State.Left = 40;
    content.State.Top = 50;
    content.State.Width = 700;
    content.State.Height = 500;
    content.DealsFolder = QStringLiteral("/home/игрок/раздачи/");
    content.ConditionsFolder = QStringLiteral("/home/игрок/условия/");
    for (TDeal& deal : DealsOfKey(1, 5))
        content.DealLines += QByteArray::fromStdString(deal.ToText());
    content.ConditionLines = {QStringLiteral("(HCP(N) >= 12) {север}"), QStringLiteral(""),
                              QStringLiteral("AND Balanced(N)")};
    return content;
}

}  // namespace

class THostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    // A setup file cut at any byte reads as much of the state as it still
    // holds: whole lines as written, a cut line as its beginning, nothing
    // made up; the window opens with it and says nothing.
    void SetupFileCutAtEveryByte() {
        const TSetupContent valid = ValidSetup();
        const QByteArray bytes = FormatSetup(valid);
        const QStringList lines = DecodeWindows1251Lines(bytes);
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            const QByteArray prefix = bytes.left(cut);
            const TSetupContent read = ParseSetup(prefix);
            const QStringList readLines = DecodeWindows1251Lines(prefix);
            const QString where = QStringLiteral("cut at %1").arg(cut);
            // Every line read is a line of the whole file, the last one maybe cut short.
            QVERIFY2(readLines.size() <= lines.size(), qPrintable(where));
            for (qsizetype i = 0; i < readLines.size(); ++i) {
                if (i + 1 < readLines.size()) {
                    QVERIFY2(readLines[i] == lines[i], qPrintable(where));
                } else {  // cut short, maybe between CR and LF
                    QString last = readLines[i];
                    if (last.endsWith(u'\r')) last.chop(1);
                    QVERIFY2(lines[i].startsWith(last), qPrintable(where));
                }
            }
            if (readLines.size() > 1) {
                const TStateRecord& state = read.State;
                QCOMPARE(state.KeyValue, valid.State.KeyValue);
                QCOMPARE(state.Total, valid.State.Total);
                QCOMPARE(state.ColumnsCount, valid.State.ColumnsCount);
                QCOMPARE(state.Height, valid.State.Height);
                QCOMPARE(state.SeatShown, valid.State.SeatShown);
            }
            // Deal lines: those of the file in order; a cut "[Conditions]"
            // line is one more, empty deal line, as any other damaged line.
            QVERIFY2(read.DealLines.size() <= valid.DealLines.size() + 1, qPrintable(where));
            for (qsizetype i = 0; i < read.DealLines.size() && i < valid.DealLines.size(); ++i) {
                QByteArray line = read.DealLines[i];
                if (line.endsWith('\r')) line.chop(1);
                QVERIFY2(valid.DealLines[i].startsWith(line), qPrintable(where));
            }
            QVERIFY2(read.ConditionLines.size() <= valid.ConditionLines.size(), qPrintable(where));
            for (qsizetype i = 0; i < read.ConditionLines.size(); ++i) {
                QString line = read.ConditionLines[i];
                if (line.endsWith(u'\r')) line.chop(1);
                QVERIFY2(valid.ConditionLines[i].startsWith(line), qPrintable(where));
            }
        }
        QCOMPARE(ParseSetup(bytes).DealLines, valid.DealLines);
        QCOMPARE(ParseSetup(bytes).ConditionLines, valid.ConditionLines);

        // The window itself at a cut in every part of the file.
        TWindowFixture fixture;
        const qsizetype conditions = bytes.indexOf("[Conditions]");
        for (qsizetype cut :
             {qsizetype(0), qsizetype(1), qsizetype(30), qsizetype(64), qsizetype(66),
              qsizetype(67), qsizetype(90), conditions - 50, conditions - 2, conditions + 5,
              conditions + 14, conditions + 20, bytes.size() - 1}) {
            const QByteArray prefix = bytes.left(cut);
            QVERIFY(WriteAll(fixture.SetupFile(), prefix));
            const TSetupContent read = ParseSetup(prefix);
            {
                auto window = fixture.Open();
                TMainWindowControls& ui = window->Controls();
                QCOMPARE(window->Deals().Count(), read.DealLines.size());
                QCOMPARE(ui.RichEdit->toPlainText(), read.ConditionLines.join(u'\n'));
                QVERIFY(ui.seTotal->Value() >= 1);
                QVERIFY(ui.seColumnsCount->Value() >= 1 && ui.seColumnsCount->Value() <= 9);
                window->ShowDeal(-1);
            }
            QVERIFY2(fixture.services->messages.isEmpty(),
                     qPrintable(fixture.services->messages.join('|')));
            // What the window wrote back reads as what it read.
            const TSetupContent rewritten = ParseSetup(ReadAll(fixture.SetupFile()));
            QCOMPARE(rewritten.DealLines.size(), read.DealLines.size());
            QCOMPARE(rewritten.ConditionLines, read.ConditionLines);
        }
    }

    // Garbage in the setup file: the window opens and every field lies in its range.
    void SetupFileGarbage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("binary") << Garbage(64 * 1024, 1);
        QTest::newRow("nuls") << QByteArray(70000, '\0');
        QTest::newRow("nuls in the record")
            << QByteArray("11\0001        12\0\0\0\0\0\0\0\0\0\0         3         5", 44) +
                   "\r\n\r\n\r\n";
        QTest::newRow("only line breaks") << QByteArray(5000, '\n');
        QTest::newRow("lone carriage returns") << QByteArray(5000, '\r');
        QTest::newRow("conditions mark first")
            << QByteArray("[Conditions]\r\n[Conditions]\r\n[Conditions]");
        QTest::newRow("a line of ten megabytes") << QByteArray(10 << 20, '5');
        QByteArray many = "1111\r\n\r\n\r\n";
        const QByteArray deal = QByteArray::fromStdString(DealsOfKey(2, 1)[0].ToText()) + "\r\n";
        for (int i = 0; i < 100000; ++i) many += deal;
        QTest::newRow("a hundred thousand deals") << many + "[Conditions]\r\n" + Garbage(4096, 2);
        QTest::newRow("utf-16") << QByteArray(
            "\xff\xfe"
            "1\0"
            "1\0"
            "1\0"
            "1\0"
            "\r\0\n\0",
            14);
    }
    void SetupFileGarbage() {
        QFETCH(QByteArray, bytes);
        TWindowFixture fixture;
        QVERIFY(WriteAll(fixture.SetupFile(), bytes));
        const TSetupContent read = ParseSetup(bytes);
        {
            auto window = fixture.Open();
            QCOMPARE(window->Deals().Count(), read.DealLines.size());
            QVERIFY(window->Controls().seTotal->Value() >= 1);
            QVERIFY(window->Controls().seColumnsCount->Value() >= 1 &&
                    window->Controls().seColumnsCount->Value() <= 9);
            QVERIFY(window->width() >= 100 && window->height() >= 100);
            window->ShowDeal(-1);
            window->ShowDeal(window->Deals().Count() - 1);
        }
        QVERIFY(fixture.services->messages.isEmpty());
        QCOMPARE(ParseSetup(ReadAll(fixture.SetupFile())).DealLines.size(), read.DealLines.size());
    }

    // Numbers that do not fit 32 bits take the field's default; the largest
    // that fit are read as they are.
    void StateRecordBeyond32Bits_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("one more") << "2147483648" << -1;
        QTest::newRow("two to the 32") << "4294967296" << -1;
        QTest::newRow("two to the 32 plus 5") << "4294967301" << -1;
        QTest::newRow("ten nines") << "9999999999" << -1;
        QTest::newRow("negative nine digits") << "-999999999" << -999999999;
        QTest::newRow("leading zeros") << "0000000007" << 7;
    }
    void StateRecordBeyond32Bits() {
        QFETCH(QString, field);
        QFETCH(int, value);
        for (int column = 0; column < 4; ++column) {
            QString line = QStringLiteral("1111") + QString(40, u' ') +
                           QStringLiteral("0   10   20  640  480");
            line.replace(4 + 10 * column, 10, field);
            const TStateRecord record = ParseStateRecord(line);
            const int defaults[] = {0, 0, 0, 5};
            const int read[] = {record.KeyValue, record.Total, record.CurrentDeal,
                                record.ColumnsCount};
            QCOMPARE(read[column], value == -1 ? defaults[column] : value);
            QCOMPARE(record.Width, 640);  // the fields after it are read as they are
            QCOMPARE(record.Height, 480);
        }
        TWindowFixture fixture;
        QString line = QStringLiteral("1111") + field + field + field + field +
                       QStringLiteral("0   10   20  640  480");
        QVERIFY(WriteAll(fixture.SetupFile(), line.toLatin1() + "\r\n\r\n\r\n[Conditions]\r\n"));
        {
            auto window = fixture.Open();
            TMainWindowControls& ui = window->Controls();
            for (TNumberField* number :
                 {ui.seKeyValue, ui.seTotal, ui.seCurrentDeal, ui.seColumnsCount}) {
                if (number->HasRange()) {
                    QVERIFY(number->Value() >= number->Lowest());
                    QVERIFY(number->Value() <= number->Highest());
                }
            }
            QVERIFY(ui.seColumnsCount->Value() >= 1 && ui.seColumnsCount->Value() <= 9);
        }
        QVERIFY(fixture.services->messages.isEmpty());
        // Written back, every field is a number of the field's width again.
        const QByteArray written = ReadAll(fixture.SetupFile());
        const TStateRecord again = ParseStateRecord(DecodeWindows1251Lines(written).value(0));
        QCOMPARE(FormatStateRecord(again).size(), 65);
    }

    // A conditions file is read byte for byte as Windows-1251 whatever it
    // really holds, and saved back it gives the same bytes.
    void ConditionsFileNotWindows1251_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("utf-8 cyrillic")
            << QByteArray("HCP(N) > 12 // \xd1\x81\xd0\xb5\xd0\xb2\xd0\xb5\xd1\x80\r\n");
        QTest::newRow("byte 0x98, undefined") << QByteArray("\x98\x98 HCP(N)\r\n\x98\r\n");
        QTest::newRow("no-break spaces") << QByteArray(
            "HCP(N)\xa0>\xa0"
            "12\r\n\xa0\r\n");
        QTest::newRow("utf-8 byte order mark") << QByteArray("\xef\xbb\xbfHCP(N) > 1\r\n");
        QTest::newRow("every byte but line ends and nul") << [] {
            QByteArray body;
            for (int byte = 1; byte < 256; ++byte)
                if (byte != '\r' && byte != '\n') body += static_cast<char>(byte);
            return body + "\r\n";
        }();
        QTest::newRow("long line") << QByteArray(1 << 20, '\xe0') + "\r\n";
    }
    void ConditionsFileNotWindows1251() {
        QFETCH(QByteArray, body);
        TWindowFixture fixture;
        const QString source = fixture.File("source.cnd");
        const QByteArray bytes = QByteArray(ConditionsFileHeader) + "\r\n" + body;
        QVERIFY(WriteAll(source, bytes));
        auto window = fixture.Open();
        fixture.services->answers = {source};
        window->itmOpenConditionsClick();
        QVERIFY(fixture.services->messages.isEmpty());
        QCOMPARE(window->ConditionLines(), *ParseConditions(bytes));

        const QString copy = fixture.File("copy.cnd");
        fixture.services->answers = {copy};
        window->itmSaveConditionsClick();
        QVERIFY(fixture.services->messages.isEmpty());
        QCOMPARE(ReadAll(copy), bytes);
    }

    // Garbage and NUL bytes: refused with the message when the header is not
    // exactly there, otherwise read; the editor is unchanged on refusal.
    void ConditionsFileGarbage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("binary") << Garbage(4096, 3) << true;
        QTest::newRow("nuls") << QByteArray(4096, '\0') << true;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("nul inside the header")
            << QByteArray(ConditionsFileHeader).replace(5, 1, QByteArray(1, '\0')) + "\r\nHCP(N)"
            << true;
        QTest::newRow("nul after the header")
            << QByteArray(ConditionsFileHeader) + QByteArray(1, '\0') << true;
        QTest::newRow("deals file header")
            << QByteArray("This is Deals File of Tavex's Bridge Generator\r\n") << true;
        QTest::newRow("garbage after the header")
            << QByteArray(ConditionsFileHeader) + "\r\n" + Garbage(4096, 4) << false;
        QTest::newRow("nuls after the header")
            << QByteArray(ConditionsFileHeader) + "\r\nHCP(N)" + QByteArray(100, '\0') + "> 5\r\n"
            << false;
    }
    void ConditionsFileGarbage() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        TWindowFixture fixture;
        const QString source = fixture.File("garbage.cnd");
        QVERIFY(WriteAll(source, bytes));
        auto window = fixture.Open();
        window->Controls().RichEdit->setPlainText(QStringLiteral("HCP(S) > 3"));
        fixture.services->answers = {source};
        window->itmOpenConditionsClick();
        if (refused) {
            QCOMPARE(fixture.services->messages,
                     QStringList{"Файл " +
                                 QDir::toNativeSeparators(QFileInfo(source).absoluteFilePath()) +
                                 " не содержит условия"});
            QCOMPARE(window->Controls().RichEdit->toPlainText(), QStringLiteral("HCP(S) > 3"));
        } else {
            QVERIFY(fixture.services->messages.isEmpty());
            // A carriage return without its line feed ends a line too.
            QCOMPARE(window->ConditionLines(),
                     ParseConditions(bytes)->join(u'\n').replace(u'\r', u'\n').split(u'\n'));
        }
        // The program goes on: generating from whatever is in the editor
        // either runs or names the first error.
        window->Controls().seTotal->SetValue(1);
        window->itmGenerateClick();
        QTRY_COMPARE_WITH_TIMEOUT(window->State(), TMainWindow::TState::Idle, 20000);
    }

    // Saving conditions, deals and the setup file where it cannot be done:
    // one message with the system's text, or nothing at all where the
    // folder is gone; no file that was there changes and none is added.
    void SavesThatCannotBeDone_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("destination");
        for (const char* what : {"conditions", "deals"})
            for (const char* destination : {"vanished folder", "parent is a file",
                                            "read-only folder", "full disk", "proc folder"})
                QTest::addRow("%s, %s", what, destination) << QString(what) << QString(destination);
        for (const char* destination : {"vanished folder", "read-only folder", "full disk"})
            QTest::addRow("setup, %s", destination) << QString("setup") << QString(destination);
    }
    void SavesThatCannotBeDone() {
        QFETCH(QString, what);
        QFETCH(QString, destination);
        const TTempFolder dir;
        THostileMounts mounts;
        const QString disk = dir.QtFile("disk");
        const QString leaf = what == "setup"   ? "generate.stp"
                             : what == "deals" ? "old.dls"
                                               : "old.cnd";
        const bool onDisk = destination == "read-only folder" || destination == "full disk";
        if (onDisk && !mounts.MountSmallDisk(disk.toStdString(), 64))
            QSKIP("mounting a small file system is refused");
        if (destination == "proc folder" && !QFileInfo(QStringLiteral("/proc/self")).isDir())
            QSKIP("no /proc here");

        // An old file of each kind where the save goes.
        auto services = std::make_shared<TFakeServices>();
        QString setupFolder = dir.QtFile("program");
        QVERIFY(QDir().mkpath(setupFolder));
        QString target;
        if (destination == "vanished folder")
            target = dir.QtFile("gone/") + leaf;
        else if (destination == "parent is a file")
            target = dir.QtFile("plain.txt/") + leaf;
        else if (destination == "proc folder")
            target = QStringLiteral("/proc/self/") + leaf;
        else
            target = disk + "/" + leaf;
        if (destination == "parent is a file") QVERIFY(WriteAll(dir.QtFile("plain.txt"), "text"));
        if (what == "setup") {
            setupFolder = destination == "vanished folder" ? dir.QtFile("gone") : disk;
            QVERIFY(QDir().mkpath(setupFolder));
        }
        QByteArray old;
        if (onDisk) {
            TSetupContent content = ValidSetup();
            old = what == "setup" ? FormatSetup(content)
                  : what == "deals"
                      ? QByteArray("This is Deals File of Tavex's Bridge Generator\r\n") +
                            content.DealLines.join("\r\n") + "\r\n"
                      : FormatConditions({"HCP(N) > 20"});
            QVERIFY(WriteAll(target, old));
        }

        auto window = std::make_unique<TMainWindow>(setupFolder, services);
        if (what == "setup" && destination == "vanished folder")
            QVERIFY(QDir(setupFolder).removeRecursively());
        for (TDeal& deal : DealsOfKey(3, 400))
            window->Deals().Add(deal);  // more than the disk holds
        QStringList condition;
        for (int i = 0; i < 2000; ++i) condition += QStringLiteral("(HCP(N) >= %1) OR").arg(i % 37);
        condition += "HCP(S) > 1";
        window->Controls().RichEdit->setPlainText(condition.join(u'\n'));
        if (destination == "read-only folder" && !THostileMounts::MakeReadOnly(disk.toStdString()))
            QSKIP("remounting read-only is refused");
        if (destination == "full disk") QVERIFY(THostileMounts::FillUp(disk.toStdString()));
        const auto before = Snapshot(dir.QtPath());

        services->answers = {target};
        if (what == "conditions")
            window->itmSaveConditionsClick();
        else if (what == "deals")
            window->itmSaveDealsClick();
        else
            window.reset();  // the setup file is written as the window closes
        const bool silent = destination == "vanished folder" || destination == "parent is a file";
        if (silent) {
            QVERIFY2(services->messages.isEmpty(), qPrintable(services->messages.join('|')));
        } else {
            QCOMPARE(services->messages.size(), 1);
            QVERIFY2(services->messages[0].contains(leaf), qPrintable(services->messages[0]));
        }
        QCOMPARE(Differences(before, Snapshot(dir.QtPath())), QString());
        if (onDisk) QCOMPARE(ReadAll(target), old);
        if (!window) return;

        // The program goes on: the editor and the deals are as they were and
        // save where there is room.
        QCOMPARE(window->Controls().RichEdit->toPlainText(), condition.join(u'\n'));
        QCOMPARE(window->Deals().Count(), 400);
        const QString good = dir.QtFile(what == "deals" ? "good.dls" : "good.cnd");
        services->answers = {good};
        if (what == "conditions")
            window->itmSaveConditionsClick();
        else
            window->itmSaveDealsClick();
        QVERIFY(QFileInfo(good).size() > 0);
        window.reset();
    }

    // Small files on a full disk: the bytes sit in the write buffer until the
    // end, and only then does the disk refuse them. The save says so and the
    // old file keeps every byte.
    void SmallSavesOnAFullDiskKeepTheOldFile_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("setup") << QString("setup");
        QTest::newRow("conditions") << QString("conditions");
    }
    void SmallSavesOnAFullDiskKeepTheOldFile() {
        QFETCH(QString, what);
        const TTempFolder dir;
        THostileMounts mounts;
        const QString disk = dir.QtFile("disk");
        if (!mounts.MountSmallDisk(disk.toStdString(), 64))
            QSKIP("mounting a small file system is refused");
        auto services = std::make_shared<TFakeServices>();
        const bool setup = what == "setup";
        const QString target = disk + (setup ? "/generate.stp" : "/old.cnd");
        const QByteArray old =
            setup ? FormatSetup(ValidSetup()) : FormatConditions({"HCP(N) > 20"});
        QVERIFY(WriteAll(target, old));
        auto window = std::make_unique<TMainWindow>(setup ? disk : dir.QtFile("program"), services);
        window->Controls().RichEdit->setPlainText(QStringLiteral("HCP(S) > 1"));
        QVERIFY(THostileMounts::FillUp(disk.toStdString()));
        const auto before = Snapshot(dir.QtPath());
        services->answers = {target};
        if (setup)
            window.reset();  // the setup file is written as the window closes
        else
            window->itmSaveConditionsClick();
        QCOMPARE(services->messages.size(), 1);
        QVERIFY2(services->messages[0].contains(QFileInfo(target).fileName()),
                 qPrintable(services->messages[0]));
        QCOMPARE(Differences(before, Snapshot(dir.QtPath())), QString());
        QCOMPARE(ReadAll(target), old);
    }

    // A setup file the program may not read is kept aside under a name of its
    // own before the new one is written, and the user hears of it once.
    void UnreadableSetupFileIsKeptAside() {
        TWindowFixture fixture;
        const QByteArray old = FormatSetup(ValidSetup());
        QVERIFY(WriteAll(fixture.SetupFile(), old));
        QVERIFY(QFile::setPermissions(fixture.SetupFile(), QFileDevice::Permissions()));
        QVERIFY(QFile::setPermissions(fixture.Folder(), QFileDevice::Permissions(0x7777)));
        {
            TWithoutPrivileges nobody;
            {
                auto window = fixture.Open();
                QCOMPARE(fixture.services->messages.size(), 1);
                QVERIFY2(fixture.services->messages[0].contains("generate.stp.bak"),
                         qPrintable(fixture.services->messages[0]));
                QCOMPARE(window->Deals().Count(), 0);
            }
            QCOMPARE(fixture.services->messages.size(), 1);
        }
        const QString aside = fixture.SetupFile() + ".bak";
        QVERIFY(QFile::setPermissions(aside, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(ReadAll(aside), old);
        QVERIFY(ParseSetup(ReadAll(fixture.SetupFile())).Whole);
    }

    // A setup file that is read only in part (the reading stops before its
    // end as the format says) is kept aside before the window writes back
    // what it read; a file read whole is not.
    void DamagedSetupFileIsKeptAside_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keptAside");
        const QByteArray valid = FormatSetup(ValidSetup());
        QByteArray emptyLine = valid;
        emptyLine.insert(
            emptyLine.indexOf("\r\n", emptyLine.indexOf(ValidSetup().DealLines[1])) + 2, "\r\n");
        QTest::newRow("an empty line among the deals") << emptyLine << true;
        QTest::newRow("carriage returns only") << QByteArray(valid).replace("\r\n", "\r") << true;
        QTest::newRow("utf-8 byte order mark") << QByteArray("\xef\xbb\xbf") + valid << true;
        QTest::newRow("as written") << valid << false;
        QTest::newRow("line feeds only") << QByteArray(valid).replace("\r\n", "\n") << false;
    }
    void DamagedSetupFileIsKeptAside() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAside);
        TWindowFixture fixture;
        QVERIFY(WriteAll(fixture.SetupFile(), bytes));
        fixture.Open().reset();
        QVERIFY2(fixture.services->messages.isEmpty(),
                 qPrintable(fixture.services->messages.join('|')));
        const QString aside = fixture.SetupFile() + ".bak";
        QCOMPARE(QFileInfo::exists(aside), keptAside);
        QCOMPARE(fixture.services->notes.join(u' ').contains(QStringLiteral(".bak")), keptAside);
        if (keptAside) QCOMPARE(ReadAll(aside), bytes);
        QVERIFY(ParseSetup(ReadAll(fixture.SetupFile())).Whole);
    }

    // A pipe where a file is read keeps nobody waiting: the setup file, a
    // conditions file and deals files of that kind are refused with a
    // message, and the setup pipe is not written either.
    void PipesAreNotReadAsFiles() {
        TWindowFixture fixture;
        QVERIFY(::mkfifo(fixture.SetupFile().toLocal8Bit().constData(), 0600) == 0);
        const QString pipe = fixture.File("pipe.cnd");
        QVERIFY(::mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
        {
            auto window = fixture.Open();
            QCOMPARE(fixture.services->messages.size(), 1);
            QVERIFY(fixture.services->messages[0].contains("generate.stp"));
            window->Controls().RichEdit->setPlainText(QStringLiteral("HCP(S) > 3"));
            fixture.services->answers = {pipe};
            window->itmOpenConditionsClick();
            QCOMPARE(fixture.services->messages.size(), 2);
            QVERIFY(fixture.services->messages[1].contains("pipe.cnd"));
            QCOMPARE(window->Controls().RichEdit->toPlainText(), QStringLiteral("HCP(S) > 3"));
            for (const char* leaf : {"pipe.dls", "pipe.pbn"}) {
                const QString deals = fixture.File(leaf);
                QVERIFY(::mkfifo(deals.toLocal8Bit().constData(), 0600) == 0);
                fixture.services->answers = {deals};
                window->itmOpenDealsClick();
                QVERIFY2(fixture.services->messages.last().contains(leaf),
                         qPrintable(fixture.services->messages.last()));
                QCOMPARE(window->Deals().Count(), 0);
            }
        }
        QCOMPARE(fixture.services->messages.size(), 4);
        QVERIFY(!QFileInfo(fixture.SetupFile()).isFile());
    }

    // A position off every screen comes back on it, as a size too large does.
    void WindowPositionComesBackOnScreen() {
        TWindowFixture fixture;
        TSetupContent content = ValidSetup();
        content.State.Left = 30000;
        content.State.Top = -20000;
        QVERIFY(WriteAll(fixture.SetupFile(), FormatSetup(content)));
        auto window = fixture.Open();
        const QRect area = window->screen()->availableVirtualGeometry();
        QVERIFY2(area.contains(QRect(window->pos(), window->size())),
                 qPrintable(QStringLiteral("%1,%2").arg(window->x()).arg(window->y())));
        QCOMPARE(window->size(), QSize(700, 500));
    }
};

QTEST_MAIN(THostileFilesTest)
#include "HostileFilesTest.moc"
