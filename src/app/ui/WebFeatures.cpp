#include "app/ui/WebFeatures.h"

#include "app/ui/StartupTrace.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "util/NativePath.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <dlfcn.h>
#include <future>

QT_BEGIN_NAMESPACE
// Qt's global share context, which every OpenGL context made later shares with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
QT_END_NAMESPACE

namespace tarvin {

namespace {

// The HTML engine hands its pages to Qt as OpenGL textures, which it can only do through
// Qt's global share context. A program that links the engine gets that context with its
// application object (the engine asks for Qt::AA_ShareOpenGLContexts as it loads), at a cost
// of some hundred milliseconds on every start. The web library loads later, when the
// application object exists: without the context the engine warns that it was "initialized
// from a plugin" and crashes with its first page (under X11 and offscreen alike). So the
// context is made here, just before, as the engine's own initialisation after the application
// object does; the windows' contexts, made when they first show a page, share with it. (The
// attribute itself is not set: Qt warns when it is set this late, and the context is what
// counts.)
void prepareShareContext() {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ||
        qt_gl_global_share_context())
        return;
    static QOpenGLContext *context = nullptr;
    context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    // Without OpenGL (the offscreen platform) the context stays invalid and the engine draws
    // in software, as it does then when the context is made with the application.
    context->create();
    qt_gl_set_global_share_context(context);
    qAddPostRoutine([] {
        if (qt_gl_global_share_context() == context)
            qt_gl_set_global_share_context(nullptr);
        delete context;
        context = nullptr;
    });
}

// The engine's static initialisers, run as its libraries load, warn that it was "initialized
// from a plugin" unless the share context exists or the application asked for it. Where the
// library loads before the context is made (see StartLoadingWebFeatures), the application
// asks for it; Qt's warning that this comes late is dropped, as the context is made before
// the engine starts (see prepareShareContext).
QtMessageHandler g_previousHandler = nullptr;

void dropLateAttributeWarning(QtMsgType type, const QMessageLogContext &context,
                              const QString &message) {
    if (type == QtWarningMsg && message.contains(QLatin1String("AA_ShareOpenGLContexts")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

void declareSharedContexts() {
    if (QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts))
        return;
    g_previousHandler = qInstallMessageHandler(dropLateAttributeWarning);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(g_previousHandler);
}

struct TLoadResult {
    IWebFeatures *Features = nullptr;
    QString Failure;
};

IDesktopServices &hostDesktop() {
    return Desktop();
}

struct TOpened {
    void *Library = nullptr;
    QByteArray Failure; // dlerror's text
};

// The web library's file, beside the window part's ("" when that is not known).
QByteArray libraryPath() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void *>(&libraryPath), &info) || !info.dli_fname)
        return {};
    QByteArray path(info.dli_fname);
    path.truncate(path.lastIndexOf('/') + 1);
    return path + kWebLibraryName;
}

TOpened open(const QByteArray &path) {
    // Lazy binding, as for the window part: binding the engine's libraries at once costs more
    // than the calls they will see. Never unloaded: its objects live until the process ends.
    void *library = ::dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
    return {library, library ? QByteArray() : QByteArray(::dlerror())};
}

// The library being opened in the background (see StartLoadingWebFeatures).
std::future<TOpened> &backgroundOpen() {
    static std::future<TOpened> opened;
    return opened;
}

TLoadResult load() {
    if (tarvin_linked_web_features)
        return {tarvin_linked_web_features(), {}};
    const QByteArray path = libraryPath();
    if (path.isEmpty())
        return {nullptr, QStringLiteral("the window part's own file is not known")};
    prepareShareContext();
    const TOpened opened = backgroundOpen().valid() ? backgroundOpen().get() : open(path);
    void *library = opened.Library;
    if (!library)
        return {nullptr, QString::fromLocal8Bit(opened.Failure)};
    auto entry = reinterpret_cast<TWebEntry>(::dlsym(library, kWebEntryName));
    if (!entry)
        return {nullptr,
                QStringLiteral("%1 has no entry point").arg(DisplayPath(DecodeNativePath(path)))};
    static const TWebHost host{&hostDesktop};
    TraceStartup("loaded", kWebLibraryName);
    return {entry(&host), {}};
}

const TLoadResult &loaded() {
    static const TLoadResult result = load();
    return result;
}

} // namespace

IWebFeatures &WebFeatures() {
    const TLoadResult &result = loaded();
    if (!result.Features)
        throw Error(QStringLiteral("The HTML engine (%1) cannot be loaded: %2")
                        .arg(QLatin1String(kWebLibraryName), result.Failure));
    return *result.Features;
}

void PreloadWebFeatures() {
    loaded();
}

void StartLoadingWebFeatures() {
    static bool started = false;
    if (started || tarvin_linked_web_features)
        return;
    started = true;
    const QByteArray path = libraryPath();
    if (path.isEmpty())
        return; // WebFeatures reports it
    // Only the loader's work runs on the worker: mapping the engine's libraries, relocating
    // them and their static initialisers, which need neither the GUI thread nor the
    // application object beyond seeing that it exists. The share context (made in about 0.2 s,
    // which would delay the window's first paint), the library's entry and everything the
    // engine does after stay on the GUI thread (see load).
    declareSharedContexts();
    backgroundOpen() = std::async(std::launch::async, [path] { return open(path); });
}

} // namespace tarvin
