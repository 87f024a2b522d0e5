#include "base/IniFile.h"

#include "base/Error.h"

#include <QFile>
#include <QSaveFile>
#include <climits>

namespace tarvin {

namespace {

bool isSectionLine(const QString &line, QString *name = nullptr) {
    QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    if (name)
        *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool splitKeyLine(const QString &line, QString &key, QString &value) {
    QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

bool TryParseIniInteger(const QString &text, int &value) {
    QString t = text.trimmed();
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        QString digits = t.mid(2);
        if (digits.isEmpty() || digits.startsWith(QLatin1Char('+')) ||
            digits.startsWith(QLatin1Char('-')))
            return false;
        qulonglong u = digits.toULongLong(&ok, 16);
        if (!ok || u > 0xFFFFFFFFULL)
            return false;
        value = static_cast<int>(static_cast<quint32>(u));
        return true;
    }
    v = t.toLongLong(&ok, 10);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

TIniFile::TIniFile(const QString &fileName) : m_fileName(fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = QString::fromLocal8Bit(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

int TIniFile::findSection(const QString &section) const {
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines.at(i), &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TIniFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < m_lines.size() && !isSectionLine(m_lines.at(i)))
        ++i;
    return i;
}

int TIniFile::findKey(int sectionLine, const QString &key) const {
    if (sectionLine < 0)
        return -1;
    QString k, v;
    int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        if (splitKeyLine(m_lines.at(i), k, v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const {
    return findKey(findSection(section), key) >= 0;
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const {
    int line = findKey(findSection(section), key);
    if (line < 0)
        return defaultValue.left(kMaxValueLength);
    QString k, value;
    splitKeyLine(m_lines.at(line), k, value);
    if (value.size() >= 2 &&
        ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
         (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
        value = value.mid(1, value.size() - 2);
    return value.left(kMaxValueLength);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const {
    int value = 0;
    if (!ValueExists(section, key) || !TryParseIniInteger(ReadString(section, key, {}), value))
        return defaultValue;
    return value;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    // Line breaks would split the entry; they cannot be stored in an INI value.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString entry = key + QLatin1Char('=') + flat;
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(entry);
        return;
    }
    int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        m_lines[keyLine] = entry;
        return;
    }
    // Append after the section's last non-empty line.
    int end = sectionEnd(sectionLine);
    while (end > sectionLine + 1 && m_lines.at(end - 1).trimmed().isEmpty())
        --end;
    m_lines.insert(end, entry);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString TIniFile::Text() const {
    QString text;
    for (const QString &line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

void TIniFile::UpdateFile() const {
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(Text().toLocal8Bit()) < 0 || !file.commit())
        throw Error(QStringLiteral("Unable to write to %1").arg(m_fileName));
}

} // namespace tarvin
