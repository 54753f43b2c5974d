#include "platform/x11/X11GameWindows.h"

#include "platform/x11/ImageConversion.h"
#include "platform/x11/XcbConnection.h"

#include <algorithm>
#include <optional>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

namespace kesmaro {

using x11::Owned;

// A shared-memory segment attached on both sides, grown on demand.
struct X11GameWindows::Shm {
    explicit Shm(x11::XcbConnection& connection) : owner(connection) {}
    x11::XcbConnection& owner;
    int generation = 0;
    xcb_shm_seg_t seg = 0;
    int id = -1;
    std::uint8_t* address = nullptr;
    std::size_t size = 0;
    bool failed = false; // the server or this system refused: plain requests from now on

    ~Shm() { release(); }

    void release()
    {
        // A segment attached through an earlier connection was detached when it closed.
        if (seg != 0 && owner.get() && owner.generation() == generation)
            xcb_shm_detach(owner.get(), seg);
        if (address)
            shmdt(address);
        seg = 0;
        address = nullptr;
        size = 0;
        id = -1;
    }

    bool reserve(std::size_t bytes)
    {
        if (failed)
            return false;
        xcb_connection_t* c = owner.get();
        if (generation != owner.generation()) {
            release();
            generation = owner.generation();
        }
        if (address && size >= bytes)
            return true;
        release();
        const std::size_t want = std::max<std::size_t>(bytes, 256 * 1024);
        id = shmget(IPC_PRIVATE, want, IPC_CREAT | 0600);
        if (id < 0) {
            failed = true;
            return false;
        }
        void* mapped = shmat(id, nullptr, 0);
        if (mapped == reinterpret_cast<void*>(-1)) {
            shmctl(id, IPC_RMID, nullptr);
            id = -1;
            failed = true;
            return false;
        }
        address = static_cast<std::uint8_t*>(mapped);
        size = want;
        seg = xcb_generate_id(c);
        // Writable by the server: it writes the images into the segment.
        Owned<xcb_generic_error_t> error(xcb_request_check(
            c, xcb_shm_attach_checked(c, seg, static_cast<std::uint32_t>(id), 0)));
        // Marked for removal at once: the segment goes away with the last detach, also when
        // this program dies.
        shmctl(id, IPC_RMID, nullptr);
        if (error || xcb_connection_has_error(c)) {
            // A server on another machine or in another namespace cannot attach it; a lost
            // connection says nothing about the next one.
            seg = 0;
            release();
            failed = !xcb_connection_has_error(c);
            return false;
        }
        return true;
    }
};

namespace x11 {

// The questions for a drawable's place, asked together and answered by `receive`.
struct Placement {
    xcb_get_geometry_cookie_t geometryCookie{};
    xcb_translate_coordinates_cookie_t originCookie{};
    xcb_get_geometry_cookie_t rootCookie{};

    bool receive(xcb_connection_t* c, Place& place)
    {
        Owned<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, geometryCookie, nullptr));
        Owned<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c, originCookie, nullptr));
        Owned<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(c, rootCookie, nullptr));
        if (!geometry || !origin || !root)
            return false;
        place = Place{geometry->width, geometry->height, geometry->border_width,
                      origin->dst_x,   origin->dst_y,    root->width,
                      root->height};
        return true;
    }
};

// A rectangle to ask the server for, and where it lands in the caller's buffer.
struct Clip {
    int x = 0, y = 0, width = 0, height = 0;
    int dx = 0, dy = 0;
    friend bool operator==(const Clip&, const Clip&) = default;
};

// An image request on its way; the reply is read later.
struct PendingImage {
    bool shm = false;
    std::size_t offset = 0; // into the shared segment
    Clip clip;
    xcb_shm_get_image_cookie_t shmCookie{};
    xcb_get_image_cookie_t plainCookie{};
};

