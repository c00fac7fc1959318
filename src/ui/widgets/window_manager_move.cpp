#include "ui/widgets/window_manager_move.h"

#include <QGuiApplication>
#include <QPoint>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

// The actions of _NET_WM_MOVERESIZE.
constexpr uint32_t MoveAction = 8;
constexpr uint32_t CancelAction = 11;
constexpr uint32_t LeftButton = XCB_BUTTON_INDEX_1;
// The request comes from an ordinary application.
constexpr uint32_t ApplicationSource = 1;

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, false, static_cast<uint16_t>(std::strlen(name)), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The X11 side of a window: its connection, its own X window, the root
// window it lives in and the _NET_WM_MOVERESIZE message type.
struct X11Window {
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = XCB_WINDOW_NONE;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t moveResize = XCB_ATOM_NONE;
};

std::optional<X11Window> X11WindowOf(const QWindow &window)
{
    // Other platforms may offer an X11 connection too (offscreen does, for
    // OpenGL), but their windows are no X windows.
    if (QGuiApplication::platformName() != u"xcb")
        return std::nullopt;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return std::nullopt;
    X11Window found;
    found.connection = x11->connection();
    found.window = static_cast<xcb_window_t>(window.winId());
    const ReplyPointer<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(found.connection, xcb_get_geometry(found.connection, found.window), nullptr));
    if (!geometry)
        return std::nullopt;
    found.root = geometry->root;
    found.moveResize = Atom(found.connection, "_NET_WM_MOVERESIZE");
    return found;
}

// Whether the running window manager lists _NET_WM_MOVERESIZE among what it supports.
bool WindowManagerTakesMoves(const X11Window &x11)
{
    const xcb_atom_t supported = Atom(x11.connection, "_NET_SUPPORTED");
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(x11.connection, false, x11.root, supported, XCB_ATOM_ATOM, 0, 4096);
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(x11.connection, cookie, nullptr));
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
    const ReplyPointer<xcb_translate_coordinates_reply_t> reply(
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
    const ReplyPointer<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(x11.connection, cookie, nullptr));
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
