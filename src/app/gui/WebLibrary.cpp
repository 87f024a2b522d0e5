// The entry point of the web library, the shared library with the HTML engine that the window
// part loads the first time an HTML body, a print or an export needs it (app/ui/WebFeatures.h).

#include "app/ui/WebFeatures.h"
#include "base/DesktopServices.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) tarvin::IWebFeatures *
TarvinWebFeatures(const tarvin::TWebHost *host) {
    // This library's copy of the desktop services answers with the window part's.
    if (host && host->Desktop)
        tarvin::ForwardDesktop(host->Desktop);
    return tarvin_linked_web_features();
}

static_assert(std::is_same_v<decltype(&TarvinWebFeatures), tarvin::TWebEntry>);