// The part of `region` that can be read: only pixels of the window that are on the screen
// can, and a request that reaches beyond either is refused as a whole (BadMatch).
std::optional<Clip> ClipToWindow(const Rect& region, const Place& place, bool withBorder)
{
    // Window coordinates start inside the border; the whole window starts at its outer edge.
    const int border = withBorder ? place.border : 0;
    const long reqX = static_cast<long>(region.x) - border;
    const long reqY = static_cast<long>(region.y) - border;
    const long minX = std::max<long>(-border, -place.x);
    const long minY = std::max<long>(-border, -place.y);
    const long maxX = std::min<long>(place.width + border, place.screenWidth - place.x);
    const long maxY = std::min<long>(place.height + border, place.screenHeight - place.y);
    const long x0 = std::max(reqX, minX);
    const long y0 = std::max(reqY, minY);
    const long x1 = std::min(reqX + region.width, maxX);
    const long y1 = std::min(reqY + region.height, maxY);
    if (x1 <= x0 || y1 <= y0)
        return std::nullopt;
    return Clip{static_cast<int>(x0),        static_cast<int>(y0),
                static_cast<int>(x1 - x0),   static_cast<int>(y1 - y0),
                static_cast<int>(x0 - reqX), static_cast<int>(y0 - reqY)};
}

} // namespace x11

X11GameWindows::X11GameWindows() : X11GameWindows(Options{}) {}

X11GameWindows::X11GameWindows(Options options)
    : m_options(std::move(options)),
      m_conn(std::make_unique<x11::XcbConnection>(m_options.display)),
      m_shm(std::make_unique<Shm>(*m_conn))
{
    if (!m_options.useShm)
        m_shm->failed = true;
}

X11GameWindows::~X11GameWindows()
{
    // Detach while the connection still exists.
    m_shm.reset();
}

bool X11GameWindows::isConnected()
{
    return m_conn->ensure();
}

bool X11GameWindows::usesShm() const
{
    return !m_shm->failed && m_shm->address != nullptr;
}

bool X11GameWindows::classMatches(std::uint32_t window, const std::string& windowClass)
{
    const auto raw = m_conn->rawProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    if (!raw)
        return false;
    // Two NUL-terminated strings: the instance name, then the class name.
    std::size_t start = 0;
    for (int part = 0; part < 2 && start <= raw->size(); ++part) {
        std::size_t end = raw->find('\0', start);
        if (end == std::string::npos)
            end = raw->size();
        if (raw->compare(start, end - start, windowClass) == 0 && end - start == windowClass.size())
            return true;
        start = end + 1;
    }
    return false;
}

std::uint32_t X11GameWindows::clientBelow(std::uint32_t window, int depth)
{
    // ICCCM: the window manager puts WM_STATE on each client it manages.
    if (m_conn->hasProperty(window, m_conn->atom("WM_STATE")))
        return window;
    if (depth <= 0)
        return XCB_WINDOW_NONE;
    const auto kids = m_conn->children(window);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        if (const std::uint32_t found = clientBelow(*it, depth - 1))
            return found;
    }
    return XCB_WINDOW_NONE;
}

std::uint32_t X11GameWindows::topLevelOf(std::uint32_t window)
{
    const xcb_window_t root = m_conn->root();
    std::uint32_t current = window;
    // Reparenting managers nest a client at most a few levels deep; the bound only guards
    // against a tree that changes under our feet.
    for (int i = 0; i < 64 && current != XCB_WINDOW_NONE; ++i) {
        if (current == root)
            return XCB_WINDOW_NONE;
        const xcb_window_t up = m_conn->parent(current);
        if (up == XCB_WINDOW_NONE)
            return XCB_WINDOW_NONE;
        if (up == root)
            return current;
        current = up;
    }
    return XCB_WINDOW_NONE;
}

WindowId X11GameWindows::FindWindow(const std::string& windowClass)
{
    if (windowClass.empty() || !m_conn->ensure())
        return kNoWindow;
    const xcb_window_t root = m_conn->root();
    WindowId found = kNoWindow;

    // Topmost first, as a desktop user would expect when two windows share a class.
    auto clients = m_conn->windowListProperty(root, m_conn->atom("_NET_CLIENT_LIST_STACKING"));
    if (clients.empty())
        clients = m_conn->windowListProperty(root, m_conn->atom("_NET_CLIENT_LIST"));
    if (!clients.empty()) {
        for (auto it = clients.rbegin(); it != clients.rend() && found == kNoWindow; ++it) {
            if (classMatches(*it, windowClass))
                found = *it;
        }
    } else {
        // No EWMH window manager: top-level windows are the root's children (or, under a
        // plain reparenting manager, the clients inside its frames).
        const auto tops = m_conn->children(root);
        for (auto it = tops.rbegin(); it != tops.rend() && found == kNoWindow; ++it) {
            if (classMatches(*it, windowClass)) {
                found = *it;
            } else if (const std::uint32_t client = clientBelow(*it, 3);
                       client != XCB_WINDOW_NONE && client != *it &&
                       classMatches(client, windowClass)) {
                found = client;
            }
        }
    }
    m_conn->discardEvents();
    return found;
}

