#include "X11TestSupport.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

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

bool WaitPid(int pid, std::chrono::milliseconds timeout, int* status)
{
    const auto end = Clock::now() + timeout;
    while (true) {
        const int r = waitpid(pid, status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR))
            return true;
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void Stop(int& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    if (!WaitPid(pid, std::chrono::seconds(10), &status)) {
        kill(pid, SIGKILL);
        WaitPid(pid, std::chrono::seconds(10), &status);
    }
    pid = -1;
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
    char logTemplate[] = "/tmp/kesmaro-xvfb-XXXXXX";
    const int logFd = mkstemp(logTemplate);
    if (logFd >= 0) {
        close(logFd);
        m_logPath = logTemplate;
    }

    int fds[2];
    if (pipe(fds) != 0) {
        m_problem = "no pipe for Xvfb";
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    // -displayfd: the server picks a free display itself and writes its number when ready,
    // so parallel test runs never collide and we never guess.
    std::vector<std::string> argv{"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                  "-screen",   "0",          options.screen,
                                  "-nolisten", "tcp",        "-noreset"};
    argv.insert(argv.end(), options.serverArgs.begin(), options.serverArgs.end());
    m_serverPid = spawn(argv, fds[1]);
    close(fds[1]);
    if (m_serverPid <= 0) {
        close(fds[0]);
        m_problem = "Xvfb could not be started (is it installed?)";
        return;
    }
    std::string number;
    const auto end = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            number.append(buffer, static_cast<std::size_t>(n));
            if (number.find('\n') != std::string::npos)
                break;
        }
        int status = 0;
        if (waitpid(m_serverPid, &status, WNOHANG) == m_serverPid) {
            m_serverPid = -1;
            break;
        }
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == '\r'))
        number.pop_back();
    if (number.empty() || m_serverPid <= 0) {
        m_problem = "Xvfb did not start a display (log: " + m_logPath + ")";
        Stop(m_serverPid);
        return;
    }
    m_display = ":" + number;

    if (options.windowManager) {
        m_wmPid = spawn({"openbox", "--sm-disable"}, -1);
        if (m_wmPid <= 0 || !waitForWindowManager()) {
            m_problem = "openbox did not come up on " + m_display + " (log: " + m_logPath + ")";
            return;
        }
    }
    m_ok = true;
}

XvfbSession::~XvfbSession()
{
    Stop(m_wmPid);
    Stop(m_serverPid);
    if (m_heldSocket >= 0)
        close(m_heldSocket);
    if (!m_logPath.empty())
        unlink(m_logPath.c_str());
}

void XvfbSession::killServer()
{
    Stop(m_wmPid);
    Stop(m_serverPid);
    // Hold the display number: a test running beside us must not start its server there and
    // be reached by our reconnecting clients. A server picks its number by binding the
    // abstract socket of that name; ours, never listening, also refuses connections.
    if (!m_display.empty() && m_heldSocket < 0) {
        const std::string name = "/tmp/.X11-unix/X" + m_display.substr(1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0)
            m_heldSocket = fd;
        else if (fd >= 0)
            close(fd);
    }
}

int XvfbSession::spawn(const std::vector<std::string>& argv, int keepFd) const
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "DISPLAY=", 8) != 0)
            env.emplace_back(*e);
    }
    if (!m_display.empty())
        env.push_back("DISPLAY=" + m_display);
    std::vector<char*> envp, args;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> copy = argv;
    for (auto& a : copy)
        args.push_back(a.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    // The servers' chatter goes to a log, not into the test output.
    const std::string log = m_logPath.empty() ? "/dev/null" : m_logPath;
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (keepFd != 1)
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int XvfbSession::run(const std::vector<std::string>& argv) const
{
    const int pid = spawn(argv, -1);
    if (pid <= 0)
        return -1;
    int status = 0;
    if (!WaitPid(pid, std::chrono::seconds(30), &status)) {
        kill(pid, SIGKILL);
        WaitPid(pid, std::chrono::seconds(5), &status);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

Rgb TestWindow::Expected(int x, int y, int seed)
{
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
                const Rgb c = Expected(x, y0 + y, m_options.seed);
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
    const std::string title = "kesmaro test " + std::to_string(m_options.seed);
    xcb_change_property(m_conn, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, static_cast<std::uint32_t>(title.size()), title.data());
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
    disconnect();
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

void TestWindow::move(int x, int y)
{
    const std::uint32_t values[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)};
    xcb_configure_window(m_conn, m_window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    xcb_flush(m_conn);
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

void TestWindow::disconnect()
{
    if (m_conn)
        xcb_disconnect(m_conn);
    m_conn = nullptr;
}

} // namespace kesmaro::testing
