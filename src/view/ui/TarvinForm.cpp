#include "view/ui/TarvinForm.h"

#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "model/GWMessage.h"
#include "view/ViewTexts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

namespace tarvin {

TTarvinForm::TTarvinForm(QWidget *parent) : QMainWindow(parent) {
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

    m_actions = new TViewerActionHandler(TViewerHost::Viewer, this);
    m_actions->SetCurrentFrame(m_viewer);
    connect(m_actions, &TViewerActionHandler::CloseRequested, this, &QWidget::close);
    // Window-wide keys for the actions that only live on the toolbar and in menus.
    addActions({m_actions->actPrint, m_actions->actFont, m_actions->actFindInMessages,
                m_actions->actExportPdf});
    createMenus();

    // Esc closes the window wherever the focus is, the HTML view included.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(m_viewer, &TTarvinFrame::OnOpenMessage, this,
            [this](TTarvinFrame *, const TOpenMessageRequest &request) {
                emit OnOpenMessage(this, request);
            });
}

TTarvinForm::~TTarvinForm() = default;

void TTarvinForm::createMenus() {
    const TViewerActionHandler &a = *m_actions;
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(a.actPrint);
    file->addAction(a.actExportPdf);
    file->addSeparator();
    file->addAction(a.actSaveAllAttachments);
    file->addSeparator();
    file->addAction(a.actClose);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addActions({a.acEditCopy, a.acEditSelectAll});
    edit->addSeparator();
    edit->addAction(a.actFont);

    QMenu *search = menuBar()->addMenu(QStringLiteral("Search"));
    search->addAction(a.actFindInMessages);

    QMenu *view = menuBar()->addMenu(QStringLiteral("View"));
    view->addActions({a.actToolbar, a.actAttachmentWindow, a.actSystemAttachments});
    view->addSeparator();
    view->addActions({a.actMessage, a.actProperties, a.actSaveLog});
    view->addSeparator();
    view->addActions({a.actPlainText, a.actHTML});

    QMenu *actions = menuBar()->addMenu(QStringLiteral("Actions"));
    actions->addActions({a.actReplyMenu, a.acForward, a.acForwardAsAtt});

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->addAction(a.actAppHelp);
    help->addSeparator();
    help->addAction(a.actAboutApp);

    for (QMenu *menu : {file, edit, search, view, actions, help})
        connect(menu, &QMenu::aboutToShow, m_actions, &TViewerActionHandler::UpdateActions);
}

void TTarvinForm::SetFileName(const QString &path) {
    m_viewer->SetFileName(path);
    messageShown();
}

void TTarvinForm::ShowLoadedMessage(const QString &path, std::unique_ptr<TGWMessage> message) {
    m_viewer->ShowLoadedMessage(path, std::move(message));
    messageShown();
}

void TTarvinForm::LoadFromXml(const QString &xml) {
    m_viewer->LoadFromXml(xml);
    messageShown();
}

void TTarvinForm::messageShown() {
    updateTitle();
    updateStatusText();
}

void TTarvinForm::SetPlainText(bool plainText) {
    m_viewer->SetPlainText(plainText);
}

void TTarvinForm::SetAttachmentsVisible(bool visible) {
    m_viewer->SetAttachmentsVisible(visible);
}

void TTarvinForm::SetShowSystemAttachments(bool show) {
    m_viewer->SetShowSystemAttachments(show);
}

void TTarvinForm::SetToolbarVisible(bool visible) {
    m_viewer->SetToolbarVisible(visible);
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
    m_actions->UpdateActions();
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

} // namespace tarvin
