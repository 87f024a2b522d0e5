#include "view/ui/TarvinFrame.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"
#include "util/WorkFolder.h"
#include "view/AttachmentRules.h"
#include "view/ViewTexts.h"
#include "view/ui/HeaderPanels.h"
#include "view/ui/HtmlBody.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include <new>

namespace tarvin {

namespace {

constexpr int kListHeight = 80;
constexpr int kCellWidth = 96; // of an attachment list item
constexpr int kTextMargin = 4;
constexpr int kTabStop = 64;

// The desktop's general font at a point size (stands in for the classic dialog fonts).
QFont GeneralFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    return font;
}

QPlainTextEdit *NewTextView(QWidget *parent, bool wrap, bool horizontalBar) {
    auto *view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setFont(GeneralFont(8));
    view->setTabStopDistance(kTabStop);
    view->document()->setDocumentMargin(kTextMargin);
    view->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(horizontalBar ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return view;
}

// A tab page named `name` that the view fills.
QWidget *NewPage(QWidget *parent, const QString &name, QWidget *view) {
    auto *page = new QWidget(parent);
    page->setObjectName(name);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    return page;
}

void SetViewText(QPlainTextEdit *view, const QString &text) {
    view->setPlainText(text);
    view->moveCursor(QTextCursor::Start);
    view->verticalScrollBar()->setValue(0);
}

} // namespace

TTarvinFrame::TTarvinFrame(QWidget *parent) : QWidget(parent) {
    buildControls();
    buildToolBar();
    bindMenus();
}

TTarvinFrame::~TTarvinFrame() {
    if (m_actions && m_actions->CurrentFrame() == this)
        m_actions->SetCurrentFrame(nullptr);
    // The HTML view goes with the body stack, after this frame: it calls back no more.
    if (m_webBrowser) {
        m_webBrowser->OnBodyLoaded = nullptr;
        m_webBrowser->OnRemoteContentBlockedChanged = nullptr;
        m_webBrowser->OnSelectionChanged = nullptr;
    }
    // The panel points at the message; let it go first. The work folder removes itself.
    m_header.reset();
    m_message.reset();
}

void TTarvinFrame::buildControls() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    layout->addWidget(m_toolBar);

