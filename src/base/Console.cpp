#include "base/Console.h"

#include <cstdio>

namespace tarvin {

namespace {

class StdConsole : public TConsole {
public:
    // Texts that end lines with CR LF (the usage text, messages) get plain line feeds on a
    // Linux terminal; a lone CR (the progress line) stays.
    void Write(const QString &text) override {
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QByteArray bytes = lines.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    }

    QString ReadLine() override {
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
};

StdConsole g_stdConsole;
TConsole *g_console = nullptr;

} // namespace

TConsole &Console() {
    return g_console ? *g_console : g_stdConsole;
}

TConsole *SetConsole(TConsole *console) {
    TConsole *previous = g_console;
    g_console = console;
    return previous;
}

void ConsoleWrite(const QString &text) {
    Console().Write(text);
}

void ConsoleWriteLine(const QString &text) {
    Console().Write(text + QLatin1Char('\n'));
}

QString ConsoleReadLine() {
    return Console().ReadLine();
}

void ShowConsoleMessage(const QString &message) {
    ConsoleWrite(message + QStringLiteral("\n\nPress Enter to continue."));
    ConsoleReadLine();
}

} // namespace tarvin
