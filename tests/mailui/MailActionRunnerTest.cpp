#include "mail/ui/MailActionRunner.h"
#include "mail/StandInGroupWise.h"
#include "mail/ui/MessageNotAvailableForm.h"
#include "mail/ui/ReplyForm.h"
#include "model/GWMessage.h"
#include "support/PmlWriter.h"
#include "support/QtPrinters.h"
#include "support/RecordingDesktop.h"
#include "support/StandInMailClient.h"
#include "support/TestFiles.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::testing;

namespace {

const QString kMapi = QStringLiteral("4A1B2C3D.dom1.po1.100.1.1.1@1");

void WriteFile(const QString &path, const QByteArray &bytes, bool executable = false) {
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    WriteTestFile(path, bytes, executable ? owner | QFile::ExeOwner : owner);
}

// Runs one mail action to its end.
bool RunAction(TMailCommand command, const TGWMessage *message, const QString &workFolder) {
    TMailRequest request;
    request.Command = command;
    request.Message = message;
    request.WorkFolder = [workFolder] { return workFolder; };
    bool finished = false;
    TMailActionRunner *runner = TMailActionRunner::Start(request);
    QObject::connect(runner, &TMailActionRunner::Finished, [&finished] { finished = true; });
    return WaitFor([&finished] { return finished; });
}

class MailActionRunnerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { TStandInMailClient::InstallMailtoHandler(); }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_work = m_dir.filePath("work/");
        QDir().mkpath(m_work);
        m_socket = m_dir.filePath("gw.sock");
        TMailActionRunner::SetSocketPathForTesting(m_socket);
        TMailActionRunner::SetWaitLimitForTesting(2000);
        PmlWriter w;
        w.SetSender("Ellis Fenwick", "ellis@example.org");
        w.AddRecipient("Robin Ashdown", "robin@example.org", "0");
        w.AddRecipient("Carl", "carl@example.org", "0");
        w.AddRecipient("Dana", "dana@example.org", "1");
        w.SetCore("subject", "Lunch");
        w.SetPlainText("See you at noon.");
        w.AddAttachment(PmlAttachment::File("menu.txt", "soup"));
        m_message.LoadFromXml(w.ToXml());
    }
    void TearDown() override {
        TMailActionRunner::SetSocketPathForTesting(QString());
        TMailActionRunner::SetWaitLimitForTesting(TSendMailHelper::kDefaultWaitLimitMs);
        Settle();
    }
    // A "grpwise" program first on PATH: the groupware client counts as installed.
    void InstallGroupWise() {
        WriteFile(m_dir.filePath("gwbin/grpwise"), "#!/bin/sh\nexit 0\n", true);
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", m_dir.filePath("gwbin").toLocal8Bit() + ':' + m_oldPath);
    }
    ~MailActionRunnerTest() override {
        if (!m_oldPath.isEmpty())
            qputenv("PATH", m_oldPath);
    }

    TRecordingDesktop m_desktop;
    QTemporaryDir m_dir;
    QString m_work;
    QString m_socket;
    QByteArray m_oldPath;
    TGWMessage m_message;
};

} // namespace

TEST_F(MailActionRunnerTest, MailClientComposesRepliesAndForwards) {
    TStandInMailClient client;
    ASSERT_TRUE(RunAction(TMailCommand::ReplyToAll, &m_message, m_work));
    ASSERT_TRUE(client.HasRun());
    EXPECT_EQ(client.Values("--to"), (QStringList{"ellis@example.org", "carl@example.org"}));
    EXPECT_EQ(client.Values("--cc"), QStringList{"dana@example.org"});
    EXPECT_EQ(client.Value("--subject"), "Re: Lunch");
    EXPECT_TRUE(client.Value("--body").startsWith("\n\n>>> Ellis Fenwick "));
    EXPECT_FALSE(client.Value("--body").contains("noon"));
    EXPECT_TRUE(m_desktop.Messages.empty());

    ASSERT_TRUE(RunAction(TMailCommand::Forward, &m_message, m_work));
    EXPECT_EQ(client.Values("--to"), QStringList());
    EXPECT_EQ(client.Value("--subject"), "Fwd: Lunch");
    EXPECT_TRUE(client.Value("--body").endsWith("\nSee you at noon.\n"));
    EXPECT_EQ(client.Values("--attach"), QStringList{m_work + "menu.txt"});
    EXPECT_EQ(client.Attachment(1), "soup");

    // A failing client is reported with its status and error output.
    client.FailWith(4, "no mail program");
    ASSERT_TRUE(RunAction(TMailCommand::ReplyToSender, &m_message, m_work));
    EXPECT_EQ(m_desktop.MessageTexts(),
              QStringList{"xdg-email failed with exit status 4.\nno mail program"});
}