    m_pgCtrl = new QTabWidget(this);
    m_pgCtrl->setObjectName(QStringLiteral("PgCtrl"));
    m_pgCtrl->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_pgCtrl, 1);
    // Takes the room while no message is shown, so the tool bar stays at the top.
    layout->addStretch(0);

    m_tsMessage = new QWidget(m_pgCtrl);
    m_tsMessage->setObjectName(QStringLiteral("tsMessage"));
    auto *messageLayout = new QVBoxLayout(m_tsMessage);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    m_pnlMessage = new QWidget(m_tsMessage);
    m_pnlMessage->setObjectName(QStringLiteral("pnlMessage"));
    messageLayout->addWidget(m_pnlMessage);
    auto *panelLayout = new QVBoxLayout(m_pnlMessage);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);

    // Below the header panel, above the body.
    m_remoteBar = new THtmlRemoteContentBar(m_pnlMessage);
    m_remoteBar->hide();
    panelLayout->addWidget(m_remoteBar);
    connect(m_remoteBar, &THtmlRemoteContentBar::LoadClicked, this, [this] {
        if (HtmlViewShown())
            m_webBrowser->LoadRemoteContentNow();
    });

    m_splMessage = new QSplitter(Qt::Vertical, m_pnlMessage);
    m_splMessage->setObjectName(QStringLiteral("splMessage"));
    m_splMessage->setHandleWidth(2);
    m_splMessage->setChildrenCollapsible(false);
    panelLayout->addWidget(m_splMessage, 1);

    m_bodyStack = new QStackedWidget(m_splMessage);
    m_reMessageBody = NewTextView(m_bodyStack, true, false);
    m_reMessageBody->setObjectName(QStringLiteral("reMessageBody"));
    m_bodyStack->addWidget(m_reMessageBody);
    m_splMessage->addWidget(m_bodyStack);

    m_lvwAttachments = new QListWidget(m_splMessage);
    m_lvwAttachments->setObjectName(QStringLiteral("lvwAttachments"));
    m_lvwAttachments->setViewMode(QListView::IconMode);
    m_lvwAttachments->setIconSize(QSize(32, 32));
    m_lvwAttachments->setMovement(QListView::Static);
    m_lvwAttachments->setResizeMode(QListView::Adjust);
    m_lvwAttachments->setFlow(QListView::LeftToRight);
    m_lvwAttachments->setWrapping(true);
    m_lvwAttachments->setLayoutMode(QListView::Batched);
    // Captions take two lines of the cell; a longer one keeps its start and its end (the
    // extension), and the item's tool tip has it whole.
    m_lvwAttachments->setTextElideMode(Qt::ElideMiddle);
    const int lineHeight = QFontMetrics(m_lvwAttachments->font()).lineSpacing();
    m_lvwAttachments->setGridSize(QSize(kCellWidth, 32 + 2 * lineHeight + 12));
    m_captionDelegate = new TCaptionDelegate(kCellWidth - 10, m_lvwAttachments);
    m_lvwAttachments->setItemDelegate(m_captionDelegate);
    m_lvwAttachments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvwAttachments->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvwAttachments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lvwAttachments->setContextMenuPolicy(Qt::CustomContextMenu);
    {
        // Without focus the selected caption keeps the button colours rather than vanishing.
        QPalette colours = m_lvwAttachments->palette();
        colours.setColor(QPalette::Inactive, QPalette::Highlight,
                         colours.color(QPalette::Active, QPalette::Button));
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         colours.color(QPalette::Active, QPalette::ButtonText));
        m_lvwAttachments->setPalette(colours);
    }
    m_splMessage->addWidget(m_lvwAttachments);
    m_splMessage->setStretchFactor(0, 1);
    m_splMessage->setStretchFactor(1, 0);
    m_splMessage->setSizes({400, kListHeight});
    m_lvwAttachments->hide();

    m_reProperties = NewTextView(m_pgCtrl, false, true);
    m_reProperties->setObjectName(QStringLiteral("reProperties"));
    m_reSaveLog = NewTextView(m_pgCtrl, false, false);
    m_reSaveLog->setObjectName(QStringLiteral("reSaveLog"));

    m_pgCtrl->addTab(m_tsMessage, QStringLiteral("Message"));
    m_pgCtrl->addTab(NewPage(m_pgCtrl, QStringLiteral("tsProperties"), m_reProperties),
                     QStringLiteral("Properties"));
    m_pgCtrl->addTab(NewPage(m_pgCtrl, QStringLiteral("tsSaveLog"), m_reSaveLog),
                     QStringLiteral("Save Log"));
    m_pgCtrl->hide();

    // In place of the pages while a message is read.
    m_loadingLabel = new QLabel(QStringLiteral("Loading..."), this);
    m_loadingLabel->setObjectName(QStringLiteral("lblLoading"));
    m_loadingLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_loadingLabel, 1);
    m_loadingLabel->hide();

    connect(m_pgCtrl, &QTabWidget::currentChanged, this, [this] { emit OnPageChange(this); });
    connect(this, &TTarvinFrame::OnPageChange, this, &TTarvinFrame::StateChanged);
    connect(this, &TTarvinFrame::OnViewModeChange, this, &TTarvinFrame::StateChanged);
    connect(this, &TTarvinFrame::AttachmentSelectionChanged, this, &TTarvinFrame::StateChanged);
    connect(m_lvwAttachments, &QListWidget::itemActivated, this,
            [this] { OpenSelectedAttachment(); });
    connect(m_lvwAttachments, &QListWidget::itemSelectionChanged, this,
            [this] { emit AttachmentSelectionChanged(); });
    for (QPlainTextEdit *view : {m_reMessageBody, m_reProperties, m_reSaveLog}) {
        connect(view, &QPlainTextEdit::selectionChanged, this, &TTarvinFrame::StateChanged);
        connect(view, &QPlainTextEdit::textChanged, this, &TTarvinFrame::StateChanged);
    }
}

void TTarvinFrame::buildToolBar() {
    m_popupMenuReply = new QMenu(this);
    m_popupMenuReply->setObjectName(QStringLiteral("PopupMenuReply"));
    m_popupMenuForward = new QMenu(this);
    m_popupMenuForward->setObjectName(QStringLiteral("PopupMenuForward"));
    m_popupMenuAttachments = new QMenu(this);
    m_popupMenuAttachments->setObjectName(QStringLiteral("PopupMenuAttachments"));
    m_popupMenuMessage = new QMenu(this);
    m_popupMenuMessage->setObjectName(QStringLiteral("PopupMenuMessage"));
    m_popupMenuEdit = new QMenu(this);
    m_popupMenuEdit->setObjectName(QStringLiteral("PopupMenuEdit"));
    connect(m_popupMenuEdit, &QMenu::aboutToShow, this, &TTarvinFrame::StateChanged);
}