bool X11GameWindows::ewmhManagerRunning()
{
    const auto check =
        m_conn->windowProperty(m_conn->root(), m_conn->atom("_NET_SUPPORTING_WM_CHECK"));
    if (!check || *check == XCB_WINDOW_NONE)
        return false;
    // A manager that died leaves the property behind; its check window went with it.
    const auto self = m_conn->windowProperty(*check, m_conn->atom("_NET_SUPPORTING_WM_CHECK"));
    return self && *self == *check;
}

WindowId X11GameWindows::ForegroundWindow()
{
    if (!m_conn->ensure())
        return kNoWindow;
    const xcb_window_t root = m_conn->root();
    WindowId result = kNoWindow;
    xcb_connection_t* c = m_conn->get();
    const auto active = m_conn->windowProperty(root, m_conn->atom("_NET_ACTIVE_WINDOW"));
    // The property may still name a window that has just closed (openbox keeps it when the
    // last window goes): only a window that exists counts.
    Owned<xcb_get_geometry_reply_t> exists;
    if (active && *active != XCB_WINDOW_NONE)
        exists.reset(xcb_get_geometry_reply(c, xcb_get_geometry(c, *active), nullptr));
    if (exists) {
        result = *active;
    } else if (ewmhManagerRunning()) {
        // The manager keeps the property: absent, None or stale, nothing of ours is active
        // (the focus rests on the desktop or on the manager's own window).
        result = kNoWindow;
    } else {
        Owned<xcb_get_input_focus_reply_t> focus(
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        // None and PointerRoot name no window.
        if (focus && focus->focus != XCB_WINDOW_NONE &&
            focus->focus != XCB_INPUT_FOCUS_POINTER_ROOT && focus->focus != root) {
            // Applications often focus a child of their top-level; the managed client is the
            // nearest ancestor with WM_STATE, else the top-level itself.
            const xcb_atom_t wmState = m_conn->atom("WM_STATE");
            std::uint32_t current = focus->focus;
            for (int i = 0; i < 64 && current != XCB_WINDOW_NONE && current != root; ++i) {
                if (m_conn->hasProperty(current, wmState)) {
                    result = current;
                    break;
                }
                const xcb_window_t up = m_conn->parent(current);
                if (up == root) {
                    const std::uint32_t client = clientBelow(current, 3);
                    result = client != XCB_WINDOW_NONE ? client : current;
                    break;
                }
                current = up;
            }
        }
    }
    m_conn->discardEvents();
    return result;
}

PixelBuffer X11GameWindows::GrabClientRegion(WindowId window, const Rect& region)
{
    return GrabPicture(window, PictureArea::Client, region);
}

PixelBuffer X11GameWindows::GrabPicture(WindowId window, PictureArea area, const Rect& region)
{
    if (region.width <= 0 || region.height <= 0 ||
        std::int64_t{region.width} * region.height > kMaxGrabPixels)
        return PixelBuffer();
    if (window == kNoWindow || window > 0xFFFFFFFFu || !m_conn->ensure())
        return PixelBuffer(region.width, region.height);
    std::uint32_t drawable = static_cast<std::uint32_t>(window);
    if (area == PictureArea::WholeWindow) {
        drawable = topLevelOf(drawable);
        if (drawable == XCB_WINDOW_NONE)
            return PixelBuffer(region.width, region.height);
    }
    PixelBuffer out = grab(drawable, region, area == PictureArea::WholeWindow);
    m_conn->discardEvents();
    return out;
}

x11::Placement X11GameWindows::requestPlacement(std::uint32_t drawable)
{
    xcb_connection_t* c = m_conn->get();
    x11::Placement place;
    place.geometryCookie = xcb_get_geometry(c, drawable);
    place.originCookie = xcb_translate_coordinates(c, drawable, m_conn->root(), 0, 0);
    place.rootCookie = xcb_get_geometry(c, m_conn->root());
    return place;
}

PixelBuffer X11GameWindows::grab(std::uint32_t drawable, const Rect& region, bool withBorder)
{
    PixelBuffer out(region.width, region.height);
    x11::Place place;
    if (!requestPlacement(drawable).receive(m_conn->get(), place))
        return out;
    const std::optional<x11::Clip> clip = x11::ClipToWindow(region, place, withBorder);
    if (!clip)
        return out;
    const std::size_t bytes = static_cast<std::size_t>(clip->width) * clip->height * 4;
    x11::PendingImage pending = requestImage(drawable, *clip, shmReady(bytes), 0);
    receiveImage(pending, out);
    return out;
}

std::vector<PixelBuffer> X11GameWindows::GrabClientRegions(WindowId window,
                                                           const std::vector<Rect>& regions)
{
    std::vector<PixelBuffer> out;
    out.reserve(regions.size());
    std::vector<std::size_t> wanted; // the regions with pixels to fetch
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const Rect& region = regions[i];
        if (region.width <= 0 || region.height <= 0 ||
            std::int64_t{region.width} * region.height > kMaxGrabPixels) {
            out.emplace_back();
            continue;
        }
        out.emplace_back(region.width, region.height);
        wanted.push_back(i);
    }
    if (wanted.empty() || window == kNoWindow || window > 0xFFFFFFFFu || !m_conn->ensure())
        return out;
    const auto drawable = static_cast<std::uint32_t>(window);
    xcb_connection_t* c = m_conn->get();

    // Each region has a slot of its own in the segment, big enough for the whole region.
    std::vector<std::size_t> offsets;
    std::size_t total = 0;
    for (const std::size_t i : wanted) {
        offsets.push_back(total);
        const std::size_t bytes =
            static_cast<std::size_t>(regions[i].width) * regions[i].height * 4;
        total += (bytes + 63) & ~std::size_t{63};
    }
    // A batch larger than one largest grab goes plain rather than grow the segment for it.
    const bool shm = total <= static_cast<std::size_t>(kMaxGrabPixels) * 4 && shmReady(total);

    // The images are asked for together with the window's place, clipped by where the window
    // was last time: while it stays put, the whole batch takes this one round trip. Without
    // that, each region is asked for as it is; the server refuses (BadMatch) what it cannot
    // give, without harm.
    x11::Placement placement = requestPlacement(drawable);
    std::vector<std::optional<x11::PendingImage>> pending(wanted.size());
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        const Rect& region = regions[wanted[k]];
        std::optional<x11::Clip> guess;
        if (m_placedWindow == window)
            guess = x11::ClipToWindow(region, m_place, false);
        else if (region.x >= 0 && region.y >= 0 &&
                 region.x + std::int64_t{region.width} <= 0x7FFF &&
                 region.y + std::int64_t{region.height} <= 0x7FFF)
            guess = x11::Clip{region.x, region.y, region.width, region.height};
        if (guess)
            pending[k] = requestImage(drawable, *guess, shm, offsets[k]);
    }
    x11::Place place;
    if (!placement.receive(c, place)) {
        // The window is gone: black, as a single grab gives.
        for (auto& image : pending)
            if (image)
                discardImage(*image);
        m_placedWindow = kNoWindow;
        m_conn->discardEvents();
        return out;
    }
    m_placedWindow = window;
    m_place = place;

    // A request counts only when it is the one a single grab would make now; the others are
    // asked again, clipped by the present place.
    std::vector<std::size_t> again;
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        const auto clip = x11::ClipToWindow(regions[wanted[k]], place, false);
        const bool right = pending[k] && clip && pending[k]->clip == *clip;
        if (right && receiveImage(*pending[k], out[wanted[k]]))
            continue;
        if (pending[k] && !right)
            discardImage(*pending[k]);
        pending[k].reset();
        if (clip)
            again.push_back(k);
    }
    for (const std::size_t k : again)
        pending[k] = requestImage(drawable, *x11::ClipToWindow(regions[wanted[k]], place, false),
                                  shm, offsets[k]);
    for (const std::size_t k : again)
        receiveImage(*pending[k], out[wanted[k]]);
    m_conn->discardEvents();
    return out;
}

