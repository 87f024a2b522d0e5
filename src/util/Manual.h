#pragma once

#include <QString>
#include <QStringList>

namespace tarvin {

// The help folder of the companion suite, with a trailing "/". It is configured in
// "pelorin.ini" (section "[1.0]": "pelorin" = installation folder, "Applet Help" = help
// folder), looked for in each of `configFolders` in turn; the first file found is used.
// Raises Error("Could not determine the location of Pelorin") when the installation folder
// is not configured or does not exist.
QString HelpFolder(const QStringList &configFolders);
// The default configuration folders: the user's, then /etc/xdg.
QStringList DefaultHelpConfigFolders();

// The manual to open: "halvorn-tarvin-manual.pdf" beside the program when it exists there,
// else in the help folder. The help folder is determined first, so its error comes before
// any file is looked at.
QString ManualFilePath(const QString &programFolder, const QStringList &configFolders);

// Opens the user manual with the desktop's program for it. Raises Error on failure.
void OpenManual();

} // namespace tarvin
