#pragma once

#include <memory>
#include <string>

namespace kesmaro {

namespace x11 {
class XcbConnection;
}

// The desktop's bell: the X server rings it, or the desktop plays its bell sound in its place.
class X11Bell {
public:
    explicit X11Bell(std::string display = {});
    ~X11Bell();
    // False when no X server could be reached.
    bool Ring();

private:
    std::unique_ptr<x11::XcbConnection> m_conn;
};

} // namespace kesmaro
