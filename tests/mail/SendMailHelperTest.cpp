#include "mail/SendMailHelper.h"
#include "mail/StandInGroupWise.h"
#include "model/GWMessage.h"
#include "support/PmlWriter.h"
#include "support/QtPrinters.h"
#include "support/StandInMailClient.h"
#include "util/DateTime.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::testing;

namespace {

const QString kMapi = QStringLiteral("4A1B2C3D.dom1.po1.100.1.1.1@1");

// A mail from Ellis to Robin (the saving account), Carl (To) and Dana (CC).
PmlWriter SampleMail() {
    PmlWriter w;
    w.SetSender(QStringLiteral("Ellis Fenwick"), QStringLiteral("ellis@example.org"));
    w.AddRecipient(QStringLiteral("ROBIN ASHDOWN"), QStringLiteral("robin@example.org"),
                   QStringLiteral("0"));
    w.AddRecipient(QStringLiteral("Carl"), QStringLiteral("carl@example.org"), QStringLiteral("0"));
    w.AddRecipient(QStringLiteral("Dana"), QStringLiteral("dana@example.org"), QStringLiteral("1"));
    w.SetPlainText(QStringLiteral("Figures attached.\r\nEllis"));
    return w;
}

std::unique_ptr<TGWMessage> Load(const PmlWriter &writer) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromXml(writer.ToXml());
    return message;
}

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class SendMailHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_work = m_dir.filePath(QStringLiteral("work/"));
        QDir().mkpath(m_work);
    }
    // A helper for the message, talking to the stand-in client, with a short wait limit.
    std::unique_ptr<TGWMessageSendMailHelper> Helper(const TGWMessage *message) {
        auto helper = std::make_unique<TGWMessageSendMailHelper>(message);
        helper->SetSocketPath(m_dir.filePath(QStringLiteral("gw.sock")));
        helper->SetWaitLimit(1500);
        helper->SetConfig(TConfig());
        helper->SetWorkFolder(m_work);
        return helper;
    }
    TStandInGroupWise &GroupWise() {
        if (!m_gw) {
            m_gw = std::make_unique<TStandInGroupWise>(m_dir.filePath(QStringLiteral("gw.sock")));
            EXPECT_TRUE(m_gw->Listen());
        }
        return *m_gw;
    }

    QTemporaryDir m_dir;
    QString m_work;
    std::unique_ptr<TStandInGroupWise> m_gw;
};

} // namespace

TEST_F(SendMailHelperTest, FieldsSubjectsAndTexts) {
    auto message = Load(SampleMail());
    auto helper = Helper(message.get());
    EXPECT_EQ(helper->MessageId, kMapi);
    EXPECT_EQ(helper->SenderAddress, "ellis@example.org");
    // The saving account is left out, ignoring case.
    ASSERT_EQ(helper->ToRecipients.Count(), 1);
    EXPECT_EQ(helper->ToRecipients.Item(0).Address, "carl@example.org");
    EXPECT_EQ(helper->GetAddressList(helper->CCRecipients), "dana@example.org");

    helper->Action = TMailActionKind::maReply;
    EXPECT_EQ(helper->GetSubject("RE: lunch"), "RE: lunch");
    EXPECT_EQ(helper->GetSubject("lunch"), "Re: lunch");
    helper->Action = TMailActionKind::maForward;
    EXPECT_EQ(helper->GetSubject("RE: lunch"), "Fwd: RE: lunch");

    const QString header = "\r\n\r\n>>> Ellis Fenwick " +
                           FormatDisplayDateTime(message->CoreProperties.DateCreate) + " >>>\r\n";
    helper->Action = TMailActionKind::maReply;
    helper->IncludeMessage = false;
    EXPECT_EQ(helper->GetMessageText("body"), header);
    helper->IncludeMessage = true;
    EXPECT_EQ(helper->GetMessageText("body"), header + "\r\nbody");

    helper->Action = TMailActionKind::maForwardAsAttachment;
    TConfig config;
    config.ViewerTrailer = "Get a viewer.";
    helper->SetConfig(config);
    EXPECT_EQ(helper->GetMessageText("body"), "Get a viewer.");
    config.IncludeViewerTrailer = false;
    helper->SetConfig(config);
    EXPECT_EQ(helper->GetMessageText("body"), "");
}

