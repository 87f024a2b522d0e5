#include "view/ui/TarvinFrame.h"
#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "view/AttachmentRules.h"
#include "view/MessageContent.h"
#include "view/ui/ViewerActionHandler.h"
#include "view/ui/web/HtmlBodyView.h"

#include "ViewTestMessages.h"
#include "ViewTestSupport.h"
#include "support/QtPrinters.h"
#include "support/RecordingDesktop.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QWebEngineScript>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::viewtest;

namespace {

// The frame's HTML view as the web code makes it (linked into the tests).
THtmlBodyView *WebView(TTarvinFrame &frame) {
    return dynamic_cast<THtmlBodyView *>(frame.HtmlView());
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_frame = std::make_unique<TTarvinFrame>();
        m_frame->resize(700, 600);
        m_actions.SetCurrentFrame(m_frame.get());
    }

    QString Write(const PmlWriter &writer, const QString &name) {
        const QString path = m_dir.path() + "/" + name;
        EXPECT_TRUE(writer.WriteFile(path));
        return path;
    }

    // Rows of the list by caption.
    int RowOf(const QString &caption) {
        const auto &entries = m_frame->AttachmentEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].Caption == caption)
                return int(i);
        return -1;
    }

    QTemporaryDir m_dir;
    // Every desktop path (programs, dialogs, message boxes) is recorded, never shown.
    tarvin::testing::TRecordingDesktop m_desk;
    TViewerActionHandler m_actions;
    std::unique_ptr<TTarvinFrame> m_frame;
};

} // namespace

TEST_F(FrameTest, LoadsAFileAndEmptiesAgain) {
    EXPECT_TRUE(m_frame->PageControl()->isHidden());
    EXPECT_EQ(m_frame->HeaderType(), 6);
    m_frame->SetPlainText(true);
    const QString path = Write(RichMail(), "rich.pml");
    m_frame->SetFileName(path);
    EXPECT_FALSE(m_frame->PageControl()->isHidden());
    EXPECT_EQ(m_frame->PageControl()->tabText(0), "Mail");
    EXPECT_EQ(m_frame->HeaderType(), 0);
    EXPECT_NE(m_frame->HeaderPanel(), nullptr);
    EXPECT_EQ(m_frame->MessageFrom(), "Ann Lee");
    EXPECT_EQ(m_frame->MessageTypeName(), "Mail");
    EXPECT_EQ(m_frame->PlainTextView()->toPlainText(), "Hello Bob,\nthe figures are attached.");

    // The same name again loads nothing.
    const TGWMessage *shown = m_frame->Message();
    m_frame->SetFileName(path);
    EXPECT_EQ(m_frame->Message(), shown);

    PmlWriter task(mtTask);
    task.SetCore("boxtype", "3");
    m_frame->SetFileName(Write(task, "task.pml"));
    EXPECT_EQ(m_frame->PageControl()->tabText(0), "Task");
    EXPECT_EQ(m_frame->MessageTypeName(), "Posted Task");

    // A missing file empties the frame; a broken one too, and the error reaches the caller.
    m_frame->SetFileName(m_dir.path() + "/missing.pml");
    EXPECT_EQ(m_frame->Message(), nullptr);
    EXPECT_TRUE(m_frame->PageControl()->isHidden());
    EXPECT_EQ(m_frame->PageControl()->tabText(0), "");
    EXPECT_EQ(m_frame->HeaderPanel(), nullptr);
    QFile broken(m_dir.path() + "/broken.pml");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<message><props>");
    broken.close();
    m_frame->SetFileName(path);
    EXPECT_THROW(m_frame->SetFileName(broken.fileName()), Error);
    EXPECT_EQ(m_frame->Message(), nullptr);
    EXPECT_TRUE(m_frame->PageControl()->isHidden());
}

