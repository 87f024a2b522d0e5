#include "explorer/ui/ExplorerActions.h"

#include "base/VersionInfo.h"
#include "explorer/ui/ExplorerImages.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewImages.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace tarvin {

namespace {
// The frame's toolbar pictures used by the explorer (see view/ui/ViewImages.h).
constexpr int kReplyImage = 1;
constexpr int kForwardImage = 2;
constexpr int kPrintImage = 3;

QList<QAction *> replyForwardActions(TTarvinFrame *pane) {
    return {pane->acReply,         pane->acReplyToSenderInc, pane->acReplyToSender,
            pane->acReplyToAllInc, pane->acReplyToAll,       pane->acForwardAsAtt,
            pane->acForward};
}
} // namespace

QAction *TExplorerActions::make(const char *name, const QString &caption, bool checkable) {
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

TExplorerActions::TExplorerActions(QObject *parent) : QObject(parent) {
    actOpen = make("actOpen", QStringLiteral("Open"));
    actOpen->setIcon(ExplorerIcon(TExplorerImage::Open));
    actPrint = make("actPrint", QStringLiteral("Print..."));
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrint->setIcon(ToolbarImage(kPrintImage));
    actClose = make("actClose", QStringLiteral("Close"));
    actClose->setIcon(ExplorerIcon(TExplorerImage::Close));
    actFindInMessages = make("actFindInMessages", QStringLiteral("Find in Messages..."));
    actFindInMessages->setShortcut(QKeySequence(Qt::Key_F3));
    actFindInMessages->setIcon(ExplorerIcon(TExplorerImage::Find));
    actQuickViewer = make("actQuickViewer", QStringLiteral("QuickViewer"), true);
    actQuickViewer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    actQuickViewer->setIcon(ExplorerIcon(TExplorerImage::QuickViewer));
    actQuickViewer->setChecked(true);
    actConvertDatesLog = make("actConvertDatesLog", QStringLiteral("Convert Dates Log"));
    actQuickView = make("actQuickView", QStringLiteral("QuickView"));
    actQuickViewToolbar = make("actQuickViewToolbar", QStringLiteral("QuickView Toolbar"), true);
    actAttachmentWindow = make("actAttachmentWindow", QStringLiteral("Attachment Window"), true);
    actSystemAttachments = make("actSystemAttachments", QStringLiteral("System Attachments"), true);
    for (QAction *action : {actQuickViewToolbar, actAttachmentWindow, actSystemAttachments})
        action->setChecked(true);
    actMessage = make("actMessage", QStringLiteral("Message"), true);
    actProperties = make("actProperties", QStringLiteral("Properties"), true);
    actSaveLog = make("actSaveLog", QStringLiteral("Save Log"), true);
    m_pageGroup = new QActionGroup(this);
    for (QAction *action : {actMessage, actProperties, actSaveLog})
        m_pageGroup->addAction(action);
    actMessage->setChecked(true);
    actHtml = make("actHtml", QStringLiteral("HTML"), true);
    actPlainText = make("actPlainText", QStringLiteral("Plain Text"), true);
    m_bodyGroup = new QActionGroup(this);
    m_bodyGroup->addAction(actHtml);
    m_bodyGroup->addAction(actPlainText);
    actHtml->setChecked(true);
    actFont = make("actFont", QStringLiteral("Font..."));
    actFont->setShortcut(QKeySequence(Qt::Key_F9));
    actRefresh = make("actRefresh", QStringLiteral("Refresh"));
    actRefresh->setShortcut(QKeySequence(Qt::Key_F5));
    actConvertDates = make("actConvertDates", QStringLiteral("Convert Dates..."));
    actOptions = make("actOptions", QStringLiteral("Options..."));
    actAppHelp = make("actAppHelp", VersionKey(9) + QStringLiteral(" Help"));
    actAboutApp = make("actAboutApp", QStringLiteral("About..."));
    actOpenAttachment = make("actOpenAttachment", QStringLiteral("Open"));
    actSaveAttachmentAs = make("actSaveAttachmentAs", QStringLiteral("Save As..."));
}

void TExplorerActions::BuildMenus(QMenuBar *bar, TTarvinFrame *pane) {
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(actOpen);
    file->addSeparator();
    file->addAction(actPrint);
    file->addSeparator();
    file->addAction(actClose);

    QMenu *search = bar->addMenu(QStringLiteral("&Search"));
    search->setObjectName(QStringLiteral("mnuSearch"));
    search->addAction(actFindInMessages);

    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(actQuickViewer);
    view->addAction(actConvertDatesLog);
    view->addSeparator();
    QMenu *quickView = view->addMenu(actQuickView->text());
    quickView->setObjectName(QStringLiteral("mnuQuickView"));
    actQuickView->setMenu(quickView);
    quickView->addAction(actQuickViewToolbar);
    quickView->addAction(actAttachmentWindow);
    quickView->addAction(actSystemAttachments);
    quickView->addSeparator();
    quickView->addAction(actMessage);
    quickView->addAction(actProperties);
    quickView->addAction(actSaveLog);
    quickView->addSeparator();
    quickView->addAction(actPlainText);
    quickView->addAction(actHtml);
    view->addSeparator();
    view->addAction(actRefresh);

    QMenu *actions = bar->addMenu(QStringLiteral("&Actions"));
    actions->setObjectName(QStringLiteral("mnuActions"));
    // "Reply..." runs the pane's Reply with its own caption.
    auto *reply = new QAction(QStringLiteral("Reply..."), actions);
    reply->setObjectName(QStringLiteral("actReplyMenu"));
    connect(reply, &QAction::triggered, pane->acReply, &QAction::trigger);
    connect(pane->acReply, &QAction::changed, reply,
            [reply, pane] { reply->setEnabled(pane->acReply->isEnabled()); });
    reply->setEnabled(pane->acReply->isEnabled());
    actions->addAction(reply);
    actions->addAction(pane->acForward);
    actions->addAction(pane->acForwardAsAtt);

    QMenu *tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    QMenu *utilities = tools->addMenu(QStringLiteral("Utilities"));
    utilities->addAction(actConvertDates);
    tools->addAction(actOptions);

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(actAppHelp);
    help->addSeparator();
    help->addAction(actAboutApp);
}

void TExplorerActions::BuildToolBar(QToolBar *bar, TTarvinFrame *pane) {
    bar->setIconSize(QSize(22, 22));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addAction(actOpen);
    bar->addAction(actClose);
    bar->addSeparator();
    bar->addAction(actPrint);
    bar->addAction(actFindInMessages);
    bar->addSeparator();
    bar->addAction(actQuickViewer);
    bar->addSeparator();
    auto addDropDown = [bar](QAction *action, QMenu *menu, int image) {
        auto *button = new QToolButton(bar);
        button->setDefaultAction(action);
        button->setIcon(ToolbarImage(image));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setAutoRaise(true);
        bar->addWidget(button);
    };
    addDropDown(pane->acReply, pane->ReplyMenu(), kReplyImage);
    addDropDown(pane->acForward, pane->ForwardMenu(), kForwardImage);
}

QMenu *TExplorerActions::BuildListMenu(QWidget *parent, TTarvinFrame *pane) {
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("pmnMessages"));
    menu->addAction(pane->acReply);
    menu->addAction(pane->acForward);
    menu->addAction(pane->acForwardAsAtt);
    return menu;
}

void TExplorerActions::Update(const TExplorerActionState &state, TTarvinFrame *pane) {
    actOpen->setEnabled(state.RowSelected);
    actPrint->setEnabled(state.RowSelected && state.PrintAvailable);
    actFindInMessages->setEnabled(state.FindAvailable);
    actQuickView->setEnabled(actQuickViewer->isEnabled() && actQuickViewer->isChecked());
    for (QAction *action : {actMessage, actProperties, actSaveLog})
        action->setEnabled(state.QuickViewFileSet);
    actHtml->setEnabled(actMessage->isChecked() && state.HasHtmlBody);
    actPlainText->setEnabled(actMessage->isChecked() && state.HasPlainBody);
    actFont->setEnabled(state.ActivePage == 0 && actPlainText->isChecked());
    actConvertDates->setEnabled(state.FolderFocused);
    for (QAction *action : {actOpenAttachment, actSaveAttachmentAs}) {
        action->setVisible(state.AttachmentSelected);
        action->setEnabled(state.AttachmentHasData);
    }
    // Reply and forward wait for the mail actions of this window; until they are wired, they
    // stay off here as in the viewer window.
    for (QAction *action : replyForwardActions(pane))
        action->setEnabled(false);
}

} // namespace tarvin
