#include "app/ui/FeatureWiring.h"
#include "support/PmlWriter.h"
#include "support/RecordingDesktop.h"
#include "support/Wait.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/ViewerWindows.h"

#include <QAction>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

// The viewer window asks for help and the about box; the program's root serves them.
TEST(FeatureWiring, ViewerHelpAndAboutBox) {
    QTemporaryDir dir;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); // no suite configured
    tarvin::testing::TRecordingDesktop desktop;
    desktop.DialogRuns.push_back([](QObject *) { return 0; });

    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann").SetCore("subject", "Hi").SetPlainText("Body");
    const QString path = dir.path() + "/hi.pml";
    ASSERT_TRUE(mail.WriteFile(path));
    TViewerWindows viewers;
    ConnectViewerWindows(viewers);
    TTarvinForm *window = viewers.OpenViewerWindow(dir.path(), path, {}, {}, false, {});
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
    const QString path = dir.path() + "/hi.pml";
    ASSERT_TRUE(mail.WriteFile(path));
    TViewerWindows viewers;
    viewers.QuitProgram = [] {};
    ConnectViewerWindows(viewers);
    QPointer<TTarvinForm> window = viewers.OpenViewerWindow(dir.path(), path, {}, {}, false, {});
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
