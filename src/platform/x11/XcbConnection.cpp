#include "platform/x11/XcbConnection.h"

#include <cstring>

namespace kesmaro::x11 {

XcbConnection::XcbConnection(std::string displayName) : m_displayName(std::move(displayName))
{
    open();
}

XcbConnection::~XcbConnection()
{
    close();
}

void XcbConnection::open()
{
    int screenNumber = 0;
    m_conn = xcb_connect(m_displayName.empty() ? nullptr : m_displayName.c_str(), &screenNumber);
    ++m_generation;
    m_atoms.clear();
    // xcb_connect never returns null: a failed connection is an object in the error state.
    if (xcb_connection_has_error(m_conn)) {
        close();
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    if (it.rem <= 0) {
        close();
        return;
    }
    m_screen = it.data;
    m_root = m_screen->root;
}

void XcbConnection::close()
{
    if (m_conn)
        xcb_disconnect(m_conn);
    m_conn = nullptr;
    m_screen = nullptr;
    m_root = XCB_WINDOW_NONE;
}

bool XcbConnection::ensure()
{
    if (m_conn && !xcb_connection_has_error(m_conn))
        return true;
    close();
    open();
    return m_conn != nullptr;
}

xcb_atom_t XcbConnection::atom(const char* name)
{
    if (!m_conn)
        return XCB_ATOM_NONE;
    auto found = m_atoms.find(name);
    if (found != m_atoms.end())
        return found->second;
    const auto cookie =
        xcb_intern_atom(m_conn, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
    Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_conn, cookie, nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    // Only known atoms are cached: one that does not exist yet may be created later (a window
    // manager that starts after us).
    if (value != XCB_ATOM_NONE)
        m_atoms.emplace(name, value);
    return value;
}

void XcbConnection::discardEvents()
{
    if (!m_conn)
        return;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_conn))
        std::free(event);
}

std::optional<std::string> XcbConnection::rawProperty(xcb_window_t window, xcb_atom_t property,
                                                      xcb_atom_t type)
{
    if (!m_conn || property == XCB_ATOM_NONE || window == XCB_WINDOW_NONE)
        return std::nullopt;
    // 1024 longs are plenty for every property we read (class hints, window lists).
    const auto cookie = xcb_get_property(m_conn, 0, window, property, type, 0, 1024);
    xcb_generic_error_t* error = nullptr;
    Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_conn, cookie, &error));
    Owned<xcb_generic_error_t> ownedError(error);
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    if (type != XCB_GET_PROPERTY_TYPE_ANY && reply->type != type)
        return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(data, data + (length > 0 ? length : 0));
}

bool XcbConnection::hasProperty(xcb_window_t window, xcb_atom_t property)
{
    if (!m_conn || property == XCB_ATOM_NONE)
        return false;
    const auto cookie =
        xcb_get_property(m_conn, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
    xcb_generic_error_t* error = nullptr;
    Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_conn, cookie, &error));
    Owned<xcb_generic_error_t> ownedError(error);
    return reply && reply->type != XCB_ATOM_NONE;
}

std::vector<xcb_window_t> XcbConnection::windowListProperty(xcb_window_t window,
                                                            xcb_atom_t property)
{
    std::vector<xcb_window_t> result;
    const auto raw = rawProperty(window, property, XCB_ATOM_WINDOW);
    if (!raw)
        return result;
    result.resize(raw->size() / sizeof(xcb_window_t));
    if (!result.empty())
        std::memcpy(result.data(), raw->data(), result.size() * sizeof(xcb_window_t));
    return result;
}

std::optional<xcb_window_t> XcbConnection::windowProperty(xcb_window_t window, xcb_atom_t property)
{
    const auto list = windowListProperty(window, property);
    if (list.empty())
        return std::nullopt;
    return list.front();
}

namespace {

// The window's place in the tree; null (and the error freed) when the server refuses.
Owned<xcb_query_tree_reply_t> queryTree(xcb_connection_t* conn, xcb_window_t window)
{
    xcb_generic_error_t* error = nullptr;
    Owned<xcb_query_tree_reply_t> reply(
        xcb_query_tree_reply(conn, xcb_query_tree(conn, window), &error));
    Owned<xcb_generic_error_t> ownedError(error);
    return reply;
}

} // namespace

std::vector<xcb_window_t> XcbConnection::children(xcb_window_t window)
{
    std::vector<xcb_window_t> result;
    if (!m_conn)
        return result;
    const Owned<xcb_query_tree_reply_t> reply = queryTree(m_conn, window);
    if (!reply)
        return result;
    const xcb_window_t* first = xcb_query_tree_children(reply.get());
    result.assign(first, first + xcb_query_tree_children_length(reply.get()));
    return result;
}

xcb_window_t XcbConnection::parent(xcb_window_t window)
{
    if (!m_conn)
        return XCB_WINDOW_NONE;
    const Owned<xcb_query_tree_reply_t> reply = queryTree(m_conn, window);
    if (!reply || window == reply->root)
        return XCB_WINDOW_NONE;
    return reply->parent;
}

} // namespace kesmaro::x11