bool X11GameWindows::formatFor(std::uint8_t depth, std::uint32_t visual,
                               x11::ImageFormat& format) const
{
    const xcb_setup_t* setup = m_conn->setup();
    if (!setup)
        return false;
    bool found = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == depth) {
            format.bitsPerPixel = it.data->bits_per_pixel;
            format.scanlinePad = it.data->scanline_pad;
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    format.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto screens = xcb_setup_roots_iterator(setup); screens.rem > 0;
         xcb_screen_next(&screens)) {
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem > 0;
             xcb_depth_next(&depths)) {
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
                 xcb_visualtype_next(&visuals)) {
                if (visuals.data->visual_id == visual) {
                    format.redMask = visuals.data->red_mask;
                    format.greenMask = visuals.data->green_mask;
                    format.blueMask = visuals.data->blue_mask;
                    return true;
                }
            }
        }
    }
    // No visual given: the server's usual true-colour layout.
    return depth >= 24;
}

bool X11GameWindows::shmReady(std::size_t bytes)
{
    if (!m_shm->failed) {
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(m_conn->get(), &xcb_shm_id);
        if (!ext || !ext->present)
            m_shm->failed = true;
    }
    return m_shm->reserve(bytes);
}

x11::PendingImage X11GameWindows::requestImage(std::uint32_t drawable, const x11::Clip& clip,
                                               bool shm, std::size_t offset)
{
    xcb_connection_t* c = m_conn->get();
    const auto x = static_cast<std::int16_t>(clip.x);
    const auto y = static_cast<std::int16_t>(clip.y);
    const auto w = static_cast<std::uint16_t>(clip.width);
    const auto h = static_cast<std::uint16_t>(clip.height);
    x11::PendingImage pending;
    pending.shm = shm;
    pending.offset = offset;
    pending.clip = clip;
    if (shm)
        pending.shmCookie =
            xcb_shm_get_image(c, drawable, x, y, w, h, ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, m_shm->seg,
                              static_cast<std::uint32_t>(offset));
    else
        pending.plainCookie =
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, x, y, w, h, ~0u);
    return pending;
}