TEST_F(FrameTest, PlainTextWithoutHtmlBody) {
    int changes = 0;
    QObject::connect(m_frame.get(), &TTarvinFrame::OnViewModeChange, [&] { ++changes; });
    PmlWriter plain(mtMail);
    plain.SetPlainText("just text");
    m_frame->SetFileName(Write(plain, "plain.pml"));
    EXPECT_TRUE(m_frame->PlainText()); // HTML was asked for, but there is none
    EXPECT_FALSE(m_frame->HtmlViewShown());
    changes = 0;
    m_frame->SetPlainText(false);
    EXPECT_TRUE(m_frame->PlainText());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(m_frame->HtmlFileName(), "");
}

TEST_F(FrameTest, CorruptHtmlBodyIsReportedOnceAndShownAsPlainText) {
    PmlWriter mail(mtMail);
    mail.SetCore("subject", "Figures").SetPlainText("plain body");
    PmlAttachment html = PmlAttachment::File("TEXT.htm", "");
    html.RawCData = QByteArray("AAAAAAAAAAAA");
    mail.AddAttachment(html);
    const QString path = Write(mail, "corrupt.pml");
    m_frame->SetFileName(path);
    m_frame->SetPlainText(false); // as a host does after loading
    ASSERT_TRUE(WaitFor([&] { return !m_desk.Messages.empty(); }));
    Settle();
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_TRUE(m_desk.Messages[0].Text.contains("'" + path + "'"))
        << m_desk.Messages[0].Text.toStdString();
    EXPECT_TRUE(m_frame->PlainText());
    EXPECT_FALSE(m_frame->HasHtmlBody());
    EXPECT_EQ(m_frame->PlainTextView()->toPlainText(), "plain body");
}

TEST_F(FrameTest, MissingHtmlEngineIsReportedOnceAndShownAsPlainText) {
    // The web library may be missing or broken: the user is told once, the HTML bodies are
    // shown as plain text, and the frame goes on working.
    SetHtmlBodyFactory([](QWidget *) -> IHtmlBody * {
        throw Error("The HTML engine (tarvin-web.so) cannot be loaded: no such file");
    });
    struct Restore {
        ~Restore() { SetHtmlBodyFactory(nullptr); }
    } restore;
    PmlWriter mail(mtMail);
    mail.SetCore("subject", "Figures").SetPlainText("plain body");
    mail.AddAttachment(PmlAttachment::File("TEXT.htm", "<p>html body</p>"));
    m_frame->SetFileName(Write(mail, "html.pml"));
    m_frame->SetPlainText(false);
    ASSERT_TRUE(WaitFor([&] { return !m_desk.Messages.empty(); }, 5000));
    EXPECT_TRUE(m_desk.Messages[0].Text.contains("tarvin-web.so) cannot be loaded"))
        << m_desk.Messages[0].Text.toStdString();
    EXPECT_TRUE(m_frame->PlainText());
    EXPECT_FALSE(m_frame->HasHtmlBody());
    EXPECT_FALSE(m_frame->HtmlViewShown());
    EXPECT_EQ(m_frame->PlainTextView()->toPlainText(), "plain body");

    mail.SetPlainText("second body");
    m_frame->SetFileName(Write(mail, "html2.pml"));
    m_frame->SetPlainText(false);
    Settle();
    EXPECT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_TRUE(m_frame->PlainText());
    EXPECT_EQ(m_frame->PlainTextView()->toPlainText(), "second body");
}

TEST_F(FrameTest, HtmlBodyTooLargeToShowLeavesTheMessageUsable) {
    TBodyExtractLimits limits;
    limits.BodyBytes = 1024;
    SetBodyExtractLimits(limits);
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann Lee").SetPlainText("plain body");
    mail.AddAttachment(PmlAttachment::File("TEXT.htm", QByteArray(4096, 'x')));
    mail.AddAttachment(PmlAttachment::File("notes.txt", "some notes\n"));
    const QString path = Write(mail, "large.pml");
    m_frame->SetFileName(path);
    m_frame->SetPlainText(false);
    SetBodyExtractLimits(TBodyExtractLimits());
    // Said once the window showing the message is on screen: not while it is being opened.
    EXPECT_TRUE(m_desk.Messages.empty());
    ASSERT_TRUE(WaitFor([&] { return !m_desk.Messages.empty(); }));
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Text,
              "The message '" + path +
                  "' cannot be shown as HTML: the HTML body is larger than 1024 bytes.\n\n"
                  "It is shown as plain text.");
    EXPECT_TRUE(m_frame->PlainText());
    EXPECT_EQ(m_frame->PlainTextView()->toPlainText(), "plain body");
    EXPECT_EQ(m_frame->MessageFrom(), "Ann Lee");
    EXPECT_NE(RowOf("notes.txt"), -1);
    EXPECT_TRUE(QDir(m_frame->GetWorkFolder()).isEmpty());
}

