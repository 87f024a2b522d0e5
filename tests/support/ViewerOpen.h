#pragma once

#include "support/Wait.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/ViewerWindows.h"

#include <QFileInfo>

namespace tarvin::testing {

// Opens the message file in a viewer window of `viewers` and waits until it has been read
// (the read runs on a worker thread): the window that shows it, or nullptr when it could not
// be shown (the user was told through the desktop).
inline TTarvinForm *OpenAndWait(TViewerWindows &viewers, const QString &path,
                                const TViewSettings &settings = {}, QString folder = QString()) {
    if (folder.isNull())
        folder = QFileInfo(path).absolutePath();
    if (TTarvinForm *window = viewers.OpenViewerWindow(folder, path, {}, {}, false, settings))
        return window;
    WaitFor([&] { return !viewers.IsOpening(path); });
    return viewers.FindFileWindow(path);
}

} // namespace tarvin::testing
