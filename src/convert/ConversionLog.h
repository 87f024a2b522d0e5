#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvin {

// The time stamp of log and console lines: the current date and time in the locale's short
// date format, a blank, and its long time format.
QString ConversionStamp();

// The lines shared by the command-line and the interactive run. `stamp` is a time stamp.
QString MessagesConvertedLine(const QString &stamp, int count); // "…\t3 messages converted"
QString WarningsLine(const QString &stamp, int count);          // "…\t1 warning"
QString OnOff(bool value);                                      // "On" / "Off"

// The log as saved: every line followed by CR LF; a line that itself holds line breaks
// becomes several lines. Text is UTF-8, the system's code page.
QByteArray ConversionLogText(const QStringList &lines);

// Saves the log to `path`, replacing an earlier one as a whole. Creates the log's folder
// (and missing parents) first. Raises "Cannot create file %s" with the path when the folder
// cannot be created or the file cannot be written.
void SaveConversionLog(const QStringList &lines, const QString &path);

} // namespace tarvin
