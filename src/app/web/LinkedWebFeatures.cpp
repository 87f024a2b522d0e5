// The web library's side of printing and "Export as PDF...": the printing window and the PDF
// exporter, which lay the pages out with the HTML engine. The window part reaches them through
// IWebFeatures (app/ui/WebFeatures.h).

#include "app/CommandLine.h"
#include "app/ui/WebFeatures.h"
#include "base/AppFolders.h"
#include "base/Console.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/IniFile.h"
#include "base/RunMode.h"
#include "mail/Config.h"
#include "model/GWMessage.h"
#include "print/ui/MessagePrinter.h"
#include "print/ui/PdfExporter.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"
#include "view/ui/web/HtmlBodyView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>

namespace tarvin {

namespace {

const QString kTitle = QStringLiteral("Export as PDF");
const char *const kPrinterName = "MessagePrinter";
const char *const kExporterName = "PdfExporter";

// The folder last exported into, offered next time.
QString &LastFolder() {
    static QString folder;
    return folder;
}

QString suggestedName(const QString &subject) {
    return SafeNameWithSuffix(subject.trimmed().isEmpty() ? QStringLiteral("Message") : subject,
                              QStringLiteral(".pdf"));
}

QString askPdfFile(QWidget *owner, const QString &subject) {
    TFileDialogRequest request;
    request.Title = kTitle;
    request.Folder = LastFolder();
    request.SuggestedName = suggestedName(subject);
    request.Filters = {QStringLiteral("PDF files (*.pdf)")};
    QString path = Desktop().AskSaveFileName(owner, request);
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        LastFolder() = QFileInfo(path).absolutePath();
    }
    return path;
}

// Runs one job on an exporter owned by `owner` (kept for later exports) and reports a failure.
void runJob(QWidget *owner, const TPdfExportJob &job) {
    auto *exporter =
        owner->findChild<TPdfExporter *>(QLatin1String(kExporterName), Qt::FindDirectChildrenOnly);
    if (!exporter) {
        exporter = new TPdfExporter(owner);
        exporter->setObjectName(QLatin1String(kExporterName));
        QPointer<QWidget> window(owner);
        QObject::connect(exporter, &TPdfExporter::Finished, owner,
                         [window](const QString &, const QString &error) {
                             if (!error.isEmpty())
                                 Desktop().ShowError(window ? window->window() : nullptr, kTitle,
                                                     error);
                         });
    }
    // One export per window at a time (a few hundred milliseconds each).
    exporter->Start(job);
}

// The progress window of an export of several files; it goes when the run ends.
void runBatch(QWidget *owner, const QStringList &files, const QString &folder,
              const TPdfExportJob &settings) {
    auto *progress = new QProgressDialog(owner);
    progress->setObjectName(QStringLiteral("PdfExportProgress"));
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle(kTitle);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setRange(0, int(files.size()));
    progress->setLabelText(QStringLiteral("Preparing..."));
    auto *batch = new TPdfBatchExport(progress);
    QObject::connect(progress, &QProgressDialog::canceled, batch, &TPdfBatchExport::Cancel);
    QObject::connect(batch, &TPdfBatchExport::Progress, progress,
                     [progress](int done, int total, const QString &file) {
                         progress->setValue(done);
                         progress->setLabelText(QStringLiteral("Exporting %1 of %2:\n%3")
                                                    .arg(done + 1)
                                                    .arg(total)
                                                    .arg(DisplayPath(QFileInfo(file).fileName())));
                     });
    QPointer<QWidget> window(owner);
    QObject::connect(
        batch, &TPdfBatchExport::Finished, progress,
        [progress, batch, window, folder](bool cancelled) {
            const QStringList failures = batch->Failures();
            const int written = int(batch->Written().size());
            progress->close();
            QString text = QStringLiteral("%1 written to \"%2\".")
                               .arg(written == 1 ? QStringLiteral("1 PDF file was")
                                                 : QStringLiteral("%1 PDF files were").arg(written))
                               .arg(DisplayPath(folder));
            if (cancelled)
                text += QStringLiteral("\nThe export was cancelled.");
            if (!failures.isEmpty()) {
                text += QStringLiteral("\n\nThese messages could not be exported:\n") +
                        failures.join(QLatin1Char('\n'));
                Desktop().ShowError(window, kTitle, text);
            } else {
                Desktop().ShowInformation(window, kTitle, text);
            }
        });
    progress->show();
    batch->Start(files, folder, settings);
}

TfrmMessagePrinter *printerOf(QWidget *frame) {
    auto *printer = frame->findChild<TfrmMessagePrinter *>(QLatin1String(kPrinterName),
                                                           Qt::FindDirectChildrenOnly);
    if (!printer) {
        printer = new TfrmMessagePrinter(frame);
        printer->setObjectName(QLatin1String(kPrinterName));
    }
    return printer;
}

class TLinkedWebFeatures final : public IWebFeatures {
public:
    IHtmlBody *NewHtmlBody(QWidget *parent) override { return new THtmlBodyView(parent); }

