#pragma once

#include <QString>

namespace tarvin {

class TViewerWindows;
class TWndSearchFiles;

// The find window of the process: created on first use, hidden (not destroyed) when closed so
// that criteria and hits stay, and released at program end after a running search has been
// waited for.
TWndSearchFiles *SearchWindow();

// "Find in Messages...": shows the find window in front with its location set to `folder`.
void ShowSearchWindow(const QString &folder);

// Where message files opened from the find window are shown; without viewers they open with
// their program.
void SetSearchWindowViewers(TViewerWindows *viewers);

} // namespace tarvin
