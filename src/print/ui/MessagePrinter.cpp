#include "print/ui/MessagePrinter.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/ui/WindowSupport.h"
#include "base/ui/web/MessagePageSettings.h"
#include "model/GWMessage.h"
#include "print/ui/PagePainter.h"
#include "print/ui/PrintDocumentBuilder.h"
#include "util/SafeFileName.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QMutexLocker>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QShowEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitPrintImages() {
    Q_INIT_RESOURCE(print_images);
}

namespace tarvin {

namespace {

QWebEngineProfile *PrintProfile() {
    static QWebEngineProfile *profile = NewMessageProfile(QCoreApplication::instance());
    return profile;
}

// The print page follows no link and opens no window.
class TPrintPage : public QWebEnginePage {
public:
    explicit TPrintPage(QObject *parent) : QWebEnginePage(PrintProfile(), parent) {
        ApplyMessagePageSettings(settings());
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted)
            return false;
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
};

// Margins that leave room for the header and footer when no page setup was chosen.
constexpr double kDefaultMarginMillimetres = 15.0;

} // namespace

QWebEnginePage *NewPrintPage(QObject *parent) {
    return new TPrintPage(parent);
}

QPageLayout DefaultPrintLayout() {
    const QPageSize size(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                             ? QPageSize::Letter
                             : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(kDefaultMarginMillimetres, kDefaultMarginMillimetres,
                                 kDefaultMarginMillimetres, kDefaultMarginMillimetres),
                       QPageLayout::Millimeter);
}

void TPrintRequestFilter::SetAllowedFolder(const QString &folder) {
    QString canonical = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty() && !canonical.endsWith(QLatin1Char('/')))
        canonical += QLatin1Char('/');
    QMutexLocker lock(&m_mutex);
    m_folder = canonical;
}

void TPrintRequestFilter::SetRemoteAllowed(bool allowed) {
    QMutexLocker lock(&m_mutex);
    m_remoteAllowed = allowed;
}

void TPrintRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info) {
    const QUrl url = info.requestUrl();
    const QString scheme = url.scheme().toLower();
    QString folder;
    bool remote = false;
    {
        QMutexLocker lock(&m_mutex);
        folder = m_folder;
        remote = m_remoteAllowed;
    }
    bool allowed = false;
    if (scheme == QLatin1String("file")) {
        // The real path, so that neither ".." nor a symbolic link leads out of the folder.
        const QString path = QFileInfo(url.toLocalFile()).canonicalFilePath();
        allowed = !folder.isEmpty() && !path.isEmpty() && path.startsWith(folder);
    } else if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        const auto type = info.resourceType();
        allowed = remote && (type == QWebEngineUrlRequestInfo::ResourceTypeImage ||
                             type == QWebEngineUrlRequestInfo::ResourceTypeMedia);
    }
    if (!allowed)
        info.block(true);
}

TfrmMessagePrinter::TfrmMessagePrinter(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmMessagePrinter"));
    setWindowTitle(QStringLiteral("Print Message"));
    setWindowIcon(ProductIcon());
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    resize(783, 540);
    InitPrintImages();

    m_actPageSetup = new QAction(QStringLiteral("Page Setup..."), this);
    m_actPrint = new QAction(
        QIcon(RenderSvg(QStringLiteral(":/tarvin/print/images/tb_print.svg"), QSize(22, 22))),
        QStringLiteral("Print"), this);
    m_actPrint->setToolTip(QStringLiteral("Print"));
    m_actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_actPrintPreview = new QAction(
        QIcon(RenderSvg(QStringLiteral(":/tarvin/print/images/tb_preview.svg"), QSize(22, 22))),
        QStringLiteral("Print Preview..."), this);
    m_actPrintPreview->setToolTip(QStringLiteral("Print Preview"));
    m_actClose = new QAction(QStringLiteral("Close"), this);
    connect(m_actPageSetup, &QAction::triggered, this, &TfrmMessagePrinter::PageSetup);
    connect(m_actPrint, &QAction::triggered, this, &TfrmMessagePrinter::Print);
    connect(m_actPrintPreview, &QAction::triggered, this, &TfrmMessagePrinter::PrintPreview);
    connect(m_actClose, &QAction::triggered, this, &QDialog::reject);
    for (QAction *action : {m_actPageSetup, m_actPrint, m_actPrintPreview, m_actClose})
        addAction(action);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(m_actPageSetup);
    file->addAction(m_actPrint);
    file->addAction(m_actPrintPreview);
    file->addSeparator();
    file->addAction(m_actClose);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->addAction(m_actPrint);
    m_toolBar->addAction(m_actPrintPreview);

    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("WebBrowser"));
    auto *page = new TPrintPage(m_view);
    m_filter = new TPrintRequestFilter(this);
    page->setUrlRequestInterceptor(m_filter);
    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setAcceptDrops(false);
    connect(page, &QWebEnginePage::loadFinished, this, &TfrmMessagePrinter::pageLoaded);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_view, 1);
    updateActions();
}

