#include "explorer/ui/ExplorerForm.h"

#include "base/AppFolders.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "explorer/MessageRowText.h"
#include "explorer/ui/ExplorerActions.h"
#include "explorer/ui/ExplorerImages.h"
#include "explorer/ui/FolderTree.h"
#include "explorer/ui/QuickViewController.h"
#include "mail/Config.h"
#include "util/Manual.h"
#include "util/WorkFolder.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace tarvin {

namespace {

constexpr int kHeaderStripHeight = 40;
constexpr int kFolderPaneWidth = 232;
constexpr int kDesignedPaneHeight = 246;
const QColor kHeaderStripColour(220, 220, 220);

// Changes the cursor to the hourglass for the lifetime of the object.
struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

QWidget *headerStrip(QWidget *parent, const char *name) {
    auto *strip = new QWidget(parent);
    strip->setObjectName(QString::fromLatin1(name));
    strip->setFixedHeight(kHeaderStripHeight);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, kHeaderStripColour);
    palette.setColor(QPalette::WindowText, Qt::black);
    strip->setPalette(palette);
    return strip;
}

// A named panel whose children stack top to bottom without margins; returns its layout.
QVBoxLayout *stackPanel(QWidget *parent, const char *name) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

TExplorerForm::TExplorerForm(const QString &settingsFolder, QWidget *parent)
    : QMainWindow(parent),
      m_settingsFolder(settingsFolder.isEmpty() ? AppDataFolder() : settingsFolder) {
    setObjectName(QStringLiteral("ExplorerForm"));
    setWindowIcon(ProductIcon());
    // Work folders left behind by an earlier run that ended abruptly.
    try {
        DeleteTempFolders(QStringLiteral("_vwr????"));
    } catch (const Error &) {
        // No private temporary folder: nothing to sweep.
    }
    m_viewerActions = new TViewerActionHandler(TViewerHost::Explorer, this);
    m_actions = new TExplorerActions(m_viewerActions, this);
    buildLayout();
    connectActions();
    m_gsWarning->hide();
    m_spMessageCount->hide();
    resize(kDesignedWidth, kDesignedHeight);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    CentreOnScreen(this);
    m_viewers.SetMainWindow(this);
    LoadConfig();
    setWindowTitle(VersionKey(2) + QLatin1Char(' ') + VersionKey(9));
    UpdateActions();
}

TExplorerForm::~TExplorerForm() {
    if (m_activated) {
        try {
            SaveConfig();
        } catch (const Error &error) {
            showError(error.message());
        }
    }
}

