#pragma once

#include <QStringList>

namespace tarvin {

class TInstanceServer;
struct TViewerStart;

// The program's entry: creates the application object (a QApplication only for viewer mode,
// so conversion, the usage text and command-line errors need no display), parses the command
// line and runs the chosen mode. Returns the process exit status. `claimed`, when given, is
// the single-instance check the launcher has made already (app/Launcher.h).
int RunProgram(int argc, char **argv, const TViewerStart *claimed = nullptr);

// The viewer-mode start-up; returns when the event loop ends (or at once when there is
// nothing to show). `server`, when given, delivers the command lines of later starts.
int RunViewer(const QStringList &arguments, TInstanceServer *server = nullptr);

} // namespace tarvin