TEST_F(SendMailHelperTest, ExtractAttachmentsKeepsNamesInsideTheWorkFolder) {
    PmlWriter embedded; // received, no priority, unread, no attachments: flags 65
    embedded.SetCore("priority", "0").SetCore("read", "false");
    PmlWriter w = SampleMail();
    w.AddAttachment(PmlAttachment::File("report.pdf", "first"));
    w.AddAttachment(PmlAttachment::File("report.pdf", "second"));
    PmlAttachment hostile = PmlAttachment::File("bashrc", "hostile");
    hostile.FileName = "../../.bashrc";
    w.AddAttachment(hostile);
    w.AddAttachment(PmlAttachment::File("TEXT.htm", "<p>html</p>"));
    w.AddAttachment(PmlAttachment::File("Mime.822", "mime"));
    w.AddAttachment(PmlAttachment::Message("  Minutes  ",
                                           std::make_shared<const PmlWriter>(std::move(embedded))));
    auto message = Load(w);

    auto helper = Helper(message.get());
    helper->Action = TMailActionKind::maForward;
    helper->PrepareAttachments();
    const QStringList expected{m_work + "report.pdf", m_work + "report (2).pdf",
                               m_work + ".._.._.bashrc", m_work + "TEXT.htm"};
    ASSERT_EQ(helper->Attachments.size(), 5) << helper->Attachments.join(", ").toStdString();
    EXPECT_EQ(helper->Attachments.mid(0, 4), expected);
    EXPECT_EQ(FileBytes(expected[0]), "first");
    EXPECT_EQ(FileBytes(expected[1]), "second");
    EXPECT_EQ(FileBytes(expected[2]), "hostile");
    EXPECT_FALSE(QFile::exists(m_dir.filePath(".bashrc")));
    // The embedded message: trimmed display name and its twelve-digit code.
    const QString name = QFileInfo(helper->Attachments[4]).fileName();
    EXPECT_TRUE(QRegularExpression(R"(^Minutes\[0041[0-9a-f]{8}\]\.pml$)").match(name).hasMatch())
        << name.toStdString();
    TGWMessage reloaded;
    reloaded.LoadFromFile(helper->Attachments[4]);
    EXPECT_EQ(reloaded.ID.Mapi, message->ID.Mapi);

    // A system attachment alone adds nothing; no work folder is an error.
    PmlWriter systemOnly = SampleMail();
    systemOnly.AddAttachment(PmlAttachment::File("Mime.822", "mime"));
    auto second = Load(systemOnly);
    auto other = Helper(second.get());
    other->Action = TMailActionKind::maForward;
    other->PrepareAttachments();
    EXPECT_TRUE(other->Attachments.isEmpty());
    TGWMessageSendMailHelper noFolder(second.get());
    try {
        noFolder.ExtractAttachments();
        FAIL();
    } catch (const Error &error) {
        EXPECT_EQ(error.message(),
                  "TGWMessageSendMailHelper.ExtractAttachments: WorkFolder is empty");
    }
}