TEST_F(FrameTest, HtmlFileAndWorkFolder) {
    m_frame->SetPlainText(true);
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    const QString html = m_frame->HtmlFileName();
    const QString work = m_frame->GetWorkFolder();
    EXPECT_TRUE(work.endsWith("/"));
    EXPECT_TRUE(QFileInfo(work).fileName().isEmpty());
    EXPECT_TRUE(QDir(work).dirName().startsWith("_vwr"));
    EXPECT_EQ(html, work + "text.htm");
    EXPECT_TRUE(QFile::exists(work + "logo001"));
    // Extracted once per message.
    QFile::remove(html);
    EXPECT_EQ(m_frame->HtmlFileName(), html);
    EXPECT_FALSE(QFile::exists(html));
    // A new message extracts again.
    m_frame->SetFileName(Write(RichMail(), "rich2.pml"));
    EXPECT_EQ(m_frame->HtmlFileName(), html);
    EXPECT_TRUE(QFile::exists(html));
    // The work folder goes with the frame.
    m_frame.reset();
    EXPECT_FALSE(QDir(work).exists());
}

TEST_F(FrameTest, AttachmentListRules) {
    m_frame->SetPlainText(true);
    m_frame->SetAttachmentsVisible(true);
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    QListWidget *list = m_frame->AttachmentList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "notes.txt");
    EXPECT_EQ(list->item(1)->text(), "Appointment");
    EXPECT_EQ(list->item(2)->text(), "lost.pdf");
    EXPECT_FALSE(list->item(0)->icon().isNull());
    // Without data: greyed.
    EXPECT_NE(list->item(2)->foreground().color(), list->item(0)->foreground().color());

    m_frame->SetShowSystemAttachments(true);
    ASSERT_EQ(list->count(), 7);
    EXPECT_EQ(list->item(0)->text(), "TEXT.htm");
    m_frame->SetShowSystemAttachments(false);
    EXPECT_EQ(list->count(), 3);

    EXPECT_FALSE(list->isHidden());
    m_frame->SetAttachmentsVisible(false);
    EXPECT_TRUE(list->isHidden());
}

TEST_F(FrameTest, OpensAttachments) {
    m_frame->SetPlainText(true);
    m_frame->SetShowSystemAttachments(true);
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    const QString work = m_frame->GetWorkFolder();

    // Nothing selected, or no data: nothing happens.
    m_frame->OpenSelectedAttachment();
    m_frame->SelectAttachment(RowOf("lost.pdf"));
    m_frame->OpenSelectedAttachment();
    EXPECT_TRUE(m_desk.Opened.empty());
    EXPECT_TRUE(m_desk.Messages.empty());

    m_frame->SelectAttachment(RowOf("notes.txt"));
    m_frame->OpenSelectedAttachment();
    ASSERT_EQ(m_desk.Opened.size(), 1u);
    EXPECT_EQ(m_desk.Opened[0], work + "notes.txt");
    QFile written(work + "notes.txt");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "some notes\n");

    // The HTML body and the MIME copy go to the text editor.
    m_frame->SelectAttachment(RowOf("Mime.822"));
    m_frame->OpenSelectedAttachment();
    m_frame->SelectAttachment(RowOf("TEXT.htm"));
    m_frame->OpenSelectedAttachment();
    ASSERT_EQ(m_desk.OpenedInEditor.size(), 2u);
    EXPECT_EQ(m_desk.OpenedInEditor[0], work + "Mime.822");
    EXPECT_EQ(m_desk.OpenedInEditor[1], work + "TEXT.htm");

    // A failure is shown, not raised.
    m_desk.FailOpen = "No such program";
    m_frame->SelectAttachment(RowOf("notes.txt"));
    m_frame->OpenSelectedAttachment();
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Text,
              "Cannot open file '" + work + "notes.txt'.\n\nNo such program.");
}

