#include "app/ui/Entry.h"

#include "app/CommandLine.h"
#include "app/InstanceMessage.h"
#include "app/SingleInstance.h"
#include "app/ui/BringToFront.h"
#include "app/ui/ExplorerDialogs.h"
#include "app/ui/ExportWiring.h"
#include "app/ui/FeatureWiring.h"
#include "app/ui/StartupTrace.h"
#include "app/ui/WebFeatures.h"
#include "base/DesktopServices.h"
#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "convert/ConverterHelper.h"
#include "dialogs/ui/SplashScreen.h"
#include "explorer/ui/ExplorerForm.h"
#include "util/NativePath.h"
#include "util/QuitSignals.h"
#include "util/WorkFolder.h"
#include "util/ui/DesktopServicesImpl.h"
#include "view/ui/HtmlBody.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace tarvin {

namespace {

// The least time the splash window stays up at a start without arguments.
constexpr int kSplashMilliseconds = 2000;

// Whether the arguments select viewer mode; errors and conversion are handled later, under
// a QCoreApplication.
bool selectsViewer(const QStringList &arguments) {
    try {
        return ParseArguments(arguments, QString(), QString()).Mode == rmViewer;
    } catch (const Error &) {
        return false;
    }
}

// Whether the arguments select the export to PDF (errors are handled by that mode).
bool selectsPdfExport(const QStringList &arguments) {
    try {
        return ParseArguments(arguments, QString(), QString()).Mode == rmExportPdf;
    } catch (const Error &) {
        return false;
    }
}

// SIGTERM, SIGINT and SIGHUP end the event loop as closing the windows would, so that the
// viewer removes its work folders and instance socket and saves its settings on the way out.
// The handlers only write to a pipe; the event loop reads it.
void quitOnTerminate(QObject *owner) {
    const int fd = InstallQuitSignalHandlers();
    if (fd < 0)
        return;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [owner] {
        DrainQuitSignalPipe();
        // A dialog shown before the main loop runs (an error while opening the files of the
        // command line, and what it leads to) has a loop of its own that quit() does not end:
        // such dialogs are dismissed until the program ends, and the start ends at the check
        // after opening.
        auto dismissDialogs = [] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (!widget->isVisible() || !widget->isModal())
                    continue;
                if (auto *dialog = qobject_cast<QDialog *>(widget))
                    dialog->reject();
                else
                    widget->close();
            }
        };
        dismissDialogs();
        auto *timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, owner, dismissDialogs);
        timer->start(100);
        QCoreApplication::quit();
    });
}

// The window for `file`, still being read, comes to the front once it is shown.
void bringToFrontWhenOpened(TViewerWindows &viewers, const QString &file) {
    auto *watch = new QObject(&viewers);
    QObject::connect(&viewers, &TViewerWindows::WindowOpened, watch,
                     [watch, file](TTarvinForm *window) {
                         if (window->FileName() != file)
                             return;
                         BringToFront(window);
                         watch->deleteLater();
                     });
    QObject::connect(&viewers, &TViewerWindows::OpenFailed, watch,
                     [watch, file](const QString &failed) {
                         if (failed == file)
                             watch->deleteLater();
                     });
}

// A second start's command line replaces the explorer's pending files: the first is opened
// and its window comes to the front; without any, the explorer itself comes to the front.
void openHandedOver(TExplorerForm &explorer, const QStringList &lines, const QString &folder) {
    const QStringList arguments = ResolveReceivedArguments(lines, folder);
    try {
        explorer.OpenCommandLineFiles(arguments, true);
        QWidget *front = &explorer;
        if (!arguments.isEmpty()) {
            const QString file = QFileInfo(arguments.first()).absoluteFilePath();
            front = explorer.Viewers().FindFileWindow(file);
            if (!front && explorer.Viewers().IsOpening(file))
                bringToFrontWhenOpened(explorer.Viewers(), file);
        }
        if (front)
            BringToFront(front);
    } catch (const Error &error) {
        // Shown here: nothing may escape into the socket's event handling.
        Desktop().ShowError(nullptr, ProductName(), error.message());
    }
}

} // namespace

