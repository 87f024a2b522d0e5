#pragma once

#include <QHash>
#include <QString>

namespace tarvin {

// The version information compiled into the program ("CompanyName", "FileVersion",
// "ProductName", "LegalCopyright", ...), read from the program's own resource.
class TVersionInfo {
public:
    explicit TVersionInfo(const QString &resourcePath = QStringLiteral(":/tarvin/version.ini"));

    // The value of a version key by name; empty when the key is absent.
    QString Value(const QString &key) const;
    // The value of a version key by index: 2 CompanyName, 4 FileVersion, 9 ProductName (and the
    // other standard indices); empty for an unknown index.
    QString Key(int index) const;

private:
    QHash<QString, QString> m_values;
};

// The process-wide reader, created on first use.
const TVersionInfo &AppVersionInfo();
QString VersionKey(int index);
QString VersionValue(const QString &key);
// The product's name for captions: "ProductName", else the application's name.
QString ProductName();

// Full path of the running program file, and its file name without folder and extension.
QString ProgramFilePath();
QString ProgramBaseName();

} // namespace tarvin
