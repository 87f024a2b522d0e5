#pragma once

class QWidget;

namespace tarvin {

// Shows the window (restoring a minimised one), raises it and makes it the active window, for
// a window opened at another program's request (a second start of Tarvin): the user asked for
// it, so it should come up in front even though Tarvin saw no input of late.
//
// On X11 a window manager with focus-stealing prevention compares the time of an activation
// request with the user's last interaction; Qt would send the time of the last event it saw,
// which may be long past. So a fresh server time is fetched (a property change on a private
// window of a short-lived connection of our own), stored as the window's _NET_WM_USER_TIME
// (on the helper window that _NET_WM_USER_TIME_WINDOW names, when there is one) and sent in a
// _NET_ACTIVE_WINDOW request from an application. Elsewhere Qt's raise and activate serve.
void BringToFront(QWidget *window);

} // namespace tarvin