int RunViewer(const QStringList &arguments, TInstanceServer *server) {
    const bool noArguments = arguments.isEmpty();
    // The explorer ends the program when it closes, and the viewer windows end it when the
    // last of them closes while the explorer is hidden; no other window does.
    QApplication::setQuitOnLastWindowClosed(false);
    TExplorerDialogs explorerDialogs;
    auto explorer = std::make_unique<TExplorerForm>();
    explorer->SetDialogs(&explorerDialogs);
    ConnectViewerWindows(explorer->Viewers());
    ConnectExplorer(*explorer);
    if (server) {
        QObject::connect(server, &TInstanceServer::ArgumentsReceived, explorer.get(),
                         [&explorer](const QStringList &lines, const QString &folder) {
                             openHandedOver(*explorer, lines, folder);
                         });
        server->Listen();
    }

    std::unique_ptr<TSplashScreen> splash;
    if (noArguments) {
        splash = std::make_unique<TSplashScreen>(explorer.get());
        splash->show();
        QCoreApplication::processEvents();
    }
    QDeadlineTimer splashDeadline(kSplashMilliseconds);
    try {
        explorer->OpenCommandLineFiles(arguments, false);
    } catch (const Error &error) {
        Desktop().ShowError(explorer.get(), ProductName(), error.message());
    }
    if (explorer->EndRequested() || QuitSignalReceived())
        return 0;
    if (splash)
        splash->raise(); // above the explorer it belongs to, which was shown after it
    if (noArguments) {
        // The splash stays at least its time while the explorer already answers; then the
        // folder tree and the message list come alive.
        QTimer::singleShot(int(std::max<qint64>(0, splashDeadline.remainingTime())), explorer.get(),
                           [&splash, &explorer] {
                               splash.reset();
                               try {
                                   explorer->ActivateExplorer();
                               } catch (const Error &error) {
                                   Desktop().ShowError(explorer.get(), ProductName(),
                                                       error.message());
                               }
                           });
    }
    const int status = QApplication::exec();
    splash.reset();
    // The explorer saves its settings as it goes, while the desktop is still installed.
    explorer.reset();
    return status;
}

int RunProgram(int argc, char **argv, const TViewerStart *claimed) {
    // A closed output pipe ("tarvin /C dir | head") must not end the run half-way: writes then
    // fail, and the console carries on silently.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments = ProgramArguments(argc, argv);
    if (selectsViewer(arguments)) {
        // A second start hands over and ends here, without a display or an application object.
        const TViewerStart start = claimed ? *claimed : ClaimViewer(arguments);
        if (start.HandedOver)
            return start.ExitStatus;
        QApplication app(argc, argv);
        quitOnTerminate(&app);
        InstallStartupTrace();
        // Made after the application and gone before it; connections wait until it listens.
        std::unique_ptr<TInstanceServer> server;
        if (start.ListeningSocket >= 0)
            server = std::make_unique<TInstanceServer>(start.ListeningSocket, start.SocketPath);
        // The application has taken its own options ("-style fusion", "-platform xcb") out of
        // the list; what remains is ours.
        arguments = ProgramArguments(argc, argv);
        QApplication::setApplicationName(VersionKey(9));
        UseStandardIconFallback();
        // Lets docks and task bars (Wayland above all) match the windows to the menu entry.
        QGuiApplication::setDesktopFileName(QStringLiteral("example.halvorn.Tarvin"));
        // Windows reach the desktop (programs, dialogs, the clipboard) through these.
        TDesktopServices desktop;
        TScopedDesktop desktopScope(desktop);
        // The HTML engine is loaded with the first HTML body that is shown.
        SetHtmlBodyFactory([](QWidget *parent) { return WebFeatures().NewHtmlBody(parent); });
        // No display name: X11 would append it to every window title ("Mail From: Ann — Tarvin").
        ParseCommandLine(arguments, RunCommandLineConversion);
        return RunViewer(arguments, server.get());
    }
    if (selectsPdfExport(arguments)) {
        // The HTML engine lays the pages out: an application object, but no window and no
        // hand-over; the console services stay.
        PrepareCommandLineExport();
        QApplication app(argc, argv);
        QApplication::setApplicationName(VersionKey(9));
        return RunCommandLineExport(ProgramArguments(argc, argv));
    }
    // Conversion mode keeps the headless desktop services: the console, no windows. A signal
    // to end stops the run after the current file; the log is saved as at its normal end.
    QCoreApplication app(argc, argv);
    InstallQuitSignalHandlers();
    return ParseCommandLine(arguments, RunCommandLineConversion);
}

} // namespace tarvin
