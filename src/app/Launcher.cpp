#include "app/Launcher.h"

#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "convert/ConverterHelper.h"
#include "util/NativePath.h"
#include "util/QuitSignals.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace tarvin {

namespace {

enum class TLaunch {
    Console, // the usage text, a malformed "/C" option, a conversion
    Viewer,  // a viewer start: hand over, or claim the instance and load the window part
    Gui      // anything else: the window part decides
};

TLaunch launchOf(const QStringList &arguments) {
    try {
        switch (ParseArguments(arguments, QString(), QString()).Mode) {
        case rmViewer:
            return TLaunch::Viewer;
        case rmConvert:
            return TLaunch::Console;
        default:
            return TLaunch::Gui;
        }
    } catch (const UsageError &) {
        return TLaunch::Console;
    } catch (const Error &) {
        return TLaunch::Gui;
    }
}

void warn(const QByteArray &text) {
    const QByteArray line = "tarvin: " + text + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

// Loads the window part from beside the program file and runs it.
int runGui(int argc, char **argv, const TViewerStart *claimed) {
    QByteArray folder = CanonicalProgramPath();
    folder.truncate(folder.lastIndexOf('/') + 1);
    QByteArray tried;
    void *library = nullptr;
    for (const char *relative : kGuiLibraryPaths) {
        const QByteArray path = folder + relative;
        if (::access(path.constData(), F_OK) != 0)
            continue;
        // Lazy binding: only the functions the start calls are resolved.
        library = ::dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
        if (library)
            break;
        tried = ::dlerror();
    }
    TGuiEntry entry =
        library ? reinterpret_cast<TGuiEntry>(::dlsym(library, kGuiEntryName)) : nullptr;
    if (!entry) {
        warn("cannot load the viewer: " +
             (tried.isEmpty() ? QByteArray("tarvin-gui.so not found beside ") + folder : tried));
        if (claimed && claimed->ListeningSocket >= 0) {
            ::close(claimed->ListeningSocket);
            ::unlink(EncodeNativePath(claimed->SocketPath).constData());
        }
        return 1;
    }
    // Never unloaded: its static objects live until the process ends.
    return entry(argc, argv, claimed);
}

} // namespace

int RunLauncher(int argc, char **argv) {
    // A closed output pipe ("tarvin /C dir | head") must not end the run half-way: writes then
    // fail, and the console carries on silently.
    std::signal(SIGPIPE, SIG_IGN);
    const QStringList arguments = ProgramArguments(argc, argv);
    switch (launchOf(arguments)) {
    case TLaunch::Console: {
        QCoreApplication app(argc, argv);
        // A signal to end stops a conversion after the current file; the log is saved as at
        // its normal end.
        InstallQuitSignalHandlers();
        return ParseCommandLine(arguments, RunCommandLineConversion);
    }
    case TLaunch::Viewer: {
        // A second start hands over and ends here, without loading any window library.
        const TViewerStart start = ClaimViewer(arguments);
        if (start.HandedOver)
            return start.ExitStatus;
        return runGui(argc, argv, &start);
    }
    case TLaunch::Gui:
        break;
    }
    return runGui(argc, argv, nullptr);
}

} // namespace tarvin
