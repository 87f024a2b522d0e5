// The entry point of the window part, the shared library that the launcher (app/Launcher.h)
// loads when windows are wanted.

#include "app/Launcher.h"
#include "app/ui/Entry.h"
#include "app/ui/StartupTrace.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int
TarvinRunGui(int argc, char **argv, const tarvin::TViewerStart *claimed) {
    tarvin::TraceStartup("loaded", "tarvin-gui.so");
    return tarvin::RunProgram(argc, argv, claimed);
}

static_assert(std::is_same_v<decltype(&TarvinRunGui), tarvin::TGuiEntry>);
