#include "ui/widgets/x11_connection.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

std::optional<X11Display> CurrentX11Display()
{
    if (QGuiApplication::platformName() != u"xcb")
        return std::nullopt;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    return X11Display{connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root};
}

xcb_atom_t ExistingAtom(xcb_connection_t *connection, std::string_view name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, uint16_t(name.size()), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

XcbReply<xcb_get_property_reply_t> WindowProperty(xcb_connection_t *connection, xcb_window_t window,
                                                  xcb_atom_t property, xcb_atom_t type, uint32_t longs)
{
    return XcbReply<xcb_get_property_reply_t>(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, longs), nullptr));
}
