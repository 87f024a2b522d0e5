#include "base/VersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

static void initVersionResource() {
    Q_INIT_RESOURCE(tarvin_version);
}

namespace tarvin {

namespace {

// Index order of the string keys in a version resource.
const char *const kKeyNames[] = {
    "Comments",       "InternalName",    "CompanyName",      "FileDescription", "FileVersion",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductVersion",  "ProductName"};

} // namespace

TVersionInfo::TVersionInfo(const QString &resourcePath) {
    initVersionResource();
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        QString line = QString::fromUtf8(raw).trimmed();
        int eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')) || eq <= 0)
            continue;
        m_values.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
}

QString TVersionInfo::Value(const QString &key) const {
    return m_values.value(key);
}

QString TVersionInfo::Key(int index) const {
    if (index < 0 || index >= static_cast<int>(std::size(kKeyNames)))
        return QString();
    return Value(QString::fromLatin1(kKeyNames[index]));
}

const TVersionInfo &AppVersionInfo() {
    static const TVersionInfo info;
    return info;
}

QString VersionKey(int index) {
    return AppVersionInfo().Key(index);
}

QString VersionValue(const QString &key) {
    return AppVersionInfo().Value(key);
}

QString ProgramFilePath() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ProgramBaseName() {
    return QFileInfo(ProgramFilePath()).completeBaseName();
}

QString ProductName() {
    const QString name = VersionKey(9);
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
}

} // namespace tarvin
