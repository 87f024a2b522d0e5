#pragma once

#include <optional>

namespace tarvin {

class TTarvinFrame;
struct TFrameMessageOutput;

// What printing and export take of a frame: its message, the plain-text view's font, the
// system-attachment setting, the work folder, the remote-content permission of the HTML view
// and the body form; `extractHtml` extracts the HTML body for HTML mode (raises Error when it
// cannot). None without a message.
std::optional<TFrameMessageOutput> FrameMessageOutput(TTarvinFrame *frame, bool extractHtml);

// Prints the frame's message in the frame's printing window (the web library's, made on the
// first print as a child of the frame and kept), shown modally. When the HTML engine cannot be
// loaded, the user is told so.
void PrintFrameMessage(TTarvinFrame *frame);

} // namespace tarvin
