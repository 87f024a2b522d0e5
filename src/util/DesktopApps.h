#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvin {

// An application the desktop knows (a ".desktop" entry found through GIO), or a program file
// the user picked (ProgramPath set, Id empty).
struct TDesktopApp {
    QString Id;            // desktop file id, e.g. "org.gnome.TextEditor.desktop"
    QString Name;          // name to show
    QStringList IconNames; // theme icon names, best first
    QString IconFile;      // absolute path of an icon file, when the entry names one
    QString Executable;    // the program the entry starts
    QString ProgramPath;   // a program file picked by the user

    bool operator==(const TDesktopApp &other) const {
        return Id == other.Id && ProgramPath == other.ProgramPath;
    }
};

// The lookups and launching that open files with other programs. They read the freedesktop
// MIME associations (mimeapps.list) and ".desktop" entries through GIO's GAppInfo, which finds
// them through the XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CONFIG_HOME and XDG_CONFIG_DIRS folders.
// GIO reads those variables once per process.

// The MIME type of a file, from its name and content (QMimeDatabase).
QString FileMimeType(const QString &filePath);

// The default application for a MIME type, or nothing when no program is associated with it.
std::optional<TDesktopApp> DefaultAppForType(const QString &mimeType);

// The applications that can open a MIME type, the default first, then the recommended ones.
QList<TDesktopApp> AppsForType(const QString &mimeType);

// Every application that is shown in menus, sorted by name.
QList<TDesktopApp> AllApps();

// A program file picked by the user as an application; raises Error when `programPath` is not
// an executable file.
TDesktopApp AppForProgram(const QString &programPath);

// Starts the application with the file as its argument (never through a shell) and does not
// wait for it. Raises Error with GIO's text when the program cannot be started.
void LaunchApp(const TDesktopApp &app, const QString &filePath);

// Makes the application the default for the MIME type in the user's mimeapps.list. Raises
// Error with GIO's text on failure.
void SetDefaultAppForType(const TDesktopApp &app, const QString &mimeType);

} // namespace tarvin
