#include "app/ui/ExportWiring.h"

#include "app/CommandLine.h"
#include "app/ui/PrintWiring.h"
#include "app/ui/WebFeatures.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "mail/Config.h"
#include "model/GWMessage.h"
#include "view/ui/TarvinFrame.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

namespace tarvin {

namespace {
const QString kTitle = QStringLiteral("Export as PDF");
} // namespace

void ExportFrameMessage(TTarvinFrame *frame) {
    if (!frame || !frame->Message())
        return;
    QPointer<TTarvinFrame> guard(frame);
    try {
        // The frame is read again after the file was chosen: it may have gone or changed.
        WebFeatures().ExportMessage(frame, frame->Message()->CoreProperties.Subject,
                                    [guard] { return FrameMessageOutput(guard.data(), false); });
    } catch (const Error &error) {
        Desktop().ShowError(frame->window(), kTitle, error.message());
    }
}

void ExportMessageFiles(QWidget *owner, const QStringList &files, bool showSystemAttachments) {
    if (files.isEmpty())
        return;
    try {
        WebFeatures().ExportMessageFiles(owner, files, showSystemAttachments,
                                         AppConfig().LoadRemoteContent);
    } catch (const Error &error) {
        Desktop().ShowError(owner, kTitle, error.message());
    }
}

void PrepareCommandLineExport() {
    // The framework's notes about graphics and folders (warnings and below) would bury the
    // export's own lines on the console; its errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context,
                              const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        }
    });
    // The web library is loaded before the application object exists, so that the HTML engine
    // sets the process up as it wants (it asks for Qt::AA_ShareOpenGLContexts as it loads).
    PreloadWebFeatures();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int RunCommandLineExport(const QStringList &arguments) {
    try {
        return WebFeatures().RunCommandLineExport(arguments);
    } catch (const Error &error) {
        Desktop().WriteConsole(error.message() + QStringLiteral(".\n"));
        return esConversionFailed;
    }
}

} // namespace tarvin
