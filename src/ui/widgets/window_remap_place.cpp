#include "ui/widgets/window_remap_place.h"

#include "ui/widgets/x11_connection.h"

#include <QWidget>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// What Weston's window manager calls itself on its EWMH check window.
constexpr std::string_view WestonWindowManager = "Weston WM";

// The running window manager as it names itself on the window that the
// root's _NET_SUPPORTING_WM_CHECK points at; empty without one.
std::string WindowManagerName(xcb_connection_t *connection, xcb_window_t root)
{
    const xcb_atom_t check = ExistingAtom(connection, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t name = ExistingAtom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = ExistingAtom(connection, "UTF8_STRING");
    if (check == XCB_ATOM_NONE || name == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return {};
    const auto pointer = WindowProperty(connection, root, check, XCB_ATOM_WINDOW, 1);
    if (!pointer || xcb_get_property_value_length(pointer.get()) != int(sizeof(xcb_window_t)))
        return {};
    xcb_window_t manager = XCB_WINDOW_NONE;
    std::memcpy(&manager, xcb_get_property_value(pointer.get()), sizeof manager);
    const auto named = WindowProperty(connection, manager, name, utf8, 64);
    if (!named)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(named.get())),
                       std::size_t(xcb_get_property_value_length(named.get())));
}

} // namespace

void TellPlaceBeforeRemap(const QWidget &window)
{
    const std::optional<X11Display> display = CurrentX11Display();
    if (!display || !window.windowHandle())
        return;
    xcb_connection_t *connection = display->connection;
    const xcb_window_t root = display->root;
    if (WindowManagerName(connection, root) != WestonWindowManager)
        return;
    // The manager keeps the place of every configure notice it hears of the
    // window, the program's own included.
    const qreal scale = window.devicePixelRatioF();
    const QRect place = window.geometry();
    xcb_configure_notify_event_t notice{};
    notice.response_type = XCB_CONFIGURE_NOTIFY;
    notice.event = root;
    notice.window = xcb_window_t(window.winId());
    notice.above_sibling = XCB_WINDOW_NONE;
    notice.x = int16_t(qRound(place.x() * scale));
    notice.y = int16_t(qRound(place.y() * scale));
    notice.width = uint16_t(qRound(place.width() * scale));
    notice.height = uint16_t(qRound(place.height() * scale));
    std::array<char, 32> event{};
    std::memcpy(event.data(), &notice, sizeof notice);
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, event.data());
    xcb_flush(connection);
}
