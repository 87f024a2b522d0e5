#include "util/ShellOpen.h"

#include "base/Error.h"
#include "util/DesktopApps.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace tarvin {

namespace {

// Launching a missing file would start the program with nothing to show; the failure is
// reported with the system's own text for it.
void requireFile(const QString &filePath) {
    if (!QFileInfo::exists(filePath))
        throw Error(QString::fromLocal8Bit(std::strerror(ENOENT)));
}

bool openWithDefaultFor(const QString &mimeType, const QString &filePath) {
    requireFile(filePath);
    const std::optional<TDesktopApp> app = DefaultAppForType(mimeType);
    if (!app)
        return false;
    LaunchApp(*app, filePath);
    return true;
}

} // namespace

bool ShellOpen(const QString &filePath) {
    return openWithDefaultFor(FileMimeType(filePath), filePath);
}

bool ShellOpenInTextEditor(const QString &filePath) {
    return openWithDefaultFor(QStringLiteral("text/plain"), filePath);
}

} // namespace tarvin
