#pragma once

#include "view/ViewerActionRules.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QActionGroup;
class QWidget;

namespace tarvin {

class TTarvinFrame;

// The actions of a viewer: edit, view, tabs, body form, attachments, font, close, print,
// find, help, about, reply and forward, with their captions, shortcuts, icons and object
// names. One handler serves one host (a viewer window, the explorer's quick-view pane),
// which puts the actions into its menus and adds its own; the handler acts on the frame it
// is given (SetCurrentFrame), whose toolbar and pop-up menus then show these actions, and
// keeps their states after the frame's state (ViewerActionStates).
//
// What other parts of the program do is asked for through signals: closing, printing,
// finding, help, the about box, reply and forward.
class TViewerActionHandler : public QObject {
    Q_OBJECT
public:
    explicit TViewerActionHandler(TViewerHost host = TViewerHost::Viewer,
                                  QObject *parent = nullptr);
    ~TViewerActionHandler() override;

    TViewerHost Host() const { return m_host; }

    // Retargets every action to the frame (null: none) and shows them on its toolbar and in its
    // pop-up menus; the previous frame gives them up.
    void SetCurrentFrame(TTarvinFrame *frame);
    TTarvinFrame *CurrentFrame() const { return m_frame; }

    // The features the program has wired up (all off at first).
    TViewerFeatures Features() const { return m_features; }
    void SetFeatures(const TViewerFeatures &features);
    // The explorer's own facts (see TViewerFrameState).
    void SetQuickViewFileSet(bool set);
    void SetListRowSelected(bool selected);

    // The state the actions are set from.
    TViewerFrameState FrameState() const;
    // Sets every action's enabled, checked and visible state from FrameState(). Runs by itself
    // whenever the frame reports a change.
    void UpdateActions();

    // The action of a reply or forward kind.
    QAction *MailAction(TMailAction action) const;

    // Edit (shortcuts act inside the current frame).
    QAction *acEditCopy = nullptr;
    QAction *acEditSelectAll = nullptr;
    // Reply and forward.
    QAction *acReply = nullptr;
    QAction *acReplyToSenderInc = nullptr;
    QAction *acReplyToSender = nullptr;
    QAction *acReplyToAllInc = nullptr;
    QAction *acReplyToAll = nullptr;
    QAction *acForwardAsAtt = nullptr;
    QAction *acForward = nullptr;
    QAction *actReplyMenu = nullptr; // "Reply..." for menus: runs Reply
    // Closing the view: the viewer window closes, the explorer hides its pane.
    QAction *actClose = nullptr;
    QAction *actPrint = nullptr;
    QAction *actFindInMessages = nullptr;
    // Views.
    QAction *actToolbar = nullptr;
    QAction *actAttachmentWindow = nullptr;
    QAction *actSystemAttachments = nullptr;
    QAction *actMessage = nullptr;
    QAction *actProperties = nullptr;
    QAction *actSaveLog = nullptr;
    QAction *actHTML = nullptr;
    QAction *actPlainText = nullptr;
    // Attachments and font.
    QAction *actOpenAttachment = nullptr;
    QAction *actSaveAs = nullptr;
    QAction *actFont = nullptr;
    // Export.
    QAction *actExportPdf = nullptr;
    QAction *actSaveAllAttachments = nullptr;
    // Help.
    QAction *actAppHelp = nullptr;
    QAction *actAboutApp = nullptr;

signals:
    void CloseRequested();
    void PrintRequested(tarvin::TTarvinFrame *frame);
    void ExportPdfRequested(tarvin::TTarvinFrame *frame);
    void FindInMessagesRequested(tarvin::TTarvinFrame *frame);
    void MailActionRequested(tarvin::TTarvinFrame *frame, tarvin::TMailAction action);
    void HelpRequested();
    void AboutRequested();

private:
    void createActions();
    void frameChanged();
    void chooseFont();
    QWidget *window() const;

    TViewerHost m_host;
    TViewerFeatures m_features;
    bool m_quickViewFileSet = false;
    bool m_listRowSelected = false;
    QPointer<TTarvinFrame> m_frame;
    std::vector<QMetaObject::Connection> m_frameConnections;
    QActionGroup *m_pageGroup = nullptr;
    QActionGroup *m_bodyGroup = nullptr;
};

} // namespace tarvin
