#include "view/ui/web/HtmlBodyView.h"

#include "base/DesktopServices.h"
#include "base/ui/web/MessagePageSettings.h"
#include "util/NativePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QWebEngineProfile>
#include <cstdio>
#include <ctime>

namespace tarvin {

namespace {

// With TARVIN_TRACE_STARTUP set, the steps of the first page load are written to standard
// error in the start-up trace's form ("tarvin-trace web-<step> <seconds> <detail>").
void traceWeb(const char *step, const char *detail = "") {
    static const bool enabled = !qEnvironmentVariableIsEmpty("TARVIN_TRACE_STARTUP");
    if (!enabled)
        return;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "tarvin-trace web-%s %lld.%06ld %s\n", step,
                 static_cast<long long>(now.tv_sec), now.tv_nsec / 1000, detail);
    std::fflush(stderr);
}

// Schemes the desktop is asked to open when the user clicks a link; anything else (local
// files, desktop entries, custom handlers) could start programs and is ignored.
bool IsOpenableLink(const QUrl &url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp");
}

void OpenLink(const QUrl &url) {
    if (IsOpenableLink(url))
        Desktop().OpenUrl(url);
}

// A page that exists only to catch the address of a link that asked for a new window.
class TLinkCatcherPage : public QWebEnginePage {
public:
    explicit TLinkCatcherPage(QObject *parent)
        : QWebEnginePage(THtmlBodyView::SharedProfile(), parent) {}

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override {
        OpenLink(url);
        deleteLater();
        return false;
    }
};

} // namespace

void THtmlRequestFilter::SetAllowedFolder(const QString &folder) {
    QString canonical = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty())
        canonical = WithTrailingSlash(canonical);
    QMutexLocker lock(&m_mutex);
    m_folder = canonical;
}

void THtmlRequestFilter::SetRemoteAllowed(bool allowed) {
    QMutexLocker lock(&m_mutex);
    m_remoteAllowed = allowed;
}

bool THtmlRequestFilter::RemoteAllowed() const {
    QMutexLocker lock(&m_mutex);
    return m_remoteAllowed;
}

bool THtmlRequestFilter::IsRemoteContent(const QUrl &url,
                                         QWebEngineUrlRequestInfo::ResourceType type) {
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           (type == QWebEngineUrlRequestInfo::ResourceTypeImage ||
            type == QWebEngineUrlRequestInfo::ResourceTypeMedia);
}

bool THtmlRequestFilter::Allows(const QUrl &url,
                                QWebEngineUrlRequestInfo::ResourceType type) const {
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file")) {
        QString folder;
        {
            QMutexLocker lock(&m_mutex);
            folder = m_folder;
        }
        if (folder.isEmpty())
            return false;
        // The real path, so that neither ".." nor a symbolic link leads out of the folder.
        const QString path = QFileInfo(url.toLocalFile()).canonicalFilePath();
        return !path.isEmpty() && path.startsWith(folder);
    }
    return IsRemoteContent(url, type) && RemoteAllowed();
}

void THtmlRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info) {
    if (Allows(info.requestUrl(), info.resourceType()))
        return;
    info.block(true);
    // Only what the permission would let through is worth the offer to load it.
    if (IsRemoteContent(info.requestUrl(), info.resourceType()))
        emit RemoteContentBlocked();
}

THtmlBodyPage::THtmlBodyPage(QObject *parent)
    : QWebEnginePage(THtmlBodyView::SharedProfile(), parent) {
    ApplyMessagePageSettings(settings());
}

