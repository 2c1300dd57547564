#include "DesktopHints.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(VELMORA_X11)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace velmora {

#if defined(VELMORA_X11)
namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply == nullptr ? xcb_atom_t{XCB_ATOM_NONE} : reply->atom;
    std::free(reply);
    return atom;
}

/// The X server connection where the program runs on X11, else nothing.
xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return QGuiApplication::platformName() == QLatin1String("xcb") && x11 != nullptr
               ? x11->connection()
               : nullptr;
}

}  // namespace
#endif

void LeaveOffTaskbar(QWidget& window) {
#if defined(VELMORA_X11)
    if (xcb_connection_t* connection = X11Connection()) {
        const xcb_atom_t skipTaskbar = Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
        xcb_change_property(connection, XCB_PROP_MODE_APPEND,
                            static_cast<xcb_window_t>(window.winId()),
                            Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    }
#else
    (void)window;
#endif
}

void KeepWithOwner(QWidget& window, const QWidget& owner) {
#if defined(VELMORA_X11)
    if (xcb_connection_t* connection = X11Connection()) {
        const auto ownerId = static_cast<xcb_window_t>(owner.winId());
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                            static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &ownerId);
        xcb_flush(connection);
    }
#else
    (void)window;
    (void)owner;
#endif
}

}  // namespace velmora
