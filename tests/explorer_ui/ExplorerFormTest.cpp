#include "explorer/ui/ExplorerForm.h"
#include "app/ui/ExplorerDialogs.h"
#include "base/Error.h"
#include "base/RunMode.h"
#include "convert/FolderMarker.h"
#include "convert/ui/ConvertDatesForm.h"
#include "convert/ui/ConvertDatesOptionsFrame.h"
#include "dialogs/ui/OptionsForm.h"
#include "explorer/ui/ExplorerActions.h"
#include "mail/Config.h"
#include "support/PmlWriter.h"
#include "support/RecordingDesktop.h"
#include "support/Wait.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;
using tarvin::testing::Settle;
using tarvin::testing::TRecordingDesktop;
using tarvin::testing::WaitFor;

namespace {

// A viewer-mode explorer with its settings in a folder of its own and the home folder in a
// temporary place, so nothing of the user's is read or written.
class ExplorerFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_home.path().toLocal8Bit());
        TStartupOptions options;
        options.Mode = rmViewer;
        SetStartupOptions(options);
        m_settings = m_root.filePath("settings") + "/";
    }
    void TearDown() override {
        qputenv("HOME", m_oldHome);
        SetStartupOptions(TStartupOptions{});
    }

    // A folder holding `count` unconverted message files.
    QString messageFolder(const QString &name, int count) {
        const QString folder = m_root.filePath(name);
        EXPECT_TRUE(QDir().mkpath(folder));
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(PmlWriter().WriteFile(folder + QString("/Message %1 [M0000].pml").arg(i)));
        return folder;
    }

    TRecordingDesktop m_desktop;
    TExplorerDialogs m_dialogs;
    QTemporaryDir m_root, m_home;
    QByteArray m_oldHome;
    QString m_settings;
};

int rejectDialog(QObject *) {
    return QDialog::Rejected;
}

} // namespace

TEST_F(ExplorerFormTest, OnlyTheFirstArgumentOpensAndAnOtherFileEndsTheProgram) {
    TExplorerForm explorer(m_settings);
    explorer.SetDialogs(&m_dialogs);
    EXPECT_EQ(explorer.windowTitle(), "Halvorn Tarvin");
    EXPECT_EQ(explorer.Actions()->actAppHelp->text(), "Tarvin Help");
    explorer.OpenCommandLineFiles({m_root.filePath("report.txt"), m_root.filePath("b.pml")}, false);
    ASSERT_EQ(m_desktop.Opened.size(), 1u);
    EXPECT_EQ(m_desktop.Opened[0], m_root.filePath("report.txt"));
    EXPECT_TRUE(explorer.isHidden());
    EXPECT_TRUE(explorer.EndRequested());

    // Without arguments the window shows; activation waits for the start-up to ask for it.
    TExplorerForm second(m_settings);
    second.OpenCommandLineFiles({}, false);
    EXPECT_TRUE(second.isVisible());
    EXPECT_FALSE(second.IsActivated());
    EXPECT_FALSE(second.EndRequested());
}

TEST_F(ExplorerFormTest, SettingsSurviveARestartOnlyAfterActivation) {
    {
        TExplorerForm explorer(m_settings);
        explorer.SetDialogs(&m_dialogs);
        explorer.SetDialogs(&m_dialogs);
        // A run that was never activated (viewer windows only) writes nothing.
    }
    EXPECT_FALSE(QFileInfo::exists(m_settings + "CONFIG.INI"));
    const QString mail = messageFolder("mail", 0);
    {
        TExplorerForm explorer(m_settings);
        explorer.SetDialogs(&m_dialogs);
        explorer.SetDialogs(&m_dialogs);
        EXPECT_TRUE(explorer.Actions()->actQuickViewer->isChecked());
        explorer.OpenCommandLineFiles({}, true);
        ASSERT_TRUE(explorer.IsActivated());
        // The first start opens on the home folder.
        EXPECT_EQ(explorer.CurrentFolder(), QDir::cleanPath(m_home.path()));
        ASSERT_TRUE(explorer.SelectFolder(mail));
        explorer.Actions()->actQuickViewer->trigger();
        explorer.Actions()->actSystemAttachments->trigger();
        explorer.resize(640, 500);
        explorer.ConvertDatesInfo().PromptToConvert = false;
        AppConfig().SubjectReply = "AW:";
    }
    EXPECT_TRUE(QFileInfo::exists(m_settings + "CONFIG.INI"));
    EXPECT_TRUE(QFileInfo::exists(m_settings + "Folders.DAT"));
    AppConfig() = TConfig();
    TExplorerForm explorer(m_settings);
    explorer.SetDialogs(&m_dialogs);
    EXPECT_FALSE(explorer.Actions()->actQuickViewer->isChecked());
    EXPECT_FALSE(explorer.Actions()->actSystemAttachments->isChecked());
    EXPECT_TRUE(explorer.Actions()->actAttachmentWindow->isChecked());
    EXPECT_EQ(explorer.size(), QSize(640, 500));
    EXPECT_FALSE(explorer.ConvertDatesInfo().PromptToConvert);
    EXPECT_EQ(AppConfig().SubjectReply, "AW:");
    explorer.OpenCommandLineFiles({}, true);
    EXPECT_EQ(explorer.CurrentFolder(), mail);
    AppConfig() = TConfig();
}

