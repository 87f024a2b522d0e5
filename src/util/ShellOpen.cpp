#include "util/ShellOpen.h"

#include "base/Error.h"
#include "util/DesktopApps.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tarvin {

namespace {

TOpenWithHandler &openWithHandler() {
    static TOpenWithHandler handler;
    return handler;
}

// Launching a missing file would start the program with nothing to show; the failure is
// reported with the system's own text for it.
void requireFile(const QString &filePath) {
    if (!QFileInfo::exists(filePath))
        throw Error(QString::fromLocal8Bit(std::strerror(ENOENT)));
}

void openWithDefaultFor(const QString &mimeType, const QString &filePath) {
    requireFile(filePath);
    const std::optional<TDesktopApp> app = DefaultAppForType(mimeType);
    if (!app) {
        ShowOpenWith(filePath);
        return;
    }
    LaunchApp(*app, filePath);
}

} // namespace

TOpenWithHandler SetOpenWithHandler(TOpenWithHandler handler) {
    return std::exchange(openWithHandler(), std::move(handler));
}

bool ShowOpenWith(const QString &filePath) {
    if (!openWithHandler())
        throw Error(QStringLiteral("No program is associated with the file '%1'.").arg(filePath));
    return openWithHandler()(filePath);
}

void ShellOpen(const QString &filePath) {
    openWithDefaultFor(FileMimeType(filePath), filePath);
}

void OpenInTextEditor(const QString &filePath) {
    openWithDefaultFor(QStringLiteral("text/plain"), filePath);
}

} // namespace tarvin
