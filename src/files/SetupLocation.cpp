#include "files/SetupLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
const QString SetupFileName = QStringLiteral("generate.stp");
}

QString UserSetupFolder() {
    // Only an absolute XDG_CONFIG_HOME counts: a relative one would follow the
    // working folder, so it is ignored, as the XDG rules say.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString config = QDir::isAbsolutePath(configured)
                               ? configured
                               : QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/korvana");
}

bool FolderTakesNewFiles(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(folder + QStringLiteral("/.korvana-probe-XXXXXX"));
    return probe.open();  // removed again when the probe goes
}

bool SetupFileWritable(const QString& folder) {
    const QFileInfo file(folder + u'/' + SetupFileName);
    return file.isFile() ? file.isWritable() && FolderTakesNewFiles(folder)
                         : FolderTakesNewFiles(folder);
}

bool IsInstalledFolder(const QString& programFolder) {
    const QString folder = QDir::cleanPath(programFolder);
    return folder == QStringLiteral("/usr") || folder.startsWith(QStringLiteral("/usr/"));
}

QString ChooseSetupFolder(const QString& programFolder) {
    // An installed program never writes beside itself, even when it could (as root).
    if (!IsInstalledFolder(programFolder) &&
        (QFileInfo(programFolder + u'/' + SetupFileName).isFile() ||
         FolderTakesNewFiles(programFolder)))
        return programFolder;
    const QString user = UserSetupFolder();
    QDir().mkpath(user);
    return user;
}
