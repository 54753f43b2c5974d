#include "platform/x11/X11Extensions.h"

#include "platform/x11/XcbConnection.h"

#include <xcb/shm.h>
#include <xcb/xinput.h>

namespace kesmaro {

using x11::Owned;

X11Extensions QueryX11Extensions(const std::string& display)
{
    X11Extensions result;
    x11::XcbConnection conn(display);
    if (!conn.ensure())
        return result;
    result.connected = true;
    xcb_connection_t* c = conn.get();
    // The three questions travel together; the answers are read after.
    xcb_prefetch_extension_data(c, &xcb_input_id);
    xcb_prefetch_extension_data(c, &xcb_shm_id);
    const auto geCookie = xcb_query_extension(c, 23, "Generic Event Extension");
    const xcb_query_extension_reply_t* xi = xcb_get_extension_data(c, &xcb_input_id);
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    Owned<xcb_query_extension_reply_t> ge(xcb_query_extension_reply(c, geCookie, nullptr));

    // Version requests to an extension the server lacks would only come back as errors.
    const bool askXi = xi && xi->present && ge && ge->present;
    const bool askShm = shm && shm->present;
    xcb_input_xi_query_version_cookie_t xiCookie{};
    xcb_shm_query_version_cookie_t shmCookie{};
    if (askXi)
        xiCookie = xcb_input_xi_query_version(c, 2, 2);
    if (askShm)
        shmCookie = xcb_shm_query_version(c);
    if (askXi) {
        xcb_generic_error_t* error = nullptr;
        Owned<xcb_input_xi_query_version_reply_t> version(
            xcb_input_xi_query_version_reply(c, xiCookie, &error));
        Owned<xcb_generic_error_t> ownedError(error);
        result.xinput2 = version && version->major_version >= 2;
    }
    if (askShm) {
        xcb_generic_error_t* error = nullptr;
        Owned<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(c, shmCookie, &error));
        Owned<xcb_generic_error_t> ownedError(error);
        result.mitShm = version != nullptr;
    }
    conn.discardEvents();
    return result;
}

} // namespace kesmaro
