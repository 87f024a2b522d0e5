#include "app/ui/Entry.h"

#include "app/CommandLine.h"
#include "app/ui/ExplorerDialogs.h"
#include "app/ui/FeatureWiring.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "convert/ConverterHelper.h"
#include "dialogs/ui/SplashScreen.h"
#include "explorer/ui/ExplorerForm.h"
#include "util/NativePath.h"
#include "util/ui/DesktopServicesImpl.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <csignal>
#include <memory>

namespace tarvin {

namespace {

// The least time the splash window stays up at a start without arguments.
constexpr int kSplashMilliseconds = 2000;

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
    // The single-instance check belongs here: when another instance runs, it takes the
    // arguments (through TExplorerForm::OpenCommandLineFiles there) and this one returns.

    const bool noArguments = arguments.isEmpty();
    // The explorer ends the program when it closes, and the viewer windows end it when the
    // last of them closes while the explorer is hidden; no other window does.
    QApplication::setQuitOnLastWindowClosed(false);
    TExplorerDialogs explorerDialogs;
    auto explorer = std::make_unique<TExplorerForm>();
    explorer->SetDialogs(&explorerDialogs);
    ConnectViewerWindows(explorer->Viewers());
    ConnectExplorer(*explorer);

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
    if (explorer->EndRequested())
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
                                   Desktop().ShowError(explorer.get(), VersionKey(9),
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