TViewerActionHandler *TTarvinFrame::Actions() const {
    return m_actions.data();
}

void TTarvinFrame::UseActions(TViewerActionHandler *actions) {
    m_actions = actions;
    m_toolBar->clear();
    for (QMenu *menu : {m_popupMenuReply, m_popupMenuForward, m_popupMenuAttachments,
                        m_popupMenuMessage, m_popupMenuEdit})
        menu->clear();
    if (!actions)
        return;
    const TViewerActionHandler &a = *actions;
    m_toolBar->addAction(a.actClose);
    for (auto [action, menu] :
         {std::pair{a.acReply, m_popupMenuReply}, {a.acForward, m_popupMenuForward}}) {
        auto *button = new QToolButton(m_toolBar);
        button->setDefaultAction(action);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setAutoRaise(true);
        m_toolBar->addWidget(button);
    }
    m_toolBar->addSeparator();
    m_toolBar->addAction(a.actPrint);
    m_toolBar->addSeparator();
    m_toolBar->addActions({a.actMessage, a.actProperties, a.actSaveLog});
    m_toolBar->addSeparator();
    m_toolBar->addActions({a.actHTML, a.actPlainText});
    for (QAction *action : m_toolBar->actions()) {
        auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action));
        if (button && !button->menu())
            button->setFixedSize(29, 28);
    }

    m_popupMenuReply->addAction(a.acReply);
    m_popupMenuReply->addSeparator();
    m_popupMenuReply->addActions({a.acReplyToSenderInc, a.acReplyToSender});
    m_popupMenuReply->addSeparator();
    m_popupMenuReply->addActions({a.acReplyToAllInc, a.acReplyToAll});
    m_popupMenuForward->addAction(a.acForwardAsAtt);
    m_popupMenuForward->addSeparator();
    m_popupMenuForward->addAction(a.acForward);

    m_popupMenuAttachments->addActions({a.actOpenAttachment, a.actSaveAs});
    m_popupMenuAttachments->addAction(a.actSaveAllAttachments);
    m_popupMenuAttachments->addMenu(QStringLiteral("View"))->addAction(a.actSystemAttachments);
    m_popupMenuMessage->addActions({a.actMessage, a.actProperties, a.actSaveLog});
    m_popupMenuMessage->addSeparator();
    m_popupMenuMessage->addAction(a.actFont);
    m_popupMenuEdit->addActions({a.acEditCopy, a.acEditSelectAll});
}

void TTarvinFrame::bindMenus() {
    connect(m_lvwAttachments, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        if (!m_popupMenuAttachments->isEmpty())
            m_popupMenuAttachments->popup(m_lvwAttachments->viewport()->mapToGlobal(pos));
    });
    connect(m_pgCtrl, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        if (!m_popupMenuMessage->isEmpty())
            m_popupMenuMessage->popup(m_pgCtrl->mapToGlobal(pos));
    });
    for (QPlainTextEdit *view : {m_reMessageBody, m_reProperties, m_reSaveLog}) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint pos) {
            if (!m_popupMenuEdit->isEmpty())
                m_popupMenuEdit->popup(view->viewport()->mapToGlobal(pos));
        });
    }
}

// ---- loading ----

void TTarvinFrame::SetFileName(const QString &path) {
    // File names differ in case on this system, so only the same text is the same file.
    if (path == m_fileName)
        return;
    m_fileName = path;
    if (path.isEmpty() || !IsExistingFile(path)) {
        setLoadedMessage(nullptr);
        return;
    }
    auto message = std::make_unique<TGWMessage>();
    try {
        message->LoadFromFile(path);
    } catch (...) {
        setLoadedMessage(nullptr);
        throw;
    }
    try {
        setLoadedMessage(std::move(message));
    } catch (const std::bad_alloc &) {
        // Reported like any load error naming the message; the program goes on.
        setLoadedMessage(nullptr);
        throw Error(QStringLiteral("Cannot load file:\r\n\r\n%1\r\n\r\nNot enough memory to "
                                   "show the message.")
                        .arg(DisplayPath(path)));
    }
}

void TTarvinFrame::ShowLoadedMessage(const QString &path, std::unique_ptr<TGWMessage> message) {
    m_fileName = path;
    setLoadedMessage(std::move(message));
}

