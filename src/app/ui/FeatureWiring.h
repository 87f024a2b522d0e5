#pragma once

class QWidget;

namespace tarvin {

class TViewerWindows;

// Connects what viewer windows ask for through their actions (help, the about box) to the
// windows and services that serve it.
void ConnectViewerWindows(TViewerWindows &viewers);

// The about box, modal over `owner`.
void ShowAboutBox(QWidget *owner);
// Opens the user manual; a failure is shown to the user.
void ShowManual(QWidget *owner);

} // namespace tarvin
