#pragma once

#include "view/ViewerActionRules.h"

class QWidget;

namespace tarvin {

class TTarvinFrame;
class TViewerWindows;
class TExplorerForm;

// Connects what viewer windows ask for through their actions (help, the about box, printing,
// the find window, reply and forward) to the windows and services that serve it, and switches
// those features on.
void ConnectViewerWindows(TViewerWindows &viewers);

// The same for the explorer: its quick-view pane's print, reply and forward, and its "Find in
// Messages..." on the current folder.
void ConnectExplorer(TExplorerForm &explorer);

// Replies to or forwards the frame's message (mail/ui/MailActionRunner.h).
void RunMailAction(TTarvinFrame *frame, TMailAction action);

// The about box, modal over `owner`.
void ShowAboutBox(QWidget *owner);
// Opens the user manual; a failure is shown to the user.
void ShowManual(QWidget *owner);

} // namespace tarvin
