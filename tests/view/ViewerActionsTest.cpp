#include "view/ViewerActionRules.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"

#include "ViewTestMessages.h"
#include "ViewTestSupport.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::viewtest;

namespace {

// A frame showing a message on the message tab, plain text, nothing selected.
TViewerFrameState Shown(TViewerHost host = TViewerHost::Viewer) {
    TViewerFrameState state;
    state.Host = host;
    state.HasFrame = state.HasMessage = true;
    state.PlainText = true;
    state.HasHtmlBody = state.HasPlainBody = true;
    return state;
}

} // namespace

TEST(ViewerActionRules, BodyFormFontAndTabs) {
    TViewerActionStates s = ViewerActionStates(Shown());
    EXPECT_TRUE(s.Html.Enabled && s.PlainText.Enabled && s.Font.Enabled);
    EXPECT_TRUE(s.PlainText.Checked && !s.Html.Checked && s.Message.Checked);

    // HTML mode: no font; no HTML body: no "HTML"; no plain body: no "Plain Text".
    TViewerFrameState state = Shown();
    state.PlainText = false;
    state.HasPlainBody = false;
    s = ViewerActionStates(state);
    EXPECT_FALSE(s.Font.Enabled);
    EXPECT_FALSE(s.PlainText.Enabled);
    EXPECT_TRUE(s.Html.Enabled && s.Html.Checked);
    state = Shown();
    state.HasHtmlBody = false;
    EXPECT_FALSE(ViewerActionStates(state).Html.Enabled);

    // Another tab: body form and font off, the tab's action ticked.
    for (int page : {fpProperties, fpSaveLog}) {
        state = Shown();
        state.ActivePage = page;
        s = ViewerActionStates(state);
        EXPECT_FALSE(s.Html.Enabled || s.PlainText.Enabled || s.Font.Enabled) << page;
        EXPECT_EQ(s.Properties.Checked, page == fpProperties);
        EXPECT_EQ(s.SaveLog.Checked, page == fpSaveLog);
        EXPECT_FALSE(s.Message.Checked);
    }

    // No frame, or a frame without a message: only what needs no message stays on.
    for (bool hasFrame : {false, true}) {
        state = Shown();
        state.HasFrame = hasFrame;
        state.HasMessage = false;
        state.Features = {true, true, true};
        s = ViewerActionStates(state);
        for (const TActionState *a : {&s.Message, &s.Properties, &s.SaveLog, &s.Html, &s.PlainText,
                                      &s.Font, &s.Print, &s.Mail})
            EXPECT_FALSE(a->Enabled) << hasFrame;
        EXPECT_EQ(s.Toolbar.Enabled, hasFrame);
        EXPECT_TRUE(s.Close.Enabled && s.Help.Enabled && s.About.Enabled);
        EXPECT_TRUE(s.FindInMessages.Enabled);
    }
}

TEST(ViewerActionRules, AttachmentsViewsAndFeatures) {
    TViewerFrameState state = Shown();
    TViewerActionStates s = ViewerActionStates(state);
    EXPECT_FALSE(s.OpenAttachment.Visible || s.SaveAs.Visible);
    state.AttachmentSelected = true;
    s = ViewerActionStates(state);
    EXPECT_TRUE(s.OpenAttachment.Visible && s.SaveAs.Visible);
    EXPECT_FALSE(s.OpenAttachment.Enabled || s.SaveAs.Enabled); // no data
    state.SelectedAttachmentHasData = true;
    s = ViewerActionStates(state);
    EXPECT_TRUE(s.OpenAttachment.Enabled && s.SaveAs.Enabled);

    state.ToolbarVisible = true;
    state.ShowSystemAttachments = true;
    s = ViewerActionStates(state);
    EXPECT_TRUE(s.Toolbar.Checked && s.SystemAttachments.Checked);
    EXPECT_FALSE(s.AttachmentWindow.Checked);

    // Print, find and mail stay off until the program serves them.
    s = ViewerActionStates(state);
    EXPECT_FALSE(s.Print.Enabled || s.FindInMessages.Enabled || s.Mail.Enabled);
    state.Features = {true, true, true};
    s = ViewerActionStates(state);
    EXPECT_TRUE(s.Print.Enabled && s.FindInMessages.Enabled && s.Mail.Enabled);

    // The explorer prints the selected row and mails for the chosen file, whatever the pane
    // managed to load.
    TViewerFrameState pane = Shown(TViewerHost::Explorer);
    pane.Features = {true, true, true};
    pane.HasMessage = false;
    s = ViewerActionStates(pane);
    EXPECT_FALSE(s.Print.Enabled || s.Mail.Enabled || s.Message.Enabled);
    pane.ListRowSelected = true;
    pane.QuickViewFileSet = true;
    s = ViewerActionStates(pane);
    EXPECT_TRUE(s.Print.Enabled && s.Mail.Enabled && s.Message.Enabled);
    EXPECT_FALSE(s.Html.Enabled); // nothing loaded
}

