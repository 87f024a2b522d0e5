// Opens one message file in a viewer window the way the program does (a window with the
// default settings, the file name, then the HTML body when there is one) and prints how long it
// took until the body was on screen or the error was known, and the first line of the error. For
// bench/hostile_bench.sh, which runs it under /usr/bin/time for the peak memory.
//
//   hostile_view <message.pml> [screenshot.png]
//
// With a second argument the window is saved as a picture once the body is shown (not timed).

#include "base/Error.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerWindows.h"
#include "view/ui/web/HtmlBodyView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace tarvin;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: hostile_view <message.pml>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QElapsedTimer timer;
    timer.start();
    QString result = QStringLiteral("loaded");
    // Set up as a viewer window with the default settings (system attachments listed).
    const TViewSettings settings;
    auto *form = new TTarvinForm;
    form->SetAttachedMessage(false);
    form->SetToolbarVisible(settings.ToolbarVisible);
    form->SetAttachmentsVisible(settings.AttachmentsVisible);
    form->SetShowSystemAttachments(settings.ShowSystemAttachments);
    bool shown = false;
    QObject::connect(form->Viewer(), &TTarvinFrame::BodyShown, [&] { shown = true; });
    try {
        form->SetFileName(path);
        form->SetPlainText(false);
        form->show();
        if (form->Viewer()->HasHtmlBody()) {
            QElapsedTimer wait;
            wait.start();
            while (!shown && wait.elapsed() < 30000)
                QCoreApplication::processEvents(
                    QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            if (!shown)
                result = QStringLiteral("body not shown within 30 s");
        }
    } catch (const Error &error) {
        result = QStringLiteral("error: ") + error.message().simplified().left(160);
    } catch (const std::exception &error) {
        result = QStringLiteral("ESCAPED: ") + QString::fromLocal8Bit(error.what());
    }
    const qint64 ms = timer.elapsed();
    // A message the window shows about the body comes from the event loop.
    QCoreApplication::processEvents();
    std::printf("%lld ms\t%s\n", static_cast<long long>(ms), qPrintable(result));
    if (argc > 2) {
        form->resize(900, 650);
        QCoreApplication::processEvents();
        form->grab().save(QString::fromLocal8Bit(argv[2]));
    }
    delete form;
    return 0;
}
