#pragma once

#include "view/ui/HtmlBody.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <functional>

class QWebEngineProfile;

namespace tarvin {

// Lets a message's HTML body reach only what it may: local files inside the frame's work
// folder and, once remote content is allowed, images and media from the web. Everything
// else (scripts, style sheets and frames from the web, other local files, other schemes) is
// blocked.
class THtmlRequestFilter : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The folder whose files may be loaded; empty allows no local file.
    void SetAllowedFolder(const QString &folder);
    // Whether web pictures and media may load (off: no request leaves for the web).
    void SetRemoteAllowed(bool allowed);
    bool RemoteAllowed() const;
    // The decision for one request, apart from the engine.
    bool Allows(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type) const;
    // Whether a request is a web picture or medium, which only the remote permission keeps out.
    static bool IsRemoteContent(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

signals:
    // A web picture or medium was blocked for want of the remote permission. May come from
    // the engine's request thread: connect it queued.
    void RemoteContentBlocked();

private:
    mutable QMutex m_mutex;
    QString m_folder; // canonical, with a trailing "/"
    bool m_remoteAllowed = false;
};

// A page that never follows a link itself: link clicks (and links that ask for a new
// window) are handed to the link handler, which opens them on the desktop.
class THtmlBodyPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit THtmlBodyPage(QObject *parent);

    std::function<void(const QUrl &)> LinkHandler;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
};

// The HTML view of a viewer frame: an off-the-record engine profile shared by all views,
// settings fixed before the first load, the request filter, links opened outside and a
// watchdog that stops a load still running after the time-out. Remote content loads when the
// setting says so for all messages, or when the user allowed it for the page shown. It lives
// in the web library with the HTML engine; frames know it as IHtmlBody.
class THtmlBodyView : public QWebEngineView, public IHtmlBody {
    Q_OBJECT
public:
    explicit THtmlBodyView(QWidget *parent = nullptr);
    ~THtmlBodyView() override;

    THtmlBodyPage *BodyPage() const { return m_page; }
    THtmlRequestFilter *RequestFilter() const { return m_filter; }

    QWidget *Widget() override { return this; }
    // Loads a local file (or about:blank for an empty path).
    void LoadFile(const QString &path) override;
    bool IsBusy() const override { return m_busy; }
    void SetAllowedFolder(const QString &folder) override { m_filter->SetAllowedFolder(folder); }

    // Milliseconds after which a running load is stopped (30 s unless changed).
    void SetWatchdogTimeout(int msecs) { m_watchdogMSecs = msecs; }
    bool WatchdogFired() const { return m_watchdogFired; }

    // The setting "load remote content in messages".
    bool LoadRemoteContent() const { return m_loadRemoteContent; }
    void SetLoadRemoteContent(bool load) override;
    // The user's permission for the message shown; the host withdraws it for the next one.
    bool RemoteContentAllowed() const override { return m_remoteContentAllowed; }
    void SetRemoteContentAllowed(bool allowed) override;
    // Whether the page shown (or being loaded) asked for remote content that was blocked.
    bool RemoteContentBlocked() const override { return m_remoteContentBlocked; }
    // Allows remote content for the page shown and loads the page again.
    void LoadRemoteContentNow() override;

    bool HasSelection() const override;
    void Copy() override;
    void SelectAll() override;

    // The shared off-the-record profile with its fixed settings.
    static QWebEngineProfile *SharedProfile();

signals:
    void BodyLoaded(bool ok);
    // RemoteContentBlocked changed.
    void RemoteContentBlockedChanged(bool blocked);

private:
    void applyRemotePermission();
    void setRemoteContentBlocked(bool blocked);
    void loadBegin();
    void loadProgress(int percent);
    void loadEnd(bool ok);
    void checkWatchdog();

    THtmlBodyPage *m_page = nullptr;
    THtmlRequestFilter *m_filter = nullptr;
    QElapsedTimer m_downloadStart;
    bool m_downloadComplete = true;
    bool m_busy = false;
    bool m_watchdogFired = false;
    int m_watchdogMSecs = 30000;
    QTimer m_watchdogTimer;
    bool m_loadRemoteContent = false;
    bool m_remoteContentAllowed = false;
    bool m_remoteContentBlocked = false;
};

} // namespace tarvin
