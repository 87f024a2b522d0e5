#include "convert/FolderMarker.h"

#include "util/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cctype>

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

namespace {

// An INI integer as the Windows profile routines read it: optional sign, decimal digits or
// "0x" and hexadecimal digits, reading stops at the first other character.
std::optional<long long> parseIniInteger(QByteArray value) {
    value = value.trimmed();
    bool negative = false;
    if (value.startsWith('-') || value.startsWith('+')) {
        negative = value.startsWith('-');
        value.remove(0, 1);
    }
    int base = 10;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove(0, 2);
    }
    qsizetype digits = 0;
    while (digits < value.size() &&
           (base == 16 ? isxdigit(static_cast<unsigned char>(value[digits]))
                       : isdigit(static_cast<unsigned char>(value[digits]))))
        ++digits;
    if (digits == 0)
        return std::nullopt;
    bool ok = false;
    long long number = value.left(digits).toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    return negative ? -number : number;
}

} // namespace

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
        if (std::optional<long long> number = parseIniInteger(line.mid(eq + 1)))
            marker.IsTimestampUtc = *number != 0;
        return marker;
    }
    return marker;
}

} // namespace tarvin
