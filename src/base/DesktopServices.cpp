#include "base/DesktopServices.h"

#include "base/Console.h"
#include "base/Error.h"

#include <cstdio>

namespace tarvin {

void IDesktopServices::ShowError(QObject *owner, const QString &title, const QString &text) {
    ShowMessage(owner, TMessageKind::Error, title, text);
}

void IDesktopServices::ShowInformation(QObject *owner, const QString &title, const QString &text) {
    ShowMessage(owner, TMessageKind::Information, title, text);
}

bool IDesktopServices::AskYesNo(QObject *owner, const QString &title, const QString &text,
                                TMessageAnswer defaultAnswer) {
    return ShowMessage(owner, TMessageKind::Question, title, text, TMessageButtons::YesNo,
                       defaultAnswer) == TMessageAnswer::Yes;
}

namespace {

// The services of a process without a desktop (conversion mode, the usage text): the console
// works, messages go to standard error, questions take their default, and nothing that needs
// a desktop can be done.
class THeadlessDesktop : public IDesktopServices {
public:
    void OpenFile(QObject *, const QString &path) override { noDesktop(path); }
    void OpenWith(QObject *, const QString &path) override { noDesktop(path); }
    void OpenInTextEditor(QObject *, const QString &path) override { noDesktop(path); }
    void OpenUrl(const QUrl &url) override { noDesktop(url.toString()); }

    TMessageAnswer ShowMessage(QObject *, TMessageKind, const QString &title, const QString &text,
                               TMessageButtons, TMessageAnswer defaultAnswer) override {
        const QByteArray line =
            (title.isEmpty() ? text : title + QStringLiteral(": ") + text).toLocal8Bit() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        return defaultAnswer;
    }

    QString AskSaveFileName(QObject *, const TFileDialogRequest &) override { return {}; }
    QString AskOpenFileName(QObject *, const TFileDialogRequest &) override { return {}; }
    QString AskFolder(QObject *, const QString &, const QString &) override { return {}; }
    bool AskFont(QObject *, QString &) override { return false; }
    int ExecDialog(QObject *) override { return 0; }
    void SetClipboardText(const QString &) override {}
    void SetClipboardFiles(const QStringList &, bool) override {}

    void WriteConsole(const QString &text) override { StdConsoleWrite(text); }
    QString ReadConsoleLine() override { return StdConsoleReadLine(); }

private:
    [[noreturn]] static void noDesktop(const QString &what) {
        throw Error(QStringLiteral("Cannot open '%1': no desktop is available").arg(what));
    }
};

THeadlessDesktop g_headless;
IDesktopServices *g_installed = nullptr;
IDesktopServices &(*g_source)() = nullptr;

} // namespace

IDesktopServices &Desktop() {
    if (g_source)
        return g_source();
    return g_installed ? *g_installed : g_headless;
}

void ForwardDesktop(IDesktopServices &(*source)()) {
    g_source = source;
}

TScopedDesktop::TScopedDesktop(IDesktopServices &services) : m_previous(g_installed) {
    g_installed = &services;
}

TScopedDesktop::~TScopedDesktop() {
    g_installed = m_previous;
}

} // namespace tarvin
