#include "X11TestSupport.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace kesmaro::testing {

namespace {

using Clock = std::chrono::steady_clock;

struct Free {
    void operator()(void* p) const { std::free(p); }
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, Free> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void Stop(std::unique_ptr<QProcess>& process)
{
    if (process && process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(10000)) {
            process->kill();
            process->waitForFinished(10000);
        }
    }
    process.reset();
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    while (true) {
        if (condition())
            return true;
        if (Clock::now() > end)
            return condition();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

XvfbSession::XvfbSession() : XvfbSession(Options{}) {}

XvfbSession::XvfbSession(Options options)
{
    // -displayfd: the server picks a free display itself and writes its number when ready,
    // so parallel test runs never collide and we never guess.
    QStringList arguments =
        QStringLiteral("-displayfd 1 -nolisten tcp -noreset -screen 0").split(u' ');
    arguments << QString::fromStdString(options.screen);
    for (const std::string& a : options.serverArgs)
        arguments << QString::fromStdString(a);
    m_server = spawn("Xvfb", arguments, /*readOutput=*/true);
    QByteArray number;
    while (!number.contains('\n') && m_server->waitForReadyRead(30000))
        number += m_server->readAllStandardOutput();
    number = number.trimmed();
    if (number.isEmpty() || m_server->state() != QProcess::Running) {
        m_problem = m_server->error() == QProcess::FailedToStart
                        ? "Xvfb could not be started (is it installed?)"
                        : "Xvfb did not start a display";
        Stop(m_server);
        return;
    }
    m_display = ":" + number.toStdString();
    if (options.windowManager) {
        m_wm = spawn("openbox", {QStringLiteral("--sm-disable")});
        if (!m_wm->waitForStarted(30000) || !waitForWindowManager()) {
            m_problem = "openbox did not come up on " + m_display;
            return;
        }
    }
    m_ok = true;
}

XvfbSession::~XvfbSession()
{
    Stop(m_wm);
    Stop(m_server);
    if (m_heldSocket >= 0)
        close(m_heldSocket);
}

void XvfbSession::killServer()
{
    Stop(m_wm);
    if (!m_server || m_display.empty() || m_heldSocket >= 0)
        return Stop(m_server);
    // Hold the display number: a test running beside us must not start its server there and
    // be reached by our reconnecting clients. A server picks its number by binding the
    // abstract socket of that name; ours, never listening, also refuses connections. It is
    // taken the moment the dying server lets go of it, before its lock file goes.
    const std::string name = "/tmp/.X11-unix/X" + m_display.substr(1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    m_server->terminate();
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (m_heldSocket < 0 && Clock::now() < end) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0)
            m_heldSocket = fd;
        else if (fd >= 0)
            close(fd);
    }
    Stop(m_server);
}

std::unique_ptr<QProcess> XvfbSession::spawn(const std::string& program,
                                             const QStringList& arguments, bool readOutput) const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    if (!m_display.empty())
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(m_display));
    process->setProcessEnvironment(env);
    process->setStandardInputFile(QProcess::nullDevice());
    if (!readOutput)
        process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(QString::fromStdString(program), arguments);
    return process;
}

int XvfbSession::run(const std::vector<std::string>& argv) const
{
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i)
        arguments << QString::fromStdString(argv[i]);
    const std::unique_ptr<QProcess> process = spawn(argv.at(0), arguments);
    if (!process->waitForFinished(30000)) {
        process->kill();
        process->waitForFinished(5000);
        return -1;
    }
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

bool XvfbSession::waitForWindowManager()
{
    xcb_connection_t* c = xcb_connect(m_display.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t clientList = Atom(c, "_NET_CLIENT_LIST");
    bool up = WaitFor([&] {
        std::unique_ptr<xcb_get_property_reply_t, Free> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr));
        std::unique_ptr<xcb_get_property_reply_t, Free> list(xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, clientList, XCB_ATOM_WINDOW, 0, 1), nullptr));
        return reply && xcb_get_property_value_length(reply.get()) == 4 && list &&
               list->type == XCB_ATOM_WINDOW;
    });
    // openbox announces itself before it handles map requests: a window mapped in between
    // stays unmapped for good. A probe window that gets managed proves it is ready.
    const xcb_atom_t wmState = Atom(c, "WM_STATE");
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    const auto managed = [&] {
        std::unique_ptr<xcb_get_property_reply_t, Free> state(xcb_get_property_reply(
            c, xcb_get_property(c, 0, probe, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr));
        return state && state->type != XCB_ATOM_NONE;
    };
    for (int attempt = 0; up && attempt < 20 && !managed(); ++attempt) {
        xcb_map_window(c, probe);
        xcb_flush(c);
        WaitFor(managed, std::chrono::milliseconds(500));
    }
    up = up && managed();
    xcb_destroy_window(c, probe);
    xcb_disconnect(c);
    return up;
}

