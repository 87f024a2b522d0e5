#pragma once

#include <QString>
#include <QStringList>

namespace tarvin {

// An INI file held in memory: sections of "key=value" lines. Reading follows the rules of the
// classic profile routines, which QSettings does not (it neither reads "0x" integers nor
// keeps the file's own layout and comments):
// - section and key names are compared without regard to case;
// - values are trimmed, a pair of surrounding quotes is removed, and at most 2047 characters
//   are returned;
// - integers are decimal with an optional sign, or hexadecimal after "0x"; anything else
//   (including an empty value) reads as the default;
// - booleans are written "1" or "0" and read as integers, non-zero meaning true;
// - a missing file, section or key reads as the default.
// Writing changes the lines in memory; UpdateFile writes the file whole, replacing it only
// once the new content is complete.
class TIniFile {
public:
    static constexpr int kMaxValueLength = 2047;

    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }

    bool ValueExists(const QString &section, const QString &key) const;
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Writes the file (CR LF line ends). Raises Error("Unable to write to %s") on failure.
    void UpdateFile() const;

    // The file's text as it would be written.
    QString Text() const;

private:
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    int sectionEnd(int sectionLine) const;

    QString m_fileName;
    QStringList m_lines;
};

// Reads an integer the way the INI rules above do; false for text that is not an integer.
bool TryParseIniInteger(const QString &text, int &value);

} // namespace tarvin