TEST_F(FrameTest, OpensEmbeddedMessagesThroughTheHost) {
    m_frame->SetPlainText(true);
    m_frame->SetAttachmentsVisible(true);
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    std::vector<TOpenMessageRequest> requests;
    QObject::connect(m_frame.get(), &TTarvinFrame::OnOpenMessage,
                     [&](TTarvinFrame *, const TOpenMessageRequest &r) { requests.push_back(r); });
    m_frame->SelectAttachment(RowOf("Appointment"));
    m_frame->OpenSelectedAttachment();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].MessageId, "APPT.1");
    EXPECT_TRUE(requests[0].AttachmentsVisible);
    EXPECT_FALSE(requests[0].ShowSystemAttachments);
    TGWMessage embedded;
    embedded.LoadFromXml(requests[0].Xml);
    EXPECT_EQ(embedded.CoreProperties.Subject, "Review");
    EXPECT_TRUE(m_desk.Opened.empty());
}

TEST_F(FrameTest, SavesAttachmentsAndEmbeddedMessages) {
    m_frame->SetPlainText(true);
    m_frame->SetSourceFolder(m_dir.path());
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    QDir(m_dir.path()).mkdir("out");
    const QString out = m_dir.path() + "/out";

    // Cancelled: nothing written.
    m_frame->SelectAttachment(RowOf("notes.txt"));
    m_frame->SaveSelectedAttachmentAs();
    ASSERT_EQ(m_desk.FileRequests.size(), 1u);
    EXPECT_EQ(m_desk.FileRequests[0].Title, "Save 'notes.txt' As");
    EXPECT_EQ(m_desk.FileRequests[0].SuggestedName, "notes.txt");
    EXPECT_EQ(m_desk.FileRequests[0].SelectedFilter, "Any file (*.*)");
    EXPECT_EQ(m_desk.FileRequests[0].Filters,
              QStringList({"Pelorin Markup Language file (*.pml)", "Any file (*.*)"}));

    m_desk.FileAnswers = {out + "/kept.txt", out + "/kept.txt"};
    m_frame->SaveSelectedAttachmentAs();
    QFile kept(out + "/kept.txt");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "some notes\n");
    // The next save starts in the folder chosen last.
    m_frame->SaveSelectedAttachmentAs();
    EXPECT_EQ(m_desk.FileRequests.back().Folder, out);

    // An embedded message: its flag-code name, the message filter, the source folder.
    m_frame->SelectAttachment(RowOf("Appointment"));
    m_desk.FileAnswers = {out + "/review.pml"};
    m_frame->SaveSelectedAttachmentAs();
    const TFileDialogRequest &request = m_desk.FileRequests.back();
    EXPECT_EQ(request.Title, "Save 'Appointment' As");
    EXPECT_TRUE(request.SuggestedName.startsWith("Appointment["));
    EXPECT_TRUE(request.SuggestedName.endsWith("].pml"));
    EXPECT_EQ(request.SelectedFilter, "Pelorin Markup Language file (*.pml)");
    EXPECT_EQ(request.Folder, m_dir.path());
    TGWMessage saved;
    saved.LoadFromFile(out + "/review.pml");
    EXPECT_EQ(saved.CoreProperties.Subject, "Review");

    // Without data: no dialog at all.
    const size_t asked = m_desk.FileRequests.size();
    m_frame->SelectAttachment(RowOf("lost.pdf"));
    m_frame->SaveSelectedAttachmentAs();
    EXPECT_EQ(m_desk.FileRequests.size(), asked);
    EXPECT_TRUE(m_desk.Messages.empty());
}

