#include "convert/ConversionLog.h"

#include "base/Error.h"
#include "util/DateTime.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvin {

QString ConversionStamp() {
    const TDateTime now = QDateTimeToDateTime(QDateTime::currentDateTime());
    return FormatShortDate(now) + QLatin1Char(' ') + FormatLongTime(now);
}

QString MessagesConvertedLine(const QString &stamp, int count) {
    const QString tail =
        count == 1 ? QStringLiteral(" message converted") : QStringLiteral(" messages converted");
    return stamp + QLatin1Char('\t') + QString::number(count) + tail;
}

QString WarningsLine(const QString &stamp, int count) {
    const QString tail = count == 1 ? QStringLiteral(" warning") : QStringLiteral(" warnings");
    return stamp + QLatin1Char('\t') + QString::number(count) + tail;
}

QString OnOff(bool value) {
    return value ? QStringLiteral("On") : QStringLiteral("Off");
}

QByteArray ConversionLogText(const QStringList &lines) {
    QByteArray text;
    for (const QString &line : lines) {
        QByteArray bytes = line.toUtf8();
        bytes.replace("\r\n", "\n");
        bytes.replace('\r', '\n');
        bytes.replace("\n", "\r\n");
        text += bytes;
        text += "\r\n";
    }
    return text;
}

void SaveConversionLog(const QStringList &lines, const QString &path) {
    const QString cannotCreate = QStringLiteral("Cannot create file %1").arg(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw Error(cannotCreate);
    QSaveFile file(path);
    const QByteArray text = ConversionLogText(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw Error(cannotCreate);
}

} // namespace tarvin