bool WindowExists(const std::string& display, xcb_window_t window)
{
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    std::unique_ptr<xcb_get_geometry_reply_t, Free> reply(
        xcb_connection_has_error(c)
            ? nullptr
            : xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    xcb_disconnect(c);
    return reply != nullptr;
}

Rgb TestWindow::expected(int x, int y) const
{
    const int seed = m_options.seed;
    // Every pixel of a 2048 x 2048 area differs, and none is black.
    return Rgb{x & 0xFF, y & 0xFF,
               0x80 | (((x >> 8) & 7) << 4) | ((y >> 8) & 7) | ((seed & 1) << 3)};
}

TestWindow::TestWindow(const std::string& display, Options options) : m_options(std::move(options))
{
    m_conn = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(m_conn))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data;
    const int w = m_options.width, h = m_options.height;

    const xcb_pixmap_t pixmap = xcb_generate_id(m_conn);
    xcb_create_pixmap(m_conn, screen->root_depth, pixmap, screen->root,
                      static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h));
    const xcb_gcontext_t gc = xcb_generate_id(m_conn);
    xcb_create_gc(m_conn, gc, pixmap, 0, nullptr);
    // Depth 24 on Xvfb: 32 bits a pixel, B G R X in memory.
    const int band = 32;
    std::vector<std::uint8_t> rows;
    for (int y0 = 0; y0 < h; y0 += band) {
        const int n = std::min(band, h - y0);
        rows.assign(static_cast<std::size_t>(w) * n * 4, 0);
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb c = expected(x, y0 + y);
                std::uint8_t* p = rows.data() + (static_cast<std::size_t>(y) * w + x) * 4;
                p[0] = static_cast<std::uint8_t>(c.b);
                p[1] = static_cast<std::uint8_t>(c.g);
                p[2] = static_cast<std::uint8_t>(c.r);
            }
        }
        xcb_put_image(m_conn, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(n), 0, static_cast<std::int16_t>(y0), 0,
                      screen->root_depth, static_cast<std::uint32_t>(rows.size()), rows.data());
    }

    m_window = xcb_generate_id(m_conn);
    const std::uint32_t values[] = {pixmap};
    xcb_create_window(m_conn, XCB_COPY_FROM_PARENT, m_window, screen->root,
                      static_cast<std::int16_t>(m_options.x),
                      static_cast<std::int16_t>(m_options.y), static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXMAP, values);
    std::string wmClass = m_options.instance;
    wmClass.push_back('\0');
    wmClass += m_options.windowClass;
    wmClass.push_back('\0');
    xcb_change_property(m_conn, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                        8, static_cast<std::uint32_t>(wmClass.size()), wmClass.data());
    // Ask the manager to keep the requested position (it may still add a frame around it).
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 4; // USPosition | PPosition
    hints[1] = static_cast<std::uint32_t>(m_options.x);
    hints[2] = static_cast<std::uint32_t>(m_options.y);
    xcb_change_property(m_conn, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    if (m_options.child) {
        m_child = xcb_generate_id(m_conn);
        const std::uint32_t childValues[] = {pixmap};
        xcb_create_window(m_conn, XCB_COPY_FROM_PARENT, m_child, m_window, 0, 0, 16, 16, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXMAP,
                          childValues);
        xcb_map_window(m_conn, m_child);
    }
    xcb_map_window(m_conn, m_window);
    xcb_free_gc(m_conn, gc);
    xcb_free_pixmap(m_conn, pixmap);
    xcb_flush(m_conn);
}

TestWindow::~TestWindow()
{
    if (m_conn)
        xcb_disconnect(m_conn);
}

bool TestWindow::clientOrigin(int& x, int& y)
{
    if (!m_conn || m_window == XCB_WINDOW_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, Free> reply(xcb_translate_coordinates_reply(
        m_conn, xcb_translate_coordinates(m_conn, m_window, root, 0, 0), nullptr));
    if (!reply)
        return false;
    x = reply->dst_x;
    y = reply->dst_y;
    return true;
}

bool TestWindow::viewable()
{
    if (!m_conn || m_window == XCB_WINDOW_NONE)
        return false;
    std::unique_ptr<xcb_get_window_attributes_reply_t, Free> reply(xcb_get_window_attributes_reply(
        m_conn, xcb_get_window_attributes(m_conn, m_window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

void TestWindow::focusChild()
{
    xcb_set_input_focus(m_conn, XCB_INPUT_FOCUS_PARENT, m_child, XCB_CURRENT_TIME);
    xcb_flush(m_conn);
}

void TestWindow::destroy()
{
    if (!m_conn || m_window == XCB_WINDOW_NONE)
        return;
    xcb_destroy_window(m_conn, m_window);
    xcb_flush(m_conn);
}

} // namespace kesmaro::testing