bool THtmlBodyPage::acceptNavigationRequest(const QUrl &url, NavigationType type,
                                            bool isMainFrame) {
    if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted) {
        if (type == NavigationTypeLinkClicked && LinkHandler)
            LinkHandler(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage *THtmlBodyPage::createWindow(WebWindowType) {
    return new TLinkCatcherPage(this);
}

THtmlBodyView::THtmlBodyView(QWidget *parent) : QWebEngineView(parent) {
    m_page = new THtmlBodyPage(this);
    m_page->LinkHandler = OpenLink;
    m_filter = new THtmlRequestFilter(this);
    m_page->setUrlRequestInterceptor(m_filter);
    // Queued: the report may come from the engine's request thread, and it must not overtake
    // the start of the load it belongs to.
    connect(
        m_filter, &THtmlRequestFilter::RemoteContentBlocked, this,
        [this] {
            // Once remote content is allowed, a report still on its way is from before.
            if (!m_filter->RemoteAllowed())
                setRemoteContentBlocked(true);
        },
        Qt::QueuedConnection);
    setPage(m_page);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    m_watchdogTimer.setSingleShot(true);
    connect(&m_watchdogTimer, &QTimer::timeout, this, &THtmlBodyView::checkWatchdog);
    connect(m_page, &QWebEnginePage::loadStarted, this, &THtmlBodyView::loadBegin);
    connect(m_page, &QWebEnginePage::loadProgress, this, &THtmlBodyView::loadProgress);
    connect(m_page, &QWebEnginePage::loadFinished, this, &THtmlBodyView::loadEnd);
    connect(m_page, &QWebEnginePage::selectionChanged, this, [this] {
        if (OnSelectionChanged)
            OnSelectionChanged();
    });
}

THtmlBodyView::~THtmlBodyView() {
    // The page must go before the view and the filter it points at.
    m_page->setUrlRequestInterceptor(nullptr);
    setPage(nullptr);
    delete m_page;
}

QWebEngineProfile *THtmlBodyView::SharedProfile() {
    static QWebEngineProfile *profile = [] {
        traceWeb("profile-start");
        QWebEngineProfile *p = NewMessageProfile(QCoreApplication::instance());
        traceWeb("profile-made");
        return p;
    }();
    return profile;
}

void THtmlBodyView::LoadFile(const QString &path) {
    m_busy = true;
    setRemoteContentBlocked(false);
    if (path.isEmpty())
        m_page->setUrl(QUrl(QStringLiteral("about:blank")));
    else {
        traceWeb("seturl");
        m_page->setUrl(QUrl::fromLocalFile(path));
    }
}

void THtmlBodyView::SetLoadRemoteContent(bool load) {
    m_loadRemoteContent = load;
    applyRemotePermission();
}

void THtmlBodyView::SetRemoteContentAllowed(bool allowed) {
    m_remoteContentAllowed = allowed;
    applyRemotePermission();
}

void THtmlBodyView::applyRemotePermission() {
    m_filter->SetRemoteAllowed(m_loadRemoteContent || m_remoteContentAllowed);
}

void THtmlBodyView::LoadRemoteContentNow() {
    SetRemoteContentAllowed(true);
    m_busy = true;
    m_page->triggerAction(QWebEnginePage::Reload);
}

void THtmlBodyView::setRemoteContentBlocked(bool blocked) {
    if (blocked == m_remoteContentBlocked)
        return;
    m_remoteContentBlocked = blocked;
    emit RemoteContentBlockedChanged(blocked);
    if (OnRemoteContentBlockedChanged)
        OnRemoteContentBlockedChanged(blocked);
}

void THtmlBodyView::loadBegin() {
    traceWeb("loadstarted");
    // A new page: what the last one asked for no longer counts.
    setRemoteContentBlocked(false);
    m_busy = true;
    m_watchdogFired = false;
    m_downloadStart.start();
    m_downloadComplete = false;
    m_watchdogTimer.start(m_watchdogMSecs);
}

void THtmlBodyView::loadProgress(int) {
    if (!m_downloadComplete)
        checkWatchdog();
}

void THtmlBodyView::checkWatchdog() {
    if (m_downloadComplete || !m_downloadStart.isValid())
        return;
    if (m_downloadStart.elapsed() >= m_watchdogMSecs) {
        m_watchdogFired = true;
        m_page->triggerAction(QWebEnginePage::Stop);
    } else {
        m_watchdogTimer.start(int(m_watchdogMSecs - m_downloadStart.elapsed()));
    }
}

void THtmlBodyView::loadEnd(bool ok) {
    traceWeb("loadfinished");
    m_downloadComplete = true;
    m_busy = false;
    m_watchdogTimer.stop();
    emit BodyLoaded(ok);
    if (OnBodyLoaded)
        OnBodyLoaded(ok);
}

bool THtmlBodyView::HasSelection() const {
    return m_page->hasSelection();
}

void THtmlBodyView::Copy() {
    m_page->triggerAction(QWebEnginePage::Copy);
}

void THtmlBodyView::SelectAll() {
    m_page->triggerAction(QWebEnginePage::SelectAll);
}

} // namespace tarvin

extern "C" tarvin::IHtmlBody *tarvin_linked_html_body(QWidget *parent) {
    return new tarvin::THtmlBodyView(parent);
}
