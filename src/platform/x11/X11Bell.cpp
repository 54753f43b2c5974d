#include "platform/x11/X11Bell.h"

#include "platform/x11/XcbConnection.h"

namespace kesmaro {

X11Bell::X11Bell(std::string display)
    : m_conn(std::make_unique<x11::XcbConnection>(std::move(display)))
{}

X11Bell::~X11Bell() = default;

bool X11Bell::Ring()
{
    if (!m_conn->ensure())
        return false;
    xcb_connection_t* c = m_conn->get();
    // Percent 0: the volume the user set for the bell.
    x11::Owned<xcb_generic_error_t> error(xcb_request_check(c, xcb_bell_checked(c, 0)));
    m_conn->discardEvents();
    // A lost connection also answers without an error.
    return !error && !xcb_connection_has_error(c);
}

} // namespace kesmaro
