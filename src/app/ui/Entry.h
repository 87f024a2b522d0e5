#pragma once

#include <QStringList>

namespace tarvin {

// The program's entry: creates the application object (a QApplication only for viewer mode,
// so conversion, the usage text and command-line errors need no display), parses the command
// line and runs the chosen mode. Returns the process exit status.
int RunProgram(int argc, char **argv);

// The viewer-mode start-up; returns when the event loop ends (or at once when there is
// nothing to show).
int RunViewer(const QStringList &arguments);

} // namespace tarvin
