// GIO first: its headers use names that Qt defines as macros.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "util/DesktopApps.h"

#include "base/Error.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>
#include <memory>
#include <unistd.h>

namespace tarvin {

namespace {

struct GObjectDeleter {
    void operator()(gpointer object) const {
        if (object)
            g_object_unref(object);
    }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

struct GAppInfoListDeleter {
    void operator()(GList *list) const { g_list_free_full(list, g_object_unref); }
};
using GAppInfoList = std::unique_ptr<GList, GAppInfoListDeleter>;

QString fromUtf8(const char *text) {
    return text ? QString::fromUtf8(text) : QString();
}

// Takes ownership of `error` and raises its message.
[[noreturn]] void raiseGError(GError *error, const QString &fallback) {
    QString message = error && error->message ? QString::fromUtf8(error->message) : fallback;
    g_clear_error(&error);
    throw Error(message);
}

TDesktopApp describe(GAppInfo *info) {
    TDesktopApp app;
    app.Id = fromUtf8(g_app_info_get_id(info));
    app.Name = fromUtf8(g_app_info_get_display_name(info));
    app.Executable = fromUtf8(g_app_info_get_executable(info));
    if (GIcon *icon = g_app_info_get_icon(info)) {
        if (G_IS_THEMED_ICON(icon)) {
            for (const gchar *const *name = g_themed_icon_get_names(G_THEMED_ICON(icon));
                 name && *name; ++name)
                app.IconNames.append(QString::fromUtf8(*name));
        } else if (G_IS_FILE_ICON(icon)) {
            GFile *file = g_file_icon_get_file(G_FILE_ICON(icon));
            if (char *path = g_file_get_path(file)) {
                app.IconFile = QFile::decodeName(path);
                g_free(path);
            }
        }
    }
    return app;
}

// The desktop-file escaping of one Exec argument: "%" doubled (field codes are expanded
// first), then quoted the way GIO splits the line.
QByteArray execArgument(const QString &argument) {
    QByteArray raw = QFile::encodeName(argument);
    raw.replace("%", "%%");
    char *quoted = g_shell_quote(raw.constData());
    QByteArray result(quoted);
    g_free(quoted);
    return result;
}

GObjectPtr<GAppInfo> resolve(const TDesktopApp &app) {
    if (!app.Id.isEmpty()) {
        GDesktopAppInfo *info = g_desktop_app_info_new(app.Id.toUtf8().constData());
        if (!info)
            throw Error(QStringLiteral("The program '%1' is no longer installed.")
                            .arg(app.Name.isEmpty() ? app.Id : app.Name));
        return GObjectPtr<GAppInfo>(G_APP_INFO(info));
    }
    if (app.ProgramPath.isEmpty())
        throw Error(QStringLiteral("No program was chosen."));
    GError *error = nullptr;
    GAppInfo *info = g_app_info_create_from_commandline(
        execArgument(app.ProgramPath).constData(),
        QFileInfo(app.ProgramPath).fileName().toUtf8().constData(), G_APP_INFO_CREATE_NONE, &error);
    if (!info)
        raiseGError(error, QStringLiteral("Cannot use the program '%1'.").arg(app.ProgramPath));
    return GObjectPtr<GAppInfo>(info);
}

// Runs in the started program's process just before it executes; chdir is safe there.
void changeToFolder(gpointer folder) {
    if (::chdir(static_cast<const char *>(folder)) != 0) {
        // The program keeps our working folder.
    }
}

void appendShown(QList<TDesktopApp> &apps, GList *list, bool onlyShown) {
    for (GList *item = list; item; item = item->next) {
        GAppInfo *info = G_APP_INFO(item->data);
        if (onlyShown && !g_app_info_should_show(info))
            continue;
        TDesktopApp app = describe(info);
        if (!apps.contains(app))
            apps.append(app);
    }
}

} // namespace

QString FileMimeType(const QString &filePath) {
    return QMimeDatabase().mimeTypeForFile(filePath).name();
}

std::optional<TDesktopApp> DefaultAppForType(const QString &mimeType) {
    GObjectPtr<GAppInfo> info(
        g_app_info_get_default_for_type(mimeType.toUtf8().constData(), FALSE));
    if (!info)
        return std::nullopt;
    return describe(info.get());
}

QList<TDesktopApp> AppsForType(const QString &mimeType) {
    QList<TDesktopApp> apps;
    if (auto app = DefaultAppForType(mimeType))
        apps.append(*app);
    GAppInfoList list(g_app_info_get_all_for_type(mimeType.toUtf8().constData()));
    appendShown(apps, list.get(), true);
    return apps;
}

QList<TDesktopApp> AllApps() {
    QList<TDesktopApp> apps;
    GAppInfoList list(g_app_info_get_all());
    appendShown(apps, list.get(), true);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(apps.begin(), apps.end(), [&](const TDesktopApp &a, const TDesktopApp &b) {
        return collator.compare(a.Name, b.Name) < 0;
    });
    return apps;
}

TDesktopApp AppForProgram(const QString &programPath) {
    const QFileInfo info(programPath);
    if (!info.isFile() || !info.isExecutable())
        throw Error(QStringLiteral("'%1' is not a program file.").arg(programPath));
    TDesktopApp app;
    app.Name = info.fileName();
    app.Executable = info.absoluteFilePath();
    app.ProgramPath = info.absoluteFilePath();
    return app;
}

void LaunchApp(const TDesktopApp &app, const QString &filePath) {
    GObjectPtr<GAppInfo> info = resolve(app);
    GObjectPtr<GFile> file(g_file_new_for_path(QFile::encodeName(filePath).constData()));
    GError *error = nullptr;
    gboolean started = FALSE;
    // The program starts in the file's own folder unless its entry names a folder ("Path").
    GDesktopAppInfo *desktop =
        G_IS_DESKTOP_APP_INFO(info.get()) ? G_DESKTOP_APP_INFO(info.get()) : nullptr;
    char *entryFolder = desktop ? g_desktop_app_info_get_string(desktop, "Path") : nullptr;
    const bool ownFolder = entryFolder && *entryFolder;
    g_free(entryFolder);
    if (desktop && !ownFolder) {
        QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
        char *uri = g_file_get_uri(file.get());
        GList uris{uri, nullptr, nullptr};
        started = g_desktop_app_info_launch_uris_as_manager(
            desktop, &uris, nullptr, G_SPAWN_SEARCH_PATH, changeToFolder, folder.data(), nullptr,
            nullptr, &error);
        g_free(uri);
    } else {
        GList files{file.get(), nullptr, nullptr};
        started = g_app_info_launch(info.get(), &files, nullptr, &error);
    }
    if (!started)
        raiseGError(error, QStringLiteral("Cannot start '%1'.").arg(app.Name));
}

void SetDefaultAppForType(const TDesktopApp &app, const QString &mimeType) {
    GObjectPtr<GAppInfo> info = resolve(app);
    GError *error = nullptr;
    if (!g_app_info_set_as_default_for_type(info.get(), mimeType.toUtf8().constData(), &error))
        raiseGError(error, QStringLiteral("Cannot make '%1' the default program.").arg(app.Name));
}

} // namespace tarvin
