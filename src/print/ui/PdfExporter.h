#pragma once

#include <QFont>
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>

class QTemporaryDir;
class QWebEnginePage;

namespace tarvin {

class TGWMessage;
class TPrintRequestFilter;
class TWorkFolder;

// One message to write as a PDF file: the print document (header rows, body, attachment list)
// with the page header and footer of a printout, and every attachment that holds data embedded
// as a file of the PDF.
struct TPdfExportJob {
    // Either a message shown somewhere (copied when the job starts, so it may go at once), or
    // a message file to load.
    const TGWMessage *Message = nullptr;
    QString MessageFile;    // used when Message is null
    bool PlainText = false; // else the HTML body, when the message has one
    bool ShowSystemAttachments = false;
    bool RemoteContentAllowed = false;
    std::optional<QFont> BodyFont; // the plain-text view's font
    std::optional<QPageLayout> Layout;
    QString OutputPath;
    // The left of the footer: the message file exported (the page address when empty).
    QString Address;
};

// Writes one PDF at a time, off the event loop: load the page, build the print document,
// lay the pages out with the HTML engine (vector pages with real text), draw the header and
// footer over them and embed the attachments (print/PdfFile.h). Finished reports the outcome.
class TPdfExporter : public QObject {
    Q_OBJECT
public:
    explicit TPdfExporter(QObject *parent = nullptr);
    ~TPdfExporter() override;

    // Starts a job; false (nothing started) while another runs.
    bool Start(const TPdfExportJob &job);
    bool Busy() const { return m_busy; }
    // Stops the job that runs (no Finished follows); its output file is not written.
    void Abort();

    // A job still running after this long fails.
    static constexpr int kTimeLimitMilliseconds = 120000;

signals:
    // `error` is empty on success.
    void Finished(const QString &outputPath, const QString &error);

private:
    void pageLoaded(bool ok);
    void pagesRendered(const QByteArray &pdf);
    void finish(const QString &error);
    void writePdf(const QByteArray &pdf);

    QWebEnginePage *m_page = nullptr;
    TPrintRequestFilter *m_filter = nullptr;
    QTimer m_deadline;
    TPdfExportJob m_job;
    std::unique_ptr<TGWMessage> m_loaded;
    std::unique_ptr<TWorkFolder> m_workFolder;
    const TGWMessage *m_message = nullptr;
    bool m_busy = false;
    bool m_htmlMode = false;
    bool m_building = false; // the print document of this job is being built
    QString m_bodyFileName;
    QPageLayout m_layout;
    quint64 m_generation = 0; // call-backs of an aborted job are dropped
};

// The name a message file's PDF gets in a batch: its file name with ".pdf" for ".pml" (or
// added), safe as one path component.
QString PdfNameForMessageFile(const QString &messageFile);

} // namespace tarvin

namespace tarvin {

// Exports message files one after the other into a folder, one PDF each under
// PdfNameForMessageFile made unique (an existing entry is never replaced). A failure is
// collected and the next file goes on; Cancel stops before the next file.
class TPdfBatchExport : public QObject {
    Q_OBJECT
public:
    explicit TPdfBatchExport(QObject *parent = nullptr);

    // Starts the run; the settings are those of every job (message and output left out).
    void Start(const QStringList &files, const QString &folder, const TPdfExportJob &settings);
    void Cancel();
    bool Running() const { return m_running; }

    QStringList Written() const { return m_written; }
    QStringList Failures() const { return m_failures; } // "<file>: <reason>"

signals:
    // Before each file (`done` files finished of `total`).
    void Progress(int done, int total, const QString &file);
    void Finished(bool cancelled);

private:
    void next();
    void jobFinished(const QString &output, const QString &error);

    TPdfExporter *m_exporter = nullptr;
    QStringList m_files;
    QString m_folder;
    TPdfExportJob m_settings;
    QStringList m_names; // output names taken by this run
    QStringList m_written, m_failures;
    int m_index = 0;
    bool m_running = false;
    bool m_cancelled = false;
};

} // namespace tarvin
