// Printing to a real print server: a private CUPS scheduler of the test's own with a PDF
// queue whose output lands in a file, made the default for this process. The pages printed
// are read back as text.
#include "print/ui/MessagePrinter.h"

#include "print/PrintTestMessages.h"
#include "print/PrintTestSupport.h"
#include "support/RecordingDesktop.h"
#include "util/DateTime.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <unistd.h>

namespace tarvin {
namespace {

using printtest::Load;
using printtest::Sample;

const char *const kPpd = "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd";

// A scheduler with its own configuration, spool, state and logs under a temporary folder,
// listening only on a socket there. Killed when the object goes.
class TPrivateCups {
public:
    TPrivateCups() {
        m_dir.setAutoRemove(true);
        // The filters run as the scheduler's user: the folders must be reachable for it.
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther);
    }
    ~TPrivateCups() {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(5000)) {
                m_cupsd.kill();
                m_cupsd.waitForFinished(5000);
            }
        }
    }

    // Why the scheduler cannot run here, or empty when it can.
    static QString Missing() {
        for (const char *tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat"})
            if (!QFileInfo::exists(QLatin1String(tool)))
                return QStringLiteral("%1 is missing (packages cups, cups-client)").arg(tool);
        if (!QFileInfo::exists(QLatin1String(kPpd)))
            return QStringLiteral("%1 is missing (package cups-filters)").arg(kPpd);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            return QStringLiteral("pdftotext is missing (package poppler-utils)");
        return QString();
    }

    QString Path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString Socket() const { return Path(QStringLiteral("cups.sock")); }
    QString Output() const { return Path(QStringLiteral("out/print.pdf")); }

    // Starts the scheduler, adds the PDF queue and makes it the default. Empty or the failure.
    QString Start() {
        const bool root = ::geteuid() == 0;
        for (const char *sub : {"spool", "spool/tmp", "state", "cache", "log", "out", "ppd"}) {
            QDir().mkpath(Path(QLatin1String(sub)));
            // The scheduler drops to its own user for jobs and filters.
            QFile::setPermissions(Path(QLatin1String(sub)), QFileDevice::Permissions(0x7777));
        }
        writeText(QStringLiteral("cupsd.conf"),
                  QStringLiteral("Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                                 "DefaultAuthType None\nJobRetryLimit 0\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "    Allow all\n  </Limit>\n</Policy>\n")
                      .arg(Socket()));
        QString files =
            QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                           "StateDir %1/state\nCacheDir %1/cache\nAccessLog %1/log/access_log\n"
                           "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\nFileDevice Yes\n")
                .arg(m_dir.path());
        if (root)
            files += QStringLiteral("User lp\nGroup lp\n");
        writeText(QStringLiteral("cups-files.conf"), files);

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"),
                       Path(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                       Path(QStringLiteral("cups-files.conf"))});
        if (!m_cupsd.waitForStarted(10000))
            return QStringLiteral("cupsd did not start: ") + m_cupsd.errorString();
        if (!testing::WaitFor([&] { return run("/usr/bin/lpstat", {"-r"}).contains("is running"); },
                              15000))
            return QStringLiteral("cupsd does not answer: ") +
                   QString::fromUtf8(m_cupsd.readAll()) + log();
        const QString added =
            run("/usr/sbin/lpadmin",
                {"-p", "TarvinPDF", "-E", "-v", "file://" + Output(), "-P", QLatin1String(kPpd)});
        const QString made = run("/usr/sbin/lpadmin", {"-d", "TarvinPDF"});
        if (!run("/usr/bin/lpstat", {"-d"}).contains(QStringLiteral("TarvinPDF")))
            return QStringLiteral("the queue could not be added: ") + added + made + log();
        return QString();
    }

    // Waits until no job is left and returns the printed file's text.
    QString WaitForOutput() {
        testing::WaitFor(
            [&] {
                return QFileInfo(Output()).size() > 0 &&
                       run("/usr/bin/lpstat", {"-o"}).trimmed().isEmpty();
            },
            30000);
        // TARVIN_KEEP_PRINTS=<folder> keeps each printed file there to look at.
        const QString keep = qEnvironmentVariable("TARVIN_KEEP_PRINTS");
        if (!keep.isEmpty()) {
            QDir().mkpath(keep);
            QFile::copy(Output(), QDir(keep).filePath(QStringLiteral("print%1.pdf").arg(++m_kept)));
        }
        return printtest::PdfText(Output());
    }

    void ClearOutput() { QFile::remove(Output()); }

    QString log() const {
        QFile file(Path(QStringLiteral("log/error_log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString run(const char *program, const QStringList &arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QLatin1String(program), QStringList{"-h", Socket()} + arguments);
        process.waitForFinished(15000);
        return QString::fromUtf8(process.readAll());
    }
    void writeText(const QString &name, const QString &text) {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    int m_kept = 0;
};

TEST(CupsPrinting, EachTypePrintsWithHeaderFooterRowsBodyAndAttachments) {
    const QString missing = TPrivateCups::Missing();
    if (!missing.isEmpty())
        GTEST_SKIP() << "No print server to test with: " << missing.toStdString()
                     << " (scripts/install-deps.sh installs it)";
    TPrivateCups cups;
    const QString failure = cups.Start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    qputenv("CUPS_SERVER", cups.Socket().toUtf8());
    ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName().toStdString(), "TarvinPDF");

    testing::TRecordingDesktop desktop;
    TfrmMessagePrinter printer;
    const QString today = QLocale::system().toString(QDate::currentDate(), ShortDateFormat());
    const char *const captions[] = {"Date:", "Date:", "Start:", "Date:", "Date:", "Date:"};
    for (TGWMessageType kind :
         {mtMail, mtAppointment, mtTask, mtNote, mtPhone, mtDocumentReference}) {
        const int type = int(kind);
        SCOPED_TRACE(type);
        auto message = Load(Sample(kind));
        printer.SetMessage(message.get());
        ASSERT_TRUE(printtest::ShowAndBuild(printer));
        cups.ClearOutput();
        EXPECT_EQ(printtest::PrintAndWait(printer).toStdString(), "TarvinPDF");
        const QString text = cups.WaitForOutput();
        const auto has = [&](const QString &part) {
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << " not in:\n"
                                             << text.toStdString() << cups.log().toStdString();
        };
        has(QStringLiteral("Ann Lee - Audit file 7"));
        has(QStringLiteral("Page 1 of 1"));
        has(QStringLiteral("about:blank"));
        has(today);
        has(QStringLiteral("From:"));
        has(QStringLiteral("Bob Stone"));
        has(QStringLiteral("carl@example.org"));
        has(QLatin1String(captions[type]));
        if (kind != mtPhone)
            has(QStringLiteral("Subject:"));
        has(QStringLiteral("second"));
        has(QStringLiteral("indented"));
        has(QStringLiteral("Attachments: report.txt"));
        printer.hide();
    }

    // An HTML body with its own formatting and a picture, long enough for two pages.
    QTemporaryDir work;
    QByteArray html = "<html><body bgcolor=\"#fff8e0\"><h2 style=\"color:#205080\">Minutes</h2>"
                      "<p><img src=\"logo.png\" width=\"120\" height=\"40\"></p>";
    for (int i = 1; i <= 40; ++i)
        html += "<p>Item " + QByteArray::number(i) + ": <b>agreed</b> and <i>recorded</i>.</p>";
    html += "</body></html>";
    QFile body(QDir(work.path()).filePath(QStringLiteral("TEXT.htm")));
    ASSERT_TRUE(body.open(QIODevice::WriteOnly));
    body.write(html);
    body.close();
    QImage logo(120, 40, QImage::Format_RGB32);
    logo.fill(QColor(0x20, 0x80, 0x50));
    ASSERT_TRUE(logo.save(QDir(work.path()).filePath(QStringLiteral("logo.png"))));
    auto message = Load(Sample(mtMail));
    printer.SetMessage(message.get());
    printer.SetWorkFolder(work.path());
    printer.SetBodyFileName(body.fileName());
    printer.SetHtmlMode(true);
    ASSERT_TRUE(printtest::ShowAndBuild(printer));
    cups.ClearOutput();
    EXPECT_EQ(printtest::PrintAndWait(printer).toStdString(), "TarvinPDF");
    const QString text = cups.WaitForOutput();
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Page 1 of (\\d+)")).match(text);
    ASSERT_TRUE(pages.hasMatch()) << text.toStdString();
    const int count = pages.captured(1).toInt();
    EXPECT_GE(count, 2);
    EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %1").arg(count))) << text.toStdString();
    EXPECT_TRUE(text.contains(body.fileName())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Item 40: agreed and recorded.")))
        << text.toStdString();
    EXPECT_TRUE(desktop.Messages.empty());
}

} // namespace
} // namespace tarvin