void TExplorerForm::buildLayout() {
    m_toolBar = new QToolBar(QStringLiteral("tbrExplorer"), this);
    m_toolBar->setObjectName(QStringLiteral("tbrExplorer"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    m_splExplorerViewer = new QSplitter(Qt::Vertical, this);
    m_splExplorerViewer->setObjectName(QStringLiteral("splExplorerViewer"));
    m_splExplorerViewer->setHandleWidth(3);
    m_splExplorerViewer->setChildrenCollapsible(false);
    setCentralWidget(m_splExplorerViewer);

    m_pnlMain = new QWidget(m_splExplorerViewer);
    m_pnlMain->setObjectName(QStringLiteral("pnlMain"));
    auto *mainLayout = new QHBoxLayout(m_pnlMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    m_splFolderFile = new QSplitter(Qt::Horizontal, m_pnlMain);
    m_splFolderFile->setObjectName(QStringLiteral("splFolderFile"));
    m_splFolderFile->setHandleWidth(3);
    m_splFolderFile->setChildrenCollapsible(false);
    mainLayout->addWidget(m_splFolderFile);

    QVBoxLayout *foldersLayout = stackPanel(m_splFolderFile, "pnlFolders");
    QWidget *pnlFolders = foldersLayout->parentWidget();
    QWidget *foldersTop = headerStrip(pnlFolders, "pnlFoldersTop");
    auto *imgAccount = new QLabel(foldersTop);
    imgAccount->setObjectName(QStringLiteral("imgAccount"));
    imgAccount->setPixmap(ExplorerPixmap(TExplorerImage::Account, 22));
    imgAccount->setGeometry(9, 9, 22, 22);
    foldersLayout->addWidget(foldersTop);
    m_folders = new TFolderTree(pnlFolders);
    foldersLayout->addWidget(m_folders);

    QVBoxLayout *messagesLayout = stackPanel(m_splFolderFile, "pnlMessages");
    QWidget *pnlMessages = messagesLayout->parentWidget();
    QWidget *messagesTop = headerStrip(pnlMessages, "pnlMessagesTop");
    auto *topLayout = new QHBoxLayout(messagesTop);
    topLayout->setContentsMargins(9, 0, 9, 0);
    m_imgFolder = new QLabel(messagesTop);
    m_imgFolder->setObjectName(QStringLiteral("imgFolder"));
    m_imgFolder->setFixedSize(16, 16);
    m_lblFolder = new QLabel(messagesTop);
    m_lblFolder->setObjectName(QStringLiteral("lblFolder"));
    QFont bold = m_lblFolder->font();
    bold.setBold(true);
    m_lblFolder->setFont(bold);
    topLayout->addWidget(m_imgFolder);
    topLayout->addWidget(m_lblFolder, 1);
    messagesLayout->addWidget(messagesTop);
    m_messages = CreateMessageList(pnlMessages);
    messagesLayout->addWidget(m_messages);
    m_splFolderFile->setStretchFactor(1, 1);
    m_splFolderFile->setSizes({kFolderPaneWidth, kDesignedWidth - kFolderPaneWidth - 3});

    m_quickViewer = new TTarvinFrame(m_splExplorerViewer);
    m_quickViewer->setObjectName(QStringLiteral("QuickViewer"));
    m_quickView = new TQuickViewController(m_quickViewer, m_messages, this);
    m_splExplorerViewer->setStretchFactor(1, 1);
    m_paneHeight = kDesignedPaneHeight;
    m_splExplorerViewer->setSizes({kDesignedPaneHeight, kDesignedHeight - kDesignedPaneHeight});
    m_pnlMain->installEventFilter(this);

    m_spMessageCount = new QLabel(statusBar());
    m_spMessageCount->setObjectName(QStringLiteral("spMessageCount"));
    statusBar()->addWidget(m_spMessageCount);
    m_gsWarning = new QWidget(statusBar());
    m_gsWarning->setObjectName(QStringLiteral("gsWarning"));
    auto *warningLayout = new QHBoxLayout(m_gsWarning);
    warningLayout->setContentsMargins(4, 0, 4, 0);
    auto *glyph = new QLabel(m_gsWarning);
    glyph->setPixmap(ExplorerPixmap(TExplorerImage::Warning, 16));
    m_warningText = new QLabel(m_gsWarning);
    m_warningText->setAlignment(Qt::AlignCenter);
    warningLayout->addWidget(glyph);
    warningLayout->addWidget(m_warningText);
    statusBar()->addWidget(m_gsWarning);
    statusBar()->setSizeGripEnabled(true);

    // The pane's actions act on the pane; its Close button hides it.
    m_viewerActions->SetCurrentFrame(m_quickViewer);
    connect(m_viewerActions, &TViewerActionHandler::CloseRequested, m_actions->actQuickViewer,
            &QAction::trigger);
    connect(m_viewerActions, &TViewerActionHandler::HelpRequested, this, &TExplorerForm::openHelp);
    connect(m_viewerActions, &TViewerActionHandler::AboutRequested, this,
            &TExplorerForm::ShowAbout);
    TExplorerActions *a = m_actions;
    a->BuildMenus(menuBar());
    a->BuildToolBar(m_toolBar, m_quickViewer);
    m_messages->SetContextMenu(a->BuildListMenu(m_messages));
    // Shortcuts of actions that live only in menus work window-wide.
    addActions({a->actPrint, a->actFindInMessages, a->actQuickViewer, a->actFont, a->actRefresh,
                a->actExportPdf});
}

void TExplorerForm::connectActions() {
    TExplorerActions *a = m_actions;
    connect(a->actOpen, &QAction::triggered, m_quickView, &TQuickViewController::Open);
    connect(a->actClose, &QAction::triggered, this, &QWidget::close);
    connect(a->actFindInMessages, &QAction::triggered, this,
            [this] { emit FindInMessagesRequested(CurrentFolder()); });
    connect(a->actQuickViewer, &QAction::toggled, this, &TExplorerForm::setQuickViewerVisible);
    connect(a->actConvertDatesLog, &QAction::triggered, this, &TExplorerForm::ShowConvertDatesLog);
    connect(a->actRefresh, &QAction::triggered, m_messages, &TExplorerMessageList::Refresh);
    connect(a->actConvertDates, &QAction::triggered, this, [this] {
        const QString folder = TFolderTree::ItemPath(m_folders->currentItem());
        if (!folder.isEmpty())
            CheckFolderDates(folder, false);
    });
    connect(a->actOptions, &QAction::triggered, this, &TExplorerForm::ShowOptions);
    connect(a->actExportPdf, &QAction::triggered, this, [this] {
        const QStringList files = m_messages->SelectedFiles();
        if (!files.isEmpty())
            emit ExportPdfRequested(files, m_actions->actSystemAttachments->isChecked());
    });
    connect(a->actSaveAllAttachments, &QAction::triggered, this, [this] {
        const QStringList files = m_messages->SelectedFiles();
        if (!files.isEmpty())
            emit SaveAllAttachmentsRequested(files, m_actions->actSystemAttachments->isChecked());
    });
    connect(a->actAppHelp, &QAction::triggered, this, &TExplorerForm::openHelp);
    connect(a->actAboutApp, &QAction::triggered, this, &TExplorerForm::ShowAbout);
    connect(m_folders, &TFolderTree::FolderChanged, this, &TExplorerForm::folderSelected);
    connect(m_quickView, &TQuickViewController::OpenViewerRequested, this,
            [this](const QString &path) {
                if (TTarvinForm *window = OpenViewerWindow(QFileInfo(path).absolutePath(), path, {},
                                                           {}, false, viewSettings())) {
                    window->raise();
                    window->activateWindow();
                }
            });
    connect(m_quickView, &TQuickViewController::QuickViewFileChanged, this,
            &TExplorerForm::UpdateActions);
    connect(m_messages, &TExplorerMessageList::CountChanged, this, [this](const QString &text) {
        m_spMessageCount->setText(text);
        m_spMessageCount->setVisible(!text.isEmpty());
    });
    // States follow whatever the user did last.
    connect(m_folders, &QTreeWidget::currentItemChanged, this, &TExplorerForm::UpdateActions);
    connect(m_messages->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TExplorerForm::UpdateActions);
}

void TExplorerForm::UpdateActions() {
    TExplorerActionState state;
    state.RowSelected = !m_messages->SelectedFile().isEmpty();
    state.QuickViewFileSet = !m_quickView->QuickViewFile().isEmpty();
    state.FolderFocused = m_folders->currentItem() != nullptr;
    state.FindAvailable = m_features.Find;
    state.PrintAvailable = m_features.Print;
    state.AnyRowSelected = m_messages->selectionModel()->hasSelection();
    state.ExportAvailable = m_features.Export;
    m_actions->Update(state);
}

void TExplorerForm::SetFeatures(const TViewerFeatures &features) {
    m_features = features;
    m_viewerActions->SetFeatures(features);
    UpdateActions();
}

void TExplorerForm::ActivateExplorer() {
    if (m_activated)
        return;
    m_folders->setUpdatesEnabled(false);
    m_folders->Activate();
    const TFolderViews views = LoadFolderViews(m_settingsFolder + QStringLiteral("Folders.DAT"));
    const auto saved = views.find(QString::fromLatin1(kFoldersTreeView));
    if (saved != views.end())
        m_folders->ApplyView(*saved);
    else
        m_folders->SelectFolder(QDir::homePath());
    m_folders->setUpdatesEnabled(true);
    if (m_folders->currentItem())
        m_folders->scrollToItem(m_folders->currentItem());

    m_quickViewer->SetActivePage(fpMessage);
    m_quickViewer->SetSourceFolder(CurrentFolder());
    connect(m_quickViewer, &TTarvinFrame::OnViewModeChange, this, [this](TTarvinFrame *pane) {
        m_currentBodyForm = pane->PlainText() ? 1 : 0;
        (pane->PlainText() ? m_actions->actPlainText : m_actions->actHtml)->setChecked(true);
        UpdateActions();
    });
    connect(m_quickViewer, &TTarvinFrame::OnPageChange, this, [this](TTarvinFrame *pane) {
        const int page = pane->ActivePage();
        QAction *tab = page == fpProperties ? m_actions->actProperties
                       : page == fpSaveLog  ? m_actions->actSaveLog
                                            : m_actions->actMessage;
        tab->setChecked(true);
        UpdateActions();
    });
    connect(m_quickViewer, &TTarvinFrame::OnOpenMessage, this,
            [this](TTarvinFrame *, const TOpenMessageRequest &request) {
                TViewSettings settings{request.ShowSystemAttachments, request.AttachmentsVisible,
                                       request.ToolbarVisible, request.LoadRemoteContent};
                if (TTarvinForm *window =
                        OpenViewerWindow(CurrentFolder(), QString(), request.MessageId, request.Xml,
                                         true, settings)) {
                    window->raise();
                    window->activateWindow();
                }
            });
    // The selection made while the tree was filled arrives 50 ms later, now taken up.
    m_activated = true;
}

void TExplorerForm::OpenCommandLineFiles(const QStringList &arguments, bool activate) {
    m_pendingFiles = arguments;
    OpenPendingFiles(activate);
}

void TExplorerForm::OpenPendingFiles(bool activate) {
    if (m_pendingFiles.isEmpty()) {
        show();
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        if (activate)
            ActivateExplorer();
        return;
    }
    // Only the first entry is used.
    const QString first = m_pendingFiles.takeFirst();
    m_pendingFiles.clear();
    bool opened = false;
    const QFileInfo info(first);
    if (info.suffix().compare(QStringLiteral("pml"), Qt::CaseInsensitive) == 0) {
        // The file is read in the background; its window comes up in front once it is read,
        // and when it cannot be shown the viewer windows end the program as below.
        if (TTarvinForm *window = OpenViewerWindow(info.absolutePath(), info.absoluteFilePath(), {},
                                                   {}, false, viewSettings())) {
            window->raise();
            window->activateWindow();
            opened = true;
        } else {
            opened = m_viewers.IsOpening(info.absoluteFilePath());
        }
    } else {
        try {
            // With no program for the type, the desktop offers the Open With choice.
            Desktop().OpenFile(this, info.absoluteFilePath());
        } catch (const Error &error) {
            showError(QStringLiteral("Cannot open '%1': %2")
                          .arg(info.absoluteFilePath(), error.message()));
        }
    }
    if (!opened && isHidden() && m_viewers.Windows().isEmpty() && !m_viewers.IsOpeningAny())
        endProgram();
}

void TExplorerForm::endProgram() {
    m_endRequested = true;
    QCoreApplication::quit();
}

TTarvinForm *TExplorerForm::OpenViewerWindow(const QString &folder, const QString &fileName,
                                             const QString &messageId, const QString &xml,
                                             bool embedded, const TViewSettings &settings) {
    return m_viewers.OpenViewerWindow(folder, fileName, messageId, xml, embedded, settings);
}

TViewSettings TExplorerForm::viewSettings() const {
    return TViewSettings{
        m_actions->actSystemAttachments->isChecked(), m_actions->actAttachmentWindow->isChecked(),
        m_actions->actQuickViewToolbar->isChecked(), AppConfig().LoadRemoteContent};
}

QString TExplorerForm::QuickViewFile() const {
    return m_quickView->QuickViewFile();
}

void TExplorerForm::setQuickViewerVisible(bool visible) {
    if (visible) {
        TWaitCursor wait;
        m_quickViewer->show();
        const int total = m_splExplorerViewer->height();
        m_splExplorerViewer->setSizes({m_paneHeight, std::max(0, total - m_paneHeight - 3)});
        // The pane holds the quick-view file already: it loads whether shown or not.
        if (m_folders->currentItem())
            m_folders->scrollToItem(m_folders->currentItem());
        if (m_messages->currentIndex().isValid())
            m_messages->scrollTo(m_messages->currentIndex());
    } else {
        m_quickViewer->hide();
    }
    UpdateActions();
}

bool TExplorerForm::eventFilter(QObject *watched, QEvent *event) {
    // While the pane is shown, the upper area's height is the one to restore.
    if (watched == m_pnlMain && event->type() == QEvent::Resize && m_quickViewer->isVisible())
        m_paneHeight = m_pnlMain->height();
    return QMainWindow::eventFilter(watched, event);
}

void TExplorerForm::folderSelected(const QString &folder) {
    if (folder.isEmpty() || !m_activated)
        return;
    if (!m_checkingDates) {
        m_checkFromFolderChange = true;
        try {
            CheckFolderDates(folder, true);
        } catch (const Error &error) {
            showError(error.message());
        }
        m_checkFromFolderChange = false;
    }
    updateFolderHeader(folder);
    const TFolderDateMode mode = !m_folderConverted ? TFolderDateMode::NotConverted
                                 : m_folderTimesUtc ? TFolderDateMode::ConvertedUtc
                                                    : TFolderDateMode::ConvertedLocal;
    m_messages->SetFolder(folder, mode);
    m_quickView->Clear();
    UpdateActions();
}

void TExplorerForm::updateFolderHeader(const QString &folder) {
    const QTreeWidgetItem *item = m_folders->currentItem();
    m_imgFolder->setPixmap(FolderIcon(folder).pixmap(16, 16));
    m_lblFolder->setText(item ? item->text(0) : QFileInfo(folder).fileName());
    m_lblFolder->setToolTip(folder);
}

QString TExplorerForm::CurrentFolder() const {
    return m_folders->CurrentFolder();
}

bool TExplorerForm::SelectFolder(const QString &folder) {
    return m_folders->SelectFolder(folder);
}

QString TExplorerForm::DateWarning() const {
    return m_gsWarning->isVisibleTo(this) ? m_warningText->text() : QString();
}

QString TExplorerForm::MessageCountText() const {
    return m_spMessageCount->isVisibleTo(this) ? m_spMessageCount->text() : QString();
}

void TExplorerForm::setDateWarning(const QString &text) {
    m_warningText->setText(text);
    m_gsWarning->setVisible(!text.isEmpty());
}

void TExplorerForm::openHelp() {
    try {
        OpenManual();
    } catch (const Error &error) {
        showError(error.message());
    }
}

void TExplorerForm::showError(const QString &text) {
    Desktop().ShowError(this, VersionKey(9), text);
}

void TExplorerForm::closeEvent(QCloseEvent *event) {
    // Closing the explorer ends the program; the viewer windows close with it.
    event->accept();
    QCoreApplication::quit();
}

} // namespace tarvin
