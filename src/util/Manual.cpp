#include "util/Manual.h"

#include "base/AppFolders.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/IniFile.h"
#include "base/VersionInfo.h"
#include "util/NativePath.h"

#include <QDir>
#include <QFileInfo>

namespace tarvin {

namespace {
const QString kManualName = QStringLiteral("halvorn-tarvin-manual.pdf");
} // namespace

QStringList DefaultHelpConfigFolders() {
    return {UserConfigFolder(), QStringLiteral("/etc/xdg")};
}

QString HelpFolder(const QStringList &configFolders) {
    const Error notFound(QStringLiteral("Could not determine the location of Pelorin"));
    for (const QString &folder : configFolders) {
        QString iniPath = WithTrailingSlash(folder) + QStringLiteral("pelorin.ini");
        if (!QFileInfo(iniPath).isFile())
            continue;
        TIniFile ini(iniPath);
        QString install = ini.ReadString(QStringLiteral("1.0"), QStringLiteral("pelorin"), {});
        if (install.isEmpty() || !QFileInfo(install).isDir())
            throw notFound;
        QString help =
            ini.ReadString(QStringLiteral("1.0"), QStringLiteral("Applet Help"), {}).trimmed();
        if (help.isEmpty())
            help = WithTrailingSlash(install) + QStringLiteral("Help");
        return WithTrailingSlash(help);
    }
    throw notFound;
}

QString ManualFilePath(const QString &programFolder, const QStringList &configFolders) {
    QString help = HelpFolder(configFolders);
    QString beside = WithTrailingSlash(programFolder) + kManualName;
    if (QFileInfo(beside).isFile())
        return beside;
    return help + kManualName;
}

void OpenManual() {
    Desktop().OpenFile(nullptr, ManualFilePath(QFileInfo(ProgramFilePath()).absolutePath(),
                                               DefaultHelpConfigFolders()));
}

} // namespace tarvin