TEST_F(SendMailHelperTest, NativeRunsCommandByCommand) {
    auto message = Load(SampleMail());
    TStandInGroupWise &gw = GroupWise();
    gw.SetAnswer("ItemIsValid(\"" + kMapi + "\")", {1, "True"});
    gw.SetAnswer("ItemMessageIDFromView()", {1, kMapi});
    auto helper = Helper(message.get());
    EXPECT_TRUE(helper->IsGroupWiseRunning());
    EXPECT_TRUE(helper->IsMessageAvailable());
    ApplyMailCommand(*helper, TMailCommand::ReplyToAllInc);
    helper->Send(TSendMode::smNative);
    ApplyMailCommand(*helper, TMailCommand::Forward);
    helper->Send(TSendMode::smNative);
    ApplyMailCommand(*helper, TMailCommand::ForwardAsAttachment);
    helper->Send(TSendMode::smNative);
    const QString open = "ItemOpen(\"" + kMapi + "\")";
    const QStringList expected{"ItemIsValid(\"" + kMapi + "\")",
                               open,
                               "ItemMessageIDFromView()",
                               "ItemReply(7;1;\"X00\")",
                               open,
                               "ItemMessageIDFromView()",
                               "ItemForwardFlat()",
                               open,
                               "ItemMessageIDFromView()",
                               "ItemForward()"};
    EXPECT_EQ(gw.Commands(), expected);

    // A failing command names the operation and the client's reason.
    gw.SetAnswer(open, {0, "Item not found"});
    try {
        helper->Send(TSendMode::smNative);
        FAIL();
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), "TGWMessageSendMailHelper.ExecuteNative: Item not found");
    }
}

TEST_F(SendMailHelperTest, SimulatedRunQuotesEveryText) {
    PmlWriter w = SampleMail();
    w.SetCore("subject", "-x\"; NewMail()\nsecond");
    w.AddAttachment(PmlAttachment::File("a;b\".txt", "data"));
    auto message = Load(w);
    TStandInGroupWise &gw = GroupWise();
    gw.SetAnswer("ItemMessageIDFromView()", {1, "X00"});
    auto helper = Helper(message.get());
    const QString subject = "ItemSetText(\"X00\";9;\"Re: -x\"\"; NewMail()\nsecond\")";

    ApplyMailCommand(*helper, TMailCommand::ReplyToAll);
    helper->Send(TSendMode::smSimulate);
    QStringList commands = gw.Commands();
    ASSERT_EQ(commands.size(), 6);
    EXPECT_EQ(commands[0], "NewMail()");
    EXPECT_EQ(commands[1], "ItemMessageIDFromView()");
    EXPECT_EQ(commands[2].toStdString(), subject.toStdString());
    EXPECT_TRUE(commands[3].startsWith("ItemSetText(\"X00\";10;\"\r\n\r\n>>> Ellis Fenwick "));
    EXPECT_EQ(commands[4], "ItemSetText(\"X00\";0;\"ellis@example.org; carl@example.org\")");
    EXPECT_EQ(commands[5], "ItemSetText(\"X00\";2;\"dana@example.org\")");

    ApplyMailCommand(*helper, TMailCommand::Forward);
    helper->Send(TSendMode::smSimulate);
    EXPECT_EQ(gw.Commands().last().toStdString(),
              ("ItemAttachmentAdd(\"X00\";114;\"" + m_work + "a;b_.txt\")").toStdString());

    helper->Attachments.clear();
    ApplyMailCommand(*helper, TMailCommand::ForwardAsAttachment);
    helper->Send(TSendMode::smSimulate);
    EXPECT_EQ(gw.Commands().last().toStdString(),
              ("ItemAttachmentAdd(\"X00\";114;\"" + m_work + "-x_; NewMail()_second.pml\")")
                  .toStdString());

    // Reply to all when the only other recipient was the saving account: the To text ends in
    // "; " and no copy text is set.
    PmlWriter alone;
    alone.SetSender("Ellis Fenwick", "ellis@example.org");
    alone.AddRecipient("Robin Ashdown", "robin@example.org", "0");
    auto lonely = Load(alone);
    auto reply = Helper(lonely.get());
    ApplyMailCommand(*reply, TMailCommand::ReplyToAll);
    const qsizetype before = gw.Commands().size();
    reply->Send(TSendMode::smSimulate);
    commands = gw.Commands().mid(before);
    ASSERT_EQ(commands.size(), 5);
    EXPECT_EQ(commands.last(), "ItemSetText(\"X00\";0;\"ellis@example.org; \")");
}

