#include "app/ui/FeatureWiring.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "util/Manual.h"
#include "view/ui/ViewerWindows.h"

#include <QApplication>
#include <QPointer>

namespace tarvin {

void ConnectViewerWindows(TViewerWindows &viewers) {
    QObject::connect(&viewers, &TViewerWindows::AboutRequested, &viewers, &ShowAboutBox);
    QObject::connect(&viewers, &TViewerWindows::HelpRequested, &viewers, &ShowManual);
}

void ShowAboutBox(QWidget *owner) {
    // On the heap: when the owner goes while the box runs, it takes the box with it.
    QPointer<TAboutBoxForm> about = new TAboutBoxForm(owner);
    Desktop().ExecDialog(about);
    delete about.data();
}

void ShowManual(QWidget *owner) {
    try {
        OpenManual();
    } catch (const Error &error) {
        const QString product = VersionKey(9);
        Desktop().ShowError(owner, product.isEmpty() ? QApplication::applicationName() : product,
                            error.message());
    }
}

} // namespace tarvin
