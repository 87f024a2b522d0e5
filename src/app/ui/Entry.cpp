#include "app/ui/Entry.h"

#include "app/CommandLine.h"
#include "app/InstanceMessage.h"
#include "app/SingleInstance.h"
#include "app/ui/BringToFront.h"
#include "app/ui/FeatureWiring.h"
#include "base/DesktopServices.h"
#include "base/VersionInfo.h"
#include "convert/ConverterHelper.h"
#include "util/NativePath.h"
#include "util/WorkFolder.h"
#include "util/ui/DesktopServicesImpl.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

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

// The single-instance check of viewer mode, before any window: hands the arguments to the
// viewer of this program file that runs already, or claims the instance socket.
TViewerStart claimViewer(const QStringList &arguments) {
    try {
        return StartSingleInstance(arguments,
                                   InstanceSocketPath(CanonicalProgramPath(), PrivateTempFolder()));
    } catch (const Error &error) {
        // No private folder: run as a viewer of our own rather than not at all.
        const QByteArray line = "tarvin: " + error.message().toUtf8() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        return TViewerStart();
    }
}

// SIGTERM (a session that ends, "kill") ends the event loop as closing the windows would, so
// that the viewer removes its instance socket and saves its settings on the way out. The
// handler only writes to a pipe; the event loop reads it.
int g_terminatePipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_terminatePipe[1], &byte, 1);
}

void quitOnTerminate(QObject *owner) {
    if (::pipe2(g_terminatePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_terminatePipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char byte;
        while (::read(g_terminatePipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

// A second start's command line: the first argument is opened, as at start-up, and its window
// comes to the front.
void openHandedOver(TViewerWindows &viewers, const QStringList &lines, const QString &folder) {
    const QStringList arguments = ResolveReceivedArguments(lines, folder);
    if (arguments.isEmpty())
        return; // nothing to show until the explorer window exists
    try {
        if (viewers.OpenCommandLineFile(arguments.first()))
            BringToFront(viewers.FindFileWindow(QFileInfo(arguments.first()).absoluteFilePath()));
    } catch (const Error &error) {
        // Shown here: nothing may escape into the socket's event handling.
        Desktop().ShowError(nullptr, VersionKey(9), error.message());
    }
}

} // namespace

int RunViewer(const QStringList &arguments, TInstanceServer *server) {
    if (arguments.isEmpty())
        return 0;
    // Until the explorer exists, the first argument is opened here: a message file in a viewer
    // window, any other file with its program. The program ends with the last viewer window.
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    if (server) {
        QObject::connect(server, &TInstanceServer::ArgumentsReceived, &viewers,
                         [&viewers](const QStringList &lines, const QString &folder) {
                             openHandedOver(viewers, lines, folder);
                         });
        server->Listen();
    }
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
        // A second start hands over and ends here, without a display or an application object.
        const TViewerStart start = claimViewer(arguments);
        if (start.HandedOver)
            return start.ExitStatus;
        QApplication app(argc, argv);
        quitOnTerminate(&app);
        // Made after the application and gone before it; connections wait until it listens.
        std::unique_ptr<TInstanceServer> server;
        if (start.ListeningSocket >= 0)
            server = std::make_unique<TInstanceServer>(start.ListeningSocket, start.SocketPath);
        // The application has taken its own options ("-style fusion", "-platform xcb") out of
        // the list; what remains is ours.
        arguments = processArguments(argc, argv);
        QApplication::setApplicationName(VersionKey(9));
        // Windows reach the desktop (programs, dialogs, the clipboard) through these.
        TDesktopServices desktop;
        TScopedDesktop desktopScope(desktop);
        // No display name: X11 would append it to every window title ("Mail From: Ann — Tarvin").
        ParseCommandLine(arguments, RunCommandLineConversion);
        return RunViewer(arguments, server.get());
    }
    // Conversion mode keeps the headless desktop services: the console, no windows.
    QCoreApplication app(argc, argv);
    return ParseCommandLine(arguments, RunCommandLineConversion);
}

} // namespace tarvin
