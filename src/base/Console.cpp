#include "base/Console.h"

#include <cstdio>

namespace tarvin {

namespace {

class StdConsole : public TConsole {
public:
    // Texts that end lines with CR LF (the usage text, messages) get plain line feeds on a
    // Linux terminal; a lone CR (the progress line) stays.
    // Once standard output can no longer be written (a closed pipe, a full disk), the run
    // carries on without it: nothing more is written and nobody is asked to press Enter.
    void Write(const QString &text) override {
        if (m_closed)
            return;
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QByteArray bytes = lines.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            m_closed = true;
            std::clearerr(stdout);
        }
    }

    QString ReadLine() override {
        if (m_closed)
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

private:
    bool m_closed = false;
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