TEST_F(FrameTest, PropertiesSaveLogCopyAndSelectAll) {
    m_frame->SetPlainText(true);
    const QString path = Write(RichMail(), "rich.pml");
    m_frame->SetFileName(path);
    const QString props = m_frame->PropertiesView()->toPlainText();
    EXPECT_TRUE(props.startsWith("From:\t")) << props.toStdString();
    EXPECT_TRUE(props.contains("\tAnn Lee\n"));
    EXPECT_TRUE(props.endsWith("File Name:\t\t\t" + path) || props.contains(path));
    EXPECT_TRUE(m_frame->SaveLogView()->toPlainText().startsWith("Date:\t"));

    // Every value starts at the same place, five stops into the line, however long its label.
    QPlainTextEdit *view = m_frame->PropertiesView();
    m_frame->SetActivePage(fpProperties);
    m_frame->show();
    QTextDocument *document = view->document();
    int checked = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        const qsizetype lastTab = line.lastIndexOf('\t');
        if (lastTab < 0)
            continue;
        QTextCursor start(block), value(block);
        value.setPosition(block.position() + int(lastTab) + 1);
        EXPECT_EQ(view->cursorRect(value).x() - view->cursorRect(start).x(), 5 * 64)
            << line.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 3); // From, Subject, File Name

    m_frame->SetActivePage(fpProperties);
    EXPECT_FALSE(m_actions.acEditCopy->isEnabled());
    EXPECT_TRUE(m_actions.acEditSelectAll->isEnabled());
    m_actions.acEditSelectAll->trigger();
    EXPECT_TRUE(m_actions.acEditCopy->isEnabled());
    EXPECT_FALSE(m_actions.acEditSelectAll->isEnabled());
    m_actions.acEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), props);

    // On the message tab the actions follow the body view.
    m_frame->SetActivePage(fpMessage);
    EXPECT_FALSE(m_actions.acEditCopy->isEnabled());
    m_actions.acEditSelectAll->trigger();
    m_actions.acEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Hello Bob,\nthe figures are attached.");

    // Hosts find the pages, menus and actions by name.
    for (const char *name :
         {"tsMessage", "tsProperties", "tsSaveLog", "PopupMenuReply", "PopupMenuForward",
          "PopupMenuAttachments", "PopupMenuMessage", "PopupMenuEdit"})
        EXPECT_NE(m_frame->findChild<QWidget *>(name), nullptr) << name;
    EXPECT_EQ(m_frame->findChild<QWidget *>("tsProperties")->findChild<QPlainTextEdit *>(),
              m_frame->PropertiesView());
    for (const char *name : {"acEditCopy", "acReply", "acReplyToAllInc", "acForwardAsAtt"})
        EXPECT_NE(m_actions.findChild<QAction *>(name), nullptr) << name;

    // Reply and forward exist but do nothing yet.
    for (QAction *action :
         {m_actions.acReply, m_actions.acReplyToAll, m_actions.acForward, m_actions.acForwardAsAtt})
        EXPECT_FALSE(action->isEnabled());

    // Indented stored properties: their values start where the file name's does.
    PmlWriter indented(mtMail);
    indented.SetBodyProperties("Size\t12 KB\n\tRecipient options\t\tNone\n\tTo\tAnn Lee");
    m_frame->SetFileName(Write(indented, "indented.pml"));
    m_frame->SetActivePage(fpProperties);
    checked = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const qsizetype lastTab = block.text().lastIndexOf('\t');
        if (lastTab < 0)
            continue;
        QTextCursor start(block), value(block);
        value.setPosition(block.position() + int(lastTab) + 1);
        EXPECT_EQ(view->cursorRect(value).x() - view->cursorRect(start).x(), 5 * 64)
            << block.text().toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 4);
}

