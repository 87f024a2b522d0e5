#pragma once

#include <QString>

namespace tarvin {

// Opens the file with the default application of its MIME type, not waiting for it. False
// when no program is associated with the type (the caller then offers the Open With choice,
// as the desktop services do); any other failure raises Error with the system's text.
// Windows and other callers go through Desktop().OpenFile (base/DesktopServices.h).
bool ShellOpen(const QString &filePath);

// Opens the file in the default application for plain text; false when there is none.
bool ShellOpenInTextEditor(const QString &filePath);

} // namespace tarvin
