#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QToolBar;

namespace tarvin {

class TTarvinFrame;
class TViewerActionHandler;

// What the explorer's actions are enabled and ticked from.
struct TExplorerActionState {
    bool RowSelected = false;      // the list's focused row is selected
    bool QuickViewFileSet = false; // the quick-view pane has a file
    bool HasHtmlBody = false;      // the pane's message
    bool HasPlainBody = false;
    int ActivePage = 0;         // the pane's tab page
    bool FolderFocused = false; // the folder tree has a focused folder
    bool AttachmentSelected = false;
    bool AttachmentHasData = false;
    bool FindAvailable = false;   // the find window exists in this program
    bool PrintAvailable = false;  // printing exists in this program
    bool AnyRowSelected = false;  // one or more rows selected in the list
    bool ExportAvailable = false; // "Export as PDF..." exists in this program
};

// The explorer window's actions with their captions, shortcuts and update rules, and the
// main menu and tool bar built from them. The actions on the quick-view pane (print, tabs, body
// form, attachments, font, its tool bar and attachment list, reply and forward) are the
// viewer action handler's, which acts on the pane itself; the rest are the explorer's own,
// and the window connects what they do.
class TExplorerActions : public QObject {
    Q_OBJECT
public:
    TExplorerActions(TViewerActionHandler *viewerActions, QObject *parent);

    // Puts the menus into the bar; the pane's reply and forward actions go into "Actions".
    void BuildMenus(QMenuBar *bar);
    // Fills the tool bar; Reply and Forward come with the pane's drop-down menus.
    void BuildToolBar(QToolBar *bar, TTarvinFrame *pane);
    TViewerActionHandler *ViewerActions() const { return m_viewer; }
    // The list's context menu: the pane's Reply, Forward and Forward as Attachment, then
    // "Export as PDF..." and "Save All Attachments..." for the selected rows.
    QMenu *BuildListMenu(QWidget *parent);

    // Sets enabled, ticked and visible states from the state; the pane's actions learn the
    // explorer's facts (quick-view file, selected row) and update themselves.
    void Update(const TExplorerActionState &state);

    QAction *actOpen, *actPrint, *actClose, *actFindInMessages, *actQuickViewer,
        *actConvertDatesLog, *actQuickView, *actQuickViewToolbar, *actAttachmentWindow,
        *actSystemAttachments, *actMessage, *actProperties, *actSaveLog, *actHtml, *actPlainText,
        *actFont, *actRefresh, *actConvertDates, *actOptions, *actAppHelp, *actAboutApp,
        *actOpenAttachment, *actSaveAttachmentAs;
    // The list's selected rows (the explorer's own, not the pane's).
    QAction *actExportPdf, *actSaveAllAttachments;

private:
    QAction *make(const char *name, const QString &caption, bool checkable = false);

    TViewerActionHandler *m_viewer;
};

} // namespace tarvin
