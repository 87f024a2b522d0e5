#include "view/ui/ViewerActionHandler.h"

#include "base/DesktopServices.h"
#include "base/VersionInfo.h"
#include "model/Attachment.h"
#include "view/ui/SaveAllAttachments.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewImages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>

namespace tarvin {

namespace {

void Apply(QAction *action, const TActionState &state) {
    action->setEnabled(state.Enabled);
    action->setVisible(state.Visible);
    if (action->isCheckable()) {
        // In a radio group only the checked action is set; the group clears the others.
        if (state.Checked || !action->actionGroup())
            action->setChecked(state.Checked);
    }
}

} // namespace

TViewerActionHandler::TViewerActionHandler(TViewerHost host, QObject *parent)
    : QObject(parent), m_host(host) {
    createActions();
    UpdateActions();
}

TViewerActionHandler::~TViewerActionHandler() {
    for (const QMetaObject::Connection &connection : m_frameConnections)
        disconnect(connection);
    if (m_frame && m_frame->Actions() == this)
        m_frame->UseActions(nullptr);
}

void TViewerActionHandler::createActions() {
    auto action = [this](const char *name, const QString &caption, const QString &hint = {}) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        if (!hint.isEmpty()) {
            a->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
            a->setStatusTip(hint.section(QLatin1Char('|'), -1));
        }
        return a;
    };
    auto withFrame = [this](QAction *a, auto act) {
        connect(a, &QAction::triggered, this, [this, act](bool checked) {
            if (m_frame)
                act(m_frame.data(), checked);
        });
    };

