#pragma once

#include <QProcess>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace kesmaro::testing {

// Polls `condition` until it holds or `timeout` passes, running the Qt event loop between
// polls when there is one. Returns the last result.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A private X server (Xvfb on a display it picks itself), optionally with openbox on it.
// Both are ended when the session goes.
class XvfbSession {
public:
    struct Options {
        bool windowManager = true;
        std::vector<std::string> serverArgs = {}; // extra Xvfb options, e.g. -extension MIT-SHM
        std::string screen = "1280x1024x24";
    };
    XvfbSession();
    explicit XvfbSession(Options options);
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool ok() const { return m_ok; }
    // Why the session is not ok (for the skip or failure message).
    const std::string& problem() const { return m_problem; }
    // ":N"
    const std::string& display() const { return m_display; }

    // Runs a tool (xdotool ...) with DISPLAY set, waiting at most 30 s; its exit code or -1.
    int run(const std::vector<std::string>& argv) const;
    // Ends the X server now (the display vanishes under its clients).
    void killServer();

private:
    // Starts a program with DISPLAY set to this session's display; its chatter is discarded.
    std::unique_ptr<QProcess> spawn(const std::string& program, const QStringList& arguments,
                                    bool readOutput = false) const;
    bool waitForWindowManager();

    bool m_ok = false;
    std::string m_problem;
    std::string m_display;
    int m_heldSocket = -1;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_wm;
};

// True while `window` exists on the server, asked over a connection of its own.
bool WindowExists(const std::string& display, xcb_window_t window);

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A top-level window of the test's own with a known picture: the server paints it from a
// background pixmap, so it needs no event handling to stay drawn.
class TestWindow {
public:
    struct Options {
        std::string instance = "kesmaro-test";
        std::string windowClass = "Gamebryo Application";
        int x = 40, y = 40, width = 1024, height = 768;
        int seed = 0;
        bool child = false; // a child window covering the top-left 16 x 16 pixels
    };
    TestWindow(const std::string& display, Options options);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool ok() const { return m_window != XCB_WINDOW_NONE; }
    xcb_window_t id() const { return m_window; }

    // The colour of client pixel (x, y).
    Rgb expected(int x, int y) const;

    // Where the client area's top-left pixel is on the screen; false when it is gone.
    bool clientOrigin(int& x, int& y);
    // True once the window is viewable (mapped with all its ancestors).
    bool viewable();
    void focusChild();
    void destroy();

private:
    Options m_options;
    xcb_connection_t* m_conn = nullptr;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    xcb_window_t m_child = XCB_WINDOW_NONE;
};

} // namespace kesmaro::testing