TfrmMessagePrinter::~TfrmMessagePrinter() {
    if (m_cursorSet)
        QApplication::restoreOverrideCursor();
    // The page must go before the filter it points at.
    QWebEnginePage *page = m_view->page();
    page->setUrlRequestInterceptor(nullptr);
    m_view->setPage(nullptr);
    delete page;
}

QWebEnginePage *TfrmMessagePrinter::Page() const {
    return m_view->page();
}

void TfrmMessagePrinter::SetMessage(const TGWMessage *message) {
    if (message == m_settings.Message)
        return;
    m_settings.Message = message;
    m_bodyFileName.clear();
}

void TfrmMessagePrinter::SetBodyFont(const QFont &font) {
    m_bodyFont = font;
    m_settings.FontName = font.family();
    m_settings.FontSize = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    m_settings.FontGiven = true;
}

void TfrmMessagePrinter::SetHtmlMode(bool html) {
    if (html == m_settings.HtmlMode)
        return;
    m_settings.HtmlMode = html;
    if (!html)
        m_bodyFileName.clear();
}

void TfrmMessagePrinter::SetWorkFolder(const QString &folder) {
    m_filter->SetAllowedFolder(folder);
}

void TfrmMessagePrinter::SetRemoteContentAllowed(bool allowed) {
    m_filter->SetRemoteAllowed(allowed);
}

bool TfrmMessagePrinter::Execute() {
    return Desktop().ExecDialog(this) == QDialog::Accepted;
}

QString TfrmMessagePrinter::PageAddress() const {
    return m_bodyFileName.isEmpty() ? QStringLiteral("about:blank") : m_bodyFileName;
}

void TfrmMessagePrinter::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A window the desktop shows again (un-minimised) keeps its page.
    if (!event->spontaneous())
        loadPage();
}

void TfrmMessagePrinter::loadPage() {
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    CentreOnScreen(this);
    m_documentReady = false;
    updateActions();
    const QString subject =
        m_settings.Message ? m_settings.Message->CoreProperties.Subject : QString();
    setWindowTitle(subject + QStringLiteral(" - Print"));
    m_view->page()->setUrl(m_bodyFileName.isEmpty() ? QUrl(QStringLiteral("about:blank"))
                                                    : QUrl::fromLocalFile(m_bodyFileName));
}

void TfrmMessagePrinter::pageLoaded(bool) {
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    if (!m_settings.Message)
        return;
    QPointer<TfrmMessagePrinter> guard(this);
    try {
        BuildPrintDocument(m_view->page(), m_settings, [guard](const QString &error) {
            if (!guard)
                return;
            guard->m_documentReady = error.isEmpty();
            guard->updateActions();
            if (!error.isEmpty())
                guard->showFailure(error);
            emit guard->DocumentBuilt(error.isEmpty());
        });
    } catch (const Error &e) {
        showFailure(e.message());
        emit DocumentBuilt(false);
    }
}

void TfrmMessagePrinter::updateActions() {
    for (QAction *action : {m_actPrint, m_actPrintPreview, m_actPageSetup})
        action->setEnabled(m_documentReady && !m_busy);
}

void TfrmMessagePrinter::showFailure(const QString &text) {
    Desktop().ShowError(this, windowTitle(), text);
}

QPageLayout TfrmMessagePrinter::layoutFor(QPrinter &printer) const {
    if (m_pageLayout)
        return *m_pageLayout;
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF(kDefaultMarginMillimetres, kDefaultMarginMillimetres,
                                kDefaultMarginMillimetres, kDefaultMarginMillimetres));
    return layout;
}