void TTarvinFrame::ShowLoading(const QString &path) {
    m_fileName = path;
    setLoadedMessage(nullptr);
    m_loadingLabel->show();
}

bool TTarvinFrame::IsShowingLoading() const {
    return !m_loadingLabel->isHidden();
}

void TTarvinFrame::LoadFromXml(const QString &xml) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromXml(xml);
    setLoadedMessage(std::move(message));
}

void TTarvinFrame::setLoadedMessage(std::unique_ptr<TGWMessage> message) {
    setUpdatesEnabled(false);
    struct Resume {
        QWidget *widget;
        ~Resume() { widget->setUpdatesEnabled(true); }
    } resume{this};

    // The panel and the list point into the old message: drop them first.
    m_header.reset();
    m_lvwAttachments->clear();
    m_entries.clear();
    m_infos.clear();
    m_message = std::move(message);
    m_htmlFilePath.clear();
    // The user's permission for remote content ends with the message it was given for.
    if (m_webBrowser)
        m_webBrowser->SetRemoteContentAllowed(false);
    m_htmlBodyFailed = false;
    m_loadingLabel->hide();
    if (m_message) {
        m_headerType = int(m_message->MessageType);
        rebuildHeader();
        m_pgCtrl->show();
        refreshView();
        fillProperties();
        fillSaveLog();
    } else {
        m_headerType = kNoHeaderType;
        rebuildHeader();
        m_pgCtrl->hide();
        m_reMessageBody->clear();
        m_reProperties->clear();
        m_reSaveLog->clear();
        if (m_webBrowser)
            m_webBrowser->LoadFile(QString());
    }
    emit StateChanged();
}

void TTarvinFrame::rebuildHeader() {
    m_header.reset();
    m_pgCtrl->setTabText(fpMessage, NotPostedTypeName(m_headerType));
    if (m_headerType < 0 || m_headerType >= kNoHeaderType)
        return;
    m_header = CreateHeaderPanel(TGWMessageType(m_headerType), m_pnlMessage);
    if (m_header) {
        static_cast<QVBoxLayout *>(m_pnlMessage->layout())->insertWidget(0, m_header.get());
        m_header->show();
    }
}

void TTarvinFrame::refreshView() {
    if (m_header)
        m_header->SetMessage(m_message.get());
    updateBodyView();
    fillAttachments();
}

// ---- body ----

void TTarvinFrame::SetPlainText(bool plainText) {
    if (plainText == m_plainText)
        return;
    if (!plainText && !HasHtmlBody())
        return;
    m_plainText = plainText;
    updateBodyView();
    emit OnViewModeChange(this);
}

// The HTML body's place while the frame waits for its first paint: the page's background,
// so that the page takes its place without a visible change of the layout.
class THtmlPlaceholder : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> Painted; // called once, after the next paint

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (Painted)
            QTimer::singleShot(0, this, std::exchange(Painted, nullptr));
    }
};

namespace {
// The longest an HTML body waits for its frame's first paint (a covered window is not painted).
constexpr int kHtmlStartDelayMs = 250;
} // namespace

void TTarvinFrame::waitForFirstPaint() {
    if (!m_htmlPlaceholder) {
        m_htmlPlaceholder = new THtmlPlaceholder(m_bodyStack);
        m_bodyStack->addWidget(m_htmlPlaceholder);
    }
    m_bodyStack->setCurrentWidget(m_htmlPlaceholder);
    updateRemoteBar();
    emit StateChanged();
    if (m_htmlWaiting)
        return;
    m_htmlWaiting = true;
    auto start = [this] {
        if (!m_htmlWaiting)
            return;
        m_htmlWaiting = false;
        m_htmlMayStart = true;
        if (m_bodyStack->currentWidget() == m_htmlPlaceholder)
            updateBodyView();
    };
    m_htmlPlaceholder->Painted = start;
    // A frame that is not on screen once its opener is through is never painted.
    QTimer::singleShot(0, this, [this, start] {
        if (!isVisible())
            start();
    });
    QTimer::singleShot(kHtmlStartDelayMs, this, start);
}

