#pragma once

#include <QStringList>

class QWidget;

namespace tarvin {

class TTarvinFrame;

// "Export as PDF..." of a frame: asks for the file (the safe subject + ".pdf", in the folder
// last used) and writes the frame's message as it shows it (body form, font, system
// attachments, remote content).
void ExportFrameMessage(TTarvinFrame *frame);

// "Export as PDF..." of message files (the message list's selected rows): one file asks for
// its PDF file; several ask for a folder and are written one PDF each, with a progress window
// that can cancel; failures are reported at the end.
void ExportMessageFiles(QWidget *owner, const QStringList &files, bool showSystemAttachments);

// Before the application object of "/E:PDF": with no display to reach, the pages are laid out
// off screen.
void PrepareCommandLineExport();
// "/E:PDF <folders or files> /O <folder> [/S]" without a window: the command line is read
// (errors as for "/C"), every message file named or inside a named folder is written to the
// output folder (made when missing). Returns the exit status: 0, 1 when a message failed or
// an input is missing, 2 for an invalid command line.
int RunCommandLineExport(const QStringList &arguments);

} // namespace tarvin
