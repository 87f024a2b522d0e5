#include "base/Console.h"

#include "base/DesktopServices.h"

#include <cstdio>

namespace tarvin {

namespace {

// Set once standard output could not be written: the run carries on without it, and nobody
// is asked to press Enter.
bool g_stdoutClosed = false;

} // namespace

void StdConsoleWrite(const QString &text) {
    if (g_stdoutClosed)
        return;
    // Texts that end lines with CR LF (the usage text, messages) get plain line feeds on a
    // Linux terminal; a lone CR (the progress line) stays.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QByteArray bytes = lines.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        g_stdoutClosed = true;
        std::clearerr(stdout);
    }
}

QString StdConsoleReadLine() {
    if (g_stdoutClosed)
        return QString();
    QByteArray line;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        line += buffer;
        if (line.endsWith('\n'))
            break;
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

void ConsoleWrite(const QString &text) {
    Desktop().WriteConsole(text);
}

void ConsoleWriteLine(const QString &text) {
    Desktop().WriteConsole(text + QLatin1Char('\n'));
}

QString ConsoleReadLine() {
    return Desktop().ReadConsoleLine();
}

void ShowConsoleMessage(const QString &message) {
    ConsoleWrite(message + QStringLiteral("\n\nPress Enter to continue."));
    ConsoleReadLine();
}

} // namespace tarvin
