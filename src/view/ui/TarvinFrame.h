#pragma once

#include "view/MessageContent.h"
#include "view/ViewerActionRules.h"
#include "view/ui/AttachmentIcons.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace tarvin {

class TFrmHeader;
class TGWMessage;
class IHtmlBody;
class THtmlPlaceholder;
class THtmlRemoteContentBar;
class TViewerActionHandler;
class TWorkFolder;

// What a host passes on when the user opens an embedded message.
struct TOpenMessageRequest {
    QString MessageId;
    QString Xml;
    bool ToolbarVisible = true;
    bool AttachmentsVisible = true;
    bool ShowSystemAttachments = false;
    bool LoadRemoteContent = false;
};

// The view of one loaded message: a tab with the header panel, the body (HTML or plain
// text) and the attachment list; a tab with the stored properties; a tab with the save log.
// The frame owns the message, its header panel and a work folder into which it extracts
// the HTML body and the attachments it opens.
class TTarvinFrame : public QWidget {
    Q_OBJECT
public:
    explicit TTarvinFrame(QWidget *parent = nullptr);
    ~TTarvinFrame() override;

    // Loads the message file at the path (nothing when it is the path shown). A missing
    // file empties the frame; a file that fails to load empties it and raises the error.
    // This reads on the calling thread: windows read through TMessageLoader and hand the
    // message over with ShowLoadedMessage.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &path);
    // Shows a message read elsewhere as the file at `path`; null empties the frame and keeps
    // the name (a file that is missing or failed to load).
    void ShowLoadedMessage(const QString &path, std::unique_ptr<TGWMessage> message);
    // Empties the frame and says "Loading..." while `path` is read elsewhere.
    void ShowLoading(const QString &path);
    bool IsShowingLoading() const;
    // Shows a message given as XML text (an embedded message). FileName stays.
    void LoadFromXml(const QString &xml);

    QString SourceFolder() const { return m_sourceFolder; }
    void SetSourceFolder(const QString &folder) { m_sourceFolder = folder; }

    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool plainText);

    // The setting "load remote content in messages" (off: the web pictures of an HTML body
    // load only after the user asks for them, for that message alone).
    bool LoadRemoteContent() const { return m_loadRemoteContent; }
    void SetLoadRemoteContent(bool load);

    bool ShowSystemAttachments() const { return m_showSystemAttachments; }
    void SetShowSystemAttachments(bool show);
    bool AttachmentsVisible() const { return m_attachmentsVisible; }
    void SetAttachmentsVisible(bool visible);
    bool ToolbarVisible() const;
    void SetToolbarVisible(bool visible);

    int ActivePage() const;
    void SetActivePage(int page);

    // The loaded message and facts about it (empty or false without one).
    const TGWMessage *Message() const { return m_message.get(); }
    QString MessageFrom() const;
    QString MessageSubject() const;
    QString MessageId() const;
    QString MessageTypeName() const;
    bool HasHtmlBody() const;
    bool HasPlainBody() const;
    int HeaderType() const { return m_headerType; }
    TFrmHeader *HeaderPanel() const { return m_header.get(); }

    // The attachment of the selected list item, or none.
    const TAttachment *SelectedAttachment() const;
    const TAttachmentInfo *SelectedAttachmentInfo() const;
    // The list items shown, in order.
    const std::vector<TAttachmentEntry> &AttachmentEntries() const { return m_entries; }
    void SelectAttachment(int row);

    // Opens the selected attachment: a file with its program (the HTML body and MIME
    // source in the text editor), an embedded message through OnOpenMessage.
    void OpenSelectedAttachment();
    // Saves the selected attachment (an embedded message as a message file) where the
    // user chooses.
    void SaveSelectedAttachmentAs();

    // The work folder ("/" at the end), created on first use.
    QString GetWorkFolder();
    // The extracted HTML body file, extracted on first use; "" without an HTML body.
    QString HtmlFileName();

    // Controls that hosts use.
    QTabWidget *PageControl() const { return m_pgCtrl; }
    QToolBar *ToolBar() const { return m_toolBar; }
    QPlainTextEdit *PlainTextView() const { return m_reMessageBody; }
    QPlainTextEdit *PropertiesView() const { return m_reProperties; }
    QPlainTextEdit *SaveLogView() const { return m_reSaveLog; }
    QListWidget *AttachmentList() const { return m_lvwAttachments; }
    // Created on first use (the web library is loaded then); null when the HTML engine
    // cannot be loaded (the user was told once).
    IHtmlBody *HtmlView();
    bool HtmlViewShown() const;
    // The bar above the body that offers the blocked remote content.
    THtmlRemoteContentBar *RemoteContentBar() const { return m_remoteBar; }
    QMenu *ReplyMenu() const { return m_popupMenuReply; }
    QMenu *ForwardMenu() const { return m_popupMenuForward; }

    // Shows the handler's actions on the toolbar and in the pop-up menus (null: none).
    // TViewerActionHandler::SetCurrentFrame does this.
    void UseActions(TViewerActionHandler *actions);
    TViewerActionHandler *Actions() const;

    // Copy and Select All act on the view of the active tab; on the "Message" tab on the
    // body the user sees.
    bool CanCopy() const;
    bool CanSelectAll() const;
    void EditCopy();
    void EditSelectAll();

