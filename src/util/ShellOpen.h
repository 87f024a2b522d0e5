#pragma once

#include <QString>

#include <functional>

namespace tarvin {

// Lets the user choose a program for a file and starts it; true when the choice could be
// offered. The windowed program installs its Open With dialog here (InstallOpenWithDialog in
// util/ui/OpenWithDialog.h); this core library knows no windows.
using TOpenWithHandler = std::function<bool(const QString &filePath)>;

// Installs the handler behind ShowOpenWith and returns the one it replaces.
TOpenWithHandler SetOpenWithHandler(TOpenWithHandler handler);

// Offers the user the choice of a program for the file through the installed handler. Without
// one it raises Error("No program is associated with the file '<path>'.").
bool ShowOpenWith(const QString &filePath);

// Opens the file with the default application of its MIME type, not waiting for it. When no
// program is associated with the type, ShowOpenWith takes over; any other failure raises Error
// with the system's text.
void ShellOpen(const QString &filePath);

// Opens the file in the default application for plain text, else through ShowOpenWith.
void OpenInTextEditor(const QString &filePath);

} // namespace tarvin