TEST_F(ExplorerFormTest, SettingsFolderThatCannotBeMadeIsReported) {
    QFile blocker(m_root.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = m_root.filePath("file/settings");
    {
        TExplorerForm explorer(folder + "/");
        explorer.OpenCommandLineFiles({}, true);
        try {
            explorer.SaveConfig();
            ADD_FAILURE() << "no error";
        } catch (const Error &error) {
            EXPECT_EQ(error.message(),
                      QString("TExplorerForm.SaveConfig: cannot create folder '%1'").arg(folder));
        }
    }
    // Closing the window shows the same error.
    ASSERT_FALSE(m_desktop.Messages.empty());
    EXPECT_TRUE(m_desktop.Messages.back().Text.startsWith("TExplorerForm.SaveConfig"));
}

TEST_F(ExplorerFormTest, DateCheckAsksWarnsAndConverts) {
    TExplorerForm explorer(m_settings);
    explorer.SetDialogs(&m_dialogs);
    const QString mail = messageFolder("mail", 3);
    const QString empty = messageFolder("empty", 0);
    TConvertDatesInfo &info = explorer.ConvertDatesInfo();

    // A selected unconverted folder: the question; "Do not ask me this again" and No.
    m_desktop.DialogRuns.push_back([&](QObject *dialog) {
        auto *form = qobject_cast<TConvertDatesForm *>(dialog);
        EXPECT_TRUE(form && !form->IsMenuLayout());
        if (form) {
            EXPECT_EQ(form->edtFolder->text(), mail);
            form->chkDoNotAsk->setChecked(true);
        }
        return int(QDialog::Rejected);
    });
    explorer.CheckFolderDates(mail, true);
    EXPECT_EQ(m_desktop.Dialogs.size(), 1u);
    EXPECT_FALSE(info.PromptToConvert);
    EXPECT_EQ(explorer.DateWarning(),
              "The Date column may display incorrect dates for this folder");

    // Not asked again; the warning stays.
    explorer.CheckFolderDates(mail, true);
    EXPECT_EQ(m_desktop.Dialogs.size(), 1u);
    EXPECT_FALSE(explorer.DateWarning().isEmpty());

    // A folder without messages hides the warning, asking nothing.
    info.PromptToConvert = true;
    explorer.CheckFolderDates(empty, true);
    EXPECT_EQ(m_desktop.Dialogs.size(), 1u);
    EXPECT_TRUE(explorer.DateWarning().isEmpty());

    // From the menu, declined: the warning stays as it was and prompting is on again.
    m_desktop.DialogRuns.push_back(rejectDialog);
    explorer.CheckFolderDates(mail, true); // the warning is shown after a prompted No
    EXPECT_FALSE(explorer.DateWarning().isEmpty());
    info.PromptToConvert = false;
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *form = qobject_cast<TConvertDatesForm *>(dialog);
        EXPECT_TRUE(form && form->IsMenuLayout());
        return int(QDialog::Rejected);
    });
    explorer.CheckFolderDates(mail, false);
    EXPECT_TRUE(info.PromptToConvert);
    EXPECT_FALSE(explorer.DateWarning().isEmpty());

    // From the menu on an empty folder: asked, and the warning goes.
    m_desktop.DialogRuns.push_back(rejectDialog);
    explorer.CheckFolderDates(empty, false);
    EXPECT_TRUE(explorer.DateWarning().isEmpty());

    // Accepted with File Explorer times: converted with the wait window, marker and log.
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        qobject_cast<TConvertDatesForm *>(dialog)->ConvertDatesOptions()->SetUseUtc(true);
        return int(QDialog::Accepted);
    });
    explorer.CheckFolderDates(mail, false);
    EXPECT_TRUE(FolderMarkerExists(mail));
    EXPECT_TRUE(explorer.FolderConverted());
    EXPECT_TRUE(explorer.FolderTimesUtc());
    EXPECT_TRUE(explorer.DateWarning().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(m_settings + "CVTDATES.LOG"));
    EXPECT_FALSE(explorer.IsConverting());
    // The dialog's choice is no preference.
    EXPECT_FALSE(info.IsTimestampUtc);
    EXPECT_TRUE(m_desktop.OpenedInEditor.empty());
}

