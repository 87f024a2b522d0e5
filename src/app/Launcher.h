#pragma once

namespace tarvin {

struct TViewerStart;

// The program "tarvin" is a small launcher that needs QtCore and QtNetwork alone. It shows the
// usage text, runs a conversion ("/C") and hands a viewer start over to the viewer that runs
// already; only when windows are wanted does it load the window part, the shared library
// "tarvin-gui.so", and run it in the same process (so the instance socket it claimed and the
// program path stay the same). Every mode the launcher does not handle itself (a switch it
// does not know included) goes to the window part, which dispatches with the same command
// line code.
int RunLauncher(int argc, char **argv);

// Where the launcher looks for the window part, relative to the folder of the program file:
// the installed layout (bin/tarvin, lib/tarvin/tarvin-gui.so) first, then the build folder's.
inline constexpr const char *kGuiLibraryPaths[] = {"../lib/tarvin/tarvin-gui.so",
                                                   "lib/tarvin/tarvin-gui.so"};

// The window part's entry point (RunProgram of app/ui/Entry.h), found by this name.
inline constexpr const char *kGuiEntryName = "TarvinRunGui";
using TGuiEntry = int (*)(int argc, char **argv, const TViewerStart *claimed);

} // namespace tarvin
