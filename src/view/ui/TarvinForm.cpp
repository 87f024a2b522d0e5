#include "view/ui/TarvinForm.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "model/Attachment.h"
#include "util/Manual.h"
#include "view/ViewTexts.h"
#include "view/ui/ViewImages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVector>

namespace tarvin {

namespace {

QVector<TTarvinForm *> &LiveWindows() {
    static QVector<TTarvinForm *> windows;
    return windows;
}

QString ProductName() {
    QString name = VersionKey(9);
    return name.isEmpty() ? QApplication::applicationName() : name;
}

} // namespace

TTarvinForm::TTarvinForm(QWidget *parent) : QMainWindow(parent) {
    LiveWindows().append(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ProductIcon());
    setWindowTitle(ProductName());
    setMinimumSize(360, 480);
    resize(720, 640);

    m_viewer = new TTarvinFrame(this);
    m_viewer->setObjectName(QStringLiteral("Viewer"));
    setCentralWidget(m_viewer);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setTextFormat(Qt::PlainText);
    // The label takes the room the status bar has; a long text never widens the window.
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusLabel->setMinimumWidth(0);
    m_statusLabel->installEventFilter(this);
    statusBar()->addWidget(m_statusLabel, 1);
    statusBar()->setSizeGripEnabled(true);

    createActions();
    createMenus();

    // Esc closes the window wherever the focus is, the HTML view included.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(m_viewer, &TTarvinFrame::OnViewModeChange, this, [this] { UpdateActions(); });
    connect(m_viewer, &TTarvinFrame::OnPageChange, this, [this] { UpdateActions(); });
    connect(m_viewer, &TTarvinFrame::AttachmentSelectionChanged, this, [this] { UpdateActions(); });
    connect(m_viewer, &TTarvinFrame::OnOpenMessage, this,
            [this](TTarvinFrame *, const TOpenMessageRequest &request) {
                emit OnOpenMessage(this, request);
            });
    UpdateActions();
}

TTarvinForm::~TTarvinForm() {
    LiveWindows().removeAll(this);
}

int TTarvinForm::WindowCount() {
    return int(LiveWindows().size());
}

void TTarvinForm::createActions() {
    auto action = [this](const QString &caption, auto slot) {
        auto *a = new QAction(caption, this);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    actPrint = new QAction(QStringLiteral("Print..."), this);
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrint->setToolTip(QStringLiteral("Print"));
    actClose = action(QStringLiteral("Close"), [this] { close(); });
    actClose->setToolTip(QStringLiteral("Close"));

    actToolbar = action(QStringLiteral("Toolbar"), [this](bool on) { SetToolbarVisible(on); });
    actAttachmentWindow =
        action(QStringLiteral("Attachment Window"), [this](bool on) { SetAttachmentsVisible(on); });
    actSystemAttachments = action(QStringLiteral("System Attachments"),
                                  [this](bool on) { SetShowSystemAttachments(on); });
    for (QAction *a : {actToolbar, actAttachmentWindow, actSystemAttachments})
        a->setCheckable(true);

    m_pageGroup = new QActionGroup(this);
    actMessage = action(QStringLiteral("Message"), [this] { m_viewer->SetActivePage(fpMessage); });
    actProperties =
        action(QStringLiteral("Properties"), [this] { m_viewer->SetActivePage(fpProperties); });
    actSaveLog = action(QStringLiteral("Save Log"), [this] { m_viewer->SetActivePage(fpSaveLog); });
    for (QAction *a : {actMessage, actProperties, actSaveLog}) {
        a->setCheckable(true);
        a->setToolTip(a->text());
        m_pageGroup->addAction(a);
    }
    actMessage->setChecked(true);

    m_bodyGroup = new QActionGroup(this);
    actHTML = action(QStringLiteral("HTML"), [this] { SetPlainText(false); });
    actPlainText = action(QStringLiteral("Plain Text"), [this] { SetPlainText(true); });
    for (QAction *a : {actHTML, actPlainText}) {
        a->setCheckable(true);
        a->setToolTip(a->text());
        m_bodyGroup->addAction(a);
    }

    actOpenAttachment =
        action(QStringLiteral("Open"), [this] { m_viewer->OpenSelectedAttachment(); });
    actSaveAs =
        action(QStringLiteral("Save As..."), [this] { m_viewer->SaveSelectedAttachmentAs(); });
    actFont = action(QStringLiteral("Font..."), [this] { chooseFont(); });
    actFont->setShortcut(QKeySequence(Qt::Key_F9));
    actFindInMessages = new QAction(QStringLiteral("Find in Messages..."), this);
    actFindInMessages->setShortcut(QKeySequence(Qt::Key_F3));
    actAppHelp = action(ProductName() + QStringLiteral(" Help"), [this] { openHelp(); });
    actAboutApp = action(QStringLiteral("About..."), [this] { showAbout(); });
    actReplyMenu = action(QStringLiteral("Reply..."), [this] { m_viewer->acReply->trigger(); });

    for (auto [a, name] : {std::pair{actPrint, "actPrint"},
                           {actClose, "actClose"},
                           {actToolbar, "actToolbar"},
                           {actAttachmentWindow, "actAttachmentWindow"},
                           {actSystemAttachments, "actSystemAttachments"},
                           {actMessage, "actMessage"},
                           {actProperties, "actProperties"},
                           {actSaveLog, "actSaveLog"},
                           {actHTML, "actHTML"},
                           {actPlainText, "actPlainText"},
                           {actOpenAttachment, "actOpenAttachment"},
                           {actSaveAs, "actSaveAs"},
                           {actFont, "actFont"},
                           {actFindInMessages, "actFindInMessages"},
                           {actAppHelp, "actAppHelp"},
                           {actAboutApp, "actAboutApp"}})
        a->setObjectName(QLatin1String(name));

    // Printing and finding arrive with their own windows; until then they stay disabled.
    actPrint->setEnabled(false);
    actFindInMessages->setEnabled(false);

    m_viewer->AttachHostActions(TFrameHostActions{
        actClose, actPrint, actMessage, actProperties, actSaveLog, actHTML, actPlainText,
        actOpenAttachment, actSaveAs, actSystemAttachments, actFont});
    // Window-wide shortcuts for the actions that only live on the toolbar and menus.
    addActions({actPrint, actFont, actFindInMessages});
}

void TTarvinForm::createMenus() {
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(actPrint);
    file->addSeparator();
    file->addAction(actClose);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addAction(m_viewer->acEditCopy);
    edit->addAction(m_viewer->acEditSelectAll);
    edit->addSeparator();
    edit->addAction(actFont);

    QMenu *search = menuBar()->addMenu(QStringLiteral("Search"));
    search->addAction(actFindInMessages);

    m_mnuView = menuBar()->addMenu(QStringLiteral("View"));
    m_mnuView->addAction(actToolbar);
    m_mnuView->addAction(actAttachmentWindow);
    m_mnuView->addAction(actSystemAttachments);
    m_mnuView->addSeparator();
    m_mnuView->addAction(actMessage);
    m_mnuView->addAction(actProperties);
    m_mnuView->addAction(actSaveLog);
    m_mnuView->addSeparator();
    m_mnuView->addAction(actPlainText);
    m_mnuView->addAction(actHTML);

    QMenu *actions = menuBar()->addMenu(QStringLiteral("Actions"));
    actions->addAction(actReplyMenu);
    actions->addAction(m_viewer->acForward);
    actions->addAction(m_viewer->acForwardAsAtt);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->addAction(actAppHelp);
    help->addSeparator();
    help->addAction(actAboutApp);

    for (QMenu *menu : {file, edit, search, m_mnuView, actions, help}) {
        connect(menu, &QMenu::aboutToShow, this, [this] {
            m_viewer->UpdateEditActions();
            UpdateActions();
        });
    }
}

void TTarvinForm::UpdateActions() {
    const bool messageTab = m_viewer->ActivePage() == fpMessage;
    actToolbar->setChecked(m_viewer->ToolbarVisible());
    actAttachmentWindow->setChecked(m_viewer->AttachmentsVisible());
    actSystemAttachments->setChecked(m_viewer->ShowSystemAttachments());
    switch (m_viewer->ActivePage()) {
    case fpProperties:
        actProperties->setChecked(true);
        break;
    case fpSaveLog:
        actSaveLog->setChecked(true);
        break;
    default:
        actMessage->setChecked(true);
        break;
    }
    const bool hasMessage = m_viewer->Message() != nullptr;
    for (QAction *a : {actMessage, actProperties, actSaveLog})
        a->setEnabled(hasMessage);
    actHTML->setEnabled(hasMessage && messageTab && m_viewer->HasHtmlBody());
    actPlainText->setEnabled(hasMessage && messageTab && m_viewer->HasPlainBody());
    (m_viewer->PlainText() ? actPlainText : actHTML)->setChecked(true);

    const TAttachment *selected = m_viewer->SelectedAttachment();
    const bool hasData = selected && selected->HasData();
    for (QAction *a : {actOpenAttachment, actSaveAs}) {
        a->setVisible(selected != nullptr);
        a->setEnabled(hasData);
    }
    actFont->setEnabled(hasMessage && messageTab && m_viewer->PlainText());
    actReplyMenu->setEnabled(m_viewer->acReply->isEnabled());
}

void TTarvinForm::SetFileName(const QString &path) {
    m_viewer->SetFileName(path);
    messageShown();
}

void TTarvinForm::LoadFromXml(const QString &xml) {
    m_viewer->LoadFromXml(xml);
    messageShown();
}

void TTarvinForm::messageShown() {
    updateTitle();
    updateStatusText();
    UpdateActions();
}

void TTarvinForm::SetPlainText(bool plainText) {
    m_viewer->SetPlainText(plainText);
    UpdateActions();
}

void TTarvinForm::SetAttachmentsVisible(bool visible) {
    m_viewer->SetAttachmentsVisible(visible);
    UpdateActions();
}

void TTarvinForm::SetShowSystemAttachments(bool show) {
    m_viewer->SetShowSystemAttachments(show);
    UpdateActions();
}

void TTarvinForm::SetToolbarVisible(bool visible) {
    m_viewer->SetToolbarVisible(visible);
    UpdateActions();
}

void TTarvinForm::SetAttachedMessage(bool attached) {
    if (attached == m_attachedMessage)
        return;
    m_attachedMessage = attached;
    updateStatusText();
}

QString TTarvinForm::StatusHint() const {
    return tarvin::StatusHint(m_attachedMessage, m_viewer->MessageSubject());
}

QString TTarvinForm::StatusText() const {
    return m_statusLabel->text();
}

void TTarvinForm::updateStatusText() {
    QString text = StatusHint();
    if (!m_attachedMessage) {
        const QFontMetrics metrics(m_statusLabel->font());
        const int room = std::min(statusBar()->width() - 20, m_statusLabel->contentsRect().width());
        text = ShortenText(text, room,
                           [&metrics](const QString &s) { return metrics.horizontalAdvance(s); });
    }
    m_statusLabel->setText(text);
    m_statusLabel->setToolTip(StatusHint());
}

void TTarvinForm::updateTitle() {
    setWindowTitle(
        ViewerTitle(m_viewer->MessageTypeName(), m_viewer->MessageFrom(), ProductName()));
}

void TTarvinForm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    updateTitle();
    updateStatusText();
    UpdateActions();
}

bool TTarvinForm::eventFilter(QObject *watched, QEvent *event) {
    // The status bar lays its label out after the window's own resize.
    if (watched == m_statusLabel && event->type() == QEvent::Resize)
        updateStatusText();
    return QMainWindow::eventFilter(watched, event);
}

void TTarvinForm::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    updateStatusText();
}

void TTarvinForm::chooseFont() {
    if (!actFont->isEnabled())
        return;
    QString font = m_viewer->PlainTextView()->font().toString();
    QPointer<TTarvinForm> self(this);
    // The window may close while the dialog runs.
    if (!Desktop().AskFont(this, font) || !self)
        return;
    QFont chosen;
    if (chosen.fromString(font))
        m_viewer->PlainTextView()->setFont(chosen);
}

void TTarvinForm::openHelp() {
    try {
        OpenManual();
    } catch (const Error &error) {
        Desktop().ShowError(this, ProductName(), error.message());
    }
}

void TTarvinForm::showAbout() {
    // On the heap: when the window goes while the box runs, it takes the box with it.
    QPointer<TAboutBoxForm> about = new TAboutBoxForm(this);
    Desktop().ExecDialog(about);
    delete about.data();
}

} // namespace tarvin
