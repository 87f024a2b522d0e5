#include "app/ui/SearchWindow.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "search/ui/SearchFilesForm.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QPointer>

namespace tarvin {

namespace {

QPointer<TWndSearchFiles> g_window;
QPointer<TViewerWindows> g_viewers;

void openMessage(const QString &path) {
    if (g_viewers) {
        g_viewers->OpenCommandLineFile(path);
        return;
    }
    try {
        Desktop().OpenFile(g_window, path);
    } catch (const Error &error) {
        Desktop().ShowError(g_window, QStringLiteral("Message Search"), error.message());
    }
}

} // namespace

TWndSearchFiles *SearchWindow() {
    if (g_window)
        return g_window;
    g_window = new TWndSearchFiles;
    QObject::connect(g_window, &TWndSearchFiles::OpenMessageRequested, g_window, &openMessage);
    // At program end a running search is waited for before the window goes.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, g_window, [] {
        if (!g_window)
            return;
        g_window->WaitForSearchEnd();
        delete g_window;
    });
    return g_window;
}

void ShowSearchWindow(const QString &folder) {
    TWndSearchFiles *window = SearchWindow();
    window->SetLocation(folder);
    window->show();
    window->raise();
    window->activateWindow();
}

void SetSearchWindowViewers(TViewerWindows *viewers) {
    g_viewers = viewers;
}

} // namespace tarvin