TEST_F(FrameTest, ShowsHtmlBody) {
    int shown = 0;
    QObject::connect(m_frame.get(), &TTarvinFrame::BodyShown, [&] { ++shown; });
    m_frame->show();
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    EXPECT_FALSE(m_frame->PlainText());
    ASSERT_TRUE(WaitFor([&] { return shown > 0; }));
    EXPECT_TRUE(m_frame->HtmlViewShown());
    EXPECT_FALSE(WebView(*m_frame)->IsBusy());
    QString text;
    bool done = false;
    WebView(*m_frame)->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_TRUE(text.contains("Hello Bob")) << text.toStdString();

    // In HTML mode Copy and Select All act on the page the user sees.
    QApplication::clipboard()->clear();
    m_frame->activateWindow();
    WebView(*m_frame)->setFocus();
    m_actions.acEditSelectAll->trigger();
    ASSERT_TRUE(WaitFor([&] { return m_actions.acEditCopy->isEnabled(); }));
    m_actions.acEditCopy->trigger();
    EXPECT_TRUE(WaitFor([&] { return QApplication::clipboard()->text().contains("Hello Bob"); }))
        << QApplication::clipboard()->text().toStdString();

    m_frame->SetPlainText(true);
    EXPECT_FALSE(m_frame->HtmlViewShown());
    m_frame->SetPlainText(false);
    EXPECT_TRUE(m_frame->HtmlViewShown());
}

TEST_F(FrameTest, WatchdogStopsAHangingLoad) {
    // A server that accepts connections and never answers.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    std::vector<QTcpSocket *> held;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (server.hasPendingConnections())
            held.push_back(server.nextPendingConnection());
    });
    PmlWriter mail(mtMail);
    mail.AddAttachment(PmlAttachment::File(
        "TEXT.htm", QString("<p>slow</p><img src=\"http://127.0.0.1:%1/a.png\">")
                        .arg(server.serverPort())
                        .toUtf8()));
    m_frame->SetLoadRemoteContent(true); // web pictures may load
    WebView(*m_frame)->SetWatchdogTimeout(1500);
    bool loaded = false;
    QObject::connect(WebView(*m_frame), &THtmlBodyView::BodyLoaded, [&] { loaded = true; });
    m_frame->show();
    m_frame->SetFileName(Write(mail, "slow.pml"));
    ASSERT_TRUE(WaitFor([&] { return loaded; }, 20000));
    EXPECT_TRUE(WebView(*m_frame)->WatchdogFired());
    EXPECT_FALSE(held.empty()); // the picture was asked for
}

namespace {

// A web server on the loopback interface that records every connection and the path of every
// request, and answers each with a 1x1 picture.
class RecordingServer {
public:
    RecordingServer() {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++Connections;
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { read(socket); });
            }
        });
    }
    bool Listening() const { return m_server.isListening(); }
    QString Url(const QString &path) const {
        return QString("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
    }

    int Connections = 0;
    QStringList Paths;

private:
    void read(QTcpSocket *socket) {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        Paths << QString::fromLatin1(request.split(' ').value(1));
        m_pending.remove(socket);
        const QByteArray png = PngBytes();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: no-store\r\n"
                      "Connection: close\r\nContent-Length: " +
                      QByteArray::number(png.size()) + "\r\n\r\n" + png);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// A mail whose HTML body shows a picture by content id, a web picture, a web background, and
// asks to connect to the web server early.
PmlWriter MailWithWebPictures(const RecordingServer &server, const QString &tag) {
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann Lee").SetCore("subject", tag).SetPlainText(tag);
    PmlAttachment html = PmlAttachment::File(
        "TEXT.htm",
        QString("<html><head><link rel=\"preconnect\" href=\"%1\"></head><body>"
                "<p>%4</p><img src=\"logo001\"><img src=\"%2\">"
                "<div style=\"width:8px;height:8px;background-image:url('%3')\"></div>"
                "</body></html>")
            .arg(server.Url(""), server.Url(tag + ".png"), server.Url(tag + "-bg.png"), tag)
            .toUtf8());
    html.FileName = "TEXT.htm";
    html.ContentIds = {"logo001"};
    mail.AddAttachment(html);
    PmlAttachment logo = PmlAttachment::File("IMAGE.png", PngBytes());
    logo.FileName = "logo001";
    mail.AddAttachment(logo);
    return mail;
}

// The script's answer, as text.
QString Evaluate(THtmlBodyView *view, const QString &script) {
    QString result;
    bool done = false;
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &r) {
        result = r.toString();
        done = true;
    });
    EXPECT_TRUE(WaitFor([&] { return done; }));
    return result;
}