TEST_F(ExplorerFormTest, OptionsAreCopiedBackOnlyOnOk) {
    TExplorerForm explorer(m_settings);
    explorer.SetDialogs(&m_dialogs);
    TConvertDatesInfo &info = explorer.ConvertDatesInfo();
    AppConfig() = TConfig();
    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *form = qobject_cast<TOptionsForm *>(dialog);
        EXPECT_TRUE(form->cbAskToConvert->isChecked());
        form->cbAskToConvert->setChecked(false);
        form->cbLoadRemoteContent->setChecked(true);
        form->edViewerTrailer->setPlainText("one\ntwo");
        return int(QDialog::Rejected);
    });
    explorer.ShowOptions();
    EXPECT_TRUE(info.PromptToConvert);
    EXPECT_FALSE(AppConfig().LoadRemoteContent);

    m_desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *form = qobject_cast<TOptionsForm *>(dialog);
        form->cbAskToConvert->setChecked(false);
        form->grpConvertDates->findChild<TConvertDatesOptionsFrame *>()->SetUseUtc(true);
        form->cbLoadRemoteContent->setChecked(true);
        form->cbAddViewerTrailer->setChecked(false);
        form->edViewerTrailer->setPlainText("one\ntwo");
        return int(QDialog::Accepted);
    });
    explorer.ShowOptions();
    EXPECT_FALSE(info.PromptToConvert);
    EXPECT_TRUE(info.IsTimestampUtc);
    EXPECT_TRUE(AppConfig().LoadRemoteContent);
    EXPECT_FALSE(AppConfig().IncludeViewerTrailer);
    EXPECT_EQ(AppConfig().ViewerTrailer, "one\r\ntwo\r\n");
    AppConfig() = TConfig();
}

// The list's context menu starts with the pane's Reply, Forward and Forward as Attachment: enabled
// once the pane has a file (and mail is served), and acting on the pane's message.
TEST_F(ExplorerFormTest, ListMenuActsOnTheQuickViewMessage) {
    TExplorerForm explorer(m_settings);
    explorer.SetDialogs(&m_dialogs);
    explorer.ConvertDatesInfo().PromptToConvert = false;
    explorer.SetFeatures(TViewerFeatures{true, true, true});
    const QString mail = messageFolder("mail", 2);
    const QString empty = messageFolder("empty", 0);
    explorer.OpenCommandLineFiles({}, true);
    auto *menu = explorer.MessageList()->findChild<QMenu *>("pmnMessages");
    ASSERT_NE(menu, nullptr);
    // The pane's three first; a separator and the list's own export actions follow.
    const QList<QAction *> actions = menu->actions().mid(0, 3);
    ASSERT_EQ(menu->actions().size(), 6);
    EXPECT_TRUE(menu->actions()[3]->isSeparator());
    EXPECT_EQ(actions[0]->text(), "Reply");
    EXPECT_EQ(actions[1]->text(), "Forward");
    EXPECT_EQ(actions[2]->text(), "Forward as Attachment");

    ASSERT_TRUE(explorer.SelectFolder(empty));
    Settle();
    EXPECT_TRUE(explorer.QuickViewFile().isEmpty());
    for (QAction *action : actions)
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();

    ASSERT_TRUE(explorer.SelectFolder(mail));
    ASSERT_TRUE(WaitFor(
        [&] { return !explorer.QuickViewFile().isEmpty() && explorer.QuickViewer()->Message(); }));
    EXPECT_EQ(explorer.QuickViewFile(), mail + "/Message 0 [M0000].pml");
    std::vector<std::pair<TTarvinFrame *, TMailAction>> asked;
    QObject::connect(
        explorer.ViewerActions(), &TViewerActionHandler::MailActionRequested,
        [&](TTarvinFrame *frame, TMailAction action) { asked.emplace_back(frame, action); });
    for (QAction *action : actions) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        action->trigger();
    }
    const std::vector<std::pair<TTarvinFrame *, TMailAction>> expected = {
        {explorer.QuickViewer(), TMailAction::Reply},
        {explorer.QuickViewer(), TMailAction::Forward},
        {explorer.QuickViewer(), TMailAction::ForwardAsAttachment}};
    EXPECT_EQ(asked, expected);

    // Without mail served they stay off.
    explorer.SetFeatures(TViewerFeatures{true, true, false});
    for (QAction *action : actions)
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
}