TEST(ViewerActionRules, ExportAndSaveAll) {
    // Export needs the feature and a message; saving all needs a listed attachment with data.
    TViewerFrameState state = Shown();
    TViewerActionStates s = ViewerActionStates(state);
    EXPECT_FALSE(s.ExportPdf.Enabled || s.SaveAllAttachments.Enabled);
    state.Features.Export = true;
    state.AttachmentDataListed = true;
    s = ViewerActionStates(state);
    EXPECT_TRUE(s.ExportPdf.Enabled && s.SaveAllAttachments.Enabled);
    state.HasMessage = false; // a file that failed to load
    s = ViewerActionStates(state);
    EXPECT_FALSE(s.ExportPdf.Enabled || s.SaveAllAttachments.Enabled);

    // The list: any selected rows; export only where served.
    EXPECT_FALSE(ListExportStates(false, true).ExportPdf.Enabled);
    EXPECT_FALSE(ListExportStates(false, true).SaveAllAttachments.Enabled);
    EXPECT_FALSE(ListExportStates(true, false).ExportPdf.Enabled);
    EXPECT_TRUE(ListExportStates(true, false).SaveAllAttachments.Enabled);
    EXPECT_TRUE(ListExportStates(true, true).ExportPdf.Enabled);
}

// A host of its own (as the explorer's quick view) and the viewer window use the same handler.
TEST(ViewerActionHandler, RetargetsToAnotherFrame) {
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QString &plain) {
        PmlWriter mail(mtMail);
        mail.SetCore("from", "Ann").SetCore("subject", name).SetPlainText(plain);
        const QString path = dir.path() + "/" + name + ".pml";
        EXPECT_TRUE(mail.WriteFile(path));
        return path;
    };
    QWidget host;
    auto *layout = new QHBoxLayout(&host);
    auto *a = new TTarvinFrame(&host);
    auto *b = new TTarvinFrame(&host);
    layout->addWidget(a);
    layout->addWidget(b);
    a->SetFileName(write("first", "Body text"));
    b->SetFileName(write("second", ""));
    TViewerActionHandler actions(TViewerHost::Explorer, &host);
    EXPECT_EQ(actions.actToolbar->text(), "QuickView Toolbar");
    actions.SetQuickViewFileSet(true);
    EXPECT_FALSE(actions.actMessage->isEnabled()); // no frame yet

    actions.SetCurrentFrame(a);
    EXPECT_EQ(a->Actions(), &actions);
    EXPECT_TRUE(a->ToolBar()->actions().contains(actions.actPrint));
    EXPECT_EQ(a->ReplyMenu()->actions().first(), actions.acReply);
    EXPECT_TRUE(actions.actPlainText->isEnabled());
    actions.actProperties->trigger();
    EXPECT_EQ(a->ActivePage(), fpProperties);
    a->SetActivePage(fpSaveLog); // the frame's own change is followed
    EXPECT_TRUE(actions.actSaveLog->isChecked());

    actions.SetCurrentFrame(b);
    EXPECT_EQ(a->Actions(), nullptr);
    EXPECT_TRUE(a->ToolBar()->actions().isEmpty());
    EXPECT_TRUE(b->ToolBar()->actions().contains(actions.actPrint));
    EXPECT_TRUE(actions.actMessage->isChecked());
    EXPECT_FALSE(actions.actPlainText->isEnabled()); // b's plain body is empty
    actions.actSaveLog->trigger();
    EXPECT_EQ(b->ActivePage(), fpSaveLog);
    EXPECT_EQ(a->ActivePage(), fpSaveLog);
    a->SetActivePage(fpMessage); // a no longer drives the actions
    EXPECT_TRUE(actions.actSaveLog->isChecked());
    actions.actToolbar->trigger();
    EXPECT_FALSE(b->ToolbarVisible());
    EXPECT_TRUE(a->ToolbarVisible());

    // Printing and mail are asked of the program for the current frame, once it serves them.
    std::vector<std::pair<TTarvinFrame *, TMailAction>> mails;
    std::vector<TTarvinFrame *> prints;
    QObject::connect(&actions, &TViewerActionHandler::MailActionRequested,
                     [&](TTarvinFrame *frame, TMailAction kind) {
                         mails.push_back({frame, kind});
                     });
    QObject::connect(&actions, &TViewerActionHandler::PrintRequested,
                     [&](TTarvinFrame *frame) { prints.push_back(frame); });
    actions.actPrint->trigger();
    actions.acForwardAsAtt->trigger();
    EXPECT_TRUE(prints.empty() && mails.empty());
    actions.SetListRowSelected(true);
    actions.SetFeatures({true, false, true});
    actions.actPrint->trigger();
    actions.acForwardAsAtt->trigger();
    actions.actReplyMenu->trigger();
    EXPECT_EQ(prints, std::vector<TTarvinFrame *>{b});
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_EQ(mails[0], std::pair(b, TMailAction::ForwardAsAttachment));
    EXPECT_EQ(mails[1], std::pair(b, TMailAction::Reply));

    // A frame that goes away leaves the actions without a target.
    delete b;
    EXPECT_EQ(actions.CurrentFrame(), nullptr);
    EXPECT_FALSE(actions.actMessage->isEnabled());
    actions.actProperties->trigger();
    EXPECT_EQ(a->ActivePage(), fpMessage);

    // The viewer window is such a host too.
    TTarvinForm window;
    EXPECT_EQ(window.Viewer()->Actions(), window.Actions());
    EXPECT_EQ(window.Actions()->CurrentFrame(), window.Viewer());
    EXPECT_EQ(window.Actions()->actToolbar->text(), "Toolbar");
}
