#pragma once

#include <QString>

namespace tarvin {

// Texts of the about box and splash window, from the program's version information.

// "About " followed by the product name.
QString AboutCaption(const QString &productName);

// "Version " followed by the file version up to, not including, its second "."; only
// "Version " when the file version has fewer than two dots.
QString AboutVersionLine(const QString &fileVersion);

// The file version, ", ", the program file's last-write date (short date format), CR LF and
// the program file's full path in parentheses.
QString AboutReleaseText(const QString &fileVersion, const QString &programPath);

} // namespace tarvin