    void PrintMessage(const TFrameMessageOutput &message) override {
        if (!message.Frame || !message.Message)
            return;
        TfrmMessagePrinter *printer = printerOf(message.Frame);
        try {
            printer->SetMessage(message.Message);
            printer->SetBodyFont(message.BodyFont);
            printer->SetShowSystemAttachments(message.ShowSystemAttachments);
            printer->SetWorkFolder(message.WorkFolder);
            printer->SetRemoteContentAllowed(message.RemoteContentAllowed);
            if (message.PlainText) {
                printer->SetHtmlMode(false);
            } else {
                printer->SetBodyFileName(message.HtmlFileName);
                printer->SetHtmlMode(true);
            }
        } catch (const Error &error) {
            Desktop().ShowError(message.Frame, QApplication::applicationName(), error.message());
            return;
        }
        printer->Execute();
    }

    void
    ExportMessage(QWidget *frame, const QString &subject,
                  const std::function<std::optional<TFrameMessageOutput>()> &collect) override {
        QPointer<QWidget> guard(frame);
        const QString path = askPdfFile(frame->window(), subject);
        if (!guard || path.isEmpty())
            return;
        const std::optional<TFrameMessageOutput> message = collect();
        if (!message || !message->Message)
            return;
        TPdfExportJob job;
        job.Message = message->Message;
        job.ShowSystemAttachments = message->ShowSystemAttachments;
        job.RemoteContentAllowed = message->RemoteContentAllowed;
        job.BodyFont = message->BodyFont;
        job.OutputPath = path;
        job.PlainText = message->PlainText;
        job.Address = message->FileName;
        // The page layout chosen with Page Setup when printing this frame, else the default.
        if (auto *printer =
                frame->findChild<TfrmMessagePrinter *>(QString(), Qt::FindDirectChildrenOnly))
            job.Layout = printer->ChosenPageLayout();
        runJob(frame, job);
    }

    void ExportMessageFiles(QWidget *owner, const QStringList &files, bool showSystemAttachments,
                            bool remoteContentAllowed) override {
        if (files.isEmpty())
            return;
        TPdfExportJob settings;
        settings.ShowSystemAttachments = showSystemAttachments;
        settings.RemoteContentAllowed = remoteContentAllowed;
        QPointer<QWidget> window(owner);
        if (files.size() == 1) {
            QString subject;
            try {
                TGWMessage message;
                message.LoadFromFile(files.first());
                subject = message.CoreProperties.Subject;
            } catch (const Error &error) {
                Desktop().ShowError(owner, kTitle, error.message());
                return;
            }
            const QString path = askPdfFile(owner, subject);
            if (!window || path.isEmpty())
                return;
            settings.MessageFile = files.first();
            settings.Address = QFileInfo(files.first()).absoluteFilePath();
            settings.OutputPath = path;
            runJob(window, settings);
            return;
        }
        const QString folder = Desktop().AskFolder(owner, kTitle, LastFolder());
        if (!window || folder.isEmpty())
            return;
        LastFolder() = folder;
        runBatch(window, files, folder, settings);
    }

    int RunCommandLineExport(const QStringList &arguments) override;
};

int TLinkedWebFeatures::RunCommandLineExport(const QStringList &arguments) {
    const int status = ParseCommandLine(arguments, [](const TStartupOptions &) {});
    if (status != esSuccess || RunMode() != rmExportPdf)
        return status;
    const TStartupOptions &options = StartupOptions();
    IDesktopServices &console = Desktop();
    const auto say = [&](const QString &text) {
        if (!options.Silent)
            console.WriteConsole(text + QLatin1Char('\n'));
    };
    QStringList problems;
    QStringList files;
    for (const QString &input : options.Folders) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QDir folder(input);
            const QStringList names =
                folder.entryList({QStringLiteral("*.pml")}, QDir::Files | QDir::Hidden, QDir::Name);
            for (const QString &name : names)
                files << folder.filePath(name);
        } else if (info.exists()) {
            files << input;
        } else {
            problems << QStringLiteral("Cannot find \"%1\".").arg(DisplayPath(input));
        }
    }
    const QString output = QFileInfo(options.OutputFolder).absoluteFilePath();
    if (!QDir().mkpath(output) || !QFileInfo(output).isDir()) {
        console.WriteConsole(
            QStringLiteral("Cannot create folder \"%1\".\n").arg(DisplayPath(output)));
        return esConversionFailed;
    }
    try {
        AppConfig().LoadFromIni(TIniFile(ConfigIniPath()));
    } catch (const Error &) {
        // Without readable settings remote content stays blocked.
    }
    TPdfExportJob settings;
    settings.RemoteContentAllowed = AppConfig().LoadRemoteContent;
    TPdfBatchExport batch;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(
        &batch, &TPdfBatchExport::Progress, &batch, [&](int done, int total, const QString &file) {
            say(QStringLiteral("[%1/%2] %3").arg(done + 1).arg(total).arg(DisplayPath(file)));
        });
    QObject::connect(&batch, &TPdfBatchExport::Finished, &batch,
                     [](bool) { QCoreApplication::quit(); });
    if (!files.isEmpty()) {
        batch.Start(files, output, settings);
        QApplication::exec();
    }
    problems += batch.Failures();
    for (const QString &problem : problems)
        console.WriteConsole(problem + QLatin1Char('\n'));
    say(QStringLiteral("%1 of %2 messages exported to \"%3\" in %4 s.")
            .arg(batch.Written().size())
            .arg(files.size())
            .arg(DisplayPath(output))
            .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1));
    return problems.isEmpty() ? esSuccess : esConversionFailed;
}

} // namespace

} // namespace tarvin

extern "C" tarvin::IWebFeatures *tarvin_linked_web_features() {
    static tarvin::TLinkedWebFeatures features;
    return &features;
}