signals:
    // After PlainText changed and the body view was updated.
    void OnViewModeChange(tarvin::TTarvinFrame *sender);
    // The user opened an embedded message.
    void OnOpenMessage(tarvin::TTarvinFrame *sender, const tarvin::TOpenMessageRequest &request);
    // After the active tab changed.
    void OnPageChange(tarvin::TTarvinFrame *sender);
    // The body is on screen: the plain text is set, or the HTML page has finished loading.
    void BodyShown();
    // The list selection changed.
    void AttachmentSelectionChanged();
    // Something the viewer actions depend on may have changed: the message, the tab, the body
    // form, the selection in a view or in the attachment list, a view setting.
    void StateChanged();

private:
    void buildControls();
    void buildToolBar();
    void setLoadedMessage(std::unique_ptr<TGWMessage> message);
    void rebuildHeader();
    void refreshView();
    void updateBodyView();
    void fillAttachments();
    void fillProperties();
    void fillSaveLog();
    void showPlainBody();
    void waitForFirstPaint();
    void updateRemoteBar();
    QPlainTextEdit *activeTextView() const;
    void showError(const QString &text);
    void bindMenus();

    std::unique_ptr<TGWMessage> m_message;
    std::unique_ptr<TFrmHeader> m_header;
    std::unique_ptr<TWorkFolder> m_workFolder;
    int m_headerType = 6;
    QString m_fileName;
    QString m_sourceFolder;
    QString m_htmlFilePath;
    QString m_saveFolder;
    bool m_plainText = false;
    bool m_showSystemAttachments = false;
    bool m_attachmentsVisible = false;
    bool m_updatingBody = false;
    bool m_loadRemoteContent = false;
    bool m_htmlBodyFailed = false; // the HTML body of this message could not be extracted
    std::vector<TAttachmentInfo> m_infos;
    std::vector<TAttachmentEntry> m_entries;
    TAttachmentIcons m_icons;
    QPointer<TViewerActionHandler> m_actions;

    QToolBar *m_toolBar = nullptr;
    QTabWidget *m_pgCtrl = nullptr;
    QLabel *m_loadingLabel = nullptr;
    QWidget *m_tsMessage = nullptr;
    QWidget *m_pnlMessage = nullptr;
    QSplitter *m_splMessage = nullptr;
    QStackedWidget *m_bodyStack = nullptr;
    IHtmlBody *m_webBrowser = nullptr; // its widget is a child of m_bodyStack
    bool m_htmlEngineFailed = false;
    QString m_htmlEngineError;
    // The HTML body's place until this frame has been painted once (see updateBodyView).
    THtmlPlaceholder *m_htmlPlaceholder = nullptr;
    bool m_htmlWaiting = false;
    bool m_htmlMayStart = false;
    THtmlRemoteContentBar *m_remoteBar = nullptr;
    QPlainTextEdit *m_reMessageBody = nullptr;
    QPlainTextEdit *m_reProperties = nullptr;
    QPlainTextEdit *m_reSaveLog = nullptr;
    QListWidget *m_lvwAttachments = nullptr;
    TCaptionDelegate *m_captionDelegate = nullptr; // draws m_lvwAttachments' items
    QMenu *m_popupMenuAttachments = nullptr;
    QMenu *m_popupMenuMessage = nullptr;
    QMenu *m_popupMenuEdit = nullptr;
    QMenu *m_popupMenuReply = nullptr;
    QMenu *m_popupMenuForward = nullptr;
};

} // namespace tarvin
