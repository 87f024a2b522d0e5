#include "app/ui/BringToFront.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace tarvin {

namespace {

#if QT_CONFIG(xcb)

// The X server's time now: a zero-length append to a property of a private window makes the
// server send a PropertyNotify carrying its current time. A connection of our own, because
// Qt's event reader takes every event of the application's connection. 0 on any failure.
xcb_timestamp_t serverTimeNow() {
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return 0;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    xcb_timestamp_t time = 0;
    if (screens.rem > 0) {
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screens.data->root, -1, -1, 1,
                          1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_EVENT_MASK, &events);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, "");
        xcb_flush(connection);
        // The notification follows at once; a broken connection ends the wait with nullptr.
        while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
            const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (found)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (found)
                break;
        }
    }
    xcb_disconnect(connection);
    return time;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void activateOnX11(QWidget *widget) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_timestamp_t time = serverTimeNow();
    if (time == 0)
        return;
    const xcb_window_t window = xcb_window_t(widget->winId());
    const xcb_atom_t userTime = atom(connection, "_NET_WM_USER_TIME");
    const xcb_atom_t userTimeWindow = atom(connection, "_NET_WM_USER_TIME_WINDOW");
    const xcb_atom_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
    if (userTime == XCB_ATOM_NONE || activeWindow == XCB_ATOM_NONE)
        return;

    // Qt keeps the user time on a helper window when the window manager supports it.
    xcb_window_t timeHolder = window;
    if (userTimeWindow != XCB_ATOM_NONE) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, userTimeWindow, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
            timeHolder = *static_cast<xcb_window_t *>(xcb_get_property_value(reply));
        std::free(reply);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, timeHolder, userTime, XCB_ATOM_CARDINAL,
                        32, 1, &time);

    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = activeWindow;
    message.data.data32[0] = 1; // from an application
    message.data.data32[1] = time;
    message.data.data32[2] = XCB_NONE;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem > 0; xcb_screen_next(&screens))
        xcb_send_event(connection, 0, screens.data->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

#endif

} // namespace

void BringToFront(QWidget *window) {
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        activateOnX11(window);
#endif
}

} // namespace tarvin
