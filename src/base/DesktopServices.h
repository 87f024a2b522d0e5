#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QObject;

namespace tarvin {

// What a save or open dialog is asked for.
struct TFileDialogRequest {
    QString Title;
    QString Folder;        // initial folder; empty for the current one
    QString SuggestedName; // without folder (save dialogs)
    QStringList Filters;   // in the file dialog's notation: "Text files (*.txt)"
    QString SelectedFilter;
};

enum class TMessageKind { Information, Warning, Error, Question };
enum class TMessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMessageAnswer { Ok, Cancel, Yes, No };

// Every way the program reaches the desktop and the user outside its own windows: opening
// files and links with other programs, message boxes and questions, the standard file, folder
// and font dialogs, running our own modal dialogs, the clipboard and the console.
//
// One object serves the whole process (Desktop()); the composition root installs the desktop
// implementation in viewer mode, and tests install a recording one with TScopedDesktop, so no
// test can reach a real dialog or start a program. `owner` is the window a dialog belongs to
// (a QWidget, or null).
class IDesktopServices {
public:
    virtual ~IDesktopServices() = default;

    // Opens a file with the program registered for its type; with none, offers the Open With
    // choice. Raises Error with the reason when it cannot be opened.
    virtual void OpenFile(QObject *owner, const QString &path) = 0;
    // The Open With choice for a file.
    virtual void OpenWith(QObject *owner, const QString &path) = 0;
    // Opens a file in the text editor.
    virtual void OpenInTextEditor(QObject *owner, const QString &path) = 0;
    // Opens a link (http, https, mailto, ftp) with the desktop's handler.
    virtual void OpenUrl(const QUrl &url) = 0;

    // A message box; returns the button chosen (`defaultAnswer` when closed otherwise).
    virtual TMessageAnswer ShowMessage(QObject *owner, TMessageKind kind, const QString &title,
                                       const QString &text,
                                       TMessageButtons buttons = TMessageButtons::Ok,
                                       TMessageAnswer defaultAnswer = TMessageAnswer::Ok) = 0;

    // The standard dialogs; each returns "" (false) when cancelled.
    virtual QString AskSaveFileName(QObject *owner, const TFileDialogRequest &request) = 0;
    virtual QString AskOpenFileName(QObject *owner, const TFileDialogRequest &request) = 0;
    virtual QString AskFolder(QObject *owner, const QString &title, const QString &folder) = 0;
    // `font` is a font description (QFont::toString()); changed in place when accepted.
    virtual bool AskFont(QObject *owner, QString &font) = 0;

    // Runs one of our own modal dialogs (a QDialog) and returns its result code.
    virtual int ExecDialog(QObject *dialog) = 0;

    // The clipboard: plain text, or a list of files to copy or to cut.
    virtual void SetClipboardText(const QString &text) = 0;
    virtual void SetClipboardFiles(const QStringList &paths, bool cut) = 0;

    // The console of conversion mode: text written as it stands and flushed; one line read
    // (end of input counts as Enter).
    virtual void WriteConsole(const QString &text) = 0;
    virtual QString ReadConsoleLine() = 0;

    // Short forms of ShowMessage.
    void ShowError(QObject *owner, const QString &title, const QString &text);
    void ShowInformation(QObject *owner, const QString &title, const QString &text);
    bool AskYesNo(QObject *owner, const QString &title, const QString &text,
                  TMessageAnswer defaultAnswer = TMessageAnswer::Yes);
};

// The services of the process: the installed ones, else the headless ones (the console on
// standard output and input, messages on standard error; nothing that needs a desktop).
IDesktopServices &Desktop();

// Makes Desktop() answer with what `source` gives (null: as above again). A library that holds
// its own copy of this code (the web library) reaches the program's services with it.
void ForwardDesktop(IDesktopServices &(*source)());

// Installs services for its lifetime and puts the earlier ones back when it ends.
class TScopedDesktop {
public:
    explicit TScopedDesktop(IDesktopServices &services);
    ~TScopedDesktop();
    TScopedDesktop(const TScopedDesktop &) = delete;
    TScopedDesktop &operator=(const TScopedDesktop &) = delete;

private:
    IDesktopServices *m_previous;
};

} // namespace tarvin
