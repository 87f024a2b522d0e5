// The printing window on a real page: the document built in the engine, read back from the
// page, and the no-printer path that saves the pages as a PDF file.
#include "print/ui/MessagePrinter.h"

#include "print/PrintTestMessages.h"
#include "print/PrintTestSupport.h"
#include "support/RecordingDesktop.h"

#include <QDir>
#include <QFile>
#include <QPageSetupDialog>
#include <QPdfDocument>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolBar>

namespace tarvin {
namespace {

using printtest::Load;
using printtest::RunScript;
using printtest::Sample;

std::string S(const QVariant &value) {
    return value.toString().toStdString();
}

class PrintWindow : public ::testing::Test {
protected:
    testing::TRecordingDesktop desktop;
    QTemporaryDir folder;

    QString writeFile(const char *name, const QByteArray &content) {
        const QString path = folder.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
};

TEST_F(PrintWindow, HtmlBodyMovesIntoItsCellWithTheBodyAttributes) {
    auto message = Load(Sample(mtMail).SetCore("subject", "Q&A <final>"));
    const QString body = writeFile(
        "TEXT.htm", "<html><head><style>p{color:red}</style></head><body bgcolor=\"#ffeecc\" "
                    "style=\"margin: 3px\"><p>Hello <b>Bob</b></p></body></html>");
    TfrmMessagePrinter printer;
    printer.SetMessage(message.get());
    printer.SetWorkFolder(folder.path());
    printer.SetBodyFileName(body);
    printer.SetHtmlMode(true);
    ASSERT_TRUE(printtest::ShowAndBuild(printer));
    EXPECT_EQ(printer.windowTitle().toStdString(), "Q&A <final> - Print");
    QWebEnginePage *page = printer.Page();
    EXPECT_EQ(S(RunScript(page, "document.title")), "Ann Lee - Q&A <final>");
    // The print style comes first, before the page's own sheet, with the exact text.
    EXPECT_EQ(RunScript(page, "document.styleSheets.length").toInt(), 2);
    EXPECT_EQ(S(RunScript(page, "document.head.firstElementChild.textContent")),
              GetStyleSheet(printer.Settings()).toStdString());
    EXPECT_EQ(RunScript(page, "document.body.attributes.length").toInt(), 0);
    EXPECT_EQ(S(RunScript(page, "document.getElementById('source-html').innerHTML")),
              "<p>Hello <b>Bob</b></p>");
    EXPECT_EQ(S(RunScript(page, "document.getElementById('source-html').getAttribute('bgcolor')")),
              "#ffeecc");
    EXPECT_EQ(S(RunScript(page, "document.getElementById('source-html').getAttribute('style')")),
              "margin: 3px");
    EXPECT_EQ(S(RunScript(page, "Array.from(document.querySelectorAll('td.item-name'))"
                                ".map(function (c) { return c.textContent; }).join('|')")),
              "From:|To:|CC:|Date:|Subject:");
    EXPECT_EQ(S(RunScript(page, "document.querySelector('td.item-data:not(:empty)').parentNode"
                                ".parentNode.rows[4].cells[1].textContent")),
              "Q&A <final>");
    EXPECT_EQ(S(RunScript(page, "document.querySelector('td.attachment-list').textContent")),
              "Attachments: report.txt");
    EXPECT_TRUE(printer.PrintAction()->isEnabled());
    EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(PrintWindow, PlainTextOnAnEmptyPageAndASecondShowingRebuilds) {
    auto mail = Load(Sample(mtMail));
    auto phone = Load(Sample(mtPhone).SetCore("subject", "Call back"));
    TfrmMessagePrinter printer;
    printer.SetMessage(mail.get());
    printer.SetBodyFont(QFont(QStringLiteral("DejaVu Sans Mono"), 11));
    ASSERT_TRUE(printtest::ShowAndBuild(printer));
    QWebEnginePage *page = printer.Page();
    EXPECT_EQ(page->url().toString().toStdString(), "about:blank");
    EXPECT_EQ(S(RunScript(page, "document.querySelector('td.message-body').innerText")),
              "First line\nsecond\u00a0\u00a0 line\n\u00a0 indented");
    EXPECT_NE(S(RunScript(page, "getComputedStyle(document.querySelector('table')).fontFamily"))
                  .find("DejaVu Sans Mono"),
              std::string::npos);
    printer.hide();

    // Another message: the body file goes, the document is rebuilt for the new message.
    printer.SetBodyFileName(QStringLiteral("/nonexistent/TEXT.htm"));
    printer.SetMessage(phone.get());
    EXPECT_TRUE(printer.BodyFileName().isEmpty());
    ASSERT_TRUE(printtest::ShowAndBuild(printer));
    EXPECT_EQ(S(RunScript(page, "document.title")), "Ann Lee - Call back");
    EXPECT_EQ(S(RunScript(page, "document.querySelectorAll('td.item-name')[4].textContent")),
              "Caller:");
}

TEST_F(PrintWindow, APageWithoutAnHtmlDocumentIsReported) {
    auto message = Load(Sample(mtNote));
    const QString svg = writeFile(
        "picture.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>");
    TfrmMessagePrinter printer;
    printer.SetMessage(message.get());
    printer.SetWorkFolder(folder.path());
    printer.SetHtmlMode(true);
    printer.SetBodyFileName(svg);
    EXPECT_FALSE(printtest::ShowAndBuild(printer));
    ASSERT_EQ(desktop.Messages.size(), 1u);
    EXPECT_EQ(desktop.Messages[0].Text.toStdString(), "Document is not available");
    EXPECT_FALSE(printer.PrintAction()->isEnabled());
    EXPECT_TRUE(printer.isVisible());
}

// With no printer installed, Print says so and offers the same pages as a PDF file.
TEST_F(PrintWindow, WithoutAPrinterThePagesCanBeSavedAsPdf) {
    // A print server that does not exist: no printer at all.
    qputenv("CUPS_SERVER", QDir(folder.path()).filePath(QStringLiteral("none.sock")).toUtf8());
    auto message = Load(Sample(mtTask));
    TfrmMessagePrinter printer;
    printer.SetMessage(message.get());
    ASSERT_TRUE(printtest::ShowAndBuild(printer));

    desktop.Answers.push_back(TMessageAnswer::No);
    EXPECT_TRUE(printtest::PrintAndWait(printer).isEmpty());
    ASSERT_EQ(desktop.Messages.size(), 1u);
    EXPECT_EQ(desktop.Messages[0].Text.toStdString(),
              "No printer is installed.\n\nDo you want to save the pages as a PDF file instead?");

    const QString pdf = QDir(folder.path()).filePath(QStringLiteral("saved.pdf"));
    desktop.Answers.push_back(TMessageAnswer::Yes);
    desktop.FileAnswers.push_back(pdf);
    EXPECT_EQ(printtest::PrintAndWait(printer).toStdString(), pdf.toStdString());
    ASSERT_EQ(desktop.FileRequests.size(), 1u);
    EXPECT_EQ(desktop.FileRequests[0].SuggestedName.toStdString(), "Audit file 7.pdf");
    const QString text = printtest::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Ann Lee - Audit file 7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Priority:"))) << text.toStdString();

    // A file that cannot be written is reported, not swallowed.
    desktop.Answers.push_back(TMessageAnswer::Yes);
    desktop.FileAnswers.push_back(QStringLiteral("/nonexistent/folder/x.pdf"));
    EXPECT_TRUE(printtest::PrintAndWait(printer).isEmpty());
    ASSERT_EQ(desktop.Messages.size(), 4u);
    EXPECT_EQ(desktop.Messages[3].Kind, TMessageKind::Error);
    EXPECT_NE(desktop.Messages[3].Text.toStdString().find("/nonexistent/folder/x.pdf"),
              std::string::npos);

    // The page setup chosen is kept for the next print.
    desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *setup = qobject_cast<QPageSetupDialog *>(dialog);
        EXPECT_NE(setup, nullptr);
        setup->printer()->setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    });
    printer.PageSetupAction()->trigger();
    ASSERT_EQ(desktop.Dialogs.size(), 1u);
    const QString landscape = QDir(folder.path()).filePath(QStringLiteral("landscape.pdf"));
    desktop.Answers.push_back(TMessageAnswer::Yes);
    desktop.FileAnswers.push_back(landscape);
    EXPECT_EQ(printtest::PrintAndWait(printer).toStdString(), landscape.toStdString());
    QPdfDocument document;
    document.load(landscape);
    ASSERT_EQ(document.pageCount(), 1);
    EXPECT_GT(document.pagePointSize(0).width(), document.pagePointSize(0).height());
}

} // namespace
} // namespace tarvin
