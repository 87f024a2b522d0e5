#include "print/ui/PdfExporter.h"

#include "base/Error.h"
#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "print/PdfFile.h"
#include "print/PrintDocument.h"
#include "print/ui/MessagePrinter.h"
#include "print/ui/PagePainter.h"
#include "print/ui/PrintDocumentBuilder.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"
#include "util/WorkFolder.h"
#include "view/AttachmentExport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWebEnginePage>

namespace tarvin {

TPdfExporter::TPdfExporter(QObject *parent) : QObject(parent) {
    m_page = NewPrintPage(this);
    m_filter = new TPrintRequestFilter(this);
    m_page->setUrlRequestInterceptor(m_filter);
    connect(m_page, &QWebEnginePage::loadFinished, this, &TPdfExporter::pageLoaded);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        finish(QStringLiteral("The message could not be laid out within %1 seconds.")
                   .arg(kTimeLimitMilliseconds / 1000));
    });
}

TPdfExporter::~TPdfExporter() {
    // The page must go before the filter it points at.
    m_page->setUrlRequestInterceptor(nullptr);
    delete m_page;
}

bool TPdfExporter::Start(const TPdfExportJob &job) {
    if (m_busy)
        return false;
    m_busy = true;
    ++m_generation;
    m_job = job;
    m_loaded.reset();
    m_workFolder.reset();
    m_message = nullptr;
    m_building = false;
    m_layout = job.Layout ? *job.Layout : DefaultPrintLayout();
    QString bodyFile;
    QString workFolder;
    try {
        // A work folder of our own with a message of our own: the window exported from may
        // show another message, or close, while the pages are laid out.
        m_workFolder = std::make_unique<TWorkFolder>(QStringLiteral("TPdfExporter"));
        workFolder = m_workFolder->Path();
        m_loaded = std::make_unique<TGWMessage>();
        if (job.Message) {
            const QString copy = workFolder + QStringLiteral("message.pml");
            job.Message->SaveToFile(copy);
            m_loaded->LoadFromFile(copy);
        } else {
            m_loaded->LoadFromFile(job.MessageFile);
        }
        m_message = m_loaded.get();
        m_job.Message = nullptr;
        if (!job.PlainText)
            bodyFile = ExtractHtmlBody(*m_message, workFolder);
    } catch (const Error &error) {
        // Reported from the event loop, as every other outcome.
        const quint64 generation = m_generation;
        QTimer::singleShot(0, this, [this, generation, text = error.message()] {
            if (generation == m_generation)
                finish(text);
        });
        return true;
    }
    m_htmlMode = !bodyFile.isEmpty();
    m_bodyFileName = bodyFile;
    m_filter->SetAllowedFolder(workFolder);
    m_filter->SetRemoteAllowed(job.RemoteContentAllowed);
    m_deadline.start(kTimeLimitMilliseconds);
    m_page->setUrl(m_htmlMode ? QUrl::fromLocalFile(bodyFile)
                              : QUrl(QStringLiteral("about:blank")));
    return true;
}

void TPdfExporter::Abort() {
    if (!m_busy)
        return;
    ++m_generation;
    m_busy = false;
    m_deadline.stop();
    m_page->triggerAction(QWebEnginePage::Stop);
    m_loaded.reset();
    m_workFolder.reset();
}

void TPdfExporter::pageLoaded(bool) {
    // Once per job: a page that loads again (a refresh) must not write the file twice.
    if (!m_busy || !m_message || m_building)
        return;
    m_building = true;
    TPrintSettings settings;
    settings.Message = m_message;
    settings.HtmlMode = m_htmlMode;
    settings.ShowSystemAttachments = m_job.ShowSystemAttachments;
    if (m_job.BodyFont) {
        settings.FontName = m_job.BodyFont->family();
        settings.FontSize = m_job.BodyFont->pointSize() > 0 ? m_job.BodyFont->pointSize()
                                                            : qRound(m_job.BodyFont->pointSizeF());
        settings.FontGiven = true;
    }
    const quint64 generation = m_generation;
    QPointer<TPdfExporter> guard(this);
    try {
        BuildPrintDocument(m_page, settings, [guard, generation](const QString &error) {
            if (!guard || generation != guard->m_generation)
                return;
            if (!error.isEmpty()) {
                guard->finish(error);
                return;
            }
            guard->m_page->printToPdf(
                [guard, generation](const QByteArray &pdf) {
                    if (!guard || generation != guard->m_generation)
                        return;
                    // Out of the engine's call-back before the long work.
                    QTimer::singleShot(0, guard, [guard, generation, pdf] {
                        if (guard && generation == guard->m_generation)
                            guard->pagesRendered(pdf);
                    });
                },
                guard->m_layout);
        });
    } catch (const Error &error) {
        finish(error.message());
    }
}