    acEditCopy = action("acEditCopy", QStringLiteral("&Copy"),
                        QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"));
    acEditCopy->setShortcut(QKeySequence::Copy);
    acEditSelectAll = action("acEditSelectAll", QStringLiteral("Select &All"),
                             QStringLiteral("Select All|Selects the entire document"));
    acEditSelectAll->setShortcut(QKeySequence::SelectAll);
    for (QAction *a : {acEditCopy, acEditSelectAll})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    withFrame(acEditCopy, [](TTarvinFrame *frame, bool) { frame->EditCopy(); });
    withFrame(acEditSelectAll, [](TTarvinFrame *frame, bool) { frame->EditSelectAll(); });

    acReply = action("acReply", QStringLiteral("Reply"), QStringLiteral("Reply"));
    acReply->setIcon(ToolbarImage(1));
    acReplyToSenderInc =
        action("acReplyToSenderInc", QStringLiteral("Reply to Sender (Include Message)"));
    acReplyToSender = action("acReplyToSender", QStringLiteral("Reply to Sender"));
    acReplyToAllInc = action("acReplyToAllInc", QStringLiteral("Reply to All (Include Message)"));
    acReplyToAll = action("acReplyToAll", QStringLiteral("Reply to All"));
    acForwardAsAtt = action("acForwardAsAtt", QStringLiteral("Forward as Attachment"));
    acForward = action("acForward", QStringLiteral("Forward"), QStringLiteral("Forward"));
    acForward->setIcon(ToolbarImage(2));
    actReplyMenu = action("actReplyMenu", QStringLiteral("Reply..."));
    for (TMailAction kind :
         {TMailAction::Reply, TMailAction::ReplyToSenderInc, TMailAction::ReplyToSender,
          TMailAction::ReplyToAllInc, TMailAction::ReplyToAll, TMailAction::ForwardAsAttachment,
          TMailAction::Forward}) {
        withFrame(MailAction(kind), [this, kind](TTarvinFrame *frame, bool) {
            emit MailActionRequested(frame, kind);
        });
    }
    withFrame(actReplyMenu, [this](TTarvinFrame *frame, bool) {
        emit MailActionRequested(frame, TMailAction::Reply);
    });

    actClose = action("actClose", QStringLiteral("Close"), QStringLiteral("Close"));
    actClose->setIcon(ToolbarImage(0));
    connect(actClose, &QAction::triggered, this, &TViewerActionHandler::CloseRequested);
    actPrint = action("actPrint", QStringLiteral("Print..."), QStringLiteral("Print"));
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrint->setIcon(ToolbarImage(3));
    withFrame(actPrint, [this](TTarvinFrame *frame, bool) { emit PrintRequested(frame); });
    actFindInMessages = action("actFindInMessages", QStringLiteral("Find in Messages..."));
    actFindInMessages->setShortcut(QKeySequence(Qt::Key_F3));
    connect(actFindInMessages, &QAction::triggered, this,
            [this] { emit FindInMessagesRequested(m_frame.data()); });

    actToolbar =
        action("actToolbar", m_host == TViewerHost::Explorer ? QStringLiteral("QuickView Toolbar")
                                                             : QStringLiteral("Toolbar"));
    actAttachmentWindow = action("actAttachmentWindow", QStringLiteral("Attachment Window"));
    actSystemAttachments = action("actSystemAttachments", QStringLiteral("System Attachments"));
    for (QAction *a : {actToolbar, actAttachmentWindow, actSystemAttachments})
        a->setCheckable(true);
    withFrame(actToolbar, [](TTarvinFrame *frame, bool on) { frame->SetToolbarVisible(on); });
    withFrame(actAttachmentWindow,
              [](TTarvinFrame *frame, bool on) { frame->SetAttachmentsVisible(on); });
    withFrame(actSystemAttachments,
              [](TTarvinFrame *frame, bool on) { frame->SetShowSystemAttachments(on); });

    m_pageGroup = new QActionGroup(this);
    actMessage = action("actMessage", QStringLiteral("Message"), QStringLiteral("Message"));
    actProperties =
        action("actProperties", QStringLiteral("Properties"), QStringLiteral("Properties"));
    actSaveLog = action("actSaveLog", QStringLiteral("Save Log"), QStringLiteral("Save Log"));
    int image = 4;
    for (auto [a, page] : {std::pair{actMessage, fpMessage},
                           {actProperties, fpProperties},
                           {actSaveLog, fpSaveLog}}) {
        a->setCheckable(true);
        a->setIcon(ToolbarImage(image++));
        m_pageGroup->addAction(a);
        withFrame(a, [page = page](TTarvinFrame *frame, bool) { frame->SetActivePage(page); });
    }
    actMessage->setChecked(true);

    m_bodyGroup = new QActionGroup(this);
    actHTML = action("actHTML", QStringLiteral("HTML"), QStringLiteral("HTML"));
    actPlainText =
        action("actPlainText", QStringLiteral("Plain Text"), QStringLiteral("Plain Text"));
    for (auto [a, plain, picture] : {std::tuple{actHTML, false, 7}, {actPlainText, true, 8}}) {
        a->setCheckable(true);
        a->setIcon(ToolbarImage(picture));
        m_bodyGroup->addAction(a);
        withFrame(a, [plain = plain](TTarvinFrame *frame, bool) { frame->SetPlainText(plain); });
    }

    actOpenAttachment = action("actOpenAttachment", QStringLiteral("Open"));
    withFrame(actOpenAttachment,
              [](TTarvinFrame *frame, bool) { frame->OpenSelectedAttachment(); });
    actSaveAs = action("actSaveAs", QStringLiteral("Save As..."));
    withFrame(actSaveAs, [](TTarvinFrame *frame, bool) { frame->SaveSelectedAttachmentAs(); });
    actFont = action("actFont", QStringLiteral("Font..."));
    actFont->setShortcut(QKeySequence(Qt::Key_F9));
    connect(actFont, &QAction::triggered, this, &TViewerActionHandler::chooseFont);

    actExportPdf = action("actExportPdf", QStringLiteral("Export as PDF..."),
                          QStringLiteral("Export as PDF|Writes the message and its attachments "
                                         "to a PDF file"));
    actExportPdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    withFrame(actExportPdf, [this](TTarvinFrame *frame, bool) { emit ExportPdfRequested(frame); });
    actSaveAllAttachments =
        action("actSaveAllAttachments", QStringLiteral("Save All Attachments..."));
    withFrame(actSaveAllAttachments, [](TTarvinFrame *frame, bool) { SaveAllAttachments(frame); });

    actAppHelp = action("actAppHelp", ProductName() + QStringLiteral(" Help"));
    connect(actAppHelp, &QAction::triggered, this, &TViewerActionHandler::HelpRequested);
    actAboutApp = action("actAboutApp", QStringLiteral("About..."));
    connect(actAboutApp, &QAction::triggered, this, &TViewerActionHandler::AboutRequested);
}

QAction *TViewerActionHandler::MailAction(TMailAction action) const {
    switch (action) {
    case TMailAction::Reply:
        return acReply;
    case TMailAction::ReplyToSenderInc:
        return acReplyToSenderInc;
    case TMailAction::ReplyToSender:
        return acReplyToSender;
    case TMailAction::ReplyToAllInc:
        return acReplyToAllInc;
    case TMailAction::ReplyToAll:
        return acReplyToAll;
    case TMailAction::ForwardAsAttachment:
        return acForwardAsAtt;
    case TMailAction::Forward:
        return acForward;
    }
    return nullptr;
}

void TViewerActionHandler::SetCurrentFrame(TTarvinFrame *frame) {
    if (frame != m_frame) {
        for (const QMetaObject::Connection &connection : m_frameConnections)
            disconnect(connection);
        m_frameConnections.clear();
        if (m_frame) {
            m_frame->removeAction(acEditCopy);
            m_frame->removeAction(acEditSelectAll);
            if (m_frame->Actions() == this)
                m_frame->UseActions(nullptr);
        }
        m_frame = frame;
        if (frame) {
            // Copy and Select All keep their keys to the frame, so that the text fields of
            // the host keep theirs.
            frame->addAction(acEditCopy);
            frame->addAction(acEditSelectAll);
            frame->UseActions(this);
            m_frameConnections.push_back(connect(frame, &TTarvinFrame::StateChanged, this,
                                                 &TViewerActionHandler::UpdateActions));
            m_frameConnections.push_back(
                connect(frame, &QObject::destroyed, this, &TViewerActionHandler::frameChanged));
        }
    }
    UpdateActions();
}

void TViewerActionHandler::frameChanged() {
    // The frame is gone; its QPointer is already cleared.
    m_frameConnections.clear();
    UpdateActions();
}

void TViewerActionHandler::SetFeatures(const TViewerFeatures &features) {
    m_features = features;
    UpdateActions();
}

void TViewerActionHandler::SetQuickViewFileSet(bool set) {
    m_quickViewFileSet = set;
    UpdateActions();
}

void TViewerActionHandler::SetListRowSelected(bool selected) {
    m_listRowSelected = selected;
    UpdateActions();
}

TViewerFrameState TViewerActionHandler::FrameState() const {
    TViewerFrameState state;
    state.Host = m_host;
    state.Features = m_features;
    state.QuickViewFileSet = m_quickViewFileSet;
    state.ListRowSelected = m_listRowSelected;
    const TTarvinFrame *frame = m_frame.data();
    if (!frame)
        return state;
    state.HasFrame = true;
    state.HasMessage = frame->Message() != nullptr;
    state.ActivePage = frame->ActivePage();
    state.PlainText = frame->PlainText();
    state.HasHtmlBody = frame->HasHtmlBody();
    state.HasPlainBody = frame->HasPlainBody();
    const TAttachment *selected = frame->SelectedAttachment();
    state.AttachmentSelected = selected != nullptr;
    state.SelectedAttachmentHasData = selected && selected->HasData();
    state.ToolbarVisible = frame->ToolbarVisible();
    state.AttachmentsVisible = frame->AttachmentsVisible();
    state.ShowSystemAttachments = frame->ShowSystemAttachments();
    for (const TAttachmentEntry &entry : frame->AttachmentEntries())
        state.AttachmentDataListed = state.AttachmentDataListed || entry.HasData;
    state.CanCopy = frame->CanCopy();
    state.CanSelectAll = frame->CanSelectAll();
    return state;
}

void TViewerActionHandler::UpdateActions() {
    const TViewerActionStates s = ViewerActionStates(FrameState());
    for (auto [action, state] : {std::pair{acEditCopy, &s.Copy},
                                 {acEditSelectAll, &s.SelectAll},
                                 {actClose, &s.Close},
                                 {actPrint, &s.Print},
                                 {actFindInMessages, &s.FindInMessages},
                                 {actAppHelp, &s.Help},
                                 {actAboutApp, &s.About},
                                 {actToolbar, &s.Toolbar},
                                 {actAttachmentWindow, &s.AttachmentWindow},
                                 {actSystemAttachments, &s.SystemAttachments},
                                 {actMessage, &s.Message},
                                 {actProperties, &s.Properties},
                                 {actSaveLog, &s.SaveLog},
                                 {actHTML, &s.Html},
                                 {actPlainText, &s.PlainText},
                                 {actOpenAttachment, &s.OpenAttachment},
                                 {actSaveAs, &s.SaveAs},
                                 {actFont, &s.Font},
                                 {actExportPdf, &s.ExportPdf},
                                 {actSaveAllAttachments, &s.SaveAllAttachments},
                                 {acReply, &s.Mail},
                                 {acReplyToSenderInc, &s.Mail},
                                 {acReplyToSender, &s.Mail},
                                 {acReplyToAllInc, &s.Mail},
                                 {acReplyToAll, &s.Mail},
                                 {acForwardAsAtt, &s.Mail},
                                 {acForward, &s.Mail},
                                 {actReplyMenu, &s.Mail}})
        Apply(action, *state);
}

QWidget *TViewerActionHandler::window() const {
    if (m_frame)
        return m_frame->window();
    return qobject_cast<QWidget *>(parent());
}

void TViewerActionHandler::chooseFont() {
    UpdateActions();
    if (!m_frame || !actFont->isEnabled())
        return;
    QString font = m_frame->PlainTextView()->font().toString();
    QPointer<TViewerActionHandler> self(this);
    // The window (with this handler and the frame) may close while the dialog runs.
    if (!Desktop().AskFont(window(), font) || !self || !m_frame)
        return;
    QFont chosen;
    if (chosen.fromString(font))
        m_frame->PlainTextView()->setFont(chosen);
}

} // namespace tarvin
