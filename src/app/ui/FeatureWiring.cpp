#include "app/ui/FeatureWiring.h"

#include "app/ui/ExportWiring.h"
#include "app/ui/PrintWiring.h"
#include "app/ui/SearchWindow.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "explorer/ui/ExplorerForm.h"
#include "mail/ui/MailActionRunner.h"
#include "util/Manual.h"
#include "view/ui/SaveAllAttachments.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QPointer>

namespace tarvin {

namespace {

TMailCommand mailCommand(TMailAction action) {
    switch (action) {
    case TMailAction::Reply:
        return TMailCommand::Reply;
    case TMailAction::ReplyToSenderInc:
        return TMailCommand::ReplyToSenderInc;
    case TMailAction::ReplyToSender:
        return TMailCommand::ReplyToSender;
    case TMailAction::ReplyToAllInc:
        return TMailCommand::ReplyToAllInc;
    case TMailAction::ReplyToAll:
        return TMailCommand::ReplyToAll;
    case TMailAction::ForwardAsAttachment:
        return TMailCommand::ForwardAsAttachment;
    case TMailAction::Forward:
        break;
    }
    return TMailCommand::Forward;
}

} // namespace

void ConnectViewerWindows(TViewerWindows &viewers) {
    QObject::connect(&viewers, &TViewerWindows::AboutRequested, &viewers, &ShowAboutBox);
    QObject::connect(&viewers, &TViewerWindows::HelpRequested, &viewers, &ShowManual);
    QObject::connect(&viewers, &TViewerWindows::PrintRequested, &viewers, &PrintFrameMessage);
    QObject::connect(&viewers, &TViewerWindows::ExportPdfRequested, &viewers, &ExportFrameMessage);
    QObject::connect(&viewers, &TViewerWindows::MailActionRequested, &viewers, &RunMailAction);
    // "Find in Messages..." searches the folder the message came from; message files opened
    // from the find window show in these viewer windows.
    QObject::connect(
        &viewers, &TViewerWindows::FindInMessagesRequested, &viewers, [](TTarvinFrame *frame) {
            QString folder = frame ? frame->SourceFolder() : QString();
            if (folder.isEmpty() && frame && !frame->FileName().isEmpty())
                folder = frame->FileName().left(frame->FileName().lastIndexOf(QLatin1Char('/')));
            ShowSearchWindow(folder);
        });
    SetSearchWindowViewers(&viewers);
    TViewerFeatures features;
    features.Print = true;
    features.Find = true;
    features.Mail = true;
    features.Export = true;
    viewers.SetFeatures(features);
}

void ConnectExplorer(TExplorerForm &explorer) {
    TViewerActionHandler *pane = explorer.ViewerActions();
    QObject::connect(pane, &TViewerActionHandler::PrintRequested, &explorer, &PrintFrameMessage);
    QObject::connect(pane, &TViewerActionHandler::ExportPdfRequested, &explorer,
                     &ExportFrameMessage);
    QObject::connect(&explorer, &TExplorerForm::ExportPdfRequested, &explorer,
                     [&explorer](const QStringList &files, bool showSystemAttachments) {
                         ExportMessageFiles(&explorer, files, showSystemAttachments);
                     });
    QObject::connect(&explorer, &TExplorerForm::SaveAllAttachmentsRequested, &explorer,
                     [&explorer](const QStringList &files, bool showSystemAttachments) {
                         SaveAllAttachmentsOfFiles(&explorer, files, showSystemAttachments);
                     });
    QObject::connect(pane, &TViewerActionHandler::MailActionRequested, &explorer, &RunMailAction);
    QObject::connect(&explorer, &TExplorerForm::FindInMessagesRequested, &explorer,
                     [](const QString &folder) { ShowSearchWindow(folder); });
    TViewerFeatures features;
    features.Print = true;
    features.Find = true;
    features.Mail = true;
    features.Export = true;
    explorer.SetFeatures(features);
}

void RunMailAction(TTarvinFrame *frame, TMailAction action) {
    if (!frame || !frame->Message())
        return;
    TMailRequest request;
    request.Command = mailCommand(action);
    request.Message = frame->Message();
    request.Owner = frame->window();
    // The frame's work folder, asked for once the action goes ahead (the frame may be gone).
    QPointer<TTarvinFrame> target(frame);
    request.WorkFolder = [target] { return target ? target->GetWorkFolder() : QString(); };
    TMailActionRunner::Start(request);
}

void ShowAboutBox(QWidget *owner) {
    // On the heap: when the owner goes while the box runs, it takes the box with it.
    QPointer<TAboutBoxForm> about = new TAboutBoxForm(owner);
    Desktop().ExecDialog(about);
    delete about.data();
}

void ShowManual(QWidget *owner) {
    try {
        OpenManual();
    } catch (const Error &error) {
        Desktop().ShowError(owner, ProductName(), error.message());
    }
}

} // namespace tarvin
