#include "platform/x11/X11MouseButtons.h"

#include "platform/x11/XcbConnection.h"

#include <QSocketNotifier>
#include <cstring>
#include <xcb/xinput.h>

namespace kesmaro {

using x11::Owned;

namespace {

// A server can run without any pointer (a headless one with its devices removed).
bool hasMasterPointer(xcb_connection_t* c)
{
    xcb_generic_error_t* error = nullptr;
    Owned<xcb_input_xi_query_device_reply_t> devices(xcb_input_xi_query_device_reply(
        c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL_MASTER), &error));
    Owned<xcb_generic_error_t> ownedError(error);
    if (!devices)
        return false;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it))
        if (it.data->type == XCB_INPUT_DEVICE_TYPE_MASTER_POINTER)
            return true;
    return false;
}

} // namespace

X11MouseButtons::X11MouseButtons(const Clock& clock, std::string display)
    : m_clock(clock), m_display(std::move(display))
{}

X11MouseButtons::~X11MouseButtons()
{
    Stop();
    m_notifier.reset();
}

MouseStart X11MouseButtons::connect()
{
    if (!m_conn)
        m_conn = std::make_unique<x11::XcbConnection>(m_display);
    if (!m_conn->ensure())
        return MouseStart::NoInputSystem;
    if (m_readyGeneration == m_conn->generation())
        return MouseStart::Started;

    // A fresh connection: the notifier of an earlier one watches a closed socket. It may be
    // the one whose signal is running (Start called from the handler), so it goes later.
    if (m_notifier)
        m_notifier.release()->deleteLater();
    xcb_connection_t* c = m_conn->get();
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_input_id);
    if (!ext || !ext->present)
        return MouseStart::NoPointerDevice;
    // XI2 events travel as generic events; a server without them cannot deliver any.
    const auto geCookie = xcb_query_extension(c, 23, "Generic Event Extension");
    Owned<xcb_query_extension_reply_t> ge(xcb_query_extension_reply(c, geCookie, nullptr));
    if (!ge || !ge->present)
        return MouseStart::NoPointerDevice;
    // 2.2 is asked for so that raw events arrive also while another client grabs the pointer
    // (a game in full screen does).
    xcb_generic_error_t* error = nullptr;
    Owned<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), &error));
    Owned<xcb_generic_error_t> ownedError(error);
    if (!version || version->major_version < 2)
        return MouseStart::NoPointerDevice;
    if (!hasMasterPointer(c))
        return MouseStart::NoPointerDevice;
    m_xiOpcode = ext->major_opcode;

    m_notifier =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    m_notifier->setEnabled(false);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    m_readyGeneration = m_conn->generation();
    return MouseStart::Started;
}

bool X11MouseButtons::select(bool on)
{
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{};
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits =
        on ? (XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE)
           : 0;
    xcb_connection_t* c = m_conn->get();
    Owned<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, m_conn->root(), 1, &mask.head)));
    // A lost connection also answers without an error.
    return !error && !xcb_connection_has_error(c);
}

MouseStart X11MouseButtons::Start(Handler handler)
{
    MouseStart result = connect();
    // A server that refuses the selection has no raw events to give.
    if (result == MouseStart::Started && !select(true))
        result = xcb_connection_has_error(m_conn->get()) ? MouseStart::NoInputSystem
                                                         : MouseStart::NoPointerDevice;
    if (result != MouseStart::Started) {
        m_started = false;
        m_handler = nullptr;
        return result;
    }
    // Anything read before now belongs to no listener.
    m_conn->discardEvents();
    m_handler = std::move(handler);
    m_started = true;
    m_notifier->setEnabled(true);
    return MouseStart::Started;
}

void X11MouseButtons::Stop()
{
    if (!m_started)
        return;
    m_started = false;
    m_handler = nullptr;
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_conn && m_conn->get() && !xcb_connection_has_error(m_conn->get())) {
        select(false);
        m_conn->discardEvents();
    }
}

void X11MouseButtons::readEvents()
{
    xcb_connection_t* c = m_conn ? m_conn->get() : nullptr;
    if (!c)
        return;
    std::vector<MouseButtonEvent> batch;
    std::vector<std::uint32_t> serverTimes;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        Owned<xcb_generic_event_t> owned(event);
        if ((event->response_type & 0x7F) != XCB_GE_GENERIC)
            continue;
        const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        if (ge->extension != m_xiOpcode)
            continue;
        if (ge->event_type != XCB_INPUT_RAW_BUTTON_PRESS &&
            ge->event_type != XCB_INPUT_RAW_BUTTON_RELEASE)
            continue;
        const auto* raw = reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event);
        // Raw events carry the device's own button numbers: 1 left, 3 right.
        if (raw->detail != 1 && raw->detail != 3)
            continue;
        MouseButtonEvent out;
        out.button = raw->detail == 1 ? MouseButton::Left : MouseButton::Right;
        out.pressed = ge->event_type == XCB_INPUT_RAW_BUTTON_PRESS;
        batch.push_back(out);
        serverTimes.push_back(raw->time);
    }
    if (xcb_connection_has_error(c)) {
        // The server went away: the socket would report end-of-file forever.
        m_notifier->setEnabled(false);
        m_readyGeneration = -1;
    }
    if (batch.empty() || !m_started || !m_handler)
        return;
    // Server times are milliseconds on the server's clock, which need not be ours: keep
    // their spacing and anchor the newest event at the moment of reading.
    const std::int64_t now = m_clock.TickMs();
    const std::uint32_t newest = serverTimes.back();
    for (std::size_t i = 0; i < batch.size(); ++i) {
        // Unsigned difference: correct across the 32-bit wrap of server time.
        const std::uint32_t age = newest - serverTimes[i];
        batch[i].tickMs = now - static_cast<std::int64_t>(age);
    }
    // A copy: the handler may stop or restart us.
    const Handler handler = m_handler;
    handler(batch);
}

} // namespace kesmaro
