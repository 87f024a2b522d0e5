#include "explorer/ui/ExplorerActions.h"

#include "base/VersionInfo.h"
#include "explorer/ui/ExplorerImages.h"
#include "view/ViewerActionRules.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewImages.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace tarvin {

QAction *TExplorerActions::make(const char *name, const QString &caption, bool checkable) {
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

TExplorerActions::TExplorerActions(TViewerActionHandler *viewerActions, QObject *parent)
    : QObject(parent), m_viewer(viewerActions) {
    TViewerActionHandler *v = viewerActions;
    actOpen = make("actOpen", QStringLiteral("Open"));
    actOpen->setIcon(ExplorerIcon(TExplorerImage::Open));
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
    actRefresh = make("actRefresh", QStringLiteral("Refresh"));
    actRefresh->setShortcut(QKeySequence(Qt::Key_F5));
    actConvertDates = make("actConvertDates", QStringLiteral("Convert Dates..."));
    actOptions = make("actOptions", QStringLiteral("Options..."));
    actAppHelp = make("actAppHelp", VersionKey(9) + QStringLiteral(" Help"));
    actAboutApp = make("actAboutApp", QStringLiteral("About..."));
    actExportPdf = make("actExportPdf", QStringLiteral("Export as PDF..."));
    actExportPdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    actSaveAllAttachments =
        make("actSaveAllAttachments", QStringLiteral("Save All Attachments..."));

    // The pane's, under the explorer's names.
    actPrint = v->actPrint;
    actQuickViewToolbar = v->actToolbar;
    actQuickViewToolbar->setText(QStringLiteral("QuickView Toolbar"));
    actQuickViewToolbar->setObjectName(QStringLiteral("actQuickViewToolbar"));
    actAttachmentWindow = v->actAttachmentWindow;
    actSystemAttachments = v->actSystemAttachments;
    actMessage = v->actMessage;
    actProperties = v->actProperties;
    actSaveLog = v->actSaveLog;
    actHtml = v->actHTML;
    actPlainText = v->actPlainText;
    actFont = v->actFont;
    actOpenAttachment = v->actOpenAttachment;
    actSaveAttachmentAs = v->actSaveAs;
}

void TExplorerActions::BuildMenus(QMenuBar *bar) {
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(actOpen);
    file->addSeparator();
    file->addAction(actPrint);
    file->addAction(actExportPdf);
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
    actions->addAction(m_viewer->actReplyMenu);
    actions->addAction(m_viewer->acForward);
    actions->addAction(m_viewer->acForwardAsAtt);

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
    // Reply and Forward with the pane's drop-down menus.
    for (auto [action, menu] : {std::pair{m_viewer->acReply, pane->ReplyMenu()},
                                {m_viewer->acForward, pane->ForwardMenu()}}) {
        auto *button = new QToolButton(bar);
        button->setDefaultAction(action);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setAutoRaise(true);
        bar->addWidget(button);
    }
}

QMenu *TExplorerActions::BuildListMenu(QWidget *parent) {
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("pmnMessages"));
    menu->addAction(m_viewer->acReply);
    menu->addAction(m_viewer->acForward);
    menu->addAction(m_viewer->acForwardAsAtt);
    menu->addSeparator();
    menu->addAction(actExportPdf);
    menu->addAction(actSaveAllAttachments);
    return menu;
}

void TExplorerActions::Update(const TExplorerActionState &state) {
    actOpen->setEnabled(state.RowSelected);
    actFindInMessages->setEnabled(state.FindAvailable);
    actQuickView->setEnabled(actQuickViewer->isEnabled() && actQuickViewer->isChecked());
    actConvertDates->setEnabled(state.FolderFocused);
    const TListExportStates exports = ListExportStates(state.AnyRowSelected, state.ExportAvailable);
    actExportPdf->setEnabled(exports.ExportPdf.Enabled);
    actSaveAllAttachments->setEnabled(exports.SaveAllAttachments.Enabled);
    m_viewer->SetQuickViewFileSet(state.QuickViewFileSet);
    m_viewer->SetListRowSelected(state.RowSelected);
}

} // namespace tarvin
