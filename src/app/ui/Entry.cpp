#include "app/ui/Entry.h"

#include "app/CommandLine.h"
#include "app/ui/FeatureWiring.h"
#include "base/VersionInfo.h"
#include "convert/ConverterHelper.h"
#include "util/NativePath.h"
#include "util/ui/DesktopServicesImpl.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <csignal>

namespace tarvin {

namespace {

// The arguments as the file system's bytes, so that a file or folder whose name is not valid
// UTF-8 can still be found (util/NativePath.h).
QStringList processArguments(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(DecodeNativePath(argv[i]));
    return arguments;
}

// Whether the arguments select viewer mode; errors and conversion are handled later, under
// a QCoreApplication.
bool selectsViewer(const QStringList &arguments) {
    try {
        return ParseArguments(arguments, QString(), QString()).Mode == rmViewer;
    } catch (const Error &) {
        return false;
    }
}

} // namespace

int RunViewer(const QStringList &arguments) {
    if (arguments.isEmpty())
        return 0;
    // Until the explorer exists, the first argument is opened here: a message file in a viewer
    // window, any other file with its program. The program ends with the last viewer window.
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    if (!viewers.OpenCommandLineFile(arguments.first()))
        return 0;
    return QApplication::exec();
}

int RunProgram(int argc, char **argv) {
    // A closed output pipe ("tarvin /C dir | head") must not end the run half-way: writes then
    // fail, and the console carries on silently.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments = processArguments(argc, argv);
    if (selectsViewer(arguments)) {
        QApplication app(argc, argv);
        // The application has taken its own options ("-style fusion", "-platform xcb") out of
        // the list; what remains is ours.
        arguments = processArguments(argc, argv);
        QApplication::setApplicationName(VersionKey(9));
        // Windows reach the desktop (programs, dialogs, the clipboard) through these.
        TDesktopServices desktop;
        TScopedDesktop desktopScope(desktop);
        // No display name: X11 would append it to every window title ("Mail From: Ann — Tarvin").
        ParseCommandLine(arguments, RunCommandLineConversion);
        return RunViewer(arguments);
    }
    // Conversion mode keeps the headless desktop services: the console, no windows.
    QCoreApplication app(argc, argv);
    return ParseCommandLine(arguments, RunCommandLineConversion);
}

} // namespace tarvin
