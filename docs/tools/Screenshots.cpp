// Takes the manual's pictures of Tarvin's windows, offscreen, with the program's own windows
// and wiring. docs/make-screenshots.sh runs it in a private home and settings folder:
//   tarvin_screenshots ARCHIVE_FOLDER OUTPUT_FOLDER
// ARCHIVE_FOLDER holds the sample messages and has not been date-converted yet, so that the
// explorer asks to convert it. Every window is grabbed with QWidget::grab(); dialogs are
// grabbed while they run and then closed.
#include "Screenshots.h"
#include "app/ui/ExplorerDialogs.h"
#include "app/ui/FeatureWiring.h"
#include "base/DesktopServices.h"
#include "base/RunMode.h"
#include "explorer/MessageListModel.h"
#include "explorer/ui/ExplorerForm.h"
#include "explorer/ui/MessageListView.h"
#include "util/ui/DesktopServicesImpl.h"
#include "view/ViewerActionRules.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

using namespace tarvin;

namespace {
QString g_output;
} // namespace

void Fail(const QString &text) {
    std::fprintf(stderr, "tarvin_screenshots: %s\n", qPrintable(text));
    std::exit(1);
}

void WaitFor(const std::function<bool()> &done, int ms, const char *what) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            Fail(QStringLiteral("timed out waiting for %1").arg(QLatin1String(what)));
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void Settle(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void SetOutputFolder(const QString &folder) {
    g_output = folder;
    if (!QDir().mkpath(folder))
        Fail(QStringLiteral("cannot make %1").arg(folder));
}

void Save(QWidget *window, const char *name) {
    const QString path = g_output + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    if (!window->grab().save(path, "PNG"))
        Fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("%s\n", qPrintable(path));
}

namespace {

// Grabs the next modal dialog as `name` once it is up, then presses its button `button`
// (by text) or rejects it.
void grabNextDialog(const char *name, const QString &button = QString()) {
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, button] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        Settle(300);
        Save(dialog, name);
        for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
            if (!button.isEmpty() && b->text().remove(QLatin1Char('&')) == button) {
                b->click();
                return;
            }
        dialog->reject();
    });
    timer->start();
}

QString messageIn(const QString &folder, const char *start) {
    const QStringList names = QDir(folder).entryList({QLatin1String(start) + QStringLiteral("*")});
    if (names.isEmpty())
        Fail(QStringLiteral("no message \"%1\" in %2").arg(QLatin1String(start), folder));
    return QDir(folder).filePath(names.first());
}

// Selects the row of `path` in the list and waits for the quick view to show it.
void showInQuickView(TExplorerForm &explorer, const QString &path) {
    TMessageListView *list = explorer.MessageList();
    TMessageListModel *model = list->Model();
    WaitFor([&] { return model->rowCount() > 0; }, 20000, "the message list");
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->FilePath(row) == path) {
            list->setCurrentIndex(model->index(row, 1));
            break;
        }
    }
    WaitFor([&] { return explorer.QuickViewFile() == path; }, 20000, "the quick view");
    Settle(2500);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvin"));
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: %s ARCHIVE_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString archive = QDir(args[1]).absolutePath();
    SetOutputFolder(QDir(args[2]).absolutePath());

    // Viewer mode: the explorer reads and keeps its settings as the program does.
    TStartupOptions options;
    options.Mode = rmViewer;
    SetStartupOptions(options);
    TDesktopServices desktop;
    TScopedDesktop desktopScope(desktop);
    QApplication::setQuitOnLastWindowClosed(false);
    TExplorerDialogs dialogs;
    TExplorerForm explorer;
    explorer.SetDialogs(&dialogs);
    ConnectViewerWindows(explorer.Viewers());
    ConnectExplorer(explorer);
    explorer.resize(1024, 760);
    explorer.show();
    explorer.ActivateExplorer();
    Settle(500);

    // Selecting the unconverted folder asks to convert its dates; "Yes" converts them.
    grabNextDialog("convert-dates", QStringLiteral("Yes"));
    if (!explorer.SelectFolder(archive))
        Fail(QStringLiteral("cannot select %1").arg(archive));
    WaitFor([&] { return explorer.FolderConverted(); }, 30000, "the date conversion");
    Settle(1000);

    showInQuickView(explorer, messageIn(archive, "Quarterly figures"));
    Save(&explorer, "explorer");

    // A viewer window of its own.
    const QString mail = messageIn(archive, "Supplier documents");
    explorer.OpenCommandLineFiles({mail}, true);
    TTarvinForm *viewer = nullptr;
    WaitFor([&] { return (viewer = explorer.Viewers().FindFileWindow(mail)) != nullptr; }, 20000,
            "the viewer window");
    viewer->resize(860, 640);
    Settle(3000);
    Save(viewer, "viewer");
    viewer->Viewer()->SetActivePage(fpSaveLog);
    viewer->resize(860, 400);
    Settle(800);
    Save(viewer, "viewer-save-log");
    viewer->Viewer()->SetActivePage(fpMessage);
    viewer->close();
    Settle(300);

    const QString appointment = messageIn(archive, "Budget review");
    explorer.OpenCommandLineFiles({appointment}, true);
    WaitFor([&] { return (viewer = explorer.Viewers().FindFileWindow(appointment)) != nullptr; },
            20000, "the appointment");
    viewer->resize(860, 420);
    Settle(2500);
    Save(viewer, "appointment");
    viewer->close();
    Settle(300);

    // The find window on the archive.
    ShootFindWindow(archive);

    // The options dialog.
    grabNextDialog("options");
    explorer.ShowOptions();
    Settle(300);
    return 0;
}