TEST_F(MailActionRunnerTest, GroupWiseNativeOrSimulated) {
    InstallGroupWise();
    TStandInGroupWise gw(m_socket);
    ASSERT_TRUE(gw.Listen());
    const QString isValid = "ItemIsValid(\"" + kMapi + "\")";
    gw.SetAnswer(isValid, {1, "1"});
    gw.SetAnswer("ItemMessageIDFromView()", {1, kMapi});

    // Available: no dialog, GroupWise replies itself. "Reply" asks whom and whether to quote.
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *form = qobject_cast<TReplyForm *>(dialog);
        EXPECT_EQ(form->windowTitle(), "Reply");
        EXPECT_TRUE(form->ReplyToSenderOption()->isChecked());
        EXPECT_TRUE(form->IncludeMessageBox()->isChecked());
        form->ReplyToAllOption()->setChecked(true);
        form->IncludeMessageBox()->setChecked(false);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(RunAction(TMailCommand::Reply, &m_message, m_work));
    EXPECT_EQ(gw.Commands(), (QStringList{isValid, "ItemOpen(\"" + kMapi + "\")",
                                          "ItemMessageIDFromView()", "ItemReply(7;0;\"X00\")"}));

    // Not available: the dialog names the active account; simulating composes a new mail.
    gw.SetAnswer(isValid, {1, "False"});
    gw.SetAnswer("EnvUserID(1;0)", {1, "robin.proxy"});
    gw.SetAnswer("ItemMessageIDFromView()", {1, "X00"});
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *form = qobject_cast<TMessageNotAvailableForm *>(dialog);
        bool named = false;
        for (QLabel *label : form->findChildren<QLabel *>())
            named = named || label->text().contains("account (robin.proxy)");
        EXPECT_TRUE(named);
        return int(QDialog::Accepted); // "Simulate Reply/Forward" is chosen at first
    });
    qsizetype before = gw.Commands().size();
    ASSERT_TRUE(RunAction(TMailCommand::ForwardAsAttachment, &m_message, m_work));
    const QString saved = m_work + "Lunch.pml";
    EXPECT_EQ(gw.Commands().mid(before),
              (QStringList{isValid, "EnvUserID(1;0)", "NewMail()", "ItemMessageIDFromView()",
                           "ItemSetText(\"X00\";9;\"Fwd: Lunch\")",
                           "ItemSetText(\"X00\";10;\"" + TConfig().ViewerTrailer + "\")",
                           "ItemAttachmentAdd(\"X00\";114;\"" + saved + "\")"}));
    EXPECT_TRUE(QFile::exists(saved));

    // Cancelling the dialog, or choosing to change the login, sends nothing.
    m_desktop.DialogRuns.push_back([](QObject *) { return int(QDialog::Rejected); });
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        qobject_cast<TMessageNotAvailableForm *>(dialog)->ChangeAccountOption()->setChecked(true);
        return int(QDialog::Accepted);
    });
    before = gw.Commands().size();
    ASSERT_TRUE(RunAction(TMailCommand::Forward, &m_message, m_work));
    ASSERT_TRUE(RunAction(TMailCommand::Forward, &m_message, m_work));
    EXPECT_EQ(gw.Commands().mid(before),
              (QStringList{isValid, "EnvUserID(1;0)", isValid, "EnvUserID(1;0)"}));
    EXPECT_TRUE(m_desktop.Messages.empty());
}

TEST_F(MailActionRunnerTest, GroupWiseNotRunningOrNotAnswering) {
    InstallGroupWise();
    ASSERT_TRUE(RunAction(TMailCommand::ReplyToSender, &m_message, m_work));
    EXPECT_EQ(m_desktop.MessageTexts(),
              QStringList{"GroupWise is not running.  Please restart GroupWise, then try again."});
    EXPECT_EQ(m_desktop.Messages[0].Kind, TMessageKind::Information);

    // The client never shows the opened item: the wait ends with a clear error.
    TStandInGroupWise gw(m_socket);
    ASSERT_TRUE(gw.Listen());
    gw.SetAnswer("ItemIsValid(\"" + kMapi + "\")", {1, "true"});
    gw.SetAnswer("ItemMessageIDFromView()", {1, "another item"});
    TMailActionRunner::SetWaitLimitForTesting(300);
    ASSERT_TRUE(RunAction(TMailCommand::ReplyToSender, &m_message, m_work));
    ASSERT_EQ(m_desktop.Messages.size(), 2u);
    EXPECT_EQ(m_desktop.Messages[1].Text,
              "TGWMessageSendMailHelper.ExecuteNative: GroupWise did not show the message "
              "within 0.3 seconds.");
}

TEST(MessageNotAvailable, Answers) {
    {
        // A long subject is shortened rather than widening the dialog.
        TMessageNotAvailableForm shortOne("ann", "bob", "Lunch");
        const QString subject = QString("Minutes of the meeting ").repeated(20);
        TMessageNotAvailableForm longOne("ann", "bob", subject);
        EXPECT_EQ(longOne.width(), shortOne.width());
        EXPECT_EQ(longOne.width(), 320);
    }
    {
        TMessageNotAvailableForm form("ann", "bob", "Lunch");
        EXPECT_EQ(form.windowTitle(), "Message Not Available");
        EXPECT_TRUE(form.SimulateOption()->isChecked());
        form.reject();
        EXPECT_EQ(form.Answer(), 0);
    }
    {
        TMessageNotAvailableForm form("ann", "bob", "Lunch");
        form.accept();
        EXPECT_EQ(form.Answer(), 3);
    }
    {
        TMessageNotAvailableForm form("ann", "bob", "Lunch");
        form.ChangeAccountOption()->setChecked(true);
        form.accept();
        EXPECT_EQ(form.Answer(), 1);
        // Cancelling after choosing still sends nothing.
        form.reject();
        EXPECT_EQ(form.Answer(), 0);
    }
}

TEST(MessageNotAvailable, OwnerGoingWhileItRunsIsNoCrash) {
    // A dialog whose owner is deleted while it runs goes with it and counts as cancelled.
    tarvin::testing::TRecordingDesktop m_desk;
    auto *owner = new QWidget;
    m_desk.DialogRuns = {[&](QObject *) {
        delete owner;
        return 1;
    }};
    EXPECT_EQ(TMessageNotAvailableForm::Execute("ann", "bob", "Lunch", owner), 0);
}
