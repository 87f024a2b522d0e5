#include "base/AppFolders.h"

#include "base/VersionInfo.h"

#include <QDir>
#include <QFileInfo>

namespace tarvin {

QString UserConfigFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config);
}

QString ComputeAppDataFolder() {
    return UserConfigFolder() + QLatin1Char('/') + VersionKey(2) + QLatin1Char('/') +
           VersionKey(9) + QLatin1Char('/');
}

QString AppDataFolder() {
    static const QString folder = ComputeAppDataFolder();
    return folder;
}

QString ConfigIniPath() {
    return AppDataFolder() + QStringLiteral("CONFIG.INI");
}

QString FoldersDatPath() {
    return AppDataFolder() + QStringLiteral("Folders.DAT");
}

QString ConvertLogPath() {
    return AppDataFolder() + QStringLiteral("CVTDATES.LOG");
}

bool ForceDirectories(const QString &path) {
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isDir())
        return true;
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

} // namespace tarvin