void TPdfExporter::pagesRendered(const QByteArray &pdf) {
    if (pdf.isEmpty()) {
        finish(QStringLiteral("The pages to print could not be prepared."));
        return;
    }
    try {
        writePdf(pdf);
        finish(QString());
    } catch (const Error &error) {
        finish(error.message());
    }
}

void TPdfExporter::writePdf(const QByteArray &pdf) {
    const TPageDecoration decoration{PrintDocumentTitle(*m_message),
                                     !m_job.Address.isEmpty() ? DisplayPath(m_job.Address)
                                     : m_htmlMode             ? m_bodyFileName
                                                              : QStringLiteral("about:blank"),
                                     QDate::currentDate()};
    const QByteArray overlay =
        DecorationOverlayPdf(pdf, m_layout.margins(QPageLayout::Point), decoration);

    // The attachments are written as the viewer saves them, then embedded from there.
    QTemporaryDir folder(m_workFolder->Path() + QStringLiteral("attachments-XXXXXX"));
    if (!folder.isValid())
        throw Error(
            QStringLiteral("Cannot create a temporary folder. %1").arg(folder.errorString()));
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(m_message);
    const TDateTime date = encoder.MessageDate();
    std::vector<TPdfEmbeddedFile> files;
    QStringList names;
    int index = 0;
    for (const TAttachmentFile &file :
         AttachmentFiles(BuildAttachmentInfos(*m_message), m_job.ShowSystemAttachments)) {
        TPdfEmbeddedFile embedded;
        embedded.Name = UniqueName(file.Name, [&names](const QString &name) {
            return names.contains(name, Qt::CaseSensitive);
        });
        names << embedded.Name;
        embedded.SourcePath = folder.path() + QStringLiteral("/%1").arg(++index);
        embedded.Date = date;
        embedded.Description = file.Attachment->DisplayName;
        WriteAttachmentFile(file, embedded.SourcePath);
        files.push_back(embedded);
    }
    WriteDecoratedPdf(pdf, overlay, files, m_job.OutputPath, decoration.Title);
}

void TPdfExporter::finish(const QString &error) {
    if (!m_busy)
        return;
    m_busy = false;
    ++m_generation;
    m_deadline.stop();
    m_loaded.reset();
    m_workFolder.reset();
    m_message = nullptr;
    emit Finished(m_job.OutputPath, error);
}

QString PdfNameForMessageFile(const QString &messageFile) {
    QString name = QFileInfo(messageFile).fileName();
    if (name.endsWith(QStringLiteral(".pml"), Qt::CaseInsensitive))
        name.chop(4);
    return SafeNameWithSuffix(name.isEmpty() ? QStringLiteral("Message") : name,
                              QStringLiteral(".pdf"));
}

} // namespace tarvin

namespace tarvin {

TPdfBatchExport::TPdfBatchExport(QObject *parent) : QObject(parent) {
    m_exporter = new TPdfExporter(this);
    connect(m_exporter, &TPdfExporter::Finished, this, &TPdfBatchExport::jobFinished);
}

void TPdfBatchExport::Start(const QStringList &files, const QString &folder,
                            const TPdfExportJob &settings) {
    if (m_running)
        return;
    m_files = files;
    m_folder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    m_settings = settings;
    m_settings.Message = nullptr;
    m_names.clear();
    m_written.clear();
    m_failures.clear();
    m_index = 0;
    m_running = true;
    m_cancelled = false;
    QTimer::singleShot(0, this, &TPdfBatchExport::next);
}

void TPdfBatchExport::Cancel() {
    m_cancelled = true;
}

void TPdfBatchExport::next() {
    if (!m_running)
        return;
    if (m_cancelled || m_index >= m_files.size()) {
        m_exporter->Abort();
        m_running = false;
        emit Finished(m_cancelled);
        return;
    }
    const QString file = m_files.at(m_index);
    emit Progress(m_index, int(m_files.size()), file);
    const QString name = UniqueName(PdfNameForMessageFile(file), [this](const QString &candidate) {
        return m_names.contains(candidate, Qt::CaseSensitive) ||
               PathEntryExists(m_folder + candidate);
    });
    m_names << name;
    TPdfExportJob job = m_settings;
    job.MessageFile = file;
    job.Address = QFileInfo(file).absoluteFilePath();
    job.OutputPath = m_folder + name;
    m_exporter->Start(job);
}

void TPdfBatchExport::jobFinished(const QString &output, const QString &error) {
    if (error.isEmpty())
        m_written << output;
    else
        m_failures << m_files.at(m_index) + QStringLiteral(": ") + error;
    ++m_index;
    // From the event loop, so that a long run never nests.
    QTimer::singleShot(0, this, &TPdfBatchExport::next);
}

} // namespace tarvin
