#include "app/ui/WebFeatures.h"

#include "app/ui/StartupTrace.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "util/NativePath.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <dlfcn.h>

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

// Where the engine's sandbox is off (QTWEBENGINE_DISABLE_SANDBOX or --no-sandbox), it has no
// use for its zygote, the helper process it forks its page processes from: starting that one
// costs some 150 ms of the engine's start, before the first page can load. With the sandbox
// on, the zygote is needed (the engine refuses to start without it), and nothing changes.
void skipZygoteWithoutSandbox() {
    static const char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
    QByteArray flags = qgetenv(kFlagsVariable);
    const bool noSandbox = !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") ||
                           flags.split(' ').contains("--no-sandbox");
    if (!noSandbox || flags.split(' ').contains("--no-zygote"))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    flags += "--no-zygote";
    qputenv(kFlagsVariable, flags);
}

struct TLoadResult {
    IWebFeatures *Features = nullptr;
    QString Failure;
};

IDesktopServices &hostDesktop() {
    return Desktop();
}

TLoadResult load() {
    if (tarvin_linked_web_features)
        return {tarvin_linked_web_features(), {}};
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void *>(&load), &info) || !info.dli_fname)
        return {nullptr, QStringLiteral("the window part's own file is not known")};
    QByteArray path(info.dli_fname);
    path.truncate(path.lastIndexOf('/') + 1);
    path += kWebLibraryName;
    prepareShareContext();
    skipZygoteWithoutSandbox();
    // Lazy binding, as for the window part: binding the engine's libraries at once costs more
    // than the calls they will see. Never unloaded: its objects live until the process ends.
    void *library = ::dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return {nullptr, QString::fromLocal8Bit(::dlerror())};
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

} // namespace tarvin
