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

// Tarvin's installed documentation folder for a program in `programFolder`
// ("<prefix>/bin" gives "<prefix>/share/doc/tarvin/").
QString InstalledDocFolder(const QString &programFolder);

// The manual to open: "halvorn-tarvin-manual.pdf" beside the program, else in Tarvin's
// installed documentation folder, else in the companion suite's help folder. The suite is
// asked only when neither of Tarvin's own places holds the manual, so a manual installed with
// Tarvin opens on a machine without the suite; then the suite's error stands.
QString ManualFilePath(const QString &programFolder, const QStringList &configFolders);

// Opens the user manual with the desktop's program for it. Raises Error on failure.
void OpenManual();

} // namespace tarvin