void X11GameWindows::discardImage(const x11::PendingImage& pending)
{
    xcb_discard_reply(m_conn->get(),
                      pending.shm ? pending.shmCookie.sequence : pending.plainCookie.sequence);
}

bool X11GameWindows::receiveImage(x11::PendingImage& pending, PixelBuffer& out)
{
    xcb_connection_t* c = m_conn->get();
    const x11::Clip& clip = pending.clip;
    x11::ImageFormat format;
    xcb_generic_error_t* error = nullptr;
    if (pending.shm) {
        Owned<xcb_shm_get_image_reply_t> reply(
            xcb_shm_get_image_reply(c, pending.shmCookie, &error));
        Owned<xcb_generic_error_t> ownedError(error);
        if (!reply || !formatFor(reply->depth, reply->visual, format) ||
            pending.offset >= m_shm->size)
            return false;
        return x11::CopyImage(m_shm->address + pending.offset,
                              std::min<std::size_t>(reply->size, m_shm->size - pending.offset),
                              clip.width, clip.height, format, out, clip.dx, clip.dy);
    }
    Owned<xcb_get_image_reply_t> reply(xcb_get_image_reply(c, pending.plainCookie, &error));
    Owned<xcb_generic_error_t> ownedError(error);
    if (!reply || !formatFor(reply->depth, reply->visual, format))
        return false;
    return x11::CopyImage(xcb_get_image_data(reply.get()),
                          static_cast<std::size_t>(xcb_get_image_data_length(reply.get())),
                          clip.width, clip.height, format, out, clip.dx, clip.dy);
}

Rect X11GameWindows::WindowRect(WindowId window)
{
    if (window == kNoWindow || window > 0xFFFFFFFFu || !m_conn->ensure())
        return {};
    const std::uint32_t top = topLevelOf(static_cast<std::uint32_t>(window));
    if (top == XCB_WINDOW_NONE)
        return {};
    xcb_connection_t* c = m_conn->get();
    const auto geometryCookie = xcb_get_geometry(c, top);
    const auto originCookie = xcb_translate_coordinates(c, top, m_conn->root(), 0, 0);
    Owned<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    Owned<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, originCookie, nullptr));
    m_conn->discardEvents();
    if (!geometry || !origin)
        return {};
    const int border = geometry->border_width;
    return Rect{origin->dst_x - border, origin->dst_y - border, geometry->width + 2 * border,
                geometry->height + 2 * border};
}

} // namespace kesmaro
