#include "dialogs/AboutTexts.h"

#include "util/DateTime.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace tarvin {

QString AboutCaption(const QString &productName) {
    return QStringLiteral("About ") + productName;
}

QString AboutVersionLine(const QString &fileVersion) {
    const qsizetype first = fileVersion.indexOf(QLatin1Char('.'));
    const qsizetype second = first < 0 ? -1 : fileVersion.indexOf(QLatin1Char('.'), first + 1);
    if (second < 0)
        return QStringLiteral("Version ");
    return QStringLiteral("Version ") + fileVersion.left(second);
}

QString AboutReleaseText(const QString &fileVersion, const QString &programPath) {
    const QFileInfo info(programPath);
    QString fullPath = info.canonicalFilePath();
    if (fullPath.isEmpty())
        fullPath = info.absoluteFilePath();
    QString date;
    const QDateTime modified = info.lastModified();
    if (modified.isValid())
        date = QLocale::system().toString(modified.date(), ShortDateFormat());
    return fileVersion + QStringLiteral(", ") + date + QStringLiteral("\r\n(") + fullPath +
           QLatin1Char(')');
}

} // namespace tarvin
