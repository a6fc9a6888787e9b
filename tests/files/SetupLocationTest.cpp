// Where the setup file lives: beside the program when it can, otherwise in the
// user's configuration folder; never a folder where it cannot be written.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "files/SetupLocation.h"
#include "support/HostileMounts.h"
#include "support/TempFolder.h"

class TSetupLocationTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("XDG_CONFIG_HOME", config_.QtPath().toLocal8Bit()); }

    void WritableProgramFolderKeepsTheFileBesideTheProgram() {
        const TTempFolder program;
        QCOMPARE(ChooseSetupFolder(program.QtPath()), program.QtPath());
        QVERIFY(SetupFileWritable(program.QtPath()));
        QVERIFY(
            QDir(program.QtPath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QVERIFY(!QDir(UserSetupFolder()).exists());
    }

    void ReadOnlyProgramFolderUsesTheConfigurationFolder() {
        const TTempFolder work;
        const QString program = work.QtPath() + "/bin";
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(program.toStdString(), 64) ||
            !THostileMounts::MakeReadOnly(program.toStdString()))
            QSKIP("mounting a small read-only disk is not allowed here");
        QVERIFY(!FolderTakesNewFiles(program));
        const QString chosen = ChooseSetupFolder(program);
        QCOMPARE(chosen, config_.QtPath() + "/korvana");
        QVERIFY(QDir(chosen).exists());
        QVERIFY(SetupFileWritable(chosen));
    }

    // A portable copy whose setup file is already beside it keeps using it,
    // and the program can tell that it cannot write it back.
    void ExistingSetupFileStaysWhereItIs() {
        const TTempFolder work;
        const QString program = work.QtPath() + "/portable";
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(program.toStdString(), 64))
            QSKIP("mounting a small disk is not allowed here");
        QFile file(program + "/generate.stp");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(ChooseSetupFolder(program), program);
        QVERIFY(SetupFileWritable(program));
        QVERIFY(THostileMounts::MakeReadOnly(program.toStdString()));
        QCOMPARE(ChooseSetupFolder(program), program);
        QVERIFY(!SetupFileWritable(program));
    }

    // An installed program writes nothing beside itself, even as root, and
    // nothing of the installed folder is looked at.
    void InstalledProgramUsesTheConfigurationFolder() {
        for (const QString& program : {QStringLiteral("/usr/bin"), QStringLiteral("/usr/games/")})
            QCOMPARE(ChooseSetupFolder(program), config_.QtPath() + "/korvana");
        QVERIFY(!QFileInfo::exists("/usr/bin/generate.stp"));
        QVERIFY(!IsInstalledFolder("/usrlocal/bin"));
        qputenv("XDG_CONFIG_HOME", "relative");  // only an absolute one counts
        QCOMPARE(UserSetupFolder(), QDir::homePath() + "/.config/korvana");
    }

private:
    const TTempFolder config_;
};

QTEST_MAIN(TSetupLocationTest)
#include "SetupLocationTest.moc"
