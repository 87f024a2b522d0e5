#pragma once

#include <QString>

namespace tarvin {

// Where console texts go: standard output and standard input by default. Tests install a
// recording console of their own.
class TConsole {
public:
    virtual ~TConsole() = default;
    virtual void Write(const QString &text) = 0; // written and flushed as it stands
    virtual QString ReadLine() = 0;              // one line; end of input counts as Enter
};

TConsole &Console();
// Installs a console; nullptr restores the standard one. Returns the previous one.
TConsole *SetConsole(TConsole *console);

void ConsoleWrite(const QString &text);
void ConsoleWriteLine(const QString &text = QString());
QString ConsoleReadLine();

// The message, a line end, an empty line and "Press Enter to continue." without a line end;
// then waits for one line of input.
void ShowConsoleMessage(const QString &message);

} // namespace tarvin
