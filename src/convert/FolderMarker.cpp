#include "convert/FolderMarker.h"

#include "base/Error.h"
#include "base/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvin {

QString MarkerFilePath(const QString &folder) {
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QLatin1String(kMarkerFileName);
}

QByteArray MarkerFileContent(bool isTimestampUtc) {
    // The trademark sign is the single byte 0x99 (code page 1252), as Windows readers of
    // these folders expect; the rest is ASCII.
    QByteArray text;
    text += "; This is a system file created by Halvorn\x99 Stowell.\r\n";
    text += ";\r\n";
    text += "; Please keep this file in the same location as the .PML files in this folder.\r\n";
    text += "\r\n";
    text += "[File Options]\r\n";
    text += isTimestampUtc ? "IsTimestampUtc=1\r\n" : "IsTimestampUtc=0\r\n";
    return text;
}

void WriteFolderMarker(const QString &folder, bool isTimestampUtc) {
    const QString path = MarkerFilePath(folder);
    QSaveFile file(path);
    const QByteArray content = MarkerFileContent(isTimestampUtc);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw Error(QStringLiteral("Cannot create file %1").arg(path));
}

bool FolderMarkerExists(const QString &folder) {
    QFileInfo info(MarkerFilePath(folder));
    return info.exists() && !info.isDir();
}

TFolderMarker ReadFolderMarker(const QString &folder) {
    TFolderMarker marker;
    QFile file(MarkerFilePath(folder));
    QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return marker;
    marker.Exists = true;
    // A marker is a few lines; anything much larger is not one of ours.
    if (info.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly))
        return marker;
    bool inSection = false;
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare("[File Options]", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(';'))
            continue;
        qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed().compare("IsTimestampUtc", Qt::CaseInsensitive) != 0)
            continue;
        // Read as the settings file reads its integers: text that is not a whole number
        // leaves the key to the reader's default.
        int number = 0;
        if (TryParseIniInteger(QString::fromUtf8(line.mid(eq + 1)), number))
            marker.IsTimestampUtc = number != 0;
        return marker;
    }
    return marker;
}

} // namespace tarvin
