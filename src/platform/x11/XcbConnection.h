#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>

namespace kesmaro::x11 {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
// xcb hands out replies and errors allocated with malloc.
template <class T> using Owned = std::unique_ptr<T, FreeDeleter>;

// One client connection to the X server. It is never shared with Qt's own connection, so a
// request that fails here (a window that has gone) only produces an error reply that we
// inspect and drop; nothing reaches stderr. A lost connection is reopened on the next use.
class XcbConnection {
public:
    explicit XcbConnection(std::string displayName);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    // True when the connection is up, reconnecting once when it was lost.
    bool ensure();
    xcb_connection_t* get() const { return m_conn; }
    xcb_window_t root() const { return m_root; }
    const xcb_setup_t* setup() const { return m_conn ? xcb_get_setup(m_conn) : nullptr; }
    const xcb_screen_t* screen() const { return m_screen; }
    // Generation counter: changes every time a new connection is made.
    int generation() const { return m_generation; }

    // The atom of `name`, or XCB_ATOM_NONE when the server does not know it.
    xcb_atom_t atom(const char* name);

    // Drops events and asynchronous errors that piled up; this connection selects no events
    // for itself, so they are only errors of unchecked requests.
    void discardEvents();

    // Property helpers; an empty result when the window or the property is missing.
    std::vector<xcb_window_t> windowListProperty(xcb_window_t window, xcb_atom_t property);
    std::optional<xcb_window_t> windowProperty(xcb_window_t window, xcb_atom_t property);
    std::optional<std::string> rawProperty(xcb_window_t window, xcb_atom_t property,
                                           xcb_atom_t type);
    bool hasProperty(xcb_window_t window, xcb_atom_t property);

    // The children of `window`, bottom of the stack first; empty when it is gone.
    std::vector<xcb_window_t> children(xcb_window_t window);
    // The parent of `window`; XCB_WINDOW_NONE when it is gone or is the root.
    xcb_window_t parent(xcb_window_t window);

private:
    void open();
    void close();

    std::string m_displayName;
    xcb_connection_t* m_conn = nullptr;
    const xcb_screen_t* m_screen = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    int m_generation = 0;
    std::unordered_map<std::string, xcb_atom_t> m_atoms;
};

} // namespace kesmaro::x11