void TTarvinFrame::updateBodyView() {
    if (m_updatingBody)
        return;
    m_updatingBody = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_updatingBody};

    if (!m_plainText && !HasHtmlBody()) {
        m_plainText = true;
        emit OnViewModeChange(this);
    }
    if (m_plainText) {
        showPlainBody();
        return;
    }
    QString file;
    try {
        file = HtmlFileName();
    } catch (const Error &error) {
        // The body cannot be extracted: say so once, naming the message, and show the plain
        // text; the message counts as having no HTML body from now on.
        m_htmlBodyFailed = true;
        m_plainText = true;
        showPlainBody();
        emit OnViewModeChange(this);
        const QString name = m_fileName.isEmpty() ? MessageSubject() : DisplayPath(m_fileName);
        const QString text = QStringLiteral("The message '%1' cannot be shown as HTML: %2.\n\n"
                                            "It is shown as plain text.")
                                 .arg(name, error.message());
        // Said from the event loop, once a window opening the message is on screen, so that its
        // headers and attachments are seen behind the message; not for a message gone by then.
        QTimer::singleShot(0, this, [this, text, shown = m_message.get()] {
            if (m_message.get() == shown)
                showError(text);
        });
        return;
    }
    // Starting the HTML engine takes long: a frame that has not been painted yet shows its
    // header and an empty body first, and the page follows.
    if (!m_webBrowser && !m_htmlMayStart) {
        waitForFirstPaint();
        return;
    }
    IHtmlBody *view = HtmlView();
    if (!view) {
        // The HTML engine cannot be loaded: the plain text stands in, and the user is told
        // once per frame.
        m_plainText = true;
        showPlainBody();
        emit OnViewModeChange(this);
        showError(QStringLiteral("HTML bodies cannot be shown: %1.\n\n"
                                 "Messages are shown as plain text.")
                      .arg(m_htmlEngineError));
        return;
    }
    view->SetAllowedFolder(file.isEmpty() ? QString() : GetWorkFolder());
    view->LoadFile(file);
    m_bodyStack->setCurrentWidget(view->Widget());
    updateRemoteBar();
    emit StateChanged();
}

void TTarvinFrame::showPlainBody() {
    SetViewText(m_reMessageBody, m_message ? m_message->Body.PlainText : QString());
    m_bodyStack->setCurrentWidget(m_reMessageBody);
    updateRemoteBar();
    emit StateChanged();
    emit BodyShown();
}

void TTarvinFrame::SetLoadRemoteContent(bool load) {
    m_loadRemoteContent = load;
    if (m_webBrowser)
        m_webBrowser->SetLoadRemoteContent(load);
}

void TTarvinFrame::updateRemoteBar() {
    m_remoteBar->setVisible(m_message && HtmlViewShown() && m_webBrowser->RemoteContentBlocked());
}

IHtmlBody *TTarvinFrame::HtmlView() {
    if (!m_webBrowser && !m_htmlEngineFailed) {
        try {
            m_webBrowser = NewHtmlBody(m_bodyStack);
        } catch (const Error &error) {
            // Its HTML bodies are shown as plain text from then on (updateBodyView says so).
            m_htmlEngineFailed = true;
            m_htmlEngineError = error.message();
            return nullptr;
        }
        QWidget *widget = m_webBrowser->Widget();
        widget->setObjectName(QStringLiteral("WebBrowser"));
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        m_webBrowser->SetLoadRemoteContent(m_loadRemoteContent);
        m_bodyStack->addWidget(widget);
        m_webBrowser->OnBodyLoaded = [this](bool) { emit BodyShown(); };
        m_webBrowser->OnRemoteContentBlockedChanged = [this](bool) { updateRemoteBar(); };
        m_webBrowser->OnSelectionChanged = [this] { emit StateChanged(); };
        connect(widget, &QWidget::customContextMenuRequested, this, [this, widget](QPoint pos) {
            emit StateChanged();
            if (!m_popupMenuEdit->isEmpty())
                m_popupMenuEdit->popup(widget->mapToGlobal(pos));
        });
    }
    return m_webBrowser;
}

bool TTarvinFrame::HtmlViewShown() const {
    return m_webBrowser && m_bodyStack->currentWidget() == m_webBrowser->Widget();
}

QString TTarvinFrame::GetWorkFolder() {
    if (!m_workFolder)
        m_workFolder = std::make_unique<TWorkFolder>();
    return m_workFolder->Path();
}

QString TTarvinFrame::HtmlFileName() {
    if (m_htmlFilePath.isEmpty() && m_message && m_message->HasHtmlBody)
        m_htmlFilePath = ExtractHtmlBody(*m_message, GetWorkFolder());
    return m_htmlFilePath;
}

