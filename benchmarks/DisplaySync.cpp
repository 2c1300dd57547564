#include "DisplaySync.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>

namespace velmora::figures {

void WaitForDisplay() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    // The server answers requests in order: its reply to this one comes after it has
    // handled every image and drawing request sent before.
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace velmora::figures
