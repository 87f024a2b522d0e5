#pragma once

#include "view/ViewerActionRules.h"

class QWidget;

namespace tarvin {

class TTarvinFrame;
class TViewerWindows;

// Connects what viewer windows ask for through their actions (help, the about box, printing,
// the find window, reply and forward) to the windows and services that serve it, and switches
// those features on.
void ConnectViewerWindows(TViewerWindows &viewers);

// Replies to or forwards the frame's message (mail/ui/MailActionRunner.h).
void RunMailAction(TTarvinFrame *frame, TMailAction action);

// The about box, modal over `owner`.
void ShowAboutBox(QWidget *owner);
// Opens the user manual; a failure is shown to the user.
void ShowManual(QWidget *owner);

} // namespace tarvin