// ---- queries ----

QString TTarvinFrame::MessageFrom() const {
    return m_message ? m_message->CoreProperties.From : QString();
}

QString TTarvinFrame::MessageSubject() const {
    return m_message ? m_message->CoreProperties.Subject : QString();
}

QString TTarvinFrame::MessageId() const {
    return m_message ? m_message->ID.Mapi : QString();
}

QString TTarvinFrame::MessageTypeName() const {
    return m_message ? tarvin::MessageTypeName(int(m_message->MessageType),
                                               int(m_message->CoreProperties.Boxtype))
                     : QString();
}

bool TTarvinFrame::HasHtmlBody() const {
    return m_message && m_message->HasHtmlBody && !m_htmlBodyFailed && !m_htmlEngineFailed;
}

bool TTarvinFrame::HasPlainBody() const {
    return m_message && !m_message->Body.PlainText.isEmpty();
}

// ---- views ----

bool TTarvinFrame::ToolbarVisible() const {
    return !m_toolBar->isHidden();
}

void TTarvinFrame::SetToolbarVisible(bool visible) {
    m_toolBar->setVisible(visible);
    emit StateChanged();
}

int TTarvinFrame::ActivePage() const {
    return m_pgCtrl->currentIndex();
}

void TTarvinFrame::SetActivePage(int page) {
    m_pgCtrl->setCurrentIndex(page);
}

void TTarvinFrame::SetShowSystemAttachments(bool show) {
    if (show == m_showSystemAttachments)
        return;
    m_showSystemAttachments = show;
    fillAttachments();
}

void TTarvinFrame::SetAttachmentsVisible(bool visible) {
    if (visible == m_attachmentsVisible)
        return;
    m_attachmentsVisible = visible;
    m_lvwAttachments->setVisible(visible);
    if (visible) {
        QList<int> sizes = m_splMessage->sizes();
        int total = sizes.value(0) + sizes.value(1);
        if (total > kListHeight)
            m_splMessage->setSizes({total - kListHeight, kListHeight});
    }
    emit StateChanged();
}

// ---- properties and save log ----

void TTarvinFrame::fillProperties() {
    if (!m_message) {
        m_reProperties->clear();
        return;
    }
    const QFontMetrics metrics(m_reProperties->font());
    const QString text = TweakFormat(
        MessagePropertiesText(*m_message, DisplayPath(m_fileName)),
        [&metrics](const QString &s) { return metrics.horizontalAdvance(s); }, kTabStop);
    SetViewText(m_reProperties, text);
}

void TTarvinFrame::fillSaveLog() {
    m_reSaveLog->clear();
    if (!m_message)
        return;
    SetViewText(m_reSaveLog, MessageSaveLogText(*m_message));
}

// ---- copy and select all ----

QPlainTextEdit *TTarvinFrame::activeTextView() const {
    switch (m_pgCtrl->currentIndex()) {
    case fpProperties:
        return m_reProperties;
    case fpSaveLog:
        return m_reSaveLog;
    default:
        return m_reMessageBody;
    }
}

bool TTarvinFrame::CanCopy() const {
    // In HTML mode the message tab shows the HTML view, so Copy and Select All act on what the
    // user sees there rather than on the hidden plain-text view.
    if (m_pgCtrl->currentIndex() == fpMessage && HtmlViewShown())
        return m_webBrowser->HasSelection();
    const QTextCursor cursor = activeTextView()->textCursor();
    return cursor.selectionEnd() > cursor.selectionStart();
}

bool TTarvinFrame::CanSelectAll() const {
    if (m_pgCtrl->currentIndex() == fpMessage && HtmlViewShown())
        return true;
    QPlainTextEdit *view = activeTextView();
    const QTextCursor cursor = view->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart() < view->document()->characterCount() - 1;
}

void TTarvinFrame::EditCopy() {
    if (m_pgCtrl->currentIndex() == fpMessage && HtmlViewShown())
        m_webBrowser->Copy();
    else
        activeTextView()->copy();
}

void TTarvinFrame::EditSelectAll() {
    if (m_pgCtrl->currentIndex() == fpMessage && HtmlViewShown())
        m_webBrowser->SelectAll();
    else
        activeTextView()->selectAll();
    emit StateChanged();
}

void TTarvinFrame::showError(const QString &text) {
    Desktop().ShowError(this, QApplication::applicationDisplayName(), text);
}

} // namespace tarvin
