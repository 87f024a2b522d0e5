#pragma once

#include <QString>

namespace tarvin {

// The console of conversion mode. These go through the desktop services (Desktop()), so that
// tests record them; the services of a real process write to standard output and read from
// standard input with StdConsoleWrite and StdConsoleReadLine.
void ConsoleWrite(const QString &text);
void ConsoleWriteLine(const QString &text = QString());
QString ConsoleReadLine();

// The message, a line end, an empty line and "Press Enter to continue." without a line end;
// then waits for one line of input.
void ShowConsoleMessage(const QString &message);

// Standard output and input. The text is written as it stands and flushed; once standard
// output can no longer be written (a closed pipe, a full disk), nothing more is written and
// reading returns at once. End of input counts as Enter.
void StdConsoleWrite(const QString &text);
QString StdConsoleReadLine();

} // namespace tarvin
