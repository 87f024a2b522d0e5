#pragma once

namespace tarvin {

class TTarvinFrame;
class TfrmMessagePrinter;

// The printing window of a frame: created on its first print as a child of the frame (so it
// stays above the frame's window and goes with the frame) and kept for later prints.
TfrmMessagePrinter *PrinterOfFrame(TTarvinFrame *frame);

// Prints the frame's message: hands the printing window the message, the plain-text view's
// font, the system-attachment setting, the work folder and the remote-content permission of
// the HTML view; in HTML mode the extracted body file; then shows it modally.
void PrintFrameMessage(TTarvinFrame *frame);

} // namespace tarvin
