#pragma once

#include "base/DesktopServices.h"

class QMimeData;

namespace tarvin {

// The desktop services of the windowed program: files open with the desktop's programs
// through GIO (the Open With dialog when none is associated with the type), links with the
// desktop's handler, message boxes and the standard dialogs of Qt, the system clipboard, and
// the console on standard output and input. The composition root installs one in viewer mode.
class TDesktopServices : public IDesktopServices {
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

// The clipboard data for a list of files: "text/uri-list" and, for file managers that copy
// or move, "x-special/gnome-copied-files" ("copy" or "cut", then the same URIs). The URIs
// carry the file system's bytes of each path.
QMimeData *FileListMimeData(const QStringList &paths, bool cut);

} // namespace tarvin