TEST_F(SendMailHelperTest, WaitingForTheClientEnds) {
    auto message = Load(SampleMail());
    TStandInGroupWise &gw = GroupWise();
    gw.SetAnswer("ItemMessageIDFromView()", {1, "something else"});
    auto helper = Helper(message.get());
    helper->SetWaitLimit(300);
    ApplyMailCommand(*helper, TMailCommand::ReplyToSender);
    try {
        helper->Send(TSendMode::smNative);
        FAIL();
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), "TGWMessageSendMailHelper.ExecuteNative: GroupWise did not "
                                   "show the message within 0.3 seconds.");
    }
    try {
        helper->Send(TSendMode::smSimulate);
        FAIL();
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), "TGWMessageSendMailHelper.ExecuteNativeSimulate: GroupWise "
                                   "did not show the new mail within 0.3 seconds.");
    }
    // A cancelled wait stops at once, as a cancellation rather than a failure.
    std::atomic_bool cancel{true};
    helper->SetCancelFlag(&cancel);
    helper->SetWaitLimit(60000);
    EXPECT_THROW(helper->Send(TSendMode::smNative), TMailActionCancelled);
}

TEST_F(SendMailHelperTest, MailClientGetsOneArgumentPerText) {
    TStandInMailClient client;
    PmlWriter w = SampleMail();
    w.SetCore("subject", "-s \"x\"; rm -rf ~\nnext");
    w.AddAttachment(PmlAttachment::File("--to=evil@x", "payload"));
    auto message = Load(w);
    auto helper = Helper(message.get());

    ApplyMailCommand(*helper, TMailCommand::ReplyToAllInc);
    helper->Send(TSendMode::smMailClient);
    ASSERT_TRUE(client.HasRun());
    const QStringList reply = client.Arguments();
    EXPECT_EQ(reply.mid(0, 9), (QStringList{"--utf8", "--to", "ellis@example.org", "--to",
                                            "carl@example.org", "--cc", "dana@example.org",
                                            "--subject", "Re: -s \"x\"; rm -rf ~\nnext"}));
    ASSERT_EQ(reply.size(), 11);
    EXPECT_EQ(reply[9], "--body");
    EXPECT_TRUE(reply[10].endsWith("\nFigures attached.\nEllis\n")) << reply[10].toStdString();
    // xdg-email turns each LF into CR LF itself; a CR handed to it would arrive doubled.
    EXPECT_FALSE(reply[10].contains('\r'));
    EXPECT_EQ(client.Values("--attach"), QStringList());

    ApplyMailCommand(*helper, TMailCommand::Forward);
    helper->Send(TSendMode::smMailClient);
    EXPECT_EQ(client.Values("--to"), QStringList());
    EXPECT_EQ(client.Values("--attach"), QStringList{m_work + "--to=evil@x"});
    EXPECT_EQ(client.Attachment(1), "payload");

    ApplyMailCommand(*helper, TMailCommand::ForwardAsAttachment);
    helper->Attachments.clear();
    helper->Send(TSendMode::smMailClient);
    const QString saved = m_work + "-s _x_; rm -rf ~_next.pml";
    EXPECT_EQ(client.Values("--attach"), QStringList{saved});
    EXPECT_EQ(client.Attachment(1), FileBytes(saved));
    QString trailer = TConfig().ViewerTrailer;
    trailer.replace("\r\n", "\n");
    EXPECT_EQ(client.Value("--body"), trailer.endsWith('\n') ? trailer : trailer + "\n");

    // A failure carries the status and the error output.
    client.FailWith(3, "xdg-email: no method available for opening 'mailto:'");
    try {
        helper->Send(TSendMode::smMailClient);
        FAIL();
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), "xdg-email failed with exit status 3.\n"
                                   "xdg-email: no method available for opening 'mailto:'");
    }
}
