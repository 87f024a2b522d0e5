#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tarvin {

// What the save dialog is asked for.
struct TSaveDialogRequest {
    QString Title;
    QString Folder;        // initial folder; empty for the current one
    QString SuggestedName; // without folder
    QStringList Filters;   // in the file dialog's notation
    QString SelectedFilter;
};

// The viewer's ways of reaching the desktop: opening files with other programs, asking
// for a file name to save under, reporting a failure. The defaults use the desktop's
// handlers and standard dialogs; tests put recording stand-ins in their place.
struct TFrameDesktop {
    // Opens a file with the program registered for its type (Open With when none is).
    std::function<void(const QString &path)> OpenFile;
    // Opens a file in the text editor.
    std::function<void(const QString &path)> OpenInTextEditor;
    // Asks where to save; returns the chosen path or "" when cancelled.
    std::function<QString(QWidget *parent, const TSaveDialogRequest &request)> AskSaveFileName;
    // Shows a failure to the user.
    std::function<void(QWidget *parent, const QString &title, const QString &text)> ShowError;

    // The process-wide set that new frames copy.
    static TFrameDesktop &Default();
};

} // namespace tarvin
