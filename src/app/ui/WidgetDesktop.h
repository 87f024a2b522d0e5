#pragma once

#include "base/DesktopServices.h"

namespace tarvin {

// The desktop of viewer mode: programs through GIO (util/ShellOpen.h), Qt's message boxes and
// standard dialogs, our own dialogs run modally, the system clipboard.
class TWidgetDesktop : public IDesktopServices {
public:
    void OpenFile(QObject *owner, const QString &path) override;
    void OpenWith(QObject *owner, const QString &path) override;
    void OpenInTextEditor(QObject *owner, const QString &path) override;
    void OpenUrl(const QUrl &url) override;
    TMessageAnswer ShowMessage(QObject *owner, TMessageKind kind, const QString &title,
                               const QString &text, TMessageButtons buttons,
                               TMessageAnswer defaultAnswer) override;
    QString AskSaveFileName(QObject *owner, const TFileDialogRequest &request) override;
    QString AskOpenFileName(QObject *owner, const TFileDialogRequest &request) override;
    QString AskFolder(QObject *owner, const QString &title, const QString &folder) override;
    bool AskFont(QObject *owner, QString &font) override;
    int ExecDialog(QObject *dialog) override;
    void SetClipboardText(const QString &text) override;
    void SetClipboardFiles(const QStringList &paths, bool cut) override;
    void WriteConsole(const QString &text) override;
    QString ReadConsoleLine() override;
};

} // namespace tarvin
