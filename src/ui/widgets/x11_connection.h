#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

// The X connection Qt opened, for the few window-manager messages Qt does not
// send the way the window managers need them.

struct X11Display {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
};

// The display while the program runs on X11; none on other platforms (the
// offscreen platform answers as an X11 application too, without a
// connection).
std::optional<X11Display> CurrentX11Display();

struct XcbFree {
    void operator()(void *reply) const { std::free(reply); }
};
// A reply of the X server, freed as xcb asks.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

// The atom of a name; XCB_ATOM_NONE when the server has none by that name.
xcb_atom_t ExistingAtom(xcb_connection_t *connection, std::string_view name);

// Up to `longs` 32-bit units of a window's property of the given type.
XcbReply<xcb_get_property_reply_t> WindowProperty(xcb_connection_t *connection, xcb_window_t window,
                                                  xcb_atom_t property, xcb_atom_t type, uint32_t longs);
