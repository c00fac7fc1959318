#include "ui/widgets/window_manager_move.h"

#include "ui/widgets/x11_connection.h"

#include <QPoint>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// The actions of _NET_WM_MOVERESIZE.
constexpr uint32_t MoveAction = 8;
constexpr uint32_t CancelAction = 11;
constexpr uint32_t LeftButton = XCB_BUTTON_INDEX_1;
// The request comes from an ordinary application.
constexpr uint32_t ApplicationSource = 1;

// The X11 side of a window: the display, the window's own X window and the
// _NET_WM_MOVERESIZE message type.
struct X11Window {
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = XCB_WINDOW_NONE;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t moveResize = XCB_ATOM_NONE;
};

std::optional<X11Window> X11WindowOf(const QWindow &window)
{
    const std::optional<X11Display> display = CurrentX11Display();
    if (!display)
        return std::nullopt;
    return X11Window{display->connection, static_cast<xcb_window_t>(window.winId()), display->root,
                     ExistingAtom(display->connection, "_NET_WM_MOVERESIZE")};
}

// Whether the running window manager lists _NET_WM_MOVERESIZE among what it supports.
bool WindowManagerTakesMoves(const X11Window &x11)
{
    if (x11.moveResize == XCB_ATOM_NONE)
        return false;
    const XcbReply<xcb_get_property_reply_t> reply = WindowProperty(
        x11.connection, x11.root, ExistingAtom(x11.connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const auto *end = atoms + xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, end, x11.moveResize) != end;
}

// Where the window's top left corner is on the screen, in device pixels, as
// the X server has it now.
std::optional<QPoint> ScreenOrigin(const X11Window &x11)
{
    const xcb_translate_coordinates_cookie_t cookie =
        xcb_translate_coordinates(x11.connection, x11.window, x11.root, 0, 0);
    const XcbReply<xcb_translate_coordinates_reply_t> reply(
        xcb_translate_coordinates_reply(x11.connection, cookie, nullptr));
    if (!reply)
        return std::nullopt;
    return QPoint(reply->dst_x, reply->dst_y);
}

// Whether the left button is still down on the X server. A window manager
// told to move the window after the release would wait for a release that
// has already happened, and the window would stick to the pointer.
bool LeftButtonDown(const X11Window &x11)
{
    const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(x11.connection, x11.root);
    const XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(x11.connection, cookie, nullptr));
    return reply && (reply->mask & XCB_BUTTON_MASK_1);
}

void SendMoveResize(const X11Window &x11, QPoint pressPoint, uint32_t action, uint32_t button)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = x11.window;
    message.type = x11.moveResize;
    message.data.data32[0] = static_cast<uint32_t>(pressPoint.x());
    message.data.data32[1] = static_cast<uint32_t>(pressPoint.y());
    message.data.data32[2] = action;
    message.data.data32[3] = button;
    message.data.data32[4] = ApplicationSource;
    xcb_send_event(x11.connection, false, x11.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(x11.connection);
}

// Qt's own system move tells an X11 window manager the pointer's position
// at the last event, and the window manager keeps the window's spot under
// that position under the pointer: the travel before the move started (the
// drag distance at least) is lost. Here the window manager is told the
// press itself, where the grabbed spot was under the pointer; it then puts
// that spot back under the pointer at its first step.
class PlatformMove final : public WindowManagerMove {
public:
    bool Start(QWindow &window, QPointF grabbedSpot) override
    {
        const std::optional<X11Window> x11 = X11WindowOf(window);
        if (!x11)
            return window.startSystemMove();
        if (!WindowManagerTakesMoves(*x11) || !LeftButtonDown(*x11))
            return false;
        const std::optional<QPoint> origin = ScreenOrigin(*x11);
        if (!origin)
            return false;
        const QPoint pressPoint = *origin + (grabbedSpot * window.devicePixelRatio()).toPoint();
        // The press gave this program the pointer; the window manager can
        // only take it once the program lets it go.
        xcb_ungrab_pointer(x11->connection, XCB_CURRENT_TIME);
        SendMoveResize(*x11, pressPoint, MoveAction, LeftButton);
        return true;
    }

    void Cancel(QWindow &window) override
    {
        if (const std::optional<X11Window> x11 = X11WindowOf(window))
            SendMoveResize(*x11, QPoint(), CancelAction, 0);
    }
};

} // namespace

std::unique_ptr<WindowManagerMove> PlatformWindowManagerMove()
{
    return std::make_unique<PlatformMove>();
}