std::unique_ptr<QPrinter> TfrmMessagePrinter::makePrinter(bool askForFile) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    std::unique_ptr<QPrinter> printer;
    if (!info.isNull()) {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        if (askForFile) {
            if (Desktop().ShowMessage(this, TMessageKind::Warning, windowTitle(),
                                      QStringLiteral("No printer is installed.\n\nDo you want to "
                                                     "save the pages as a PDF file instead?"),
                                      TMessageButtons::YesNo,
                                      TMessageAnswer::Yes) != TMessageAnswer::Yes)
                return nullptr;
            TFileDialogRequest request;
            request.Title = QStringLiteral("Save as PDF");
            const QString subject =
                m_settings.Message ? m_settings.Message->CoreProperties.Subject : QString();
            request.SuggestedName =
                SafePathComponent(subject.isEmpty() ? QStringLiteral("Message") : subject) +
                QStringLiteral(".pdf");
            request.Filters = {QStringLiteral("PDF files (*.pdf)")};
            const QString file = Desktop().AskSaveFileName(this, request);
            if (file.isEmpty())
                return nullptr;
            printer->setOutputFileName(file);
        }
    }
    printer->setDocName(m_settings.Message ? PrintDocumentTitle(*m_settings.Message) : QString());
    printer->setPageLayout(layoutFor(*printer));
    return printer;
}

void TfrmMessagePrinter::renderPages(const QPageLayout &layout,
                                     std::function<void(const QByteArray &)> use) {
    m_busy = true;
    updateActions();
    QPointer<TfrmMessagePrinter> guard(this);
    m_view->page()->printToPdf(
        [guard, use](const QByteArray &pdf) {
            if (!guard)
                return;
            // Out of the engine's call-back before any dialog or long painting.
            QTimer::singleShot(0, guard, [guard, use, pdf] {
                if (!guard)
                    return;
                guard->m_busy = false;
                guard->updateActions();
                if (pdf.isEmpty())
                    guard->showFailure(QStringLiteral("The pages to print could not be prepared."));
                use(pdf);
            });
        },
        layout);
}

void TfrmMessagePrinter::Print() {
    if (!m_documentReady || m_busy)
        return;
    std::shared_ptr<QPrinter> printer = makePrinter(true);
    if (!printer) {
        emit PrintFinished(QString());
        return;
    }
    const TPageDecoration decoration{m_view->page()->title(), PageAddress(), QDate::currentDate()};
    renderPages(printer->pageLayout(), [this, printer, decoration](const QByteArray &pdf) {
        QString target;
        if (!pdf.isEmpty()) {
            try {
                PaintPdfPages(*printer, pdf, decoration);
                target = printer->outputFileName().isEmpty() ? printer->printerName()
                                                             : printer->outputFileName();
            } catch (const Error &e) {
                showFailure(e.message());
            }
        }
        emit PrintFinished(target);
    });
}

void TfrmMessagePrinter::PrintPreview() {
    if (!m_documentReady || m_busy)
        return;
    std::shared_ptr<QPrinter> printer = makePrinter(false);
    const TPageDecoration decoration{m_view->page()->title(), PageAddress(), QDate::currentDate()};
    renderPages(printer->pageLayout(), [this, printer, decoration](const QByteArray &pdf) {
        if (pdf.isEmpty()) {
            emit PrintFinished(QString());
            return;
        }
        QString failure;
        QPrintPreviewDialog dialog(printer.get(), this);
        dialog.setWindowTitle(QStringLiteral("Print Preview"));
        dialog.resize(760, 900);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                [&failure, pdf, decoration](QPrinter *target) {
                    try {
                        PaintPdfPages(*target, pdf, decoration);
                    } catch (const Error &e) {
                        failure = e.message();
                    }
                });
        Desktop().ExecDialog(&dialog);
        if (!failure.isEmpty())
            showFailure(failure);
        emit PrintFinished(failure.isEmpty() ? printer->printerName() : QString());
    });
}

void TfrmMessagePrinter::PageSetup() {
    if (!m_documentReady || m_busy)
        return;
    std::unique_ptr<QPrinter> printer = makePrinter(false);
    QPageSetupDialog dialog(printer.get(), this);
    if (Desktop().ExecDialog(&dialog) == QDialog::Accepted)
        m_pageLayout = printer->pageLayout();
}

} // namespace tarvin
