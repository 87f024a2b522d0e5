#include "app/ui/FeatureWiring.h"
#include "app/ui/SearchWindow.h"
#include "print/ui/MessagePrinter.h"
#include "search/ui/SearchFilesForm.h"
#include "support/PmlWriter.h"
#include "support/RecordingDesktop.h"
#include "support/StandInMailClient.h"
#include "support/ViewerOpen.h"
#include "support/Wait.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"
#include "view/ui/ViewerWindows.h"
#include <QLineEdit>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

// Writes the message and opens it in a viewer window of `viewers`; null when that fails.
TTarvinForm *OpenWritten(TViewerWindows &viewers, PmlWriter &mail, const QString &path) {
    if (!mail.WriteFile(path))
        return nullptr;
    return tarvin::testing::OpenAndWait(viewers, path);
}

} // namespace

// The viewer window asks for help and the about box; the program's root serves them.
TEST(FeatureWiring, ViewerHelpAndAboutBox) {
    QTemporaryDir dir;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); // no suite configured
    tarvin::testing::TRecordingDesktop desktop;
    desktop.DialogRuns.push_back([](QObject *) { return 0; });

    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann").SetCore("subject", "Hi").SetPlainText("Body");
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    TTarvinForm *window = OpenWritten(viewers, mail, dir.path() + "/hi.pml");
    ASSERT_NE(window, nullptr);

    window->Actions()->actAboutApp->trigger();
    EXPECT_EQ(desktop.Dialogs, std::vector<QString>{"tarvin::TAboutBoxForm"});
    if (!QFile::exists("/etc/xdg/pelorin.ini")) {
        window->Actions()->actAppHelp->trigger();
        ASSERT_EQ(desktop.Messages.size(), 1u);
        EXPECT_EQ(desktop.Messages[0].Kind, TMessageKind::Error);
        EXPECT_EQ(desktop.Messages[0].Text, "Could not determine the location of Pelorin");
    }
    if (savedConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

// The window is closed while its about box runs: it goes as soon as events run, taking the
// box with it, and the code that ran the box must not touch either afterwards.
TEST(FeatureWiring, ViewerClosedWhileItsAboutBoxRuns) {
    QTemporaryDir dir;
    tarvin::testing::TRecordingDesktop desktop;
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann").SetCore("subject", "Hi").SetPlainText("Body");
    TViewerWindows viewers;
    viewers.QuitProgram = [] {};
    ConnectViewerWindows(viewers);
    QPointer<TTarvinForm> window = OpenWritten(viewers, mail, dir.path() + "/hi.pml");
    ASSERT_NE(window, nullptr);
    desktop.DialogRuns.push_back([&](QObject *dialog) {
        EXPECT_EQ(dialog->parent(), window.data());
        window->close();
        tarvin::testing::Settle();
        EXPECT_TRUE(window.isNull());
        return 0;
    });
    window->Actions()->actAboutApp->trigger();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(viewers.Windows().isEmpty());
}

// Reply and forward from a viewer window reach the desktop's mail client (no groupware
// client installed): the recipients, subject and quoted text, and the attachments as files
// in the frame's work folder.
TEST(FeatureWiring, ViewerRepliesAndForwardsThroughTheMailClient) {
    tarvin::testing::TStandInMailClient::InstallMailtoHandler();
    tarvin::testing::TStandInMailClient client;
    tarvin::testing::TRecordingDesktop desktop;
    QTemporaryDir dir;
    PmlWriter mail(mtMail);
    mail.SetSender("Ann Lee", "ann@example.org").SetCore("subject", "Hi");
    mail.AddRecipient("Carl", "carl@example.org", "0");
    mail.SetPlainText("Body").AddAttachment(PmlAttachment::File("notes.txt", "n"));
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    TTarvinForm *window = OpenWritten(viewers, mail, dir.path() + "/hi.pml");
    ASSERT_NE(window, nullptr);

    QAction *replyToAll = window->Actions()->acReplyToAllInc;
    ASSERT_TRUE(replyToAll->isEnabled());
    replyToAll->trigger();
    ASSERT_TRUE(client.WaitForRun());
    EXPECT_EQ(client.Values("--to"), (QStringList{"ann@example.org", "carl@example.org"}));
    EXPECT_EQ(client.Value("--subject"), "Re: Hi");
    EXPECT_TRUE(client.Value("--body").endsWith(">>>\n\nBody\n"));

    QFile::remove(client.RecordPath("args"));
    window->Actions()->acForward->trigger();
    ASSERT_TRUE(client.WaitForRun());
    const QStringList attached = client.Values("--attach");
    ASSERT_EQ(attached.size(), 1);
    EXPECT_EQ(attached[0], window->Viewer()->GetWorkFolder() + "notes.txt");
    EXPECT_EQ(client.Attachment(1), "n");
    tarvin::testing::Settle();
    EXPECT_TRUE(desktop.Messages.empty());
}

// Print in a viewer window hands the frame's message to the frame's printing window, which is
// created on the first print and kept for the next.
TEST(FeatureWiring, ViewerPrintUsesOnePrintingWindowPerFrame) {
    QTemporaryDir dir;
    tarvin::testing::TRecordingDesktop desktop;
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann").SetCore("subject", "Minutes").SetPlainText("Body");
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    TTarvinForm *window = OpenWritten(viewers, mail, dir.path() + "/minutes.pml");
    ASSERT_NE(window, nullptr);
    QAction *print = window->Actions()->actPrint;
    ASSERT_TRUE(print->isEnabled());

    std::vector<QObject *> shown;
    for (int i = 0; i < 2; ++i)
        desktop.DialogRuns.push_back([&](QObject *dialog) {
            auto *printer = qobject_cast<TfrmMessagePrinter *>(dialog);
            EXPECT_NE(printer, nullptr);
            if (printer) {
                EXPECT_EQ(printer->parent(), window->Viewer());
                EXPECT_EQ(printer->Message(), window->Viewer()->Message());
                EXPECT_FALSE(printer->HtmlMode());
                EXPECT_TRUE(printer->Settings().FontGiven);
            }
            shown.push_back(dialog);
            return int(QDialog::Rejected);
        });
    print->trigger();
    print->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], shown[1]);
}

// F3 in a viewer window shows the find window on the message's folder; a message file opened
// from the find window's list shows in a viewer window.
TEST(FeatureWiring, FindInMessagesFromAViewerWindow) {
    QTemporaryDir dir;
    tarvin::testing::TRecordingDesktop desktop;
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann").SetCore("subject", "Hi").SetPlainText("Body");
    const QString first = dir.path() + "/hi.pml", second = dir.path() + "/two.pml";
    ASSERT_TRUE(mail.WriteFile(first));
    ASSERT_TRUE(mail.WriteFile(second));
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    TTarvinForm *window = tarvin::testing::OpenAndWait(viewers, first, {}, dir.path());
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(window->Actions()->actFindInMessages->isEnabled());
    window->Actions()->actFindInMessages->trigger();
    TWndSearchFiles *search = SearchWindow();
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(search->Edit_Location->text(), dir.path());

    emit search->OpenMessageRequested(second);
    EXPECT_TRUE(tarvin::testing::WaitFor([&] { return viewers.FindFileWindow(second); }));
    search->close();
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(SearchWindow(), search); // hidden, not destroyed
}