const QString kPictureWidths =
    "JSON.stringify(Array.from(document.images).map(i => i.complete ? i.naturalWidth : -1))";

} // namespace

TEST_F(FrameTest, RemoteContentWaitsForTheUser) {
    RecordingServer server;
    ASSERT_TRUE(server.Listening());
    int shown = 0;
    QObject::connect(m_frame.get(), &TTarvinFrame::BodyShown, [&] { ++shown; });
    auto *bar = m_frame->RemoteContentBar();
    m_frame->show();

    // Blocked by default: the bar says so, nothing reaches the server, the picture by
    // content id still shows.
    m_frame->SetFileName(Write(MailWithWebPictures(server, "first"), "first.pml"));
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && bar->isVisible(); }));
    THtmlBodyView *view = WebView(*m_frame);
    EXPECT_EQ(Evaluate(view, kPictureWidths), "[1,0]");
    EXPECT_EQ(server.Connections, 0);
    EXPECT_LE(bar->mapTo(m_frame.get(), QPoint(0, bar->height())).y(),
              view->mapTo(m_frame.get(), QPoint()).y());
    // With TARVIN_SCREENSHOT_DIR set the frame is kept there for a look.
    const QString out = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    if (!out.isEmpty())
        m_frame->grab().save(out + "/remote-content-bar.png");

    // Plain text has no bar; back in HTML the page is blocked again and the bar returns.
    m_frame->SetPlainText(true);
    EXPECT_FALSE(bar->isVisible());
    shown = 0;
    m_frame->SetPlainText(false);
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && bar->isVisible(); }));

    // The button loads this message's web pictures and the bar goes.
    shown = 0;
    bar->LoadButton()->click();
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && server.Paths.size() >= 2; }));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(server.Paths.contains("/first.png")) << server.Paths.join(' ').toStdString();
    EXPECT_TRUE(server.Paths.contains("/first-bg.png")) << server.Paths.join(' ').toStdString();
    EXPECT_EQ(Evaluate(view, kPictureWidths), "[1,1]");
    // Still allowed while this message stays, in either view.
    m_frame->SetPlainText(true);
    shown = 0;
    m_frame->SetPlainText(false);
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && server.Paths.count("/first.png") >= 2; }));
    EXPECT_FALSE(bar->isVisible());

    // The next message in the same frame is blocked again.
    shown = 0;
    m_frame->SetFileName(Write(MailWithWebPictures(server, "second"), "second.pml"));
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && bar->isVisible(); }));
    EXPECT_EQ(Evaluate(view, kPictureWidths), "[1,0]");
    EXPECT_FALSE(server.Paths.join(' ').contains("second")) << server.Paths.join(' ').toStdString();

    // A message without web content shows no bar.
    shown = 0;
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    ASSERT_TRUE(WaitFor([&] { return shown > 0; }));
    Settle();
    EXPECT_FALSE(bar->isVisible());

    // With the setting on, web pictures load at once and there is no bar.
    m_frame->SetLoadRemoteContent(true);
    shown = 0;
    m_frame->SetFileName(Write(MailWithWebPictures(server, "third"), "third.pml"));
    ASSERT_TRUE(WaitFor([&] { return shown > 0 && server.Paths.contains("/third.png"); }));
    Settle();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(FrameTest, HtmlBodyShowsItsContentIdPictures) {
    int shown = 0;
    QObject::connect(m_frame.get(), &TTarvinFrame::BodyShown, [&] { ++shown; });
    m_frame->show();
    m_frame->SetFileName(Write(RichMail(), "rich.pml"));
    ASSERT_TRUE(WaitFor([&] { return shown > 0; }));
    QVariant result;
    bool done = false;
    WebView(*m_frame)->page()->runJavaScript(
        "JSON.stringify([document.images[0].complete, document.images[0].naturalWidth])",
        QWebEngineScript::ApplicationWorld, [&](const QVariant &r) {
            result = r;
            done = true;
        });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_EQ(result.toString(), "[true,1]"); // the 1x1 picture beside text.htm was loaded
}
